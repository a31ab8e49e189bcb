#pragma once
// Optional hook for system fonts. A provider receives the font name, the cell
// width in dots, the bold flag and a horizontal stretch of at least 1, and
// returns a font or null. Nothing in the program installs one, so the line
// printer falls back to the built-in pixel font; the hook stays so that a font
// name keeps its meaning for the font cache and for FontInfo.

#include "lineprinter/nb_font.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

using TNbFontProvider = std::function<std::unique_ptr<TNbFont>(
    const std::u16string& AFontName, int32_t ACellWidth, bool ABold, int32_t AStretch)>;

// Process-wide; set it, if at all, before any line printer renders.
extern TNbFontProvider NbFontProvider;
