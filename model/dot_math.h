#pragma once
// Integer helpers for dot arithmetic of the label model: 32-bit sums and
// products that raise instead of wrapping, and the one rounding rule of the
// program (to nearest, halves to the even neighbour).

#include <cstdint>

// Each raises EModelError "Ganzzahlüberlauf" when the result does not fit.
int32_t DotAdd(int32_t A, int32_t B);
int32_t DotSub(int32_t A, int32_t B);
int32_t DotMul(int32_t A, int32_t B);

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
// Raises EModelError "Ganzzahlüberlauf" for NaN or a value outside 32 bits.
int32_t RoundHalfEven(double V);
