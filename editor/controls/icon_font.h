#pragma once
// The icon font of the toolbar and panel buttons. The program names its icons by
// the code points of the Windows icon fonts; on systems without those fonts the
// same meaning is drawn from the Material Icons font.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Family of the icon font, chosen on the first call and kept for the run:
// "Segoe Fluent Icons", else "Segoe MDL2 Assets", else "Material Icons" (loaded
// from the Debian font folder when fontconfig does not list it), else empty
// when no icon font can be had at all (buttons then draw without glyphs).
QString IconFontName();

// The choice behind IconFontName for a given list of installed families; the
// Material font is only picked when it is listed (loading it is IconFontName's job).
QString ChooseIconFont(const QStringList& installedFamilies);

// The character to draw in `fontFamily` for the program's icon code point
// `glyph`: the code point itself in the Windows icon fonts, its Material
// counterpart in "Material Icons", and nothing (0) for an unknown code point or
// font, so that no wrong symbol appears.
char16_t IconFontGlyph(const QString& fontFamily, char16_t glyph);

// Every icon code point the program uses and its Material counterpart.
struct TIconGlyphUse {
    char16_t Glyph;
    char16_t Material;
};
const std::vector<TIconGlyphUse>& IconGlyphTable();

// Tests pin the icon font (an empty name stands for "no icon font installed");
// std::nullopt returns to the detected font.
void OverrideIconFontName(std::optional<QString> name);
