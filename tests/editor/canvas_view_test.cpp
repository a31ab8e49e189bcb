// The label canvas inside the running window: its size and place, what it
// paints, zooming by buttons, box, wheel and fit, and the print preview.
#include "editor_fixture.h"

#include "editor/paint_box.h"
#include "editor/status_bar.h"
#include "model/label_doc.h"
#include "model/picture_io.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <cmath>

namespace {

class CanvasView : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDataFolder();
        F.Create();
        F.Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(F.Form.get()));
    }
    TLabelMainForm& Form() { return *F.Form; }
    QWidget* Viewport() { return Form().ScrollBox()->viewport(); }
    QPoint ViewCentre()
    {
        const QSize v = Viewport()->size();
        return {v.width() / 2, v.height() / 2};
    }
    // The canvas as it is painted now.
    QImage Grab()
    {
        QApplication::processEvents();
        return Form().Canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Count of pixels of one colour inside a rectangle of the canvas picture.
    static int CountColour(const QImage& img, const QRect& r, QColor c)
    {
        int n = 0;
        const QRect in = r.intersected(img.rect());
        for (int y = in.top(); y <= in.bottom(); ++y)
            for (int x = in.left(); x <= in.right(); ++x)
                n += img.pixel(x, y) == c.rgb();
        return n;
    }
    TLabelElement* AddRect(int x, int y, int w, int h, bool filled = false)
    {
        auto e = std::make_unique<TLabelElement>(ekRect);
        e->X = x;
        e->Y = y;
        e->W = w;
        e->H = h;
        e->Filled = filled;
        TLabelElement* p = Form().Doc().Elements.Add(std::move(e));
        Form().RepaintCanvas();
        return p;
    }
    // The design point (as real numbers) under a point of the viewport.
    QPointF DesignUnder(QPoint P)
    {
        const QPoint box = Form().Canvas()->pos();
        return {(P.x() - box.x() - 24) / Form().Zoom(), (P.y() - box.y() - 24) / Form().Zoom()};
    }
    void Wheel(QWidget* target, QPoint local, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWheelEvent ev(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &ev);
    }

    TEditorFixture F;
};

TEST_F(CanvasView, SizeAndPlaceAtZoomOneAndTwo)
{
    EXPECT_EQ(Form().Canvas()->size(), QSize(816, 546));
    Form().SetZoom(1.0);
    EXPECT_EQ(Form().Canvas()->size(), QSize(432, 306));
    // Smaller than the view: centred on both axes.
    const QSize v = Viewport()->size();
    EXPECT_EQ(Form().Canvas()->pos(), QPoint((v.width() - 432) / 2, (v.height() - 306) / 2));
    EXPECT_EQ(Form().DesignToScreen(QRect(0, 0, 384, 240)), QRect(24, 24, 384, 240));
    EXPECT_EQ(Form().ScreenToDesign(23, 23), QPoint(-1, -1));
    Form().SetZoom(2.0);
    EXPECT_EQ(Form().DesignToScreen(QRect(10, 10, 1, 1)).topLeft(), QPoint(44, 44));
    EXPECT_EQ(Form().ScreenToDesign(25, 25), QPoint(0, 0));
    EXPECT_EQ(Form().ScreenToDesign(23, 23), QPoint(-1, -1));

    // A longer label grows the canvas at once.
    Form().Doc().LengthMm = 100;
    Form().UpdateCanvasSize();
    EXPECT_EQ(Form().Canvas()->size(), QSize(816, 1600 + 66));
}

TEST_F(CanvasView, PaintsPaperShadowLabelAndInformationLine)
{
    Form().SetZoom(1.0);
    AddRect(10, 10, 4, 4, true);
    const QImage img = Grab();
    const int W = 384, H = 240;
    EXPECT_EQ(QColor(img.pixel(2, 2)), QColor(232, 232, 232));
    EXPECT_EQ(QColor(img.pixel(24 + W + 4, 60)), QColor(220, 220, 220));  // outer shadow
    EXPECT_EQ(QColor(img.pixel(24 + W + 1, 60)), QColor(207, 207, 207));
    EXPECT_EQ(QColor(img.pixel(24 + W, 60)), QColor(192, 192, 192));      // paper edge
    EXPECT_EQ(QColor(img.pixel(200, 200)), QColor(Qt::white));
    // A filled block of dots from (10, 10) lies from pixel (34, 34) on; the
    // dotted outline of the element runs along its edge.
    EXPECT_EQ(CountColour(img, QRect(35, 35, 2, 2), Qt::black), 4);
    EXPECT_EQ(QColor(img.pixel(33, 36)), QColor(Qt::white));
    EXPECT_EQ(QColor(img.pixel(36, 33)), QColor(Qt::white));
    EXPECT_GT(CountColour(img, QRect(34, 34, 4, 4), QColor(184, 216, 240)), 0);
    // The information line: gray text below the paper, nothing in the gap above.
    int text = 0;
    for (int y = H + 32; y < H + 50; ++y)
        for (int x = 24; x < 300; ++x)
            text += qGray(img.pixel(x, y)) < 180;
    EXPECT_GT(text, 50);
    for (int x = 30; x < 300; ++x)
        EXPECT_EQ(QColor(img.pixel(x, H + 31)), QColor(232, 232, 232)) << x;
}

