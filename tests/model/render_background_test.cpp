// Background presets, checked dot by dot on the printer raster, and the
// background picture with its placement, lightening and dithering.

#include "model/label_doc.h"
#include "model/picture_io.h"
#include "model/render_picture.h"
#include "protocol/nimbo_protocol.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// Every dot of M must be ink exactly where Expected says so; stops at the
// first few mismatches so that a fault stays readable.
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

// Runs of ink along row Y as (first, last) columns.
std::vector<std::pair<int, int>> RowRuns(const TNbMonoImage& M, int Y)
{
    std::vector<std::pair<int, int>> Runs;
    for (int X = 0; X < M.Width; ++X)
        if (M.GetDot(X, Y) && (X == 0 || !M.GetDot(X - 1, Y)))
            Runs.push_back({X, X});
        else if (M.GetDot(X, Y))
            Runs.back().second = X;
    return Runs;
}

std::vector<std::pair<int, int>> ColumnRuns(const TNbMonoImage& M, int X)
{
    std::vector<std::pair<int, int>> Runs;
    for (int Y = 0; Y < M.Height; ++Y)
        if (M.GetDot(X, Y) && (Y == 0 || !M.GetDot(X, Y - 1)))
            Runs.push_back({Y, Y});
        else if (M.GetDot(X, Y))
            Runs.back().second = Y;
    return Runs;
}

TNbMonoImage RenderPreset(TBgPreset Preset, int LengthMm)
{
    TLabelDoc Doc;
    Doc.LengthMm = LengthMm;
    Doc.BgPreset = Preset;
    return Doc.RenderMono(1);
}

TEST(RenderBackground, NoneIsBlank)
{
    const TNbMonoImage M = RenderPreset(bpNone, 30);
    ASSERT_EQ(M.Width, 384);
    ASSERT_EQ(M.Height, 240);
    ExpectDots(M, [](int, int) { return false; });
}

TEST(RenderBackground, FrameIsFourDotsWideAlongAllEdges)
{
    ExpectDots(RenderPreset(bpFrame, 30),
               [](int X, int Y) { return X < 4 || X >= 380 || Y < 4 || Y >= 236; });
}

TEST(RenderBackground, DoubleFrameAddsATwoDotFrameInside)
{
    ExpectDots(RenderPreset(bpDoubleFrame, 30), [](int X, int Y) {
        const bool Outer = X < 4 || X >= 380 || Y < 4 || Y >= 236;
        const bool InInnerBox = X >= 9 && X <= 374 && Y >= 9 && Y <= 230;
        const bool OnInnerBand = X <= 10 || X >= 373 || Y <= 10 || Y >= 229;
        return Outer || (InInnerBox && OnInnerBand);
    });
}

TEST(RenderBackground, RoundedFrameHasStraightSidesAndRoundCorners)
{
    const TNbMonoImage M = RenderPreset(bpRounded, 30);
    // Straight parts: the 4-dot pen centred on the outline from 3 to W-3.
    EXPECT_EQ(ColumnRuns(M, 192), (std::vector<std::pair<int, int>>{{1, 4}, {235, 238}}));
    EXPECT_EQ(RowRuns(M, 120), (std::vector<std::pair<int, int>>{{1, 4}, {379, 382}}));
    // The corners are cut off, and the drawing is symmetric.
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            EXPECT_EQ(M.GetDot(X, Y), 0) << X << ", " << Y;
    for (int Y = 0; Y < M.Height; ++Y)
        for (int X = 0; X < M.Width; ++X) {
            ASSERT_EQ(M.GetDot(X, Y), M.GetDot(383 - X, Y)) << X << ", " << Y;
            ASSERT_EQ(M.GetDot(X, Y), M.GetDot(X, 239 - Y)) << X << ", " << Y;
        }
    // Nothing strays into the label: the bands end at 4 along the straight
    // parts, and the corner arcs stay within their 30-dot corners.
    for (int Y = 5; Y < 235; ++Y)
        for (int X = 5; X < 379; ++X) {
            const bool CornerZone = (X < 30 || X >= 354) && (Y < 30 || Y >= 210);
            if (!CornerZone) {
                ASSERT_EQ(M.GetDot(X, Y), 0) << X << ", " << Y;
            }
        }
    // Each arc joins its straight sides: the corner zone holds ink connecting
    // row 1 and column 1.
    EXPECT_EQ(M.GetDot(29, 1), 1);
    EXPECT_EQ(M.GetDot(1, 29), 1);
    EXPECT_NE(RowRuns(M, 12).front().first, 1);
}

