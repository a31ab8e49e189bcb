#pragma once
// The character set and glyph words of the built-in 3x5 pixel font.

#include <array>
#include <cstdint>

inline constexpr int NbFontCharCount = 106;

// Index of "?", drawn for every character the set lacks.
inline constexpr int NbFontFallbackIndex = 31;

// Characters in index order: printable ASCII, then the German umlauts and a
// few symbols that receipts and labels need.
extern const std::array<char16_t, NbFontCharCount> NbFontChars;

// One word per index. Bits 14..12 hold the top design row, 11..9 the second,
// down to bits 2..0 for the fifth; within a row the highest bit is the left
// column. Bit 15 is unused.
extern const std::array<uint16_t, NbFontCharCount> NbFontGlyphs;
