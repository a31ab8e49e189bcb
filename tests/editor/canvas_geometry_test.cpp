// Canvas arithmetic without widgets: sizes, pixel <-> dot conversion, handles,
// zoom steps and the zoom box's reading of typed text.
#include "editor/canvas_geometry.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Exclusive right/bottom of a QRect, as the canvas thinks of rectangles.
QRect Exclusive(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

TEST(CanvasGeometry, PaintBoxAndLabelAreaOfANewLabel)
{
    // A new label is 384 x 240 dots.
    EXPECT_EQ(canvas::PaintBoxSize(384, 240, 1.0), QSize(432, 306));
    EXPECT_EQ(canvas::PaintBoxSize(384, 240, 2.0), QSize(816, 546));
    EXPECT_EQ(canvas::PaintBoxSize(384, 240, 0.25), QSize(96 + 48, 60 + 66));
    EXPECT_EQ(canvas::DesignToScreen(QRect(0, 0, 384, 240), 1.0), Exclusive(24, 24, 408, 264));
    EXPECT_EQ(canvas::DesignToScreen(QRect(0, 0, 384, 240), 2.0), Exclusive(24, 24, 792, 504));
}

TEST(CanvasGeometry, SizesAndCoordinatesRoundHalvesToEven)
{
    // 2 x 1.25 = 2.5 -> 2, 6 x 1.25 = 7.5 -> 8, 10 x 1.25 = 12.5 -> 12.
    EXPECT_EQ(canvas::DesignToScreen(QRect(2, 6, 4, 4), 1.25), Exclusive(26, 32, 24 + 8, 24 + 12));
    EXPECT_EQ(canvas::ScaledLabel(2, 6, 1.25), QSize(2, 8));
    EXPECT_EQ(canvas::PaintBoxSize(10, 10, 1.25), QSize(12 + 48, 12 + 66));
    EXPECT_EQ(canvas::RoundEven(0.5), 0);
    EXPECT_EQ(canvas::RoundEven(1.5), 2);
    EXPECT_EQ(canvas::RoundEven(-2.5), -2);
}

TEST(CanvasGeometry, FarAwayElementsSaturateInsteadOfOverflowing)
{
    // An element two billion dots out at 800 % lies far beyond any screen;
    // its outline is clipped away, but computing it must not overflow.
    const QRect far = canvas::DesignToScreen(QRect(2000000000, -2000000000, 100000000, 1), 8.0);
    EXPECT_EQ(far.left(), 1000000000 + 24);
    EXPECT_EQ(far.top(), -1000000000 + 24);
}

TEST(CanvasGeometry, ScreenAndDesignConvertBothWays)
{
    struct TCase {
        double zoom;
        QPoint screen;
        QPoint design;
    };
    const TCase cases[] = {
        {1.0, {24, 24}, {0, 0}},    {1.0, {23, 23}, {-1, -1}},  {1.0, {407, 263}, {383, 239}},
        {2.0, {25, 25}, {0, 0}},    {2.0, {23, 23}, {-1, -1}},  {2.0, {44, 44}, {10, 10}},
        {2.0, {22, 21}, {-1, -2}},  {0.25, {25, 27}, {4, 12}},  {0.25, {23, 24}, {-4, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.zoom << " pixel " << c.screen.x() << "," << c.screen.y());
        EXPECT_EQ(canvas::ScreenToDesign(c.screen.x(), c.screen.y(), c.zoom), c.design);
    }
    // Design dot (10, 10) at zoom 2 starts at pixel (44, 44).
    EXPECT_EQ(canvas::DesignToScreen(QRect(10, 10, 1, 1), 2.0), Exclusive(44, 44, 46, 46));
}

TEST(CanvasGeometry, HandlesAreElevenPixelsAroundEachCorner)
{
    const QRect r = Exclusive(24, 24, 408, 264);
    EXPECT_EQ(canvas::HandleRect(0, r), Exclusive(19, 19, 30, 30));
    EXPECT_EQ(canvas::HandleRect(1, r), Exclusive(403, 19, 414, 30));
    EXPECT_EQ(canvas::HandleRect(2, r), Exclusive(403, 259, 414, 270));
    EXPECT_EQ(canvas::HandleRect(3, r), Exclusive(19, 259, 30, 270));
    // Whatever the size of the element, even an empty one.
    EXPECT_EQ(canvas::HandleRect(2, Exclusive(50, 50, 50, 50)).size(), QSize(11, 11));
    EXPECT_THROW(canvas::HandleRect(4, r), std::out_of_range);
    EXPECT_THROW(canvas::HandleRect(-1, r), std::out_of_range);
}

TEST(CanvasGeometry, ZoomStepsAndBothEnds)
{
    struct TCase {
        double zoom;
        int dir;
        double next;
    };
    const TCase cases[] = {
        {1.0, +1, 1.25}, {1.0, -1, 0.75}, {1.1, +1, 1.25}, {1.1, -1, 1.0},  {0.5, -1, 0.25},
        {0.25, +1, 0.5}, {0.25, -1, 0.25}, {8.0, +1, 8.0}, {8.0, -1, 7.0}, {7.9995, +1, 8.0},
        {1.0005, -1, 0.75}, {0.3, 0, 0.25}, {5.5, +1, 6.0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.zoom << " dir " << c.dir);
        EXPECT_DOUBLE_EQ(canvas::NextZoomStep(c.zoom, c.dir), c.next);
    }
    EXPECT_DOUBLE_EQ(canvas::ClampZoom(0.05), 0.25);
    EXPECT_DOUBLE_EQ(canvas::ClampZoom(50.0), 8.0);
    EXPECT_DOUBLE_EQ(canvas::ClampZoom(1.5), 1.5);
}

TEST(CanvasGeometry, ZoomBoxReadsAllDigitsOrKeepsTheZoom)
{
    struct TCase {
        const char16_t* text;
        double current;
        double zoom;
    };
    const TCase cases[] = {
        {u"150 %", 2.0, 1.5},
        {u"1,5", 2.0, 0.15},        // every digit counts, the comma does not
        {u"5", 2.0, 0.05},          // clamped later by the zoom itself
        {u"abc", 1.5, 1.5},
        {u"", 1.5, 1.5},
        {u"abc", 1.958, 1.96},      // the current zoom as whole percent
        {u"2147483647", 1.0, 21474836.47},
        {u"2147483648", 1.0, 1.0},  // beyond a 32-bit integer
        {u"99999999999999999999999", 3.0, 3.0},
        {u"x2y0z0", 1.0, 2.0},
    };
    for (const TCase& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_DOUBLE_EQ(canvas::ParseZoomText(text, c.current), c.zoom);
    }
}

TEST(CanvasGeometry, ZoomTextIsWholePercent)
{
    EXPECT_EQ(canvas::ZoomText(2.0), QStringLiteral("200 %"));
    EXPECT_EQ(canvas::ZoomText(0.25), QStringLiteral("25 %"));
    EXPECT_EQ(canvas::ZoomText(752.0 / 384), QStringLiteral("196 %"));
    EXPECT_EQ(canvas::ZoomText(1.125), QStringLiteral("112 %"));
    EXPECT_EQ(canvas::ZoomText(0.375), QStringLiteral("38 %"));
}

} // namespace
