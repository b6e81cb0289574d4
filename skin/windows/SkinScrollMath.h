#pragma once
// MulDiv's rounding (halves away from zero) over 64-bit operands, for scroll ranges that span the
// whole int range. One factor is always a pixel count, so the product stays within 64 bits.
#include <algorithm>
#include <climits>
#include <cstdint>

namespace skin {

inline int MulDivRound(int64_t value, int64_t numerator, int64_t denominator) {
    if (denominator == 0) return -1;
    if (denominator < 0) {
        value = -value;
        denominator = -denominator;
    }
    const int64_t product = value * numerator;
    const int64_t q = product >= 0 ? (product + denominator / 2) / denominator : (product - denominator / 2) / denominator;
    return static_cast<int>(std::clamp<int64_t>(q, INT_MIN, INT_MAX));
}

}  // namespace skin