TEST(RenderBackground, DottedPutsSixDotSquaresEveryFourteenDots)
{
    const TNbMonoImage M = RenderPreset(bpDotted, 30);
    std::vector<std::pair<int, int>> Across;  // 27 squares, x = 4 … 368
    for (int X = 4; X <= 368; X += 14)
        Across.push_back({X, X + 5});
    std::vector<std::pair<int, int>> Down;  // y = 4 … 228 on a 240-dot label
    for (int Y = 4; Y <= 228; Y += 14)
        Down.push_back({Y, Y + 5});
    ASSERT_EQ(Across.size(), 27u);
    // Row 3 and row 236 meet only the squares along the top and bottom
    // edges; columns 3 and 380 only those along the sides.
    EXPECT_EQ(RowRuns(M, 3), Across);
    EXPECT_EQ(RowRuns(M, 236), Across);
    EXPECT_EQ(ColumnRuns(M, 3), Down);
    EXPECT_EQ(ColumnRuns(M, 380), Down);
    for (const int Y : {0, 2, 9, 230, 237, 239})
        EXPECT_TRUE(RowRuns(M, Y).size() <= 2) << Y;  // at most the side squares
    for (int Y = 10; Y < 230; ++Y)
        for (int X = 10; X < 374; ++X)
            ASSERT_EQ(M.GetDot(X, Y), 0) << X << ", " << Y;
}

TEST(RenderBackground, StripesAreBarsOfFourThreeAndTwoDotsMirrored)
{
    const TNbMonoImage M = RenderPreset(bpStripes, 20);
    ASSERT_EQ(M.Height, 160);
    const auto InkRow = [](int Y) {
        return (Y >= 0 && Y <= 3) || (Y >= 7 && Y <= 9) || (Y >= 14 && Y <= 15) || (Y >= 144 && Y <= 145) ||
               (Y >= 150 && Y <= 152) || (Y >= 156 && Y <= 159);
    };
    ExpectDots(M, [&](int, int Y) { return InkRow(Y); });
}

TEST(RenderBackground, CornersInAllFourCornersMirrored)
{
    // The top-left ornament: arm along the top, arm down the side, square on
    // the diagonal; the other three are its mirror images.
    const auto TopLeft = [](int X, int Y) {
        return (X >= 4 && X < 40 && Y >= 4 && Y < 8) || (X >= 4 && X < 8 && Y >= 4 && Y < 40) ||
               (X >= 14 && X < 20 && Y >= 14 && Y < 20);
    };
    ExpectDots(RenderPreset(bpCorners, 30), [&](int X, int Y) {
        return TopLeft(X, Y) || TopLeft(383 - X, Y) || TopLeft(X, 239 - Y) || TopLeft(383 - X, 239 - Y);
    });
}

// A picture of vertical bands, one colour per band, exactly the label's size
// so that stretching changes nothing.
QImage BandPicture(const std::vector<QRgb>& Colours, int W, int H)
{
    QImage Img(W, H, QImage::Format_RGB32);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            Img.setPixel(X, Y, Colours[size_t(X) * Colours.size() / size_t(W)]);
    return Img;
}

