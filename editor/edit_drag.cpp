#include "editor/edit_drag.h"

#include "model/dot_math.h"

namespace editdrag {

int32_t Snap(int32_t v, bool Alt)
{
    if (Alt)
        return v;
    // v / 4 is exact in a double, so the only rounding is the half-even one.
    return DotMul(RoundHalfEven(v / double(Grid)), Grid);
}

int32_t MinSize(TElemKind Kind)
{
    return Kind == ekLine ? 1 : 4;
}

TDotRect Moved(const TDotRect& Orig, int32_t dx, int32_t dy, bool Alt)
{
    const int32_t L = Snap(DotAdd(Orig.Left, dx), Alt);
    const int32_t T = Snap(DotAdd(Orig.Top, dy), Alt);
    return {L, T, DotAdd(L, Orig.Width()), DotAdd(T, Orig.Height())};
}

TDotRect Resized(const TDotRect& Orig, int Corner, int32_t dx, int32_t dy, bool Alt, int32_t MinSize)
{
    int32_t L = Orig.Left, T = Orig.Top, R = Orig.Right, B = Orig.Bottom;
    const bool left = Corner == 0 || Corner == 3;
    const bool top = Corner == 0 || Corner == 1;
    if (left)
        L = Snap(DotAdd(L, dx), Alt);
    else
        R = Snap(DotAdd(R, dx), Alt);
    if (top)
        T = Snap(DotAdd(T, dy), Alt);
    else
        B = Snap(DotAdd(B, dy), Alt);
    // The edge that was dragged gives way; the one held still never moves.
    if (int64_t(R) - L < MinSize) {
        if (left)
            L = DotSub(R, MinSize);
        else
            R = DotAdd(L, MinSize);
    }
    if (int64_t(B) - T < MinSize) {
        if (top)
            T = DotSub(B, MinSize);
        else
            B = DotAdd(T, MinSize);
    }
    return {L, T, R, B};
}

} // namespace editdrag
