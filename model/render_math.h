#pragma once
// Small helpers of the rendering code: narrowing of 64-bit intermediates (a
// hand-edited label may carry absurd coordinates) and the gray level of a
// colour. Rounding goes through RoundHalfEven of dot_math.h.

#include "model/dot_math.h"
#include "model/model_error.h"

#include <QRgb>

#include <cstdint>
#include <limits>

// Narrows V to 32 bits; raises EModelError "Ganzzahlüberlauf" instead of
// wrapping.
inline int32_t CheckedDots(int64_t V)
{
    if (V < std::numeric_limits<int32_t>::min() || V > std::numeric_limits<int32_t>::max()) {
        throw EModelError(QStringLiteral("Ganzzahlüberlauf"));
    }
    return static_cast<int32_t>(V);
}

// Gray level of a colour with the luminance weights of the printer path,
// 0 … 255.
inline int GrayOf(QRgb C)
{
    return (299 * qRed(C) + 587 * qGreen(C) + 114 * qBlue(C)) / 1000;
}
