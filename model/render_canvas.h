#pragma once
// Drawing primitives with the geometry the label rendering relies on, on top
// of a QPainter: rectangles with exclusive right and bottom edges, outlines
// whose pen is centred on the outline, and one-dot lines without their end
// point. Everything is drawn without antialiasing, so every dot is either
// fully painted or untouched; shapes are clipped to the painter's device.

#include "model/label_doc.h"

#include <QColor>
#include <QPoint>

#include <optional>

class QPainter;

// Turns antialiasing off for shapes, text and scaled pictures.
void PrepareDotCanvas(QPainter& Canvas);

// Fills R (right and bottom exclusive); an empty or inverted R fills nothing.
void FillDots(QPainter& Canvas, const TDotRect& R, const QColor& Color);
// The same for [L, R) x [T, B) in 64 bits, for sums that may leave 32 bits.
void FillDots(QPainter& Canvas, int64_t L, int64_t T, int64_t R, int64_t B, const QColor& Color);

// A one-dot border on the inside of R.
void FrameDots(QPainter& Canvas, const TDotRect& R, const QColor& Color);

enum class TOutlineShape { Rectangle, Ellipse, RoundRect };

// Outline of the shape bounded by R with a pen PenWidth dots wide (at least 1)
// centred on the outline, which runs through the dots of R's first and last
// column and row. A pen of odd width reaches PenWidth div 2 dots to both
// sides; an even pen one dot further outwards than inwards. The inside is
// filled with Brush first unless Brush is empty (a clear brush). CornerW and
// CornerH are the width and height of the quarter ellipses of a RoundRect.
void DrawOutline(QPainter& Canvas, TOutlineShape Shape, const TDotRect& R, int PenWidth,
                 const QColor& Pen, const std::optional<QColor>& Brush, int CornerW = 0,
                 int CornerH = 0);
// The same for the box [L, R) x [T, B) in 64 bits, for boxes whose far edge
// sits at the end of the 32-bit range.
void DrawOutline(QPainter& Canvas, TOutlineShape Shape, int64_t L, int64_t T, int64_t R, int64_t B,
                 int PenWidth, const QColor& Pen, const std::optional<QColor>& Brush, int CornerW = 0,
                 int CornerH = 0);

// A one-dot line from From towards To; To itself stays undrawn.
void DrawLineDots(QPainter& Canvas, QPoint From, QPoint To, const QColor& Color);
