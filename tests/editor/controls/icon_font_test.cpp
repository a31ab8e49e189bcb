#include "editor/controls/group_panel.h"
#include "editor/controls/icon_font.h"

#include <QFontMetrics>
#include <QLabel>
#include <QRawFont>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>

namespace {
// The icon code points of the toolbar, the templates panel and the help
// window's footer, as the commands name them.
const char16_t kUsedGlyphs[] = {
    0xE8A5, 0xE74E, 0xE792, 0xE8D2, 0xE8B9, 0xE8C8, 0xE74D, 0xE74A, 0xE74B, 0xE7A7,
    0xE71F, 0xE8A3, 0xE890, 0xE749, 0xE713, 0xE897, 0xE8E5, 0xE8AC, 0xE838, 0xE774,
    0xE712, 0xED14, 0xE7A6, 0xE8E4,
};
} // namespace

TEST(IconFont, PrefersTheWindowsFontsThenMaterial)
{
    struct Case {
        QStringList installed;
        QString expected;
    } cases[] = {
        {{"Arial", "Segoe MDL2 Assets", "Segoe Fluent Icons"}, "Segoe Fluent Icons"},
        {{"Segoe MDL2 Assets", "Material Icons"}, "Segoe MDL2 Assets"},
        {{"DejaVu Sans", "material icons"}, "Material Icons"},
        {{"DejaVu Sans"}, QString()},
        {{}, QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseIconFont(c.installed), c.expected) << c.installed.join(',').toStdString();
}

TEST(IconFont, NameIsChosenOnceAndKept)
{
    const QString first = IconFontName();
    EXPECT_EQ(IconFontName(), first);
    OverrideIconFontName(QString());
    EXPECT_EQ(IconFontName(), QString());
    OverrideIconFontName(std::nullopt);
    EXPECT_EQ(IconFontName(), first);
}

TEST(IconFont, EveryUsedCodePointHasItsOwnMaterialSymbol)
{
    std::set<char16_t> material;
    for (char16_t g : kUsedGlyphs) {
        const char16_t m = IconFontGlyph(QStringLiteral("Material Icons"), g);
        EXPECT_NE(m, 0) << std::hex << int(g);
        material.insert(m);
        EXPECT_EQ(IconFontGlyph(QStringLiteral("Segoe MDL2 Assets"), g), g);
        EXPECT_EQ(IconFontGlyph(QStringLiteral("Segoe Fluent Icons"), g), g);
    }
    EXPECT_EQ(material.size(), std::size(kUsedGlyphs)) << "two commands would show the same symbol";
    EXPECT_EQ(IconGlyphTable().size(), std::size(kUsedGlyphs)) << "the table holds no code point nobody uses";

    EXPECT_EQ(IconFontGlyph(QStringLiteral("Material Icons"), 0xE000), 0) << "unknown code point";
    EXPECT_EQ(IconFontGlyph(QStringLiteral("Material Icons"), 0), 0);
    EXPECT_EQ(IconFontGlyph(QString(), 0xE749), 0) << "no icon font";
    EXPECT_EQ(IconFontGlyph(QStringLiteral("DejaVu Sans"), 0xE749), 0);
}

TEST(IconFont, MaterialSymbolsExistInTheInstalledFont)
{
    const QRawFont raw(QStringLiteral(
        "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf"), 20);
    if (!raw.isValid())
        GTEST_SKIP() << "Material Icons font file is not installed";
    for (const TIconGlyphUse& use : IconGlyphTable())
        EXPECT_TRUE(raw.supportsCharacter(QChar(use.Material))) << std::hex << int(use.Material);
}

TEST(GroupPanel, IsWhiteWithItsTitleAtTheTopLeft)
{
    QWidget owner;
    QWidget parent(&owner);
    QWidget* panel = CreateGroupPanel(&owner, &parent, QStringLiteral("Position & Größe"), 120);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget(), &parent);
    EXPECT_EQ(panel->height(), 120);
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(Qt::white));
    auto* title = panel->findChild<QLabel*>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Position & Größe"));
    EXPECT_EQ(title->pos(), QPoint(14, 10));
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(32, 32, 32));
    EXPECT_GE(title->font().weight(), QFont::DemiBold);
    EXPECT_GE(title->width(), QFontMetrics(title->font()).horizontalAdvance(title->text())) << "title not clipped";
}
