#pragma once
// Snap guides while elements are dragged: the label's centre lines and the
// edges and centres of the other elements pull the moving bounds in when one
// of their edges or their centre comes within a few dots, stronger than the
// grid. Pure arithmetic over dot rectangles.

#include "model/label_doc.h"

#include <QLine>
#include <cstdint>
#include <vector>

namespace snapguides {

// Dots; closer than one grid step, so one step of the grid always gets an
// element away from a guide again.
constexpr int32_t Tolerance = 4;

// Lines the moving bounds can snap to: vertical ones by x, horizontal ones by y.
struct TTargets {
    std::vector<int32_t> X;
    std::vector<int32_t> Y;
};

// The label's centre lines and the left edge, centre and right edge (top,
// middle and bottom) of every rectangle in Others.
TTargets Targets(int32_t DesignWidth, int32_t DesignHeight, const std::vector<TDotRect>& Others);

struct TSnap {
    bool SnapX = false, SnapY = false;
    int32_t Dx = 0, Dy = 0;     // to add to the moving bounds
    std::vector<QLine> Guides;  // in design dots, across the whole label
};

// The correction for bounds Moving: on each axis the edge or centre of
// Moving nearest to a target less than Tolerance away lands on it exactly.
TSnap Snap(const TDotRect& Moving, const TTargets& Targets, int32_t DesignWidth, int32_t DesignHeight);

} // namespace snapguides
