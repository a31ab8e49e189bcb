// Pictures whose header announces 100000 x 100000 pixels behind a few KB of
// compressed zeros: importing one fails with a message and changes nothing;
// a label that carries one loads, and every drawing of it fails with a
// message instead of trying to allocate 40 GB.

#include "hardening_fixture.h"

#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/picture_io.h"
#include "model/thumbnail.h"
#include "protocol/raster.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const int kSide = 100000;

QString MessageOf(const std::function<void()>& Work)
{
    try {
        Work();
    } catch (const EModelError& E) {
        return E.Message();
    }
    return QStringLiteral("(kein Fehler)");
}

TEST(PictureBomb, ImportFailsAndKeepsWhatWasThere)
{
    QTemporaryDir Dir;
    const QByteArray Bomb = PngBomb(kSide, kSide);
    EXPECT_LT(Bomb.size(), 64 * 1024);
    for (const QString& Name : {QStringLiteral("bombe.png"), QStringLiteral("bombe.bild")}) {
        const QString Path = Dir.filePath(Name);
        QFile F(Path);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bomb);
        F.close();

        const QString Expected = QStringLiteral("Das Bild \"%1\" ist zu groß (100000 × 100000 Pixel)").arg(Name);
        EXPECT_EQ(MessageOf([&] { LoadPictureFile(Path, kPictureMaxSide); }), Expected);

        TLabelElement E(ekImage);
        const QByteArray Old = BitmapToPng(QImage(2, 2, QImage::Format_RGB32));
        E.SetImagePng(Old);
        EXPECT_EQ(MessageOf([&] { E.LoadImageFromFile(Path); }), Expected);
        EXPECT_EQ(E.ImagePng(), Old);

        TLabelDoc Doc;
        Doc.BgPreset = bpFrame;
        EXPECT_EQ(MessageOf([&] { Doc.LoadBackgroundFromFile(Path); }), Expected);
        EXPECT_EQ(Doc.BgPreset, bpFrame);
        EXPECT_TRUE(Doc.BgPng().isEmpty());
    }
}

TEST(PictureBomb, LabelCarryingOneLoadsButDoesNotDraw)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("Bombe.pellwerk"));
    {
        TLabelDoc Doc;
        auto E = std::make_unique<TLabelElement>(ekImage);
        E->SetImagePng(PngBomb(kSide, kSide));
        Doc.Elements.Add(std::move(E));
        Doc.SaveToFile(File);
    }
    TLabelDoc AsElement;
    ASSERT_NO_THROW(AsElement.LoadFromFile(File));
    ASSERT_EQ(AsElement.Elements.Count(), 1);

    TLabelDoc AsBackground;
    AsBackground.BgPreset = bpImage;
    AsBackground.SetBgPng(PngBomb(kSide, kSide));

    const QString Expected = QStringLiteral("Das Bild ist zu groß (100000 × 100000 Pixel)");
    for (const TLabelDoc* Doc : {&AsElement, &AsBackground}) {
        EXPECT_EQ(MessageOf([&] { Doc->RenderBitmap(false, 1); }), Expected);
        EXPECT_EQ(MessageOf([&] { Doc->RenderMono(1); }), Expected);
        EXPECT_EQ(MessageOf([&] { RenderThumbnail(*Doc, 120, 90); }), Expected);
    }
    // The picture is still the bomb's bytes: nothing was half replaced.
    EXPECT_EQ(AsElement.Elements[0]->ImagePng(), PngBomb(kSide, kSide));
}

}  // namespace
