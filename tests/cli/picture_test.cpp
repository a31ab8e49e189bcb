// Pictures, drawings and PDF pages given instead of a label: the label is
// built on the fly and prints as the same rendering gives it.

#include "cli_fixture.h"
#include "document_fixtures.h"

#include "model/picture_label.h"
#include "protocol/raster.h"

#include <QFile>
#include <QImage>
#include <QPainter>

namespace {

class CliPicture : public TCliFixture {
protected:
    void Write(const QString& Name, const QByteArray& Bytes)
    {
        QFile f(HomePath(Name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bytes);
    }

    static TNbMonoImage Expected(const QString& File, const TPictureLabelOptions& Options)
    {
        return BuildPictureLabel(File, Options)->RenderMono(1);
    }
};

// A 4 x 6 inch shipping label: a bar across the top, an address block.
QByteArray ShippingLabelPdf()
{
    return PdfDocument({{QSizeF(101.6, 152.4), {QRectF(0, 0, 1, 0.1), QRectF(0.1, 0.4, 0.5, 0.2)}}});
}

TEST_F(CliPicture, ShippingLabelPdfPrintsOnTheVirtualPrinter)
{
    Write("versandetikett.pdf", ShippingLabelPdf());
    const TCliResult r = Run({"print", "versandetikett.pdf", "--printer", "virtual", "--pause-ms", "0",
                              "--virtual-out", "v.png"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains("Sende \"versandetikett\" (1×) …")) << r.Err.toStdString();
    // As wide as the paper and 72 mm long, then the printer's feed of 8 mm.
    const TNbMonoImage expected = Expected(HomePath("versandetikett.pdf"), {});
    ASSERT_EQ(expected.Height, 576);
    const TNbMonoImage actual = ReadMonoPng(HomePath("v.png"));
    EXPECT_TRUE(SameRaster(actual, WithBlankRows(expected, 64)));
    EXPECT_EQ(actual.GetDot(0, 20) + actual.GetDot(383, 20), 2);  // the bar reaches both edges
}

TEST_F(CliPicture, PhotoAndPageOptionsShapeTheLabel)
{
    QImage photo(600, 300, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x * 255 / 599, x * 255 / 599, x * 255 / 599));  // a gray ramp
    ASSERT_TRUE(photo.save(HomePath("foto.jpg"), "jpg", 95));

    // Without -o the print picture gets a name of its own, never the photo's.
    ASSERT_EQ(Run({"render", "foto.jpg"}).ExitCode, 0);
    const TNbMonoImage dithered = ReadMonoPng(HomePath("foto-druckbild.png"));
    EXPECT_TRUE(SameRaster(dithered, Expected(HomePath("foto.jpg"), {})));
    EXPECT_EQ(dithered.Height, 192);

    const struct {
        QStringList Args;
        TPictureLabelOptions Options;
        int Height;
    } cases[] = {
        {{"--no-dither"}, {1, pfWidth, false, 0}, 192},
        {{"--fit", "length", "--length-mm", "10"}, {1, pfLength, std::nullopt, 10}, 80},
        {{"--length-mm", "40", "--dither"}, {1, pfWidth, true, 40}, 320},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        ASSERT_EQ(Run(QStringList{"render", "foto.jpg", "-o", "f.png"} + c.Args).ExitCode, 0);
        const TNbMonoImage actual = ReadMonoPng(HomePath("f.png"));
        EXPECT_EQ(actual.Height, c.Height);
        EXPECT_TRUE(SameRaster(actual, Expected(HomePath("foto.jpg"), c.Options)));
    }
    // A gray ramp dithered and not: not the same dots.
    EXPECT_FALSE(SameRaster(dithered, Expected(HomePath("foto.jpg"), {1, pfWidth, false, 0})));

    // The second page of a document; a page it does not have fails naming it.
    Write("zwei.pdf", PdfDocument({{QSizeF(48, 30), {QRectF(0, 0, 0.5, 1)}}, {QSizeF(48, 30), {QRectF(0.5, 0, 0.5, 1)}}}));
    ASSERT_EQ(Run({"render", "zwei.pdf", "--page", "2", "-o", "s2.png"}).ExitCode, 0);
    const TNbMonoImage second = ReadMonoPng(HomePath("s2.png"));
    EXPECT_TRUE(SameRaster(second, Expected(HomePath("zwei.pdf"), {2, pfWidth, std::nullopt, 0})));
    EXPECT_EQ(second.GetDot(20, 100), 0);
    EXPECT_EQ(second.GetDot(360, 100), 1);
    const TCliResult missing = Run({"render", "zwei.pdf", "--page", "3"});
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_TRUE(missing.Err.contains(
        "Bild \"zwei.pdf\" konnte nicht geladen werden: Die PDF-Datei \"zwei.pdf\" hat keine Seite 3 (Seiten 1 bis 2)"))
        << missing.Err.toStdString();
}

TEST_F(CliPicture, JobOfAPictureAndPictureOptionsOnALabel)
{
    Write("logo.svg", SvgDocument(40, 20, "<rect width=\"20\" height=\"20\" fill=\"black\"/>"));
    const TCliResult job = Run({"job", "logo.svg", "-o", "logo.bin"});
    ASSERT_EQ(job.ExitCode, 0) << job.Err.toStdString();
    EXPECT_GT(ReadFile(HomePath("logo.bin")).size(), 192 * 48);  // 192 rows of 48 bytes at least

    WriteBuiltins();
    const TCliResult wrong = Run({"render", "Nummerierung", "--page", "2"});
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_TRUE(wrong.Err.contains("--page gilt nur für Bilder, SVG- und PDF-Dateien")) << wrong.Err.toStdString();
    const TCliResult fit = Run({"render", "logo.svg", "--fit", "breit"});
    EXPECT_EQ(fit.ExitCode, 2);
    EXPECT_TRUE(fit.Err.contains("--fit erwartet \"width\" oder \"length\", nicht \"breit\"")) << fit.Err.toStdString();
}

}  // namespace
