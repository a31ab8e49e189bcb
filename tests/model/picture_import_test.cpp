// Pictures and documents as people have them: large photos, the camera's
// orientation, SVG drawings and PDF pages, and what happens when one of
// them cannot be used.

#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/picture_io.h"
#include "model/picture_label.h"
#include "model/picture_source.h"
#include "model/raster_picture.h"
#include "protocol/raster.h"

#include "document_fixtures.h"
#include "model_fixtures.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using PictureImport = TModelFileTest;

const char* const kProbeEnv = "PELLWERK_IMPORT_PROBE";

// The process's peak resident memory so far, in KiB.
long PeakRssKiB()
{
    QFile F(QStringLiteral("/proc/self/status"));
    if (!F.open(QIODevice::ReadOnly))
        return -1;
    const QString Status = QString::fromLatin1(F.readAll());
    const QRegularExpressionMatch M = QRegularExpression(QStringLiteral("VmHWM:\\s*(\\d+)")).match(Status);
    return M.hasMatch() ? M.captured(1).toLong() : -1;
}

// Run by the memory test below as a process of its own, so that the peak
// belongs to the import alone.
TEST(PictureImportProbe, ImportsTheFileItIsGiven)
{
    const QString File = qEnvironmentVariable(kProbeEnv);
    if (File.isEmpty())
        GTEST_SKIP() << "only runs as the child process of the memory test";
    const long Before = PeakRssKiB();
    const QImage Img = LoadPictureFile(File, kPictureMaxSide);
    const long After = PeakRssKiB();
    std::printf("probe %d %d %ld\n", Img.width(), Img.height(), After - Before);
    std::fflush(stdout);
}

TEST_F(PictureImport, HundredMegapixelJpegImportsWithinTheMemoryBound)
{
    {
        QImage Photo(10000, 10000, QImage::Format_RGB32);
        Photo.fill(QColor(200, 180, 160));
        QPainter P(&Photo);
        P.fillRect(0, 0, 5000, 10000, QColor(20, 40, 60));
        P.fillRect(2000, 3000, 6000, 4000, Qt::white);
        P.end();
        SavePicture(Photo, Path("photo.jpg"), "jpg");
    }
    EXPECT_EQ(QImageReader(Path("photo.jpg")).size(), QSize(10000, 10000));

    QProcess Child;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert(QString::fromLatin1(kProbeEnv), Path("photo.jpg"));
    Child.setProcessEnvironment(Env);
    Child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=PictureImportProbe.*")});
    ASSERT_TRUE(Child.waitForFinished(300000));
    const QString Out = QString::fromUtf8(Child.readAllStandardOutput());
    ASSERT_EQ(Child.exitCode(), 0) << Out.toStdString();
    const QRegularExpressionMatch M =
        QRegularExpression(QStringLiteral("probe (\\d+) (\\d+) (\\d+)")).match(Out);
    ASSERT_TRUE(M.hasMatch()) << Out.toStdString();
    EXPECT_EQ(M.captured(1).toInt(), 1200);
    EXPECT_EQ(M.captured(2).toInt(), 1200);
    // Decoded at full size the picture alone would take 400 MB (more under
    // the sanitizer); decoded straight at its reduced size it takes a few.
    const long GrowthMiB = M.captured(3).toLong() / 1024;
    std::printf("peak memory growth of the 100-megapixel import: %ld MiB\n", GrowthMiB);
    EXPECT_LT(GrowthMiB, 600);
}

TEST_F(PictureImport, AllowsTodaysPhotosAndStillRefusesAbsurdHeaders)
{
    // 48 megapixels exceed Qt's default limit of 128 MiB: the header alone
    // must not refuse it any more; 289 megapixels are beyond any camera.
    WriteBytes(Path("phone.png"), PngHeaderOnly(8000, 6000));
    WriteBytes(Path("absurd.png"), PngHeaderOnly(17000, 17000));
    const int Limit = QImageReader::allocationLimit();
    EXPECT_EQ(ErrorOf([&] { LoadPictureFile(Path("phone.png"), 1200); }),
              QStringLiteral("Das Bild \"phone.png\" kann nicht gelesen werden "
                             "(unbekanntes Format oder beschädigte Datei)"));
    EXPECT_EQ(ErrorOf([&] { LoadPictureFile(Path("absurd.png"), 1200); }),
              QStringLiteral("Das Bild \"absurd.png\" ist zu groß (17000 × 17000 Pixel)"));
    EXPECT_EQ(QImageReader::allocationLimit(), Limit);  // raised for the import alone
}