TEST_F(CanvasView, EnlargingMakesSharpBlocksAndReducingAverages)
{
    // A picture of one-dot stripes across the whole label.
    QImage stripes(384, 240, QImage::Format_RGB32);
    for (int x = 0; x < 384; ++x)
        for (int y = 0; y < 240; ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    auto e = std::make_unique<TLabelElement>(ekImage);
    e->X = 0;
    e->Y = 0;
    e->W = 384;
    e->H = 240;
    e->Dither = false;
    e->KeepAspect = false;
    e->SetImagePng(BitmapToPng(stripes));
    Form().Doc().Elements.Add(std::move(e));
    Form().RepaintCanvas();

    Form().SetZoom(2.0);
    QImage img = Grab();
    // Each dot is a 2 x 2 block: pixels 100,101 black, 102,103 white.
    for (int x = 24 + 100; x < 24 + 108; ++x)
        EXPECT_EQ(qGray(img.pixel(x, 150)), ((x - 24) / 2) % 2 ? 255 : 0) << x;

    Form().SetZoom(0.5);
    img = Grab();
    for (int x = 24 + 10; x < 24 + 40; ++x) {
        const int g = qGray(img.pixel(x, 24 + 40));
        EXPECT_GT(g, 80) << x;
        EXPECT_LT(g, 180) << x;
    }
}

TEST_F(CanvasView, PreviewHidesOutlinesButNotTheSelection)
{
    const QColor outline(184, 216, 240), selection(0, 120, 215);
    TLabelElement* a = AddRect(40, 40, 100, 60);
    TLabelElement* b = AddRect(200, 120, 100, 60);
    Form().SetZoom(1.0);
    const QRect ra = Form().DesignToScreen(a->BoundsRect().ToQRect()).adjusted(-1, -1, 1, 1);
    const QRect rb = Form().DesignToScreen(b->BoundsRect().ToQRect()).adjusted(-1, -1, 1, 1);

    QImage img = Grab();
    EXPECT_GT(CountColour(img, ra, outline), 20);
    EXPECT_GT(CountColour(img, rb, outline), 20);
    EXPECT_EQ(CountColour(img, img.rect(), selection), 0);

    Form().SelectElement(b);
    img = Grab();
    EXPECT_GT(CountColour(img, ra, outline), 20);
    EXPECT_EQ(CountColour(img, rb, outline), 0);
    const int selected = CountColour(img, rb.adjusted(-6, -6, 6, 6), selection);
    EXPECT_GT(selected, 300);  // frame and four handles

    Form().TogglePreview();
    EXPECT_TRUE(Form().Preview());
    img = Grab();
    EXPECT_EQ(CountColour(img, img.rect(), outline), 0);
    EXPECT_EQ(CountColour(img, rb.adjusted(-6, -6, 6, 6), selection), selected);
    // The preview is pure black and white inside the label, away from the
    // selection frame.
    const QRect frame = rb.adjusted(-7, -7, 7, 7);
    for (int y = 24; y < 24 + 240; y += 7)
        for (int x = 24; x < 24 + 384; x += 5) {
            const QRgb p = img.pixel(x, y);
            if (!frame.contains(x, y))
                ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x << "," << y;
        }

    Form().TogglePreview();
    EXPECT_FALSE(Form().Preview());
    EXPECT_GT(CountColour(Grab(), ra, outline), 20);
}

TEST_F(CanvasView, ZoomButtonsStopAtBothEnds)
{
    const std::pair<double, int> ends[] = {{8.0, +1}, {0.25, -1}};
    for (const auto& [end, dir] : ends) {
        Form().SetZoom(end);
        ASSERT_DOUBLE_EQ(Form().Zoom(), end);
        Form().ZoomBox()->setEditText(QStringLiteral("getippt"));
        Form().SetStatus(2, QStringLiteral("frei"));
        dir > 0 ? Form().ZoomIn() : Form().ZoomOut();
        EXPECT_DOUBLE_EQ(Form().Zoom(), end);
        EXPECT_EQ(Form().ZoomBox()->currentText(), QStringLiteral("getippt"));
        EXPECT_EQ(Form().StatusBar()->Text(2), QStringLiteral("frei"));
    }
    // From the lower end up: 25 % -> 50 % -> 75 %.
    Form().ZoomIn();
    EXPECT_DOUBLE_EQ(Form().Zoom(), 0.5);
    Form().ZoomIn();
    EXPECT_DOUBLE_EQ(Form().Zoom(), 0.75);
    Form().ZoomOut();
    Form().ZoomOut();
    EXPECT_DOUBLE_EQ(Form().Zoom(), 0.25);
    EXPECT_EQ(Form().ZoomBox()->currentText(), QStringLiteral("25 %"));
    EXPECT_EQ(Form().StatusBar()->Text(2), QStringLiteral("Zoom 25 %"));
}

TEST_F(CanvasView, ZoomBoxTakesTypedPercentOnEnter)
{
    QComboBox* box = Form().ZoomBox();
    struct TCase {
        const char* typed;
        double zoom;
        const char* shown;
    };
    const TCase cases[] = {{"abc", 2.0, "abc"}, {"5", 0.25, "25 %"}, {"150 %", 1.5, "150 %"}, {"9000", 8.0, "800 %"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.typed);
        box->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(c.typed));
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_DOUBLE_EQ(Form().Zoom(), c.zoom);
        EXPECT_EQ(box->currentText(), QString::fromUtf8(c.shown));
    }
    EXPECT_EQ(Form().StatusBar()->Text(2), QStringLiteral("Zoom 800 %"));
    // Choosing an entry of the list.
    box->activated(2);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 1.0);
    EXPECT_EQ(box->currentText(), QStringLiteral("100 %"));
}

