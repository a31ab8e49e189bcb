// Picture import, PNG bytes and the refusal of broken or oversized pictures.

#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/picture_io.h"

#include "model_fixtures.h"

#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using PictureFiles = TModelFileTest;

TEST_F(PictureFiles, LargePicturesShrinkToTwelveHundredOnTheLongerSide)
{
    const struct {
        int W, H;
        const char* Format;
        const char* Name;
        int ExpW, ExpH;
    } Cases[] = {
        {4000, 3000, "jpg", "photo.jpg", 1200, 900},
        {300, 200, "png", "small.png", 300, 200},
        {5000, 1, "bmp", "strip.bmp", 1200, 1},  // never rounds down to 0
        {1, 2401, "png", "tall.png", 1, 1200},
        {1200, 1200, "png", "exact.png", 1200, 1200},
    };
    for (const auto& C : Cases) {
        SavePicture(NoisyPicture(C.W, C.H, 7), Path(C.Name), C.Format);
        const QImage Img = LoadPictureFile(Path(C.Name), 1200);
        EXPECT_EQ(Img.size(), QSize(C.ExpW, C.ExpH)) << C.Name;
        EXPECT_EQ(Img.format(), QImage::Format_RGB32) << C.Name;
    }
}

TEST_F(PictureFiles, ReductionAveragesInsteadOfPickingPixels)
{
    // Alternating black and white columns average to mid gray; picking
    // pixels would give pure black or white.
    QImage Stripes(2400, 10, QImage::Format_RGB32);
    for (int X = 0; X < Stripes.width(); ++X)
        for (int Y = 0; Y < Stripes.height(); ++Y)
            Stripes.setPixel(X, Y, X % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    SavePicture(Stripes, Path("stripes.png"), "png");
    const QImage Img = LoadPictureFile(Path("stripes.png"), 1200);
    ASSERT_EQ(Img.size(), QSize(1200, 5));
    const int Gray = qGray(Img.pixel(600, 2));
    EXPECT_GT(Gray, 90);
    EXPECT_LT(Gray, 165);
}

TEST_F(PictureFiles, SmallPictureKeepsItsPixelsAndTransparencyBecomesWhite)
{
    QImage Pic(30, 20, QImage::Format_ARGB32);
    Pic.fill(Qt::transparent);
    Pic.setPixel(3, 4, qRgba(200, 10, 20, 255));
    Pic.setPixel(5, 6, qRgba(0, 0, 0, 0));
    SavePicture(Pic, Path("clear.png"), "png");

    const QImage Img = LoadPictureFile(Path("clear.png"), 1200);
    ASSERT_EQ(Img.size(), QSize(30, 20));
    EXPECT_EQ(Img.pixel(3, 4), qRgb(200, 10, 20));
    EXPECT_EQ(Img.pixel(5, 6), qRgb(255, 255, 255));
    EXPECT_EQ(Img.pixel(29, 19), qRgb(255, 255, 255));
}

TEST_F(PictureFiles, ExtensionChoosesTheDecoderWithoutRegardToCase)
{
    const QImage Pic = NoisyPicture(40, 30, 5);
    SavePicture(Pic, Path("upper.PNG"), "png");
    SavePicture(Pic, Path("jpeg_inside.PNG"), "jpg");   // not a PNG: the PNG decoder refuses it
    SavePicture(Pic, Path("png_inside.jpeg"), "png");   // the general decoder looks at the content
    SavePicture(Pic, Path("picture.tif"), "tiff");

    EXPECT_EQ(LoadPictureFile(Path("upper.PNG"), 1200), Pic);
    EXPECT_EQ(LoadPictureFile(Path("png_inside.jpeg"), 1200), Pic);
    EXPECT_EQ(LoadPictureFile(Path("picture.tif"), 1200), Pic);
    EXPECT_THROW(LoadPictureFile(Path("jpeg_inside.PNG"), 1200), EModelError);
}

TEST_F(PictureFiles, BrokenMissingAndOversizedPicturesGiveGermanErrors)
{
    WriteBytes(Path("garbage.png"), QByteArray("this is no picture at all"));
    WriteBytes(Path("garbage.jpg"), QByteArray("this is no picture at all"));
    WriteBytes(Path("huge.png"), PngHeaderOnly(100000, 100000));
    WriteBytes(Path("huge.dat"), PngHeaderOnly(60000, 60000));

    const int Limit = QImageReader::allocationLimit();
    EXPECT_EQ(ErrorOf([&] { LoadPictureFile(Path("garbage.png"), 1200); }),
              QStringLiteral("Das Bild \"garbage.png\" kann nicht gelesen werden "
                             "(unbekanntes Format oder beschädigte Datei)"));
    EXPECT_EQ(ErrorOf([&] { LoadPictureFile(Path("garbage.jpg"), 1200); }),
              QStringLiteral("Das Bild \"garbage.jpg\" kann nicht gelesen werden "
                             "(unbekanntes Format oder beschädigte Datei)"));
    EXPECT_EQ(ErrorOf([&] { LoadPictureFile(Path("missing.png"), 1200); }),
              QStringLiteral("Datei \"%1\" nicht gefunden").arg(Path("missing.png")));
    EXPECT_EQ(ErrorOf([&] { LoadPictureFile(Path("huge.png"), 1200); }),
              QStringLiteral("Das Bild \"huge.png\" ist zu groß (100000 × 100000 Pixel)"));
    EXPECT_EQ(ErrorOf([&] { LoadPictureFile(Path("huge.dat"), 1200); }),
              QStringLiteral("Das Bild \"huge.dat\" ist zu groß (60000 × 60000 Pixel)"));
    EXPECT_EQ(ErrorOf([&] { PngToBitmap(PngHeaderOnly(100000, 100000)); }),
              QStringLiteral("Das Bild ist zu groß (100000 × 100000 Pixel)"));
    EXPECT_EQ(QImageReader::allocationLimit(), Limit);  // the guard stays in force
}

TEST_F(PictureFiles, FailedImportLeavesElementAndDocumentUnchanged)
{
    const QByteArray OldPng = BitmapToPng(NoisyPicture(6, 6, 1));
    WriteBytes(Path("bad.png"), QByteArray("nope"));

    TLabelElement E(ekImage);
    E.SetImagePng(OldPng);
    EXPECT_THROW(E.LoadImageFromFile(Path("bad.png")), EModelError);
    EXPECT_EQ(E.ImagePng(), OldPng);

    TLabelDoc Doc;
    Doc.BgPreset = bpFrame;
    EXPECT_THROW(Doc.LoadBackgroundFromFile(Path("bad.png")), EModelError);
    EXPECT_EQ(Doc.BgPreset, bpFrame);
    EXPECT_TRUE(Doc.BgPng().isEmpty());
}

TEST_F(PictureFiles, ImportStoresPngBytesAndBackgroundSwitchesToImage)
{
    const QImage Pic = NoisyPicture(2000, 500, 9);
    SavePicture(Pic, Path("wide.bmp"), "bmp");

    TLabelElement E(ekImage);
    E.LoadImageFromFile(Path("wide.bmp"));
    EXPECT_TRUE(E.ImagePng().startsWith("\x89PNG"));
    EXPECT_EQ(E.Image().size(), QSize(1200, 300));

    TLabelDoc Doc;
    Doc.LoadBackgroundFromFile(Path("wide.bmp"));
    EXPECT_EQ(Doc.BgPreset, bpImage);
    EXPECT_EQ(Doc.BgImage(), E.Image());
}

TEST(PngBytes, RoundTripKeepsSizeAndPixels)
{
    const QImage Pic = NoisyPicture(123, 45, 11);
    const QByteArray Png = BitmapToPng(Pic);
    EXPECT_TRUE(Png.startsWith("\x89PNG\r\n\x1a\n"));
    const QImage Back = PngToBitmap(Png);
    EXPECT_EQ(Back.format(), QImage::Format_RGB32);
    EXPECT_EQ(Back, Pic);
    EXPECT_TRUE(PngToBitmap(QByteArray()).isNull());
    EXPECT_THROW(BitmapToPng(QImage()), EModelError);
}

}  // namespace
