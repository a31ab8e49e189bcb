#include "lineprinter/nimbo_lineprinter.h"

#include "dot_pictures.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct TGlyphRow {
    int Index;
    char16_t Code;
    const char* Pattern;  // design rows 1..5, "#" = ink
};

// Written out row by row from the font's design sheet, independently of the
// packed words in the library, so a slip in either shows up here.
const TGlyphRow GlyphSheet[] = {
    {0, 0x0020, "... ... ... ... ..."},
    {1, 0x0021, ".#. .#. .#. ... .#."},
    {2, 0x0022, "#.# #.# ... ... ..."},
    {3, 0x0023, "#.# ### #.# ### #.#"},
    {4, 0x0024, ".## ##. .#. .## ##."},
    {5, 0x0025, "#.. ..# .#. #.. ..#"},
    {6, 0x0026, "##. ##. .## #.# .##"},
    {7, 0x0027, ".#. .#. ... ... ..."},
    {8, 0x0028, "..# .#. .#. .#. ..#"},
    {9, 0x0029, "#.. .#. .#. .#. #.."},
    {10, 0x002A, "... #.# .#. #.# ..."},
    {11, 0x002B, "... .#. ### .#. ..."},
    {12, 0x002C, "... ... ... .#. #.."},
    {13, 0x002D, "... ... ### ... ..."},
    {14, 0x002E, "... ... ... ... .#."},
    {15, 0x002F, "..# ..# .#. #.. #.."},
    {16, 0x0030, "### #.# #.# #.# ###"},
    {17, 0x0031, ".#. ##. .#. .#. ###"},
    {18, 0x0032, "##. ..# .#. #.. ###"},
    {19, 0x0033, "##. ..# .#. ..# ##."},
    {20, 0x0034, "#.# #.# ### ..# ..#"},
    {21, 0x0035, "### #.. ##. ..# ##."},
    {22, 0x0036, ".## #.. ### #.# ###"},
    {23, 0x0037, "### ..# .#. .#. .#."},
    {24, 0x0038, "### #.# ### #.# ###"},
    {25, 0x0039, "### #.# ### ..# ##."},
    {26, 0x003A, "... .#. ... .#. ..."},
    {27, 0x003B, "... .#. ... .#. #.."},
    {28, 0x003C, "..# .#. #.. .#. ..#"},
    {29, 0x003D, "... ### ... ### ..."},
    {30, 0x003E, "#.. .#. ..# .#. #.."},
    {31, 0x003F, "##. ..# .#. ... .#."},
    {32, 0x0040, ".#. #.# ### #.. .##"},
    {33, 0x0041, ".#. #.# ### #.# #.#"},
    {34, 0x0042, "##. #.# ##. #.# ##."},
    {35, 0x0043, ".## #.. #.. #.. .##"},
    {36, 0x0044, "##. #.# #.# #.# ##."},
    {37, 0x0045, "### #.. ##. #.. ###"},
    {38, 0x0046, "### #.. ##. #.. #.."},
    {39, 0x0047, ".## #.. #.# #.# .##"},
    {40, 0x0048, "#.# #.# ### #.# #.#"},
    {41, 0x0049, "### .#. .#. .#. ###"},
    {42, 0x004A, "..# ..# ..# #.# .#."},
    {43, 0x004B, "#.# #.# ##. #.# #.#"},
    {44, 0x004C, "#.. #.. #.. #.. ###"},
    {45, 0x004D, "#.# ### ### #.# #.#"},
    {46, 0x004E, "#.# ### ### ### #.#"},
    {47, 0x004F, ".#. #.# #.# #.# .#."},
    {48, 0x0050, "##. #.# ##. #.. #.."},
    {49, 0x0051, ".#. #.# #.# ### .##"},
    {50, 0x0052, "##. #.# ##. #.# #.#"},
    {51, 0x0053, ".## #.. .#. ..# ##."},
    {52, 0x0054, "### .#. .#. .#. .#."},
    {53, 0x0055, "#.# #.# #.# #.# ###"},
    {54, 0x0056, "#.# #.# #.# .#. .#."},
    {55, 0x0057, "#.# #.# ### ### #.#"},
    {56, 0x0058, "#.# #.# .#. #.# #.#"},
    {57, 0x0059, "#.# #.# .#. .#. .#."},
    {58, 0x005A, "### ..# .#. #.. ###"},
    {59, 0x005B, "##. #.. #.. #.. ##."},
    {60, 0x005C, "#.. #.. .#. ..# ..#"},
    {61, 0x005D, ".## ..# ..# ..# .##"},
    {62, 0x005E, ".#. #.# ... ... ..."},
    {63, 0x005F, "... ... ... ... ###"},
    {64, 0x0060, "#.. .#. ... ... ..."},
    {65, 0x0061, "... ##. .## #.# .##"},
    {66, 0x0062, "#.. ##. #.# #.# ##."},
    {67, 0x0063, "... .## #.. #.. .##"},
    {68, 0x0064, "..# .## #.# #.# .##"},
    {69, 0x0065, "... .#. ### #.. .##"},
    {70, 0x0066, "..# .#. ### .#. .#."},
    {71, 0x0067, ".## #.# .## ..# ##."},
    {72, 0x0068, "#.. ##. #.# #.# #.#"},
    {73, 0x0069, ".#. ... .#. .#. .#."},
    {74, 0x006A, "..# ... ..# #.# .#."},
    {75, 0x006B, "#.. #.# ##. ##. #.#"},
    {76, 0x006C, "##. .#. .#. .#. ###"},
    {77, 0x006D, "... ### ### #.# #.#"},
    {78, 0x006E, "... ##. #.# #.# #.#"},
    {79, 0x006F, "... .#. #.# #.# .#."},
    {80, 0x0070, "... ##. #.# ##. #.."},
    {81, 0x0071, "... .## #.# .## ..#"},
    {82, 0x0072, "... .## #.. #.. #.."},
    {83, 0x0073, "... .## .#. ..# ##."},
    {84, 0x0074, ".#. ### .#. .#. ..#"},
    {85, 0x0075, "... #.# #.# #.# .##"},
    {86, 0x0076, "... #.# #.# .#. .#."},
    {87, 0x0077, "... #.# #.# ### ###"},
    {88, 0x0078, "... #.# .#. .#. #.#"},
    {89, 0x0079, "#.# #.# .## ..# ##."},
    {90, 0x007A, "... ### .## ##. ###"},
    {91, 0x007B, "..# .#. ##. .#. ..#"},
    {92, 0x007C, ".#. .#. .#. .#. .#."},
    {93, 0x007D, "#.. .#. .## .#. #.."},
    {94, 0x007E, "... .## ##. ... ..."},
    {95, 0x00C4, "#.# .#. #.# ### #.#"},
    {96, 0x00D6, "#.# .#. #.# #.# .#."},
    {97, 0x00DC, "#.# ... #.# #.# ###"},
    {98, 0x00E4, "#.# ... .## #.# .##"},
    {99, 0x00F6, "#.# ... .#. #.# .#."},
    {100, 0x00FC, "#.# ... #.# #.# .##"},
    {101, 0x00DF, ".#. #.# ##. #.# ##."},
    {102, 0x20AC, ".## ### #.. ### .##"},
    {103, 0x00B0, ".#. #.# .#. ... ..."},
    {104, 0x00B5, "... #.# #.# ##. #.."},
    {105, 0x00A7, ".## ##. #.# .## ##."},
};