TEST_F(CanvasView, ZoomFitOnAnEightHundredBySixHundredView)
{
    Form().SetZoom(1.0);
    // Leave a view of 800 x 600 pixels for the canvas.
    const QSize v = Viewport()->size();
    Form().resize(Form().size() + QSize(800 - v.width(), 600 - v.height()));
    QApplication::processEvents();
    ASSERT_EQ(Viewport()->size(), QSize(800, 600));
    Form().ZoomFit();
    EXPECT_NEAR(Form().Zoom(), 752.0 / 384, 1e-9);
    EXPECT_EQ(Form().ZoomBox()->currentText(), QStringLiteral("196 %"));
    EXPECT_EQ(Form().StatusBar()->Text(2), QStringLiteral("Zoom 196 %"));
    EXPECT_EQ(Form().Canvas()->width(), 800);

    // A long label is fitted by its height.
    Form().Doc().LengthMm = 200;
    Form().UpdateCanvasSize();
    const QSize now = Viewport()->size();
    const double want = std::min((now.width() - 48) / 384.0, (now.height() - 66) / 1600.0);
    ASSERT_LT(want, 1.0);
    Form().ZoomFit();
    EXPECT_DOUBLE_EQ(Form().Zoom(), std::max(0.25, want));
}

TEST_F(CanvasView, WheelZoomsAroundTheCursorAndShiftScrolls)
{
    Form().Doc().LengthMm = 150;  // 1200 dots: taller than the view at every step here
    Form().UpdateCanvasSize();
    const QPoint P(Viewport()->width() / 2 + 37, Viewport()->height() / 3);
    const QPointF before = DesignUnder(P);
    const QPoint local = Form().Canvas()->mapFrom(Viewport(), P);

    Wheel(Form().Canvas(), local, 120);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 2.5);
    ASSERT_GT(Form().Canvas()->width(), Viewport()->width());  // now wider than the view as well
    QPointF after = DesignUnder(P);
    EXPECT_NEAR(after.x(), before.x(), 1.0 / Form().Zoom());
    EXPECT_NEAR(after.y(), before.y(), 1.0 / Form().Zoom());

    // Two notches back out, at the same point of the view.
    const QPointF mid = DesignUnder(P);
    Wheel(Form().Canvas(), Form().Canvas()->mapFrom(Viewport(), P), -120);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 2.0);
    after = DesignUnder(P);
    EXPECT_NEAR(after.y(), mid.y(), 1.0 / Form().Zoom());

    // Shift: 60 pixels down per notch towards the user, no zoom.
    QScrollBar* bar = Form().ScrollBox()->verticalScrollBar();
    bar->setValue(100);
    Wheel(Form().Canvas(), Form().Canvas()->mapFrom(Viewport(), P), -120, Qt::ShiftModifier);
    EXPECT_EQ(bar->value(), 160);
    Wheel(Form().Canvas(), Form().Canvas()->mapFrom(Viewport(), P), 240, Qt::ShiftModifier);
    EXPECT_EQ(bar->value(), 40);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 2.0);

    // Over the templates list the wheel scrolls the list, not the canvas.
    auto* list = Form().findChild<QListView*>(QStringLiteral("LvTemplates"));
    ASSERT_TRUE(list);
    Wheel(list->viewport(), QPoint(20, 20), 120);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 2.0);

    // While another window is active the canvas leaves the wheel alone.
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Wheel(Form().Canvas(), Form().Canvas()->mapFrom(Viewport(), P), 120);
    EXPECT_DOUBLE_EQ(Form().Zoom(), 2.0);
}

} // namespace