TEST(RenderBackground, LightenedPictureTurnsGrayOnScreen)
{
    struct Case {
        QRgb Colour;
        int Lighten;
        int Gray;  // expected gray level on screen
    };
    // Gray = (299 R + 587 G + 114 B) div 1000, then g + pct * (255 - g) div 100.
    const Case Cases[] = {
        {qRgb(0, 0, 0), 50, 127},        {qRgb(100, 100, 100), 50, 177}, {qRgb(255, 255, 255), 50, 255},
        {qRgb(255, 0, 0), 50, 165},      {qRgb(0, 0, 0), 95, 242},       {qRgb(10, 200, 30), 20, 149},
        {qRgb(254, 254, 254), 1, 254},
    };
    std::vector<QRgb> Colours;
    for (const Case& C : Cases)
        Colours.push_back(C.Colour);
    for (const int Lighten : {1, 20, 50, 95}) {
        TLabelDoc Doc;
        Doc.BgPreset = bpImage;
        Doc.BgMode = bmStretch;
        Doc.BgLighten = Lighten;
        Doc.SetBgPng(BitmapToPng(BandPicture(Colours, 384, 240)));
        for (const bool ForPrint : {false}) {
            const QImage Bmp = Doc.RenderBitmap(ForPrint, 1);
            for (size_t I = 0; I < std::size(Cases); ++I) {
                if (Cases[I].Lighten != Lighten)
                    continue;
                const int X = int(I * 384 / std::size(Cases)) + 20;
                EXPECT_EQ(Bmp.pixel(X, 100), qRgb(Cases[I].Gray, Cases[I].Gray, Cases[I].Gray))
                    << "band " << I << " lighten " << Lighten;
            }
        }
    }
}

TEST(RenderBackground, PictureKeepsItsColoursUnlessLightenedOrPrintedDithered)
{
    const QImage Pic = BandPicture({qRgb(200, 30, 40), qRgb(20, 90, 250)}, 384, 240);
    TLabelDoc Doc;
    Doc.BgPreset = bpImage;
    Doc.BgMode = bmStretch;
    Doc.SetBgPng(BitmapToPng(Pic));
    EXPECT_EQ(Doc.RenderBitmap(false, 1), Pic);  // dithering is for print only

    const QImage Printed = Doc.RenderBitmap(true, 1);
    for (int Y = 0; Y < Printed.height(); ++Y)
        for (int X = 0; X < Printed.width(); ++X)
            ASSERT_TRUE(Printed.pixel(X, Y) == qRgb(0, 0, 0) || Printed.pixel(X, Y) == qRgb(255, 255, 255));

    Doc.BgDither = false;
    EXPECT_EQ(Doc.RenderBitmap(true, 1), Pic);
}

TEST(RenderBackground, PrintedDitheringIsErrorDiffusionOfTheLightenedGray)
{
    QImage Pic(384, 240, QImage::Format_RGB32);
    for (int Y = 0; Y < 240; ++Y)
        for (int X = 0; X < 384; ++X)
            Pic.setPixel(X, Y, qRgb((X * 7 + Y) % 256, (X + Y * 3) % 256, 90));
    TLabelDoc Doc;
    Doc.BgPreset = bpImage;
    Doc.BgMode = bmStretch;
    Doc.BgLighten = 30;
    Doc.SetBgPng(BitmapToPng(Pic));

    TNbGrayImage Gray;
    Gray.Init(384, 240, 255);
    for (int Y = 0; Y < 240; ++Y)
        for (int X = 0; X < 384; ++X) {
            const QRgb C = Pic.pixel(X, Y);
            const int G = (299 * qRed(C) + 587 * qGreen(C) + 114 * qBlue(C)) / 1000;
            Gray.SetPixel(X, Y, uint8_t(G + 30 * (255 - G) / 100));
        }
    const TNbMonoImage Expected = NbGrayToMono(Gray, true, 128);
    const TNbMonoImage M = Doc.RenderMono(1);
    ASSERT_EQ(M.Width, Expected.Width);
    ASSERT_EQ(M.Height, Expected.Height);
    EXPECT_EQ(M.Dots, Expected.Dots);
}

// Fit, fill and stretch of a black picture with a 2:1 shape on a 384 x 240
// label: which block of the label turns black.
TEST(RenderBackground, PicturePlacementModes)
{
    struct Case {
        TBgMode Mode;
        int Left, Top, Right, Bottom;  // black block, right and bottom exclusive
    };
    const Case Cases[] = {
        {bmFit, 0, 24, 384, 216},   // 1.92 times: 384 x 192, white strips above and below
        {bmFill, 0, 0, 384, 240},   // 2.4 times: 480 x 240, overhanging left and right
        {bmStretch, 0, 0, 384, 240},
    };
    QImage Pic(200, 100, QImage::Format_RGB32);
    Pic.fill(Qt::black);
    for (const Case& C : Cases) {
        TLabelDoc Doc;
        Doc.BgPreset = bpImage;
        Doc.BgMode = C.Mode;
        Doc.BgDither = false;
        Doc.SetBgPng(BitmapToPng(Pic));
        ExpectDots(Doc.RenderMono(1), [&](int X, int Y) {
            return X >= C.Left && X < C.Right && Y >= C.Top && Y < C.Bottom;
        });
    }
}

