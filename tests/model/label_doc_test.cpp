// The document and element model: defaults, geometry, hit testing, the
// element list, cloning and the picture caches.

#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/picture_io.h"

#include "model_fixtures.h"

#include <gtest/gtest.h>

namespace {

TLabelElement* AddRect(TLabelDoc& Doc, int X, int Y, int W, int H)
{
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekRect));
    E->X = X;
    E->Y = Y;
    E->W = W;
    E->H = H;
    return E;
}

TEST(LabelElement, CreateSetsTheDefaultsForEveryKind)
{
    for (const TElemKind K : {ekText, ekImage, ekRect, ekEllipse, ekLine}) {
        const TLabelElement E(K);
        EXPECT_EQ(E.Kind, K);
        EXPECT_EQ(E.BoundsRect(), (TDotRect{16, 16, 136, 76}));
        EXPECT_EQ(E.FontName, QStringLiteral("Arial"));
        EXPECT_EQ(E.FontSize, 32);
        EXPECT_EQ(E.Align, laCenter);
        EXPECT_EQ(E.LineWidth, 3);
        EXPECT_TRUE(E.Dither);
        EXPECT_TRUE(E.KeepAspect);
        EXPECT_TRUE(E.Text.isEmpty());
        EXPECT_FALSE(E.Bold || E.Italic || E.Underline || E.Inverted || E.Filled);
        EXPECT_TRUE(E.ImagePng().isEmpty());
        EXPECT_TRUE(E.Image().isNull());
    }
}

TEST(LabelElement, KindNames)
{
    const std::pair<TElemKind, const char*> Cases[] = {
        {ekText, "Text"}, {ekImage, "Bild"}, {ekRect, "Rechteck"}, {ekEllipse, "Ellipse"}, {ekLine, "Linie"}};
    for (const auto& [K, Name] : Cases)
        EXPECT_EQ(TLabelElement(K).KindName(), QString::fromUtf8(Name));
}

TEST(LabelElement, BoundsRectRaisesInsteadOfWrapping)
{
    TLabelElement E(ekRect);
    E.X = INT32_MAX - 10;
    E.W = 11;
    EXPECT_THROW(E.BoundsRect(), EModelError);
    E.W = 10;
    EXPECT_EQ(E.BoundsRect().Right, INT32_MAX);
}

TEST(LabelDoc, NewDocumentIsAnEmptyPortraitLabel)
{
    TLabelDoc Doc;
    EXPECT_EQ(Doc.Name, QStringLiteral("Neues Etikett"));
    EXPECT_TRUE(Doc.FileName.isEmpty());
    EXPECT_EQ(Doc.LengthMm, 30);
    EXPECT_EQ(Doc.BgPreset, bpNone);
    EXPECT_EQ(Doc.BgMode, bmFill);
    EXPECT_TRUE(Doc.BgDither);
    EXPECT_EQ(Doc.BgLighten, 0);
    EXPECT_TRUE(Doc.BgPng().isEmpty());
    EXPECT_FALSE(Doc.Modified);
    EXPECT_EQ(Doc.Elements.Count(), 0);
    EXPECT_EQ(Doc.DesignWidth(), 384);
    EXPECT_EQ(Doc.DesignHeight(), 240);
    Doc.Landscape = true;
    EXPECT_EQ(Doc.DesignWidth(), 240);
    EXPECT_EQ(Doc.DesignHeight(), 384);
    Doc.LengthMm = INT32_MAX / 4;
    EXPECT_THROW(Doc.DesignWidth(), EModelError);
}