TEST(BuiltinFontTest, EveryGlyphMatchesItsDesignRows)
{
    ASSERT_EQ(std::size(GlyphSheet), size_t(NbFontCharCount));
    // Scale 1, offset 0: the cell shows the design grid dot for dot.
    const TNbBuiltinFont font(3, 1, false);
    for (const TGlyphRow& row : GlyphSheet) {
        SCOPED_TRACE("index " + std::to_string(row.Index));
        EXPECT_EQ(NbFontChars[row.Index], row.Code);
        EXPECT_EQ(NbCharIndex(row.Code), row.Index);
        EXPECT_TRUE(font.HasGlyph(row.Code));
        const std::vector<uint8_t> glyph = font.Glyph(row.Code);
        if (row.Code == u' ') {
            EXPECT_TRUE(glyph.empty());
            continue;
        }
        EXPECT_EQ(DotRows(glyph, 3), ScaledPattern(row.Pattern, 3, 0, 1, 1));
    }
}

TEST(BuiltinFontTest, CharIndexOutsideTheSet)
{
    const TNbBuiltinFont font(3, 1, false);
    const std::vector<uint8_t> question = font.Glyph(u'?');
    ASSERT_FALSE(question.empty());
    const char16_t missing[] = {0x0000, 0x0009, 0x001F, 0x007F, 0x00A0, 0x00E9, 0x00FF,
                                0x0100, 0x20AB, 0x20AD, 0x4E2D, 0xD800, 0xFFFF};
    for (char16_t c : missing) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_EQ(NbCharIndex(c), -1);
        EXPECT_FALSE(TNbBuiltinFont::HasGlyph(c));
        EXPECT_EQ(font.Glyph(c), question);
    }
    // The euro sign lies beyond the 256-entry table and still has its own glyph.
    EXPECT_EQ(NbCharIndex(0x20AC), 102);
    EXPECT_NE(font.Glyph(0x20AC), question);
}

