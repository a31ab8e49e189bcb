#pragma once
// The 3x5 pixel font built into the program, scaled by whole factors to the
// cell the line printer asks for.

#include "lineprinter/nb_font.h"

// Index of C in the font's character set, or -1 when the set lacks it.
int NbCharIndex(char16_t C);

class TNbBuiltinFont : public TNbFont {
public:
    // The design grid is 3 columns wide and leaves a column of air, hence a
    // horizontal scale of a quarter of the cell; the vertical scale multiplies
    // that by AHeightFactor (0 or less counts as 1). The cell is six design
    // rows high: five for the glyph, one as the gap between text lines.
    // Raises std::invalid_argument for a negative cell width and
    // std::overflow_error when the cell would not fit 32-bit dot counts.
    TNbBuiltinFont(int32_t ACellWidth, int32_t AHeightFactor, bool ABold);

    // Whether the set contains C; characters outside it still print, as "?".
    static bool HasGlyph(char16_t C);

    std::vector<uint8_t> Glyph(char16_t C) const override;
    std::string Description() const override;

    int32_t ScaleX() const { return FScaleX; }
    int32_t ScaleY() const { return FScaleY; }
    bool Bold() const { return FBold; }

private:
    void FillBlock(std::vector<uint8_t>& Cell, int32_t Left, int32_t Top) const;

    int32_t FScaleX = 1;
    int32_t FScaleY = 1;
    bool FBold = false;
};
