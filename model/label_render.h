#pragma once
// Drawing a label: background presets, elements and the pieces they share.
// TLabelDoc::RenderTo and RenderBitmap (declared in label_doc.h) are the entry
// points; pictures are placed by render_picture.h, texts filled in by
// placeholders.h.

#include "model/label_doc.h"
#include "model/placeholders.h"
#include "model/render_picture.h"

#include <QFont>

class QPainter;

// One corner ornament of the bpCorners background: an arm 36 dots long and 4
// thick along the edge, one along the side and a 6-dot square on the
// diagonal, pointing from the anchor (X, Y) in the directions DX, DY (+1 or
// -1).
void DrawCorner(QPainter& Canvas, int32_t X, int32_t Y, int DX, int DY);

// The font of a text element: family, character height FontSize dots (at
// least 4), style, never antialiased.
QFont ElementFont(const TLabelElement& E);