TEST_F(PictureImport, CameraOrientationIsApplied)
{
    // Stored lying on its side: the left half dark. Orientation 6 turns it
    // a quarter clockwise, so the dark half comes out on top.
    QImage Stored(400, 200, QImage::Format_RGB32);
    Stored.fill(Qt::white);
    QPainter(&Stored).fillRect(0, 0, 200, 200, Qt::black);
    WriteBytes(Path("upright.jpg"), JpegWithOrientation(Stored, 6));
    WriteBytes(Path("as_stored.jpg"), JpegWithOrientation(Stored, 1));

    const QImage Upright = LoadPictureFile(Path("upright.jpg"), 1200);
    ASSERT_EQ(Upright.size(), QSize(200, 400));
    EXPECT_GT(DarkShare(Upright, QRect(0, 0, 200, 190)), 0.95);
    EXPECT_LT(DarkShare(Upright, QRect(0, 210, 200, 190)), 0.05);
    EXPECT_EQ(LoadPictureFile(Path("as_stored.jpg"), 1200).size(), QSize(400, 200));

    // Reduced while decoding, the orientation still holds.
    const QImage Small = LoadPictureFile(Path("upright.jpg"), 100);
    ASSERT_EQ(Small.size(), QSize(50, 100));
    EXPECT_GT(DarkShare(Small, QRect(0, 0, 50, 45)), 0.95);
}

TEST_F(PictureImport, SvgIsDrawnAtTheBoxSizeInDots)
{
    // Left half black, and a circle on the right half.
    const QByteArray Svg = SvgDocument(100, 50,
                                       QStringLiteral("<rect x=\"0\" y=\"0\" width=\"50\" height=\"50\" fill=\"black\"/>"
                                                      "<circle cx=\"75\" cy=\"25\" r=\"20\" fill=\"black\"/>"));
    WriteBytes(Path("logo.svg"), Svg);
    WriteBytes(Path("logo.svgz"), Gzip(Svg));

    for (const char* Name : {"logo.svg", "logo.svgz"}) {
        for (const QSize Box : {QSize(300, 150), QSize(40, 20), QSize(300, 100), QSize(1600, 900)}) {
            TLabelElement E(ekImage);
            E.W = Box.width();
            E.H = Box.height();
            E.LoadImageFromFile(Path(Name));
            const QImage& Img = E.Image();
            // As large as the box allows with the drawing's aspect of 2:1.
            const QSize Expected = Box.width() >= 2 * Box.height() ? QSize(2 * Box.height(), Box.height())
                                                                    : QSize(Box.width(), Box.width() / 2);
            ASSERT_EQ(Img.size(), Expected) << Name;
            const int S = Expected.height();
            EXPECT_GT(DarkShare(Img, QRect(1, 1, S - 2, S - 2)), 0.97) << Name;
            const QRect Corner(S, 0, S / 8, S / 8);
            EXPECT_EQ(DarkShare(Img, Corner), 0.0) << Name;
            EXPECT_GT(DarkShare(Img, QRect(S + S / 2 - S / 8, S / 2 - S / 8, S / 4, S / 4)), 0.99) << Name;
            int Gray = 0;  // across the circle's middle: two edges, crisp at any size
            for (int X = S; X < 2 * S; ++X)
                Gray += qGray(Img.pixel(X, S / 2)) > 16 && qGray(Img.pixel(X, S / 2)) < 240;
            EXPECT_LE(Gray, 2) << Name << " " << Box.width();
        }
    }
    // On its own (the picture dialog's size rule): its CSS size at 203 dpi.
    EXPECT_EQ(LoadPictureFile(Path("logo.svg"), 1200).size(), QSize(211, 106));
}

