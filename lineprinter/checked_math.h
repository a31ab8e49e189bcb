#pragma once
// 32-bit arithmetic that raises instead of wrapping: dot counts and lengths in
// this library come from callers and must never overflow silently. What names
// the quantity for the message, e.g. "Bildhöhe".

#include <cstdint>

namespace lineprinter_detail {

// Raises std::overflow_error "<What> überschreitet den Zahlenbereich".
[[noreturn]] void ThrowOverflow(const char* What);

inline int32_t CheckedInt32(int64_t V, const char* What)
{
    if (V < INT32_MIN || V > INT32_MAX)
        ThrowOverflow(What);
    return static_cast<int32_t>(V);
}

inline int32_t CheckedMul(int32_t A, int32_t B, const char* What)
{
    return CheckedInt32(static_cast<int64_t>(A) * B, What);
}

inline int32_t CheckedAdd(int32_t A, int32_t B, const char* What)
{
    return CheckedInt32(static_cast<int64_t>(A) + B, What);
}

} // namespace lineprinter_detail