TEST(BuiltinFontTest, CellGeometryFollowsWidthAndHeightFactor)
{
    struct TCase {
        int CellWidth, HeightFactor;
        int ScaleX, ScaleY, CellHeight, Offset;
    };
    const TCase cases[] = {
        {12, 2, 3, 6, 36, 1},  // the receipt layout: 32 characters on 384 dots
        {3, 1, 1, 1, 6, 0},    // narrowest cell the line printer allows
        {5, 1, 1, 1, 6, 1},
        {8, 2, 2, 4, 24, 1},
        {7, 1, 1, 1, 6, 2},    // odd space: the extra dot goes to the right
        {4, 0, 1, 1, 6, 0},    // factors of 0 or below count as 1
        {4, -3, 1, 1, 6, 0},
        {2, 1, 1, 1, 6, 0},    // narrower than the glyph: clipped on the right
        {96, 1, 24, 24, 144, 12},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE("cell " + std::to_string(c.CellWidth) + ", factor " + std::to_string(c.HeightFactor));
        const TNbBuiltinFont font(c.CellWidth, c.HeightFactor, false);
        EXPECT_EQ(font.CellWidth(), c.CellWidth);
        EXPECT_EQ(font.ScaleX(), c.ScaleX);
        EXPECT_EQ(font.ScaleY(), c.ScaleY);
        EXPECT_EQ(font.CellHeight(), c.CellHeight);
        for (char16_t ch : {u'I', u'0', u'\u00C4', u'\u20AC'}) {
            const std::string pattern = GlyphSheet[NbCharIndex(ch)].Pattern;
            EXPECT_EQ(DotRows(font.Glyph(ch), c.CellWidth),
                      ScaledPattern(pattern, c.CellWidth, c.Offset, c.ScaleX, c.ScaleY))
                << "character " << static_cast<int>(ch);
        }
    }
}

TEST(BuiltinFontTest, BoldDrawsEveryInkColumnAgainOneColumnRight)
{
    const std::vector<std::string> boldI4 = {"####", ".##.", ".##.", ".##.", "####", "...."};
    EXPECT_EQ(DotRows(TNbBuiltinFont(4, 1, true).Glyph(u'I'), 4), boldI4);
    // In a 3-dot cell the bold copy of the right column falls off the edge.
    const std::vector<std::string> boldI3 = {"###", ".##", ".##", ".##", "###", "..."};
    EXPECT_EQ(DotRows(TNbBuiltinFont(3, 1, true).Glyph(u'I'), 3), boldI3);
    // At scale 2 the copy moves by a whole design column (2 dots); offset 1.
    const std::vector<std::string> boldL8 = {".####...", ".####...", ".####...", ".####...",
                                             ".####...", ".####...", ".####...", ".####...",
                                             ".#######", ".#######", "........", "........"};
    EXPECT_EQ(DotRows(TNbBuiltinFont(8, 1, true).Glyph(u'L'), 8), boldL8);
}

TEST(BuiltinFontTest, DescriptionNamesTheScales)
{
    EXPECT_EQ(TNbBuiltinFont(12, 2, false).Description(), "Pixelschrift 3x5, Faktor 3 x 6");
    EXPECT_EQ(TNbBuiltinFont(3, 0, true).Description(), "Pixelschrift 3x5, Faktor 1 x 1");
}

TEST(BuiltinFontTest, UnusableCellSizesRaise)
{
    try {
        TNbBuiltinFont font(-1, 1, false);
        FAIL() << "negative cell width accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Ungültige Zellbreite: -1 px");
    }
    try {
        TNbBuiltinFont font(12, INT_MAX, false);
        FAIL() << "overflowing height accepted";
    } catch (const std::overflow_error& e) {
        EXPECT_STREQ(e.what(), "Zeichenhöhe überschreitet den Zahlenbereich");
    }
    // Each side fits on its own, the cell's dot count does not.
    try {
        TNbBuiltinFont font(100000, 100, false);
        FAIL() << "overflowing cell accepted";
    } catch (const std::overflow_error& e) {
        EXPECT_STREQ(e.what(), "Zeichenzelle überschreitet den Zahlenbereich");
    }
}

} // namespace
