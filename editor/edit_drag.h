#pragma once
// Arithmetic of mouse editing on the canvas: the 4-dot grid and the bounds of
// an element while it is dragged or resized. Kept apart from the widgets so
// the window code only wires events to it.

#include "model/label_doc.h"

#include <cstdint>

// edRubber: a rectangle drawn from empty canvas selects what it touches.
enum TEditDrag { edNone, edMove, edResize, edRubber };

namespace editdrag {

constexpr int32_t Grid = 4;  // dots; half a millimetre

// v on the grid (nearest multiple of 4, halves to the even multiple), or v
// itself when Alt is held. Raises on overflow.
int32_t Snap(int32_t v, bool Alt);

// Smallest width or height a resize leaves: a line may be one dot thin,
// anything else keeps room for its outline.
int32_t MinSize(TElemKind Kind);

// The bounds after moving the bounds Orig of the press by (dx, dy): the
// top-left corner lands on the grid, the size stays.
TDotRect Moved(const TDotRect& Orig, int32_t dx, int32_t dy, bool Alt);

// The bounds after dragging handle Corner (0 top-left, 1 top-right,
// 2 bottom-right, 3 bottom-left) by (dx, dy) from the press. The two edges
// of that corner follow the mouse on the grid; when the element would get
// smaller than MinSize the dragged edge stops there, so it never flips.
TDotRect Resized(const TDotRect& Orig, int Corner, int32_t dx, int32_t dy, bool Alt, int32_t MinSize);

} // namespace editdrag