TEST(RenderBackground, FillCutsTheOverhangEvenly)
{
    // Left half black: enlarged 2.4 times to 480 wide and centred at -48, the
    // black half ends at 240 - 48 = 192.
    QImage Pic(200, 100, QImage::Format_RGB32);
    Pic.fill(Qt::white);
    for (int Y = 0; Y < 100; ++Y)
        for (int X = 0; X < 100; ++X)
            Pic.setPixel(X, Y, qRgb(0, 0, 0));
    TLabelDoc Doc;
    Doc.BgPreset = bpImage;
    Doc.BgMode = bmFill;
    Doc.BgDither = false;
    Doc.SetBgPng(BitmapToPng(Pic));
    ExpectDots(Doc.RenderMono(1), [](int X, int) { return X < 192; });
}

TEST(RenderBackground, FillOnALongLabelShowsTheMiddleBandOfTheEnlargedPicture)
{
    // A square picture on a 1000 mm landscape label is enlarged 80 times to
    // 8000 x 8000 and centred at y = -3808; only its 384 visible rows exist.
    // Source row 50 covers enlarged rows 4000 … 4079, that is label rows
    // 192 … 271.
    QImage Pic(100, 100, QImage::Format_RGB32);
    Pic.fill(Qt::white);
    for (int X = 0; X < 100; ++X)
        Pic.setPixel(X, 50, qRgb(0, 0, 0));
    TLabelDoc Doc;
    Doc.LengthMm = 1000;
    Doc.Landscape = true;
    Doc.BgPreset = bpImage;
    Doc.BgMode = bmFill;
    Doc.BgDither = false;
    Doc.SetBgPng(BitmapToPng(Pic));
    const QImage Bmp = Doc.RenderBitmap(false, 1);
    ASSERT_EQ(Bmp.size(), QSize(8000, 384));
    for (int Y = 0; Y < 384; ++Y) {
        const QRgb Want = (Y >= 192 && Y < 272) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        for (const int X : {0, 1, 3999, 7998, 7999})
            ASSERT_EQ(Bmp.pixel(X, Y), Want) << X << ", " << Y;
    }
}

TEST(RenderBackground, PlacementArithmetic)
{
    struct Case {
        int PW, PH, BW, BH;
        TBgMode Mode;
        TPicturePlacement Want;
    };
    const Case Cases[] = {
        {200, 200, 100, 50, bmFit, {25, 0, 50, 50}},
        {200, 200, 100, 50, bmFill, {0, -25, 100, 100}},
        {200, 200, 100, 50, bmStretch, {0, 0, 100, 50}},
        {5000, 1, 384, 240, bmFit, {0, 119, 384, 1}},     // never thinner than one dot
        {3, 1, 10, 10, bmFit, {0, 3, 10, 3}},             // 3.33 rounds to 3, (10 - 3) div 2
        {4, 1, 10, 10, bmFit, {0, 4, 10, 2}},             // 2.5 rounds to the even 2
        {100, 100, 8000, 384, bmFill, {0, -3808, 8000, 8000}},
    };
    for (const Case& C : Cases) {
        const TPicturePlacement P = PlacePicture(C.PW, C.PH, C.BW, C.BH, C.Mode);
        EXPECT_EQ(std::vector<int64_t>({P.X, P.Y, P.W, P.H}),
                  std::vector<int64_t>({C.Want.X, C.Want.Y, C.Want.W, C.Want.H}))
            << C.PW << "x" << C.PH << " in " << C.BW << "x" << C.BH << " mode " << C.Mode;
    }
}

TEST(RenderBackground, ImagePresetWithoutPictureStaysWhite)
{
    TLabelDoc Doc;
    Doc.BgPreset = bpImage;
    ExpectDots(Doc.RenderMono(1), [](int, int) { return false; });
}

}  // namespace