TEST(LabelDoc, ClearResetsEverything)
{
    TLabelDoc Doc;
    Doc.Name = QStringLiteral("X");
    Doc.FileName = QStringLiteral("/tmp/x.pellwerk");
    Doc.LengthMm = 77;
    Doc.Landscape = true;
    Doc.BgPreset = bpImage;
    Doc.BgMode = bmFit;
    Doc.BgDither = false;
    Doc.BgLighten = 40;
    Doc.SetBgPng(BitmapToPng(NoisyPicture(4, 4, 1)));
    Doc.Modified = true;
    AddRect(Doc, 0, 0, 5, 5);
    Doc.Clear();
    EXPECT_EQ(Doc.Name, QStringLiteral("Neues Etikett"));
    EXPECT_TRUE(Doc.FileName.isEmpty());
    EXPECT_EQ(Doc.LengthMm, 30);
    EXPECT_FALSE(Doc.Landscape);
    EXPECT_EQ(Doc.BgPreset, bpNone);
    EXPECT_EQ(Doc.BgMode, bmFill);
    EXPECT_TRUE(Doc.BgDither);
    EXPECT_EQ(Doc.BgLighten, 0);
    EXPECT_TRUE(Doc.BgPng().isEmpty());
    EXPECT_TRUE(Doc.BgImage().isNull());
    EXPECT_FALSE(Doc.Modified);
    EXPECT_EQ(Doc.Elements.Count(), 0);
}

TEST(LabelDoc, HitTestUsesBoundsWidenedByFourDots)
{
    TLabelDoc Doc;
    EXPECT_EQ(Doc.HitTest(QPoint(0, 0)), nullptr);
    TLabelElement* Bottom = AddRect(Doc, 100, 50, 40, 20);  // widened: x 96..143, y 46..73
    TLabelElement* Top = AddRect(Doc, 130, 60, 40, 20);      // overlaps Bottom's right part

    const struct {
        QPoint P;
        TLabelElement* Expected;
    } Cases[] = {
        {{96, 60}, Bottom},   // exactly 4 dots left of X
        {{95, 60}, nullptr},
        {{100, 46}, Bottom},  // 4 dots above Y
        {{100, 45}, nullptr},
        {{110, 73}, Bottom},  // last row of the widened area
        {{110, 74}, nullptr}, // Y + H + 4
        {{135, 65}, Top},     // overlap: the later element wins
        {{173, 65}, Top},     // X + W + 3 of Top
        {{174, 65}, nullptr}, // X + W + 4 of Top
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Doc.HitTest(C.P), C.Expected) << C.P.x() << "," << C.P.y();

    // An element at the edge of the integer range must not wrap around.
    AddRect(Doc, INT32_MAX - 2, INT32_MAX - 2, 100, 100);
    EXPECT_EQ(Doc.HitTest(QPoint(135, 65)), Top);
    EXPECT_EQ(Doc.HitTest(QPoint(-1000, -1000)), nullptr);
}

TEST(ElementList, AddIndexExchangeRemove)
{
    TLabelDoc Doc;
    TLabelElement* A = AddRect(Doc, 0, 0, 1, 1);
    TLabelElement* B = AddRect(Doc, 1, 1, 1, 1);
    TLabelElement* C = AddRect(Doc, 2, 2, 1, 1);
    EXPECT_EQ(Doc.Elements.Count(), 3);
    EXPECT_EQ(Doc.Elements.IndexOf(C), 2);
    EXPECT_EQ(Doc.Elements[0], A);

    Doc.Elements.Exchange(0, 1);  // A one step up
    EXPECT_EQ(Doc.Elements.IndexOf(A), 1);
    EXPECT_EQ(Doc.Elements.IndexOf(B), 0);

    std::vector<TLabelElement*> Order;
    for (const auto& E : Doc.Elements)
        Order.push_back(E.get());
    EXPECT_EQ(Order, (std::vector<TLabelElement*>{B, A, C}));

    EXPECT_TRUE(Doc.Elements.Remove(A));
    EXPECT_EQ(Doc.Elements.IndexOf(A), -1);
    EXPECT_FALSE(Doc.Elements.Remove(A));
    EXPECT_EQ(Doc.Elements.Count(), 2);

    const TLabelElement Stranger(ekText);
    EXPECT_EQ(Doc.Elements.IndexOf(&Stranger), -1);
    EXPECT_THROW(Doc.Elements.Add(nullptr), EModelError);
}

TEST(ElementList, BadIndexesRaise)
{
    TLabelDoc Doc;
    AddRect(Doc, 0, 0, 1, 1);
    EXPECT_THROW(Doc.Elements[1], EModelError);
    EXPECT_THROW(Doc.Elements.At(-1), EModelError);
    EXPECT_THROW(Doc.Elements.Exchange(0, 1), EModelError);
    EXPECT_THROW(Doc.Elements.Delete(1), EModelError);
    try {
        Doc.Elements.At(5);
        FAIL() << "no error";
    } catch (const EModelError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Listenindex außerhalb des gültigen Bereichs (5)"));
    }
    EXPECT_EQ(Doc.Elements.Count(), 1);
}

