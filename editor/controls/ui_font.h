#pragma once
// The window fonts of the program. The layouts are drawn in pixels for a 96-dpi
// desktop, so point sizes are turned into pixel sizes here: a caption then
// always fits the rectangle it was laid out for, whatever DPI the screen reports.
#include <QFont>
#include <QString>

// "Segoe UI" where it is installed, otherwise the sans font that ships with the
// program's packages ("Liberation Sans"), otherwise the toolkit's default.
QString UiFontFamily();

// Pixel size of a point size at 96 dpi, rounded to nearest (halves to even).
int PtToPx(double pt);

enum class TUiWeight { Regular, Semibold, Bold };

// The UI font at a point size; Semibold stands for "Segoe UI Semibold".
QFont UiFont(double pt, TUiWeight weight = TUiWeight::Regular);
