#pragma once
// Mouse gestures on the label canvas for the editing and undo tests: real
// QMouseEvents delivered to the paint box, addressed in design dots.

#include <QPoint>
#include <QRect>
#include <ostream>
#include <Qt>
#include <vector>

class TLabelMainForm;

// Paint-box pixel of the design point (x, y) at the window's zoom: the top
// left pixel of that dot, so it converts back to exactly (x, y).
QPoint DotPixel(const TLabelMainForm& Form, int x, int y);

// The three parts of a drag with the left button, one event each.
void PressPixel(TLabelMainForm& Form, QPoint At, Qt::KeyboardModifiers Mods = Qt::NoModifier);
void MovePixel(TLabelMainForm& Form, QPoint At, Qt::KeyboardModifiers Mods = Qt::NoModifier);
void ReleasePixel(TLabelMainForm& Form, QPoint At, Qt::KeyboardModifiers Mods = Qt::NoModifier);
// Press at the first pixel, move through the others with the button held,
// release at the last one. Mods go with every event.
void DragPath(TLabelMainForm& Form, const std::vector<QPoint>& Pixels, Qt::KeyboardModifiers Mods = Qt::NoModifier);
// Press at pixel From, move to pixel To with the button held (in Steps
// events along the way), release there. Mods go with every event.
void DragPixels(TLabelMainForm& Form, QPoint From, QPoint To, Qt::KeyboardModifiers Mods = Qt::NoModifier,
                int Steps = 1);
// The same between design points.
void DragDots(TLabelMainForm& Form, QPoint From, QPoint To, Qt::KeyboardModifiers Mods = Qt::NoModifier);
// Press and release at one design point.
void ClickDot(TLabelMainForm& Form, QPoint At);
// A double click as the toolkit delivers it: press, release, double-click
// event, release.
void DoubleClickPixel(TLabelMainForm& Form, QPoint At);
// A move without a button (the cursor follows the handles).
void HoverPixel(TLabelMainForm& Form, QPoint At);

// Readable failure messages for the geometry the tests compare.
void PrintTo(const QPoint& P, std::ostream* os);
void PrintTo(const QRect& R, std::ostream* os);
