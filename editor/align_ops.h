#pragma once
// Lining elements up: where each of a set of bounds goes when they are
// aligned to each other or to the label, spread evenly, or centred on the
// label as a group. Pure arithmetic; the window applies the result.

#include "model/label_doc.h"

#include <vector>

enum TAlignMode { amLeft, amCentre, amRight, amTop, amMiddle, amBottom };

namespace alignops {

// Aligns every rectangle to the common edge or centre of Reference (the
// bounds of them all, or the label).
std::vector<TDotRect> Align(const std::vector<TDotRect>& Rects, TAlignMode Mode, const TDotRect& Reference);

// Spreads three or more rectangles so the gaps between neighbours (in the
// order of their left or top edges) are equal; the outermost stay. Fewer
// than three come back unchanged. Gaps that cannot be equal to the dot give
// the first ones one dot more.
std::vector<TDotRect> Distribute(const std::vector<TDotRect>& Rects, bool Horizontal);

// Moves the rectangles together so that their common bounds sit in the
// middle of Label.
std::vector<TDotRect> CentreOn(const std::vector<TDotRect>& Rects, const TDotRect& Label);

// The smallest rectangle holding them all.
TDotRect Union(const std::vector<TDotRect>& Rects);

} // namespace alignops
