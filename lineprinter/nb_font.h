#pragma once
// The font interface the line printer draws through. A font answers two
// questions only: how big one character cell is, and which of its dots are ink.

#include <cstdint>
#include <string>
#include <vector>

class TNbFont {
public:
    virtual ~TNbFont() = default;
    TNbFont(const TNbFont&) = delete;
    TNbFont& operator=(const TNbFont&) = delete;

    int32_t CellWidth() const { return FCellWidth; }
    int32_t CellHeight() const { return FCellHeight; }

    // CellWidth * CellHeight entries, row-major (x, y) at y * CellWidth + x,
    // 1 = ink. An empty result means the character leaves no ink at all.
    virtual std::vector<uint8_t> Glyph(char16_t C) const = 0;
    // Human-readable name of the font and its scaling (UTF-8).
    virtual std::string Description() const = 0;

protected:
    TNbFont() = default;

    int32_t FCellWidth = 0;
    int32_t FCellHeight = 0;
};
