#include "lineprinter/builtin_font.h"

#include "lineprinter/checked_math.h"
#include "lineprinter/font_data.h"

#include <algorithm>
#include <stdexcept>

using namespace lineprinter_detail;

namespace {

constexpr char16_t EuroSign = 0x20AC;

// Index of every code point U+0000..U+00FF in the set, -1 where it has none.
// The euro sign is the one character of the set above U+00FF and is looked up
// on its own, which keeps this table small.
struct TCharIndexTable {
    std::array<int16_t, 256> Entries{};
    int16_t Euro = -1;

    constexpr TCharIndexTable()
    {
        Entries.fill(-1);
        for (int i = 0; i < NbFontCharCount; ++i) {
            const char16_t c = NbFontChars[i];
            if (c <= 0xFF)
                Entries[c] = static_cast<int16_t>(i);
            else if (c == EuroSign)
                Euro = static_cast<int16_t>(i);
        }
    }
};

const TCharIndexTable& CharIndexTable()
{
    static const TCharIndexTable table;
    return table;
}

constexpr int DesignColumns = 3;
constexpr int DesignRows = 5;
// Five glyph rows plus one blank row that separates text lines.
constexpr int CellDesignRows = DesignRows + 1;

} // namespace

int NbCharIndex(char16_t C)
{
    const TCharIndexTable& table = CharIndexTable();
    if (C <= 0xFF)
        return table.Entries[C];
    if (C == EuroSign)
        return table.Euro;
    return -1;
}

bool TNbBuiltinFont::HasGlyph(char16_t C)
{
    return NbCharIndex(C) >= 0;
}

TNbBuiltinFont::TNbBuiltinFont(int32_t ACellWidth, int32_t AHeightFactor, bool ABold)
{
    if (ACellWidth < 0)
        throw std::invalid_argument("Ungültige Zellbreite: " + std::to_string(ACellWidth) + " px");
    FScaleX = std::max(1, ACellWidth / 4);
    FScaleY = CheckedMul(FScaleX, std::max(1, AHeightFactor), "Zeichenhöhe");
    FCellWidth = ACellWidth;
    FCellHeight = CheckedMul(CellDesignRows, FScaleY, "Zeichenhöhe");
    // Every glyph index y * CellWidth + x must stay within 32 bits.
    CheckedMul(FCellWidth, FCellHeight, "Zeichenzelle");
    FBold = ABold;
}

void TNbBuiltinFont::FillBlock(std::vector<uint8_t>& Cell, int32_t Left, int32_t Top) const
{
    // Bold copies and odd cell widths can push a block over the cell edge;
    // those dots are clipped, never written outside the cell.
    const int32_t x0 = std::max(Left, 0);
    const int32_t x1 = std::min<int64_t>(static_cast<int64_t>(Left) + FScaleX, FCellWidth);
    const int32_t y1 = std::min<int64_t>(static_cast<int64_t>(Top) + FScaleY, FCellHeight);
    for (int32_t y = std::max(Top, 0); y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x)
            Cell[static_cast<size_t>(y) * FCellWidth + x] = 1;
}

std::vector<uint8_t> TNbBuiltinFont::Glyph(char16_t C) const
{
    int i = NbCharIndex(C);
    if (i < 0)
        i = NbFontFallbackIndex;
    const uint16_t w = NbFontGlyphs[i];
    if (w == 0)
        return {};

    std::vector<uint8_t> cell(static_cast<size_t>(FCellWidth) * FCellHeight, 0);
    // Centre the glyph; an odd remainder leaves the extra dot on the right.
    const int32_t xo = (FCellWidth - DesignColumns * FScaleX) / 2;
    for (int r = 0; r < DesignRows; ++r) {
        const unsigned bits = (w >> (12 - 3 * r)) & 7u;
        for (int j = 0; j < DesignColumns; ++j) {
            if ((bits & (1u << (2 - j))) == 0)
                continue;
            FillBlock(cell, xo + j * FScaleX, r * FScaleY);
            if (FBold)
                FillBlock(cell, xo + (j + 1) * FScaleX, r * FScaleY);
        }
    }
    return cell;
}

std::string TNbBuiltinFont::Description() const
{
    return "Pixelschrift 3x5, Faktor " + std::to_string(FScaleX) + " x " + std::to_string(FScaleY);
}
