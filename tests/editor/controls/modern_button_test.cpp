#include "button_fixture.h"
#include "editor/controls/icon_font.h"
#include "editor/controls/ui_font.h"

#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace col = modern_button_colors;

namespace {

// Keeps the icon font pinned for one test and restores detection afterwards.
struct IconFontPin {
    explicit IconFontPin(const QString& name) { OverrideIconFontName(name); }
    ~IconFontPin() { OverrideIconFontName(std::nullopt); }
};

// A point well inside the rounded background and away from icon and caption.
QPoint BackgroundProbe(const TModernButton* b) { return QPoint(3, b->height() / 2); }

} // namespace

TEST(ModernButton, StartsAsAPlainNormalButton)
{
    ButtonFixture f;
    TModernButton* b = f.Btn();
    EXPECT_EQ(b->size(), QSize(64, 56));
    EXPECT_EQ(b->Icon(), ikGlyph);
    EXPECT_EQ(b->Glyph(), 0);
    EXPECT_FALSE(b->Accent() || b->Checked() || b->Compact() || b->Hover() || b->Down());
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
    bool hasBg = true;
    b->BackgroundColor(&hasBg);
    EXPECT_FALSE(hasBg) << "a button at rest has no background";

    b->SetHint(QStringLiteral("Neues, leeres Etikett (Strg+N)"));
    EXPECT_TRUE(b->toolTip().isEmpty()) << "hints show only when ShowHint is on";
    b->SetShowHint(true);
    EXPECT_EQ(b->toolTip(), QStringLiteral("Neues, leeres Etikett (Strg+N)"));
}

TEST(ModernButton, AutoWidthFollowsTheCaption)
{
    const int w9 = QFontMetrics(UiFont(9)).horizontalAdvance(QStringLiteral("Einpassen"));
    const int w8 = QFontMetrics(UiFont(8)).horizontalAdvance(QStringLiteral("Speichern unter"));
    struct Case {
        bool compact;
        QString caption;
        QSize expected;
    } cases[] = {
        {true, QString(), QSize(34, 32)},
        {true, QStringLiteral("Einpassen"), QSize(w9 + 46, 32)},
        {false, QStringLiteral("Neu"), QSize(52, 56)},
        {false, QStringLiteral("Speichern unter"), QSize(std::max(52, w8 + 18), 56)},
    };
    ASSERT_GT(w8 + 18, 52) << "the long caption must be the case that exceeds the minimum";
    for (const Case& c : cases) {
        ButtonFixture f;
        f.Btn()->SetCaption(c.caption);
        f.Btn()->SetCompact(c.compact);
        f.Btn()->AutoWidth();
        EXPECT_EQ(f.Btn()->size(), c.expected) << c.caption.toStdString();
    }
}

TEST(ModernButton, BackgroundAndTextColourFollowTheState)
{
    enum Step { None = 0, Hover = 1, Down = 2 };
    struct Case {
        const char* name;
        bool accent, enabled, checked;
        int steps;
        std::optional<QColor> bg; // nullopt: no background
        QColor text;
    } cases[] = {
        {"rest", false, true, false, None, std::nullopt, col::Text},
        {"hover", false, true, false, Hover, col::Hover, col::Text},
        {"pressed", false, true, false, Hover | Down, col::Pressed, col::Text},
        {"disabled hover", false, false, false, Hover, std::nullopt, col::TextDisabled},
        {"checked", false, true, true, None, col::Checked, col::Text},
        {"checked under the mouse", false, true, true, Hover, col::Checked, col::Text},
        {"checked and pressed", false, true, true, Hover | Down, col::Pressed, col::Text},
        {"accent", true, true, false, None, col::Accent, col::White},
        {"accent hover", true, true, false, Hover, col::AccentHover, col::White},
        {"accent pressed", true, true, false, Hover | Down, col::AccentPressed, col::White},
        {"accent disabled, clicked", true, false, false, Hover | Down, col::AccentDisabled, col::White},
    };
    for (const Case& c : cases) {
        ButtonFixture f;
        TModernButton* b = f.Btn();
        b->SetAccent(c.accent);
        b->SetChecked(c.checked);
        b->setEnabled(c.enabled);
        if (c.steps & Hover)
            f.Enter();
        if (c.steps & Down)
            f.Press();
        bool hasBg = false;
        const QColor bg = b->BackgroundColor(&hasBg);
        EXPECT_EQ(hasBg, c.bg.has_value()) << c.name;
        if (c.bg && hasBg) {
            EXPECT_EQ(bg, *c.bg) << c.name;
        }
        EXPECT_EQ(b->TextColor(), c.text) << c.name;

        // What is painted agrees with the state.
        const QImage img = f.Render();
        const QColor probe = img.pixelColor(BackgroundProbe(b));
        EXPECT_EQ(probe, c.bg.value_or(QColor(Qt::white))) << c.name;
    }
}