TEST(LabelElement, CloneCopiesEveryFieldAndOwnsItsPicture)
{
    auto Src = std::make_unique<TLabelElement>(ekImage);
    Src->X = -7;
    Src->Y = 9;
    Src->W = 33;
    Src->H = 44;
    Src->Text = QStringLiteral("ä/\"x\"\r\n");
    Src->FontName = QStringLiteral("Liberation Serif");
    Src->FontSize = 2;
    Src->Bold = Src->Italic = Src->Underline = Src->Inverted = Src->Filled = true;
    Src->Dither = Src->KeepAspect = false;
    Src->Align = laRight;
    Src->LineWidth = 7;
    const QImage Pic = NoisyPicture(20, 10, 3);
    Src->SetImagePng(BitmapToPng(Pic));
    ASSERT_FALSE(Src->Image().isNull());

    const auto Copy = Src->Clone();
    const QByteArray Png = Src->ImagePng();
    Src.reset();  // the copy must not depend on the source

    EXPECT_EQ(Copy->Kind, ekImage);
    EXPECT_EQ(Copy->BoundsRect(), (TDotRect{-7, 9, 26, 53}));
    EXPECT_EQ(Copy->Text, QStringLiteral("ä/\"x\"\r\n"));
    EXPECT_EQ(Copy->FontName, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(Copy->FontSize, 2);
    EXPECT_TRUE(Copy->Bold && Copy->Italic && Copy->Underline && Copy->Inverted && Copy->Filled);
    EXPECT_FALSE(Copy->Dither || Copy->KeepAspect);
    EXPECT_EQ(Copy->Align, laRight);
    EXPECT_EQ(Copy->LineWidth, 7);
    EXPECT_EQ(Copy->ImagePng(), Png);
    EXPECT_EQ(Copy->Image(), Pic);
}

TEST(LabelElement, CloneAppliesTheReadingRules)
{
    TLabelElement Src(ekLine);
    Src.W = 0;
    Src.H = -5;
    Src.LineWidth = -3;
    const auto Copy = Src.Clone();
    EXPECT_EQ(Copy->W, 1);
    EXPECT_EQ(Copy->H, 1);
    EXPECT_EQ(Copy->LineWidth, 1);
}

TEST(PictureCache, NewBytesReplaceTheDecodedPicture)
{
    TLabelElement E(ekImage);
    const QImage First = NoisyPicture(8, 6, 1);
    const QImage Second = NoisyPicture(5, 9, 2);
    E.SetImagePng(BitmapToPng(First));
    EXPECT_EQ(E.Image(), First);
    E.SetImagePng(BitmapToPng(Second));
    EXPECT_EQ(E.Image(), Second);
    E.SetImagePng(QByteArray());
    EXPECT_TRUE(E.Image().isNull());

    TLabelDoc Doc;
    Doc.SetBgPng(BitmapToPng(First));
    EXPECT_EQ(Doc.BgImage(), First);
    Doc.SetBgPng(BitmapToPng(Second));
    EXPECT_EQ(Doc.BgImage(), Second);
}

TEST(PictureCache, UndecodableBytesRaiseEachTimeUntilReplaced)
{
    TLabelElement E(ekImage);
    E.SetImagePng(QByteArray("not a png"));
    for (int Attempt = 0; Attempt < 2; ++Attempt) {
        try {
            E.Image();
            FAIL() << "no error";
        } catch (const EModelError& Err) {
            EXPECT_EQ(Err.Message(), QStringLiteral("Ungültige PNG-Bilddaten"));
        }
    }
    EXPECT_EQ(E.ImagePng(), QByteArray("not a png"));  // kept as they are
    const QImage Pic = NoisyPicture(3, 3, 4);
    E.SetImagePng(BitmapToPng(Pic));
    EXPECT_EQ(E.Image(), Pic);

    TLabelDoc Doc;
    Doc.SetBgPng(QByteArray("\x89PNG broken"));
    EXPECT_THROW(Doc.BgImage(), EModelError);
}

}  // namespace
