// From pictures to the printer raster: preview threshold, the raster of a
// label, the turn of landscape labels and the joining of copies.

#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/model_error.h"
#include "model/mono_convert.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <limits>
#include <numeric>

namespace {

// A line element of one dot at (X, Y): the smallest mark a label can carry.
void AddDot(TLabelDoc& Doc, int X, int Y)
{
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekLine));
    E->X = X;
    E->Y = Y;
    E->W = 1;
    E->H = 1;
    E->LineWidth = 1;
}

std::vector<std::pair<int, int>> InkDots(const TNbMonoImage& M)
{
    std::vector<std::pair<int, int>> Dots;
    for (int Y = 0; Y < M.Height; ++Y)
        for (int X = 0; X < M.Width; ++X)
            if (M.GetDot(X, Y))
                Dots.push_back({X, Y});
    return Dots;
}

TNbMonoImage Raster(int W, int H, std::vector<uint8_t> Dots)
{
    TNbMonoImage M;
    M.Width = W;
    M.Height = H;
    M.Dots = std::move(Dots);
    return M;
}

TEST(MonoConvert, PreviewThresholdSplitsAtTheGrayLevel)
{
    struct Case {
        QRgb Colour;
        int Threshold;
        bool White;
    };
    const Case Cases[] = {
        {qRgb(128, 128, 128), 128, true},  {qRgb(127, 127, 127), 128, false},
        {qRgb(255, 0, 0), 128, false},     // gray 76
        {qRgb(0, 255, 0), 128, true},      // gray 149
        {qRgb(0, 0, 255), 29, true},       // gray 29 equals the threshold
        {qRgb(0, 0, 255), 30, false},      {qRgb(0, 0, 0), 0, true},
        {qRgb(255, 255, 255), 256, false},
    };
    for (const Case& C : Cases) {
        QImage Bmp(3, 2, QImage::Format_RGB888);
        Bmp.fill(C.Colour);
        PreviewThreshold(Bmp, C.Threshold);
        EXPECT_EQ(Bmp.format(), QImage::Format_RGB32);
        EXPECT_EQ(Bmp.pixel(2, 1), C.White ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
            << qRed(C.Colour) << "," << qGreen(C.Colour) << "," << qBlue(C.Colour) << " at " << C.Threshold;
    }
}

TEST(MonoConvert, WhiteLabelGivesAnEmptyRasterOfTheDesignSize)
{
    TLabelDoc Doc;
    const TNbMonoImage M = Doc.RenderMono(1);
    EXPECT_EQ(M.Width, 384);
    EXPECT_EQ(M.Height, 240);
    EXPECT_EQ(M.Dots.size(), 384u * 240u);
    EXPECT_TRUE(InkDots(M).empty());
}

TEST(MonoConvert, PortraitDotsStayWhereTheyAre)
{
    TLabelDoc Doc;
    AddDot(Doc, 0, 0);
    AddDot(Doc, 383, 239);
    AddDot(Doc, 100, 7);
    EXPECT_EQ(InkDots(Doc.RenderMono(1)), (std::vector<std::pair<int, int>>{{0, 0}, {100, 7}, {383, 239}}));
}

TEST(MonoConvert, LandscapeLabelsAreTurnedClockwise)
{
    struct Case {
        int X, Y;          // design position on a 400 x 384 landscape label
        int RX, RY;        // position in the 384 x 400 raster
    };
    const Case Cases[] = {{0, 0, 383, 0}, {0, 383, 0, 0}, {399, 0, 383, 399}, {399, 383, 0, 399}, {10, 20, 363, 10}};
    for (const Case& C : Cases) {
        TLabelDoc Doc;
        Doc.LengthMm = 50;
        Doc.Landscape = true;
        AddDot(Doc, C.X, C.Y);
        const TNbMonoImage M = Doc.RenderMono(1);
        ASSERT_EQ(M.Width, 384);
        ASSERT_EQ(M.Height, 400);
        EXPECT_EQ(InkDots(M), (std::vector<std::pair<int, int>>{{C.RX, C.RY}})) << C.X << ", " << C.Y;
    }
}

TEST(MonoConvert, RotateClockwiseMapsEveryDot)
{
    // 3 wide, 2 high:  a b c      turned:  d a
    //                  d e f               e b
    //                                      f c
    const TNbMonoImage Src = Raster(3, 2, {1, 2, 3, 4, 5, 6});
    const TNbMonoImage Dst = RotateMonoCW(Src);
    EXPECT_EQ(Dst.Width, 2);
    EXPECT_EQ(Dst.Height, 3);
    EXPECT_EQ(Dst.Dots, (std::vector<uint8_t>{4, 1, 5, 2, 6, 3}));
    EXPECT_EQ(RotateMonoCW(RotateMonoCW(RotateMonoCW(Dst))).Dots, Src.Dots);

    const TNbMonoImage Empty = RotateMonoCW(Raster(0, 5, {}));
    EXPECT_EQ(Empty.Width, 5);
    EXPECT_EQ(Empty.Height, 0);
    EXPECT_THROW(RotateMonoCW(Raster(3, 2, {1, 2, 3})), std::out_of_range);
}

TEST(MonoConvert, StackingPutsBlankGapsBetweenCopies)
{
    // Each copy marks its first and last row, so every boundary is visible.
    std::vector<TNbMonoImage> Copies;
    for (int I = 0; I < 3; ++I) {
        TNbMonoImage M;
        M.Init(384, 240, 0);
        M.SetDot(I, 0, 1);
        M.SetDot(383 - I, 239, 1);
        Copies.push_back(M);
    }
    const TNbMonoImage S = StackMonoImages(Copies, 16);
    EXPECT_EQ(S.Width, 384);
    EXPECT_EQ(S.Height, 752);
    EXPECT_EQ(InkDots(S), (std::vector<std::pair<int, int>>{
                              {0, 0}, {383, 239}, {1, 256}, {382, 495}, {2, 512}, {381, 751}}));

    const TNbMonoImage One = StackMonoImages({Copies[1]}, 16);
    EXPECT_EQ(One.Height, 240);
    EXPECT_EQ(One.Dots, Copies[1].Dots);
    EXPECT_EQ(StackMonoImages(Copies, 0).Height, 720);

    const TNbMonoImage None = StackMonoImages({}, 16);
    EXPECT_EQ(None.Width, 0);
    EXPECT_EQ(None.Height, 0);
    EXPECT_TRUE(None.Dots.empty());
}

TEST(MonoConvert, StackingRefusesWhatWouldCorruptTheRaster)
{
    TNbMonoImage A, B;
    A.Init(384, 10, 0);
    B.Init(383, 10, 0);
    EXPECT_THROW(StackMonoImages({A, B}, 0), EModelError);
    EXPECT_THROW(StackMonoImages({A, A}, -1), EModelError);
    TNbMonoImage Tall;  // zero wide: tall without memory
    Tall.Init(0, 1 << 30, 0);
    EXPECT_THROW(StackMonoImages({Tall, Tall}, 0), EModelError);
}

TEST(MonoConvert, CopiesCarryTheirNumbers)
{
    TLabelDoc Doc;
    Doc.LengthMm = 20;
    Doc.BgPreset = bpFrame;
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
    E->X = 10;
    E->Y = 10;
    E->W = 364;
    E->H = 140;
    E->FontSize = 96;
    E->Bold = true;
    E->Text = QStringLiteral("Nr. {NR}");
    const std::vector<TNbMonoImage> Copies = {Doc.RenderMono(1), Doc.RenderMono(2), Doc.RenderMono(3)};
    EXPECT_NE(Copies[0].Dots, Copies[1].Dots);
    EXPECT_NE(Copies[1].Dots, Copies[2].Dots);
    E->Text = QStringLiteral("Nr. 2");
    EXPECT_EQ(Doc.RenderMono(7).Dots, Copies[1].Dots);
}

TEST(MonoConvert, BuiltinTemplatesPrintAtTheirLength)
{
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    CreateBuiltinTemplates(Dir.path());
    const std::pair<const char*, int> Templates[] = {{"Namensschild", 480}, {"Preisschild", 240},
                                                     {"Adresse", 320},      {"Achtung zerbrechlich", 320},
                                                     {"Abgefüllt am", 200}, {"Nummerierung", 160}};
    for (const auto& [Name, Rows] : Templates) {
        TLabelDoc Doc;
        Doc.LoadFromFile(QDir(Dir.path()).filePath(QString::fromUtf8(Name) + QStringLiteral(".pellwerk")));
        const TNbMonoImage M = Doc.RenderMono(1);
        EXPECT_EQ(M.Width, 384) << Name;
        EXPECT_EQ(M.Height, Rows) << Name;
        EXPECT_GT(std::count(M.Dots.begin(), M.Dots.end(), 1), 1000) << Name;
    }

    // "Achtung zerbrechlich": stripes, then a black 384 x 80 box with the
    // white word in it, and the two-line text below.
    TLabelDoc Doc;
    Doc.LoadFromFile(QDir(Dir.path()).filePath(QStringLiteral("Achtung zerbrechlich.pellwerk")));
    const TNbMonoImage M = Doc.RenderMono(1);
    int WhiteInBox = 0;
    for (int Y = 28; Y < 108; ++Y)
        for (int X = 0; X < 384; ++X) {
            const bool Edge = X < 2 || X >= 382 || Y == 28 || Y == 107;
            if (Edge)
                ASSERT_EQ(M.GetDot(X, Y), 1) << X << ", " << Y;
            else
                WhiteInBox += M.GetDot(X, Y) == 0;
        }
    EXPECT_GT(WhiteInBox, 500);
    for (int X = 0; X < 384; ++X)
        ASSERT_EQ(M.GetDot(X, 0), 1) << X;
    int InkBelow = 0;
    for (int Y = 124; Y < 274; ++Y)
        for (int X = 10; X < 374; ++X)
            InkBelow += M.GetDot(X, Y);
    EXPECT_GT(InkBelow, 1000);
}

}  // namespace

TEST(MonoConvert, GapBetweenCopiesInDotRows)
{
    EXPECT_EQ(GapMmToDots(4), 32);
    EXPECT_EQ(GapMmToDots(0), 0);
    EXPECT_EQ(GapMmToDots(-3), 0);  // a negative gap from the settings file means none
    EXPECT_EQ(GapMmToDots(std::numeric_limits<int32_t>::max() / 8), std::numeric_limits<int32_t>::max() / 8 * 8);
    EXPECT_THROW(GapMmToDots(std::numeric_limits<int32_t>::max() / 8 + 1), EModelError);
}