TEST(ModernButton, CheckedButtonHasAnAccentBorder)
{
    ButtonFixture f;
    f.Btn()->SetChecked(true);
    f.Enter();
    const QImage img = f.Render();
    const int y = f.Btn()->height() / 2;
    EXPECT_EQ(img.pixelColor(1, y), col::Accent);
    EXPECT_EQ(img.pixelColor(f.Btn()->width() - 2, y), col::Accent);
    EXPECT_EQ(img.pixelColor(0, y), QColor(Qt::white)) << "the outermost pixel stays free";
}

TEST(ModernButton, LeavingWhileHeldDropsThePressedStateUntilTheNextPress)
{
    ButtonFixture f;
    QSignalSpy clicks(f.Btn(), &TModernButton::clicked);
    f.Enter();
    f.Press();
    EXPECT_TRUE(f.Btn()->Down());
    f.MoveHeld(QPoint(200, 5)); // dragged off the button
    EXPECT_FALSE(f.Btn()->Down());
    EXPECT_FALSE(f.Btn()->Hover());
    f.MoveHeld(QPoint(5, 5)); // and back on
    EXPECT_TRUE(f.Btn()->Hover());
    EXPECT_FALSE(f.Btn()->Down()) << "coming back does not restore the pressed colour";
    f.Release();
    EXPECT_EQ(clicks.count(), 1) << "a left press released over the button is still a click";

    f.Press();
    EXPECT_TRUE(f.Btn()->Down());
    f.Leave();
    EXPECT_FALSE(f.Btn()->Down());
    EXPECT_FALSE(f.Btn()->Hover());
}

TEST(ModernButton, ClickNeedsALeftPressAndReleaseOverAnEnabledButton)
{
    struct Case {
        const char* name;
        bool enabled;
        Qt::MouseButton button;
        QPoint releaseAt;
        int clicks;
    } cases[] = {
        {"left inside", true, Qt::LeftButton, QPoint(5, 5), 1},
        {"left released outside", true, Qt::LeftButton, QPoint(200, 5), 0},
        {"right button", true, Qt::RightButton, QPoint(5, 5), 0},
        {"disabled", false, Qt::LeftButton, QPoint(5, 5), 0},
    };
    for (const Case& c : cases) {
        ButtonFixture f;
        f.Btn()->setEnabled(c.enabled);
        f.Host()->show();
        QSignalSpy clicks(f.Btn(), &TModernButton::clicked);
        QTest::mousePress(f.Btn(), c.button, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseRelease(f.Btn(), c.button, Qt::NoModifier, c.releaseAt);
        EXPECT_EQ(clicks.count(), c.clicks) << c.name;
        EXPECT_FALSE(f.Btn()->Down()) << c.name;
    }
}

TEST(ModernButton, RepaintsOnlyWhenTheLookChanges)
{
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } counter;
    ButtonFixture f;
    f.Host()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.Host()));
    QApplication::processEvents();
    f.Btn()->installEventFilter(&counter);

    f.Btn()->SetChecked(false);
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0) << "writing Checked with its current value";

    f.Btn()->SetChecked(true);
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 1);

    counter.paints = 0;
    f.Btn()->SetCaption(QStringLiteral("Neu"));
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 1) << "a new caption";

    counter.paints = 0;
    f.Btn()->setEnabled(false);
    QApplication::processEvents();
    EXPECT_GE(counter.paints, 1) << "disabling";
}

TEST(ModernButton, NormalCaptionSitsCentredUnderTheIcon)
{
    IconFontPin pin{QString()}; // only the caption draws dark pixels
    ButtonFixture f;
    TModernButton* b = f.Btn();
    b->SetCaption(QStringLiteral("Neu"));
    b->SetGlyph(0xE8A5);
    b->AutoWidth();
    ASSERT_EQ(b->width(), 52);
    const QImage img = f.Render();
    const QRect ink = BoundsOf(img, img.rect(), col::Text, 100);
    ASSERT_FALSE(ink.isEmpty()) << "the caption is drawn";
    EXPECT_GE(ink.top(), 32) << "below the icon rectangle";
    const double mid = (ink.left() + ink.right() + 1) / 2.0;
    EXPECT_NEAR(mid, b->width() / 2.0, 1.5);
}

