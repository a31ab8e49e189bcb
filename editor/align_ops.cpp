#include "editor/align_ops.h"

#include "model/dot_math.h"

#include <algorithm>
#include <numeric>

namespace alignops {

namespace {

TDotRect Shifted(const TDotRect& r, int32_t dx, int32_t dy)
{
    return {DotAdd(r.Left, dx), DotAdd(r.Top, dy), DotAdd(r.Right, dx), DotAdd(r.Bottom, dy)};
}

// Where a span of Size starts when its centre goes to the centre of [Lo, Hi).
int32_t Centred(int32_t Lo, int32_t Hi, int32_t Size)
{
    return int32_t(Lo + (int64_t(Hi) - Lo - Size) / 2);
}

} // namespace

TDotRect Union(const std::vector<TDotRect>& Rects)
{
    if (Rects.empty())
        return {};
    TDotRect u = Rects.front();
    for (const TDotRect& r : Rects)
        u = {std::min(u.Left, r.Left), std::min(u.Top, r.Top), std::max(u.Right, r.Right),
             std::max(u.Bottom, r.Bottom)};
    return u;
}

std::vector<TDotRect> Align(const std::vector<TDotRect>& Rects, TAlignMode Mode, const TDotRect& Ref)
{
    std::vector<TDotRect> out;
    for (const TDotRect& r : Rects) {
        int32_t dx = 0, dy = 0;
        switch (Mode) {
        case amLeft: dx = DotSub(Ref.Left, r.Left); break;
        case amCentre: dx = DotSub(Centred(Ref.Left, Ref.Right, r.Width()), r.Left); break;
        case amRight: dx = DotSub(Ref.Right, r.Right); break;
        case amTop: dy = DotSub(Ref.Top, r.Top); break;
        case amMiddle: dy = DotSub(Centred(Ref.Top, Ref.Bottom, r.Height()), r.Top); break;
        case amBottom: dy = DotSub(Ref.Bottom, r.Bottom); break;
        }
        out.push_back(Shifted(r, dx, dy));
    }
    return out;
}

std::vector<TDotRect> Distribute(const std::vector<TDotRect>& Rects, bool Horizontal)
{
    std::vector<TDotRect> out = Rects;
    const size_t n = Rects.size();
    if (n < 3)
        return out;
    const auto lo = [&](const TDotRect& r) { return Horizontal ? r.Left : r.Top; };
    const auto size = [&](const TDotRect& r) { return int64_t(Horizontal ? r.Width() : r.Height()); };
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return lo(Rects[a]) < lo(Rects[b]); });
    const TDotRect& first = Rects[order.front()];
    const TDotRect& last = Rects[order.back()];
    int64_t total = 0;
    for (const TDotRect& r : Rects)
        total += size(r);
    // The free room between the first start and the last end, shared out.
    const int64_t room = int64_t(lo(last)) + size(last) - lo(first) - total;
    const int64_t gaps = int64_t(n) - 1;
    const int64_t gap = room >= 0 ? room / gaps : -((-room + gaps - 1) / gaps);
    int64_t extra = room - gap * gaps;
    int64_t pos = lo(first);
    for (size_t k = 0; k < n; ++k) {
        const size_t i = order[k];
        const int32_t d = DotSub(int32_t(pos), lo(Rects[i]));
        out[i] = Horizontal ? Shifted(Rects[i], d, 0) : Shifted(Rects[i], 0, d);
        pos += size(Rects[i]) + gap + (extra > 0 ? 1 : 0);
        if (extra > 0)
            --extra;
    }
    return out;
}

std::vector<TDotRect> CentreOn(const std::vector<TDotRect>& Rects, const TDotRect& Label)
{
    const TDotRect u = Union(Rects);
    const int32_t dx = DotSub(Centred(Label.Left, Label.Right, u.Width()), u.Left);
    const int32_t dy = DotSub(Centred(Label.Top, Label.Bottom, u.Height()), u.Top);
    std::vector<TDotRect> out;
    for (const TDotRect& r : Rects)
        out.push_back(Shifted(r, dx, dy));
    return out;
}

} // namespace alignops
