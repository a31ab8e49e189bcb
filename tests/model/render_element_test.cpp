// Lines, rectangles, ellipses and image elements, checked dot by dot.

#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/picture_io.h"
#include "protocol/nimbo_protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

TLabelElement* AddElement(TLabelDoc& Doc, TElemKind Kind, int X, int Y, int W, int H)
{
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(Kind));
    E->X = X;
    E->Y = Y;
    E->W = W;
    E->H = H;
    return E;
}

void ExpectDots(const TNbMonoImage& M, const std::function<bool(int, int)>& Expected)
{
    int Mismatches = 0;
    for (int Y = 0; Y < M.Height && Mismatches < 5; ++Y)
        for (int X = 0; X < M.Width && Mismatches < 5; ++X)
            if ((M.GetDot(X, Y) != 0) != Expected(X, Y)) {
                ++Mismatches;
                ADD_FAILURE() << "dot (" << X << ", " << Y << ") is " << int(M.GetDot(X, Y));
            }
}

bool Inside(int X, int Y, int L, int T, int R, int B)
{
    return X >= L && X < R && Y >= T && Y < B;
}

TEST(RenderElement, LinesAreBarsCentredAcrossTheirBox)
{
    struct Case {
        int W, H, LineWidth;
        int L, T, R, B;  // expected bar relative to the box origin (20, 30)
    };
    const Case Cases[] = {
        {200, 10, 3, 0, 4, 200, 7},   // horizontal: rows 4 … 6
        {10, 200, 3, 4, 0, 7, 200},   // vertical: columns 4 … 6
        {20, 20, 2, 0, 9, 20, 11},    // a square box gives a horizontal line
        {30, 7, 0, 0, 3, 30, 4},      // width 0 draws as 1
        {9, 40, 4, 2, 0, 6, 40},      // even width: cx = 4, from 4 - 2
    };
    for (const Case& C : Cases) {
        TLabelDoc Doc;
        AddElement(Doc, ekLine, 20, 30, C.W, C.H)->LineWidth = C.LineWidth;
        SCOPED_TRACE(testing::Message() << C.W << "x" << C.H << " width " << C.LineWidth);
        ExpectDots(Doc.RenderMono(1), [&](int X, int Y) {
            return Inside(X - 20, Y - 30, C.L, C.T, C.R, C.B);
        });
    }
}

TEST(RenderElement, RectangleOutlineInsetByHalfThePen)
{
    // Box (20, 30) … (120, 90). The outline is drawn with the rectangle
    // (left + k, top + k, right - k + 1, bottom - k + 1), k = width div 2,
    // and the pen centred on it: even widths fill the box exactly, odd ones
    // reach one dot past its right and bottom edge.
    struct Case {
        int LineWidth;
        int OuterR, OuterB;  // exclusive outer edges of the band
    };
    const Case Cases[] = {{4, 120, 90}, {2, 120, 90}, {3, 121, 91}, {1, 121, 91}};
    for (const Case& C : Cases) {
        for (const bool Filled : {false, true}) {
            TLabelDoc Doc;
            TLabelElement* E = AddElement(Doc, ekRect, 20, 30, 100, 60);
            E->LineWidth = C.LineWidth;
            E->Filled = Filled;
            SCOPED_TRACE(testing::Message() << "width " << C.LineWidth << " filled " << Filled);
            const int W = C.LineWidth;
            ExpectDots(Doc.RenderMono(1), [&](int X, int Y) {
                const bool InOuter = Inside(X, Y, 20, 30, C.OuterR, C.OuterB);
                const bool InInner = Inside(X, Y, 20 + W, 30 + W, C.OuterR - W, C.OuterB - W);
                return InOuter && (Filled || !InInner);
            });
        }
    }
}

