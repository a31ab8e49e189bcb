#include "model/dot_math.h"

#include "model/model_error.h"

#include <cfenv>
#include <cmath>

namespace {

[[noreturn]] void ThrowOverflow()
{
    throw EModelError(QStringLiteral("Ganzzahlüberlauf"));
}

int32_t Narrow(int64_t V)
{
    if (V < INT32_MIN || V > INT32_MAX)
        ThrowOverflow();
    return static_cast<int32_t>(V);
}

}  // namespace

int32_t DotAdd(int32_t A, int32_t B) { return Narrow(int64_t(A) + B); }
int32_t DotSub(int32_t A, int32_t B) { return Narrow(int64_t(A) - B); }
int32_t DotMul(int32_t A, int32_t B) { return Narrow(int64_t(A) * B); }

int32_t RoundHalfEven(double V)
{
    // nearbyint follows the current rounding mode; the program never leaves
    // the default (to nearest, ties to even), but a library might.
    const int Saved = std::fegetround();
    if (Saved != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double R = std::nearbyint(V);
    if (Saved != FE_TONEAREST)
        std::fesetround(Saved);
    if (!(R >= double(INT32_MIN) && R <= double(INT32_MAX)))
        ThrowOverflow();
    return static_cast<int32_t>(R);
}
