#pragma once
// Pure arithmetic of the canvas: sizes, the conversion between paint-box
// pixels and design dots, the handles and the zoom steps. Kept apart from the
// window so it can be checked without widgets.

#include <QRect>
#include <QSize>
#include <QString>
#include <array>

namespace canvas {

constexpr int Margin = 24;       // paper edge to paint-box edge, left, right and top
constexpr int BottomExtra = 42;  // below the paper: margin and the information line
constexpr double MinZoom = 0.25;
constexpr double MaxZoom = 8.0;
constexpr std::array<double, 13> ZoomSteps = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0};

// Rounds to the nearest integer, halves to the even neighbour.
int RoundEven(double v);

// Scaled label size W × H for a design area at a zoom.
QSize ScaledLabel(int designWidth, int designHeight, double zoom);
// Size of the whole paint box: label plus margins and the information line.
QSize PaintBoxSize(int designWidth, int designHeight, double zoom);

// Design rectangle (right/bottom exclusive) to paint-box pixels.
QRect DesignToScreen(const QRect& r, double zoom);
// Paint-box pixel to design dot, rounding towards minus infinity.
QPoint ScreenToDesign(int x, int y, double zoom);
// Handle i (0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left) of a
// screen rectangle: 11 × 11 pixels around the corner whatever the zoom.
QRect HandleRect(int i, const QRect& screenRect);

// Next zoom step above (dir > 0) or below (dir <= 0) the current zoom.
double NextZoomStep(double zoom, int dir);
// Clamps to the zoom range.
double ClampZoom(double z);
// The zoom box: all decimal digits in order as one integer percentage, or
// the current zoom when there are none or they overflow.
double ParseZoomText(const QString& text, double currentZoom);
// "150 %"
QString ZoomText(double zoom);

} // namespace canvas
