// Turned text and pictures: the same dots as the upright element, turned,
// in print and on screen; and the file member that carries the turn only
// when there is one.

#include "model/label_doc.h"
#include "model/picture_io.h"
#include "protocol/nimbo_protocol.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// A picture that looks different after every turn: black top-left quarter,
// a gray bar along the bottom.
QByteArray AsymmetricPng()
{
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, 10, 5, Qt::black);
    p.fillRect(0, 16, 40, 4, QColor(100, 100, 100));
    p.end();
    return BitmapToPng(img);
}

QImage MonoAsImage(const TNbMonoImage& M)
{
    QImage img(M.Width, M.Height, QImage::Format_Grayscale8);
    for (int y = 0; y < M.Height; ++y)
        for (int x = 0; x < M.Width; ++x)
            img.setPixel(x, y, M.GetDot(x, y) ? 0 : 255);
    return img;
}

struct TurnCase {
    TElemKind Kind;
    int Rotation;
};

class Turned : public ::testing::TestWithParam<TurnCase> {};

TEST_P(Turned, DrawsTheUprightDotsTurnedOnScreenAndInPrint)
{
    const TurnCase c = GetParam();
    const auto doc = [&](int rotation) {
        auto d = std::make_unique<TLabelDoc>();
        TLabelElement* e = d->Elements.Add(std::make_unique<TLabelElement>(c.Kind));
        const bool quarter = rotation % 180 != 0;
        // Upright 120 × 60 at (40, 60); a quarter turn swaps the box about its centre.
        e->X = quarter ? 70 : 40;
        e->Y = quarter ? 30 : 60;
        e->W = quarter ? 60 : 120;
        e->H = quarter ? 120 : 60;
        e->Rotation = rotation;
        e->Text = QStringLiteral("Fg7");
        e->FontSize = 40;
        e->Align = laLeft;
        e->Dither = false;
        e->KeepAspect = false;
        if (c.Kind == ekImage)
            e->SetImagePng(AsymmetricPng());
        return d;
    };
    const auto upright = doc(0);
    const auto turned = doc(c.Rotation);
    const QRect box(40, 60, 120, 60);
    const QRect turnedBox = turned->Elements[0]->BoundsRect().ToQRect();
    const QTransform turn = QTransform().rotate(c.Rotation);

    const QImage printUp = MonoAsImage(upright->RenderMono(1)).copy(box);
    const QImage printTurned = MonoAsImage(turned->RenderMono(1)).copy(turnedBox);
    ASSERT_GT(printUp.width(), 0);
    EXPECT_NE(printUp, printUp.transformed(turn));  // the test would prove nothing on a symmetric picture
    EXPECT_EQ(printTurned, printUp.transformed(turn));

    const QImage screenUp = upright->RenderBitmap(false, 1).copy(box);
    const QImage screenTurned = turned->RenderBitmap(false, 1).copy(turnedBox);
    EXPECT_EQ(screenTurned, screenUp.transformed(turn));
    // Nothing outside the box.
    QImage rest = turned->RenderBitmap(false, 1);
    QPainter(&rest).fillRect(turnedBox, Qt::white);
    QImage white(rest.size(), rest.format());
    white.fill(Qt::white);
    EXPECT_EQ(rest, white);
}

INSTANTIATE_TEST_SUITE_P(TextAndPicture, Turned,
                         ::testing::Values(TurnCase{ekText, 90}, TurnCase{ekText, 180}, TurnCase{ekText, 270},
                                           TurnCase{ekImage, 90}, TurnCase{ekImage, 180},
                                           TurnCase{ekImage, 270}));

TEST(TurnedElement, ShapesIgnoreTheMember)
{
    TLabelDoc a, b;
    for (TLabelDoc* d : {&a, &b}) {
        TLabelElement* e = d->Elements.Add(std::make_unique<TLabelElement>(ekRect));
        e->Rotation = d == &b ? 90 : 0;
    }
    EXPECT_EQ(a.RenderBitmap(true, 1), b.RenderBitmap(true, 1));
}

TEST(TurnedElement, TheFileCarriesTheTurnOnlyWhenThereIsOne)
{
    TLabelDoc d;
    TLabelElement* e = d.Elements.Add(std::make_unique<TLabelElement>(ekText));
    const QString plain = d.ToJSONString();
    EXPECT_FALSE(plain.contains(QStringLiteral("rotation")));
    e->Rotation = 90;
    EXPECT_TRUE(d.ToJSONString().endsWith(QStringLiteral(R"("keepAspect":true,"rotation":90}]})")));
    TLabelDoc back;
    back.FromJSONString(d.ToJSONString());
    EXPECT_EQ(back.Elements[0]->Rotation, 90);

    // Turns of whole quarters are brought into 0 … 270; anything else is none.
    const std::pair<const char*, int> reads[] = {{"-90", 270}, {"450", 90}, {"45", 0}, {"\"90\"", 0}, {"180", 180}};
    for (const auto& [value, expected] : reads) {
        back.FromJSONString(QStringLiteral(R"({"elements":[{"kind":1,"rotation":%1}]})").arg(QLatin1String(value)));
        EXPECT_EQ(back.Elements[0]->Rotation, expected) << value;
    }
}

} // namespace
