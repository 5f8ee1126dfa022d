// The number rules every layer shares: rounding to a whole number and holding a result within
// 32 bits. Cue times, positions and sizes round a tie to the even neighbour; the figures that
// come from or go to other programs (media controls, volume, speech times) round it away from
// zero, as the C library does, and keep doing so.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>

namespace tessaview {

// `value` held within the signed 32-bit range.
constexpr int32_t ClampToInt32(int64_t value) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value < lo ? lo : value > hi ? hi : value);
}

// The nearest integer, a tie to the even neighbour (the default rounding mode: 2.5 gives 2,
// 3.5 gives 4), held within the range of Int; NaN gives 0.
template <std::signed_integral Int = int32_t>
inline Int RoundHalfEven(long double value) {
    constexpr Int lo = std::numeric_limits<Int>::min();
    constexpr Int hi = std::numeric_limits<Int>::max();
    // 2^(mantissa bits - 1): adding and taking it away leaves an integer, rounded in the current
    // mode, without a libm call.
    constexpr long double shift = [] {
        long double s = 1;
        for (int i = 1; i < std::numeric_limits<long double>::digits; ++i) s *= 2;
        return s;
    }();
    if (value != value) return 0;
    if (value >= shift) return hi;
    if (value <= -shift) return lo;
    const long double rounded = value >= 0 ? (value + shift) - shift : (value - shift) + shift;
    if (rounded >= static_cast<long double>(hi)) return hi;
    if (rounded <= static_cast<long double>(lo)) return lo;
    // Through double where that is exact: a direct x87 to integer conversion switches the FPU's
    // rounding mode twice per call.
    if constexpr (sizeof(Int) <= 4)
        return static_cast<Int>(static_cast<double>(rounded));
    else
        return static_cast<Int>(rounded);
}

// The nearest integer, a tie away from zero (std::llround: 2.5 gives 3, -2.5 gives -3), held
// within 64 bits; NaN gives 0.
inline int64_t RoundHalfAway(double value) {
    if (value != value) return 0;
    if (value >= 0x1p63) return std::numeric_limits<int64_t>::max();
    if (value < -0x1p63) return std::numeric_limits<int64_t>::min();
    return std::llround(value);
}

// a + b held within 32 bits.
constexpr int32_t SaturatingAdd(int32_t a, int32_t b) { return ClampToInt32(int64_t{a} + b); }

}  // namespace tessaview
