// Thumbnails of labels for the templates panel.

#include "model/label_doc.h"
#include "model/thumbnail.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

const QRgb Back = qRgb(10, 20, 30);
const QRgb Silver = qRgb(192, 192, 192);
const QRgb Gray = qRgb(128, 128, 128);
const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

TEST(Thumbnail, PortraitLabelGeometry)
{
    // 384 x 240 into 112 x 80: 106 x 66 at (3, 7), shadow (5, 9) … (111, 75),
    // frame (2, 6) … (110, 74), right and bottom exclusive.
    TLabelDoc Doc;
    const QImage T = RenderThumbnail(Doc, 112, 80, QColor(Back));
    ASSERT_EQ(T.size(), QSize(112, 80));
    for (int Y = 0; Y < 80; ++Y)
        for (int X = 0; X < 112; ++X) {
            QRgb Want = Back;
            if (X >= 5 && X < 111 && Y >= 9 && Y < 75)
                Want = Silver;
            if (X >= 2 && X < 110 && Y >= 6 && Y < 74)
                Want = (X == 2 || X == 109 || Y == 6 || Y == 73) ? Gray : White;
            ASSERT_EQ(T.pixel(X, Y), Want) << X << ", " << Y;
        }
}

TEST(Thumbnail, ShowsTheLabelShrunk)
{
    TLabelDoc Doc;
    Doc.BgPreset = bpFrame;
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekRect));
    E->X = 0;
    E->Y = 120;
    E->W = 384;
    E->H = 120;
    E->Filled = true;
    const QImage T = RenderThumbnail(Doc, 112, 80, QColor(Back));
    // The lower half is black; the upper half white inside the frame, whose
    // four dots shrink to a darkened rim.
    EXPECT_EQ(T.pixel(56, 60), Black);
    EXPECT_EQ(T.pixel(56, 20), White);
    EXPECT_LT(qGray(T.pixel(3, 20)), 200);
}

TEST(Thumbnail, ShapeFollowsTheLabel)
{
    TLabelDoc Doc;
    Doc.LengthMm = 5;  // 384 x 40: the width decides, 106 x 11 at (3, 34)
    const QImage Short = RenderThumbnail(Doc, 112, 80, QColor(Back));
    EXPECT_EQ(Short.pixel(3, 34), White);
    EXPECT_EQ(Short.pixel(108, 44), White);
    EXPECT_EQ(Short.pixel(56, 33), Gray);
    EXPECT_EQ(Short.pixel(56, 45), Gray);
    EXPECT_EQ(Short.pixel(56, 32), Back);
    // Enlarged: 384 x 40 into 800 x 200 is 2.07 times, 794 x 83 at (3, 58).
    const QImage Large = RenderThumbnail(Doc, 800, 200, QColor(Back));
    EXPECT_EQ(Large.pixel(3, 58), White);
    EXPECT_EQ(Large.pixel(796, 140), White);
    EXPECT_EQ(Large.pixel(400, 57), Gray);
    EXPECT_EQ(Large.pixel(400, 141), Gray);
    Doc.LengthMm = 60;
    Doc.Landscape = true;  // 480 x 384 into 200 x 200: s = 194/480, 194 x 155
    const QImage Wide = RenderThumbnail(Doc, 200, 200, QColor(Back));
    EXPECT_EQ(Wide.pixel(3, 100), White);
    EXPECT_EQ(Wide.pixel(196, 100), White);
    EXPECT_EQ(Wide.pixel(100, 22), White);
    EXPECT_EQ(Wide.pixel(100, 20), Back);
}

TEST(Thumbnail, DefaultBackgroundIsTheListBackground)
{
    // The templates list is drawn on the palette's base colour (white), not
    // on the gray of dialogs; a thumbnail must blend into it.
    TLabelDoc Doc;
    const QImage T = RenderThumbnail(Doc, 112, 80);
    ASSERT_NE(QGuiApplication::palette().color(QPalette::Base), QGuiApplication::palette().color(QPalette::Window));
    EXPECT_EQ(T.pixel(0, 0), QGuiApplication::palette().color(QPalette::Base).rgb());
    EXPECT_TRUE(RenderThumbnail(Doc, 0, 80).isNull());
}

}  // namespace