TEST_F(PictureImport, PdfPagesAtPrinterResolutionAndByChoice)
{
    // 2 x 1 inch pages: the first dark on the left, the second on the right.
    WriteBytes(Path("two.pdf"), PdfDocument({{QSizeF(50.8, 25.4), {QRectF(0, 0, 0.5, 1)}},
                                             {QSizeF(50.8, 25.4), {QRectF(0.5, 0, 0.5, 1)}}}));
    TPictureSource Source(Path("two.pdf"));
    EXPECT_EQ(Source.Kind(), pkPdf);
    EXPECT_EQ(Source.PageCount(), 2);
    EXPECT_EQ(Source.NaturalDots(), QSize(406, 203));  // 203 dpi

    Source.SelectPage(2);
    const QImage Second = Source.RenderFitting(QSize(406, 203));
    ASSERT_EQ(Second.size(), QSize(406, 203));
    EXPECT_LT(DarkShare(Second, QRect(0, 0, 200, 203)), 0.01);
    EXPECT_GT(DarkShare(Second, QRect(206, 0, 200, 203)), 0.99);

    TLabelElement E(ekImage);
    E.W = 203;
    E.H = 102;
    E.LoadImageFromFile(Path("two.pdf"), 1);
    ASSERT_EQ(E.Image().size(), QSize(203, 102));
    EXPECT_GT(DarkShare(E.Image(), QRect(0, 0, 98, 102)), 0.99);
    EXPECT_LT(DarkShare(E.Image(), QRect(105, 0, 98, 102)), 0.01);

    // As a background the page covers the whole design area of 384 x 480.
    TLabelDoc Doc;
    Doc.LengthMm = 60;
    Doc.LoadBackgroundFromFile(Path("two.pdf"), 2);
    EXPECT_EQ(Doc.BgPreset, bpImage);
    EXPECT_EQ(Doc.BgImage().size(), QSize(960, 480));
}

TEST_F(PictureImport, EveryFailureNamesItsReasonAndKeepsTheLabel)
{
    WriteBytes(Path("two.pdf"), PdfDocument({{QSizeF(48, 30), {}}, {QSizeF(48, 30), {}}}));
    WriteBytes(Path("locked.pdf"), EncryptedPdf());
    WriteBytes(Path("broken.pdf"), QByteArray("%PDF-1.4\n1 0 obj << /Type /Catalog >>\nnothing else"));
    WriteBytes(Path("empty.svg"), SvgDocument(100, 50, QString()));
    WriteBytes(Path("blank.svg"), QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"/>"));
    WriteBytes(Path("broken.svg"), QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><rect"));
    WriteBytes(Path("note.txt"), QByteArray("Einkaufsliste: Milch, Brot"));

    const struct {
        QString File;
        int Page;
        QString Message;
    } Cases[] = {
        {QStringLiteral("locked.pdf"), 1,
         QStringLiteral("Die PDF-Datei \"locked.pdf\" ist verschlüsselt und kann nicht geöffnet werden")},
        {QStringLiteral("broken.pdf"), 1,
         QStringLiteral("Die PDF-Datei \"broken.pdf\" kann nicht gelesen werden (beschädigte Datei)")},
        {QStringLiteral("two.pdf"), 3, QStringLiteral("Die PDF-Datei \"two.pdf\" hat keine Seite 3 (Seiten 1 bis 2)")},
        {QStringLiteral("two.pdf"), 0, QStringLiteral("Die PDF-Datei \"two.pdf\" hat keine Seite 0 (Seiten 1 bis 2)")},
        {QStringLiteral("empty.svg"), 1, QStringLiteral("Die SVG-Datei \"empty.svg\" enthält keine Zeichnung")},
        {QStringLiteral("blank.svg"), 1, QStringLiteral("Die SVG-Datei \"blank.svg\" enthält keine Zeichnung")},
        {QStringLiteral("broken.svg"), 1,
         QStringLiteral("Die SVG-Datei \"broken.svg\" kann nicht gelesen werden (beschädigte Datei)")},
        {QStringLiteral("note.txt"), 1,
         QStringLiteral("Das Bild \"note.txt\" kann nicht gelesen werden (unbekanntes Format oder beschädigte Datei)")},
    };
    for (const auto& C : Cases) {
        const QByteArray Old = BitmapToPng(NoisyPicture(4, 3, 1));
        TLabelElement E(ekImage);
        E.SetImagePng(Old);
        EXPECT_EQ(ErrorOf([&] { E.LoadImageFromFile(Path(C.File), C.Page); }), C.Message);
        EXPECT_EQ(E.ImagePng(), Old);

        TLabelDoc Doc;
        Doc.BgPreset = bpStripes;
        Doc.SetBgPng(Old);
        EXPECT_EQ(ErrorOf([&] { Doc.LoadBackgroundFromFile(Path(C.File), C.Page); }), C.Message);
        EXPECT_EQ(Doc.BgPreset, bpStripes);
        EXPECT_EQ(Doc.BgPng(), Old);
    }
}