TEST(RenderElement, EllipseStaysInItsBoxAndTouchesAllFourSides)
{
    for (const bool Filled : {false, true}) {
        TLabelDoc Doc;
        TLabelElement* E = AddElement(Doc, ekEllipse, 40, 20, 120, 80);  // lw 3, k 1
        E->Filled = Filled;
        const TNbMonoImage M = Doc.RenderMono(1);
        int L = 1000, T = 1000, R = -1, B = -1;
        for (int Y = 0; Y < M.Height; ++Y)
            for (int X = 0; X < M.Width; ++X)
                if (M.GetDot(X, Y)) {
                    L = std::min(L, X);
                    T = std::min(T, Y);
                    R = std::max(R, X);
                    B = std::max(B, Y);
                }
        // Outline rectangle (41, 21, 160, 100), pen 3 centred on it.
        EXPECT_EQ(L, 40);
        EXPECT_EQ(T, 20);
        EXPECT_EQ(R, 160);
        EXPECT_EQ(B, 100);
        EXPECT_EQ(M.GetDot(100, 60), Filled ? 1 : 0) << "centre";
        EXPECT_EQ(M.GetDot(41, 21), 0) << "corners stay blank";
        EXPECT_EQ(M.GetDot(41, 60), 1);
        EXPECT_EQ(M.GetDot(100, 21), 1);
    }
}

QByteArray SolidPng(int W, int H, QRgb Colour)
{
    QImage Img(W, H, QImage::Format_RGB32);
    Img.fill(Colour);
    return BitmapToPng(Img);
}

TEST(RenderElement, ImageFitsOrStretchesAndWhitensItsWholeBox)
{
    struct Case {
        bool KeepAspect;
        int L, R;  // black columns; the box spans 40 … 139
    };
    // 200 x 200 into 100 x 50: kept aspect gives 50 x 50 at x offset 25.
    const Case Cases[] = {{true, 65, 115}, {false, 40, 140}};
    for (const Case& C : Cases) {
        TLabelDoc Doc;
        TLabelElement* Under = AddElement(Doc, ekRect, 30, 30, 120, 70);
        Under->Filled = true;
        TLabelElement* Img = AddElement(Doc, ekImage, 40, 40, 100, 50);
        Img->KeepAspect = C.KeepAspect;
        Img->Dither = false;
        Img->SetImagePng(SolidPng(200, 200, qRgb(0, 0, 0)));
        SCOPED_TRACE(testing::Message() << "keep aspect " << C.KeepAspect);
        ExpectDots(Doc.RenderMono(1), [&](int X, int Y) {
            if (Inside(X, Y, 40, 40, 140, 90))  // the picture's box is opaque
                return X >= C.L && X < C.R;
            return Inside(X, Y, 30, 30, 151, 101);  // the rectangle under it
        });
    }
}

TEST(RenderElement, ImageDitherFlagDecidesPrintedGray)
{
    struct Case {
        int Gray;
        bool Dither;
        int MinInk, MaxInk;  // ink dots of the 80 x 80 box
    };
    const Case Cases[] = {
        {128, false, 0, 0},        // the threshold leaves 128 blank
        {127, false, 6400, 6400},  // and inks 127
        {128, true, 3000, 3400},   // dithered: about half
        {64, true, 4600, 5000},    // about three quarters
    };
    for (const Case& C : Cases) {
        TLabelDoc Doc;
        TLabelElement* E = AddElement(Doc, ekImage, 100, 50, 80, 80);
        E->Dither = C.Dither;
        E->SetImagePng(SolidPng(80, 80, qRgb(C.Gray, C.Gray, C.Gray)));
        const TNbMonoImage M = Doc.RenderMono(1);
        int Ink = 0;
        for (const uint8_t D : M.Dots)
            Ink += D;
        EXPECT_GE(Ink, C.MinInk) << C.Gray << " dither " << C.Dither;
        EXPECT_LE(Ink, C.MaxInk) << C.Gray << " dither " << C.Dither;
        // On screen the picture keeps its gray.
        EXPECT_EQ(Doc.RenderBitmap(false, 1).pixel(140, 90), qRgb(C.Gray, C.Gray, C.Gray));
    }
}