TEST(ModernButton, CompactCaptionIsLeftAlignedBesideTheIcon)
{
    ButtonFixture f;
    TModernButton* b = f.Btn();
    b->SetCompact(true);
    b->SetIcon(ikFit);
    b->SetCaption(QStringLiteral("Einpassen"));
    b->AutoWidth();
    const QImage img = f.Render();
    // Icon rectangle is x 7..30, the caption starts at 35.
    const QRect icon = BoundsOf(img, QRect(0, 0, 33, 32), col::Text, 100);
    const QRect text = BoundsOf(img, QRect(33, 0, b->width() - 33, 32), col::Text, 100);
    ASSERT_FALSE(icon.isEmpty());
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(icon.left(), 19 - 9 - 1) << "the fit brackets span cx-9 with a 2-pixel pen";
    EXPECT_GE(text.left(), 35);
    EXPECT_LE(text.left(), 37);
    EXPECT_NEAR((text.top() + text.bottom()) / 2.0, 16, 2.0) << "vertically centred";
}

TEST(ModernButton, LongCaptionIsCutWithAnEllipsis)
{
    ButtonFixture f;
    f.Btn()->SetCaption(QStringLiteral("Eine viel zu lange Beschriftung"));
    const QString shown = f.Btn()->DisplayedCaption();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_LE(QFontMetrics(f.Btn()->CaptionFont()).horizontalAdvance(shown), 64 - 2 - 4);

    f.Btn()->SetCaption(QStringLiteral("A&B"));
    EXPECT_EQ(f.Btn()->DisplayedCaption(), QStringLiteral("A&B")) << "no mnemonic, nothing cut";
}

// Each line drawing, in a compact button without caption (34 x 32, centre
// (17, 16)): one pixel on its outline must carry ink, one inside must not.
TEST(ModernButton, LineIconsAreDrawnAroundTheCentre)
{
    struct Case {
        TIconKind icon;
        QPoint ink;   // relative to the centre
        QPoint blank; // relative to the centre
    } cases[] = {
        {ikRect, {-8, 0}, {0, 0}},      {ikRect, {8, 0}, {0, -3}},
        {ikEllipse, {0, -7}, {0, 0}},   {ikEllipse, {8, 0}, {3, -3}},
        {ikLine, {0, 0}, {-6, -6}},     {ikPortrait, {-6, 0}, {-4, -2}},
        {ikPortrait, {0, -4}, {0, -6}}, {ikLandscape, {-9, 0}, {-7, 0}},
        {ikLandscape, {0, 2}, {0, 4}},  {ikFit, {-9, -8}, {0, 0}},
        {ikFit, {9, 8}, {0, 8}},
    };
    for (const Case& c : cases) {
        ButtonFixture f;
        f.Btn()->SetCompact(true);
        f.Btn()->SetIcon(c.icon);
        f.Btn()->AutoWidth();
        ASSERT_EQ(f.Btn()->size(), QSize(34, 32));
        const QImage img = f.Render();
        const QPoint centre(17, 16);
        const QColor ink = img.pixelColor(centre + c.ink);
        const QColor blank = img.pixelColor(centre + c.blank);
        EXPECT_LT(ink.lightness(), 160) << "icon " << c.icon << " at " << c.ink.x() << "," << c.ink.y();
        EXPECT_EQ(blank, QColor(Qt::white)) << "icon " << c.icon << " at " << c.blank.x() << "," << c.blank.y();
    }
}

TEST(ModernButton, GlyphNeedsAnIconFontButTheCaptionDoesNot)
{
    const QRect iconArea(1, 5, 62, 26);
    const QRect captionArea(1, 32, 62, 23);
    {
        IconFontPin pin{QString()};
        ButtonFixture f;
        f.Btn()->SetGlyph(0xE749);
        f.Btn()->SetCaption(QStringLiteral("Drucken"));
        const QImage img = f.Render();
        EXPECT_EQ(CountNear(img, iconArea, col::Text, 100), 0) << "no symbol without an icon font";
        EXPECT_GT(CountNear(img, captionArea, col::Text, 100), 10) << "the caption is still drawn";
    }
    const QString font = IconFontName();
    if (font.isEmpty())
        GTEST_SKIP() << "no icon font on this machine";
    ButtonFixture f;
    f.Btn()->SetGlyph(0xE749);
    const QImage img = f.Render();
    EXPECT_GT(CountNear(img, iconArea, col::Text, 100), 20) << "the symbol of " << font.toStdString();
}