TEST_F(PictureImport, ShippingLabelBecomesALabelOfItsOwn)
{
    // A 4 x 6 inch shipping label: across the paper's width it needs 144 mm.
    WriteBytes(Path("versand.pdf"),
               PdfDocument({{QSizeF(101.6, 152.4), {QRectF(0, 0, 1, 0.1), QRectF(0.1, 0.5, 0.8, 0.05)}}}));
    const auto Doc = BuildPictureLabel(Path("versand.pdf"), TPictureLabelOptions{});
    EXPECT_EQ(Doc->Name, QStringLiteral("versand"));
    EXPECT_EQ(Doc->LengthMm, 72);
    ASSERT_EQ(Doc->Elements.Count(), 1);
    const TLabelElement& E = *Doc->Elements[0];
    EXPECT_EQ(E.Kind, ekImage);
    EXPECT_EQ(E.BoundsRect(), (TDotRect{0, 0, 384, 576}));
    EXPECT_FALSE(E.Dither);  // a document is line art
    EXPECT_EQ(E.Image().size(), QSize(384, 576));

    // The printed raster shows the bar across the top and the line in the middle.
    const TNbMonoImage Mono = Doc->RenderMono(1);
    ASSERT_EQ(Mono.Width, 384);
    ASSERT_EQ(Mono.Height, 576);
    auto InkRow = [&](int Y) {
        int Ink = 0;
        for (int X = 0; X < Mono.Width; ++X)
            Ink += Mono.GetDot(X, Y);
        return Ink;
    };
    EXPECT_EQ(InkRow(20), 384);
    EXPECT_EQ(InkRow(200), 0);
    EXPECT_GT(InkRow(300), 300);

    // Along a given length: 30 mm hold the page at 160 x 240 dots, centred.
    TPictureLabelOptions ByLength;
    ByLength.Fit = pfLength;
    ByLength.LengthMm = 30;
    ByLength.Dither = true;
    const auto Short = BuildPictureLabel(Path("versand.pdf"), ByLength);
    EXPECT_EQ(Short->LengthMm, 30);
    EXPECT_EQ(Short->Elements[0]->BoundsRect(), (TDotRect{112, 0, 272, 240}));
    EXPECT_TRUE(Short->Elements[0]->Dither);
}

}  // namespace

namespace {

TEST(PictureFileDialogs, ListEveryFormatThatCanBeRead)
{
    const QString Filter = PictureFileFilter();
    EXPECT_TRUE(Filter.startsWith(QStringLiteral("Bilder|*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff;")))
        << Filter.toStdString();
    EXPECT_TRUE(Filter.endsWith(QStringLiteral(";*.pdf|Alle Dateien|*.*"))) << Filter.toStdString();
    const QStringList Patterns = Filter.split(QLatin1Char('|'))[1].split(QLatin1Char(';'));
    EXPECT_EQ(Patterns.size(), QSet<QString>(Patterns.begin(), Patterns.end()).size());  // no pattern twice
    for (const QString& S : {QStringLiteral("svg"), QStringLiteral("svgz"), QStringLiteral("webp")})
        EXPECT_TRUE(Patterns.contains(QStringLiteral("*.") + S)) << S.toStdString();
    for (const QByteArray& F : QImageReader::supportedImageFormats())
        EXPECT_TRUE(Patterns.contains(QStringLiteral("*.") + QString::fromLatin1(F))) << F.toStdString();

    EXPECT_TRUE(IsPictureFileName(QStringLiteral("/tmp/Versand.PDF")));
    EXPECT_TRUE(IsPictureFileName(QStringLiteral("logo.svgz")));
    EXPECT_FALSE(IsPictureFileName(QStringLiteral("Etikett.pellwerk")));
    EXPECT_FALSE(IsPictureFileName(QStringLiteral("notiz.txt")));
}

}  // namespace
