#include "editor/snap_guides.h"

#include <cstdlib>
#include <limits>

namespace snapguides {

namespace {

int32_t Mid(int32_t a, int32_t b)
{
    return int32_t((int64_t(a) + b) / 2);
}

// Best target for the three candidate lines of one axis; false when none is
// near enough.
bool Nearest(const int32_t (&Cands)[3], const std::vector<int32_t>& Targets, int32_t& Delta, int32_t& Line)
{
    int64_t best = std::numeric_limits<int64_t>::max();
    for (int32_t c : Cands)
        for (int32_t t : Targets) {
            const int64_t d = int64_t(t) - c;
            if (std::llabs(d) < Tolerance && std::llabs(d) < std::llabs(best)) {
                best = d;
                Line = t;
            }
        }
    if (best == std::numeric_limits<int64_t>::max())
        return false;
    Delta = int32_t(best);
    return true;
}

} // namespace

TTargets Targets(int32_t DesignWidth, int32_t DesignHeight, const std::vector<TDotRect>& Others)
{
    TTargets t;
    t.X.push_back(DesignWidth / 2);
    t.Y.push_back(DesignHeight / 2);
    for (const TDotRect& r : Others) {
        t.X.insert(t.X.end(), {r.Left, Mid(r.Left, r.Right), r.Right});
        t.Y.insert(t.Y.end(), {r.Top, Mid(r.Top, r.Bottom), r.Bottom});
    }
    return t;
}

TSnap Snap(const TDotRect& Moving, const TTargets& Targets, int32_t DesignWidth, int32_t DesignHeight)
{
    TSnap s;
    int32_t line = 0;
    const int32_t xs[3] = {Moving.Left, Mid(Moving.Left, Moving.Right), Moving.Right};
    if (Nearest(xs, Targets.X, s.Dx, line)) {
        s.SnapX = true;
        s.Guides.emplace_back(line, 0, line, DesignHeight);
    }
    const int32_t ys[3] = {Moving.Top, Mid(Moving.Top, Moving.Bottom), Moving.Bottom};
    if (Nearest(ys, Targets.Y, s.Dy, line)) {
        s.SnapY = true;
        s.Guides.emplace_back(0, line, DesignWidth, line);
    }
    return s;
}

} // namespace snapguides