TEST(RenderElement, ImageHangingOffTheLabelKeepsItsScale)
{
    // A picture of four equal vertical blocks, white, black, black, white,
    // stretched into a 200-dot box that starts 100 dots left of the label:
    // the visible half shows the third block (black) on columns 0 … 49 and
    // the fourth (white) on 50 … 99, whether the picture is enlarged or
    // shrunk. The same holds upside down for a box hanging off the top.
    for (const int PicW : {4, 40, 400, 1000}) {
        // 40 rows shrink into the 30-dot side of the box: narrow pictures are
        // enlarged one way and shrunk the other, wide ones shrunk both ways.
        QImage Pic(PicW, 40, QImage::Format_RGB32);
        for (int X = 0; X < PicW; ++X)
            for (int Y = 0; Y < 40; ++Y)
                Pic.setPixel(X, Y, (X * 4 / PicW == 1 || X * 4 / PicW == 2) ? qRgb(0, 0, 0)
                                                                             : qRgb(255, 255, 255));
        TLabelDoc Doc;
        TLabelElement* E = AddElement(Doc, ekImage, -100, 20, 200, 30);
        E->KeepAspect = false;
        E->SetImagePng(BitmapToPng(Pic));
        TLabelElement* Turned = AddElement(Doc, ekImage, 250, -100, 30, 200);
        Turned->KeepAspect = false;
        Turned->SetImagePng(BitmapToPng(Pic.transformed(QTransform().rotate(90))));
        const QImage Bmp = Doc.RenderBitmap(false, 1);
        SCOPED_TRACE(testing::Message() << "picture width " << PicW);
        for (int X = 0; X < 100; ++X) {
            if (X == 49 || X == 50)
                continue;  // averaging may blend the two dots at the seam
            const QRgb Want = X < 50 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            ASSERT_EQ(Bmp.pixel(X, 35), Want) << X;
            // Turned a quarter clockwise, the blocks run top to bottom in
            // the same order; rows 0 … 99 show the last two.
            ASSERT_EQ(Bmp.pixel(265, X), X < 50 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << X;
        }
    }
}

TEST(RenderElement, DitheredPictureKeepsItsPatternAtTheLabelEdge)
{
    // Error diffusion runs from the picture's own corner, so a picture
    // pushed half off the label prints its visible half unchanged.
    QImage Pic(100, 60, QImage::Format_RGB32);
    for (int Y = 0; Y < 60; ++Y)
        for (int X = 0; X < 100; ++X)
            Pic.setPixel(X, Y, qRgb((X * 5 + Y * 3) % 256, (X * Y) % 256, 128));
    const auto Render = [&](int X, int Y) {
        TLabelDoc Doc;
        TLabelElement* E = AddElement(Doc, ekImage, X, Y, 100, 60);
        E->SetImagePng(BitmapToPng(Pic));
        return Doc.RenderMono(1);
    };
    const TNbMonoImage Inside = Render(100, 100);
    const TNbMonoImage OffLeft = Render(-40, 100);
    const TNbMonoImage OffTop = Render(100, -25);
    int Ink = 0;
    for (int Y = 0; Y < 60; ++Y)
        for (int X = 0; X < 100; ++X) {
            Ink += Inside.GetDot(100 + X, 100 + Y);
            if (X >= 40) {
                ASSERT_EQ(OffLeft.GetDot(X - 40, 100 + Y), Inside.GetDot(100 + X, 100 + Y)) << X << ", " << Y;
            }
            if (Y >= 25) {
                ASSERT_EQ(OffTop.GetDot(100 + X, Y - 25), Inside.GetDot(100 + X, 100 + Y)) << X << ", " << Y;
            }
        }
    EXPECT_GT(Ink, 1000);
    EXPECT_LT(Ink, 5000);
}

TEST(RenderElement, EmptyImageShowsASilverBoxOnScreenOnly)
{
    TLabelDoc Doc;
    AddElement(Doc, ekImage, 50, 40, 100, 50);
    const QRgb Silver = qRgb(192, 192, 192);
    const QRgb White = qRgb(255, 255, 255);
    const QImage Screen = Doc.RenderBitmap(false, 1);
    for (const QPoint P : {QPoint(50, 40), QPoint(149, 40), QPoint(50, 89), QPoint(149, 89), QPoint(100, 40),
                           QPoint(50, 65), QPoint(149, 65), QPoint(100, 89)})
        EXPECT_EQ(Screen.pixel(P), Silver) << "outline " << P.x() << ", " << P.y();
    // Both diagonals cross the middle of the box.
    EXPECT_EQ(Screen.pixel(60, 45), Silver);
    EXPECT_EQ(Screen.pixel(140, 45), Silver);
    EXPECT_EQ(Screen.pixel(100, 60), White);
    EXPECT_EQ(Screen.pixel(100, 39), White);
    EXPECT_EQ(Screen.pixel(100, 90), White);
    // Nothing but silver and white, and nothing of it in print.
    for (int Y = 0; Y < Screen.height(); ++Y)
        for (int X = 0; X < Screen.width(); ++X)
            ASSERT_TRUE(Screen.pixel(X, Y) == Silver || Screen.pixel(X, Y) == White);
    const QImage Print = Doc.RenderBitmap(true, 1);
    for (int Y = 0; Y < Print.height(); ++Y)
        for (int X = 0; X < Print.width(); ++X)
            ASSERT_EQ(Print.pixel(X, Y), White) << X << ", " << Y;
}

TEST(RenderElement, LaterElementsCoverEarlierOnes)
{
    TLabelDoc Doc;
    AddElement(Doc, ekRect, 10, 10, 100, 100)->Filled = true;
    TLabelElement* Top = AddElement(Doc, ekImage, 30, 30, 40, 40);
    Top->SetImagePng(SolidPng(4, 4, qRgb(255, 255, 255)));
    const TNbMonoImage M = Doc.RenderMono(1);
    EXPECT_EQ(M.GetDot(50, 50), 0);
    EXPECT_EQ(M.GetDot(20, 50), 1);
    Doc.Elements.Exchange(0, 1);
    EXPECT_EQ(Doc.RenderMono(1).GetDot(50, 50), 1);
}

TEST(RenderElement, UndecodablePictureRaisesFromRendering)
{
    TLabelDoc Doc;
    AddElement(Doc, ekImage, 10, 10, 50, 50)->SetImagePng(QByteArray("\x89PNG kaputt", 11));
    EXPECT_THROW(Doc.RenderBitmap(false, 1), EModelError);
    EXPECT_THROW(Doc.RenderMono(1), EModelError);
}

TEST(RenderElement, ElementsReachingPastTheLabelAreClipped)
{
    TLabelDoc Doc;
    TLabelElement* Rect = AddElement(Doc, ekRect, -50, -50, 2000000000, 100);
    Rect->Filled = true;
    TLabelElement* Img = AddElement(Doc, ekImage, -1000000, 100, 2000000000, 100);
    Img->KeepAspect = false;
    Img->Dither = false;
    Img->SetImagePng(SolidPng(3, 3, qRgb(0, 0, 0)));
    AddElement(Doc, ekImage, 300, -100000000, 1000000000, 2000000000);  // silver diagonals on screen
    const TNbMonoImage M = Doc.RenderMono(1);
    ASSERT_EQ(M.Width, 384);
    ExpectDots(M, [](int, int Y) { return Y < 51 || (Y >= 100 && Y < 200); });
    EXPECT_NO_THROW(Doc.RenderBitmap(false, 1));
}

TEST(RenderElement, ShapesEndingAtTheLastCoordinateStillRender)
{
    // A hand-edited file may give a size that the reader clamps so that the
    // far edge lands on the largest 32-bit coordinate; the near edges must
    // still print, with every pen width.
    for (TElemKind Kind : {ekRect, ekEllipse}) {
        for (int Pen : {0, 1, 2, 3}) {
            TLabelDoc Doc;
            TLabelElement* E = AddElement(Doc, Kind, 10, 20, INT32_MAX - 10, INT32_MAX - 20);
            ASSERT_EQ(E->BoundsRect().Right, INT32_MAX);
            E->LineWidth = Pen;
            SCOPED_TRACE(testing::Message() << E->KindName().toStdString() << " pen " << Pen);
            TNbMonoImage M;
            ASSERT_NO_THROW(M = Doc.RenderMono(1));
            if (Kind == ekRect) {
                const int W = std::max(Pen, 1);
                ExpectDots(M, [&](int X, int Y) {
                    return (X >= 10 && Y >= 20) && (X < 10 + W || Y < 20 + W);
                });
            } else {
                // So large a curve does not come near the label's corner.
                ExpectDots(M, [](int, int) { return false; });
            }
        }
    }
}

TEST(RenderElement, RenderToResizesTheGivenBitmap)
{
    TLabelDoc Doc;
    Doc.LengthMm = 50;
    QImage Bmp(7, 9, QImage::Format_ARGB32);
    Bmp.fill(Qt::red);
    Doc.RenderTo(Bmp, false, 1);
    EXPECT_EQ(Bmp.size(), QSize(384, 400));
    EXPECT_EQ(Bmp.pixel(3, 3), qRgb(255, 255, 255));
    Doc.LengthMm = 0;
    EXPECT_THROW(Doc.RenderBitmap(false, 1), EModelError);
}

}  // namespace
