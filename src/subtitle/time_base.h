// Time base arithmetic: cue milliseconds to frames and the Subtitle FrameRate choices.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace tessaview {

// Cue milliseconds to frames: ms x rate / 1000, in extended precision, rounded half to even
// and clamped to the 32-bit range. The product comes first, so that ties (20 ms at 25 fps)
// stay exact ties.
inline int32_t MillisecondsToFrames(int32_t milliseconds, double rate)
{
    const long double x = static_cast<long double>(milliseconds) * static_cast<long double>(rate) / 1000.0L;
    if (x != x)  // a rate of NaN or 0 ms at an infinite rate
        return 0;
    if (x >= 2147483647.5L)
        return INT32_MAX;
    if (x <= -2147483648.5L)
        return INT32_MIN;
    // Adding and taking away 2^(mantissa bits - 1) rounds to an integer in the default
    // nearest-even mode, without a libm call.
    constexpr long double shift = [] {
        long double s = 1;
        for (int i = 1; i < std::numeric_limits<long double>::digits; ++i)
            s *= 2;
        return s;
    }();
    const long double r = x >= 0 ? (x + shift) - shift : (x - shift) + shift;
    // Through double (exact for these integers): a direct x87 to int conversion switches the
    // FPU's rounding mode twice per call.
    return static_cast<int32_t>(static_cast<double>(r));
}

// Rate of a Subtitle FrameRate item: tags 1 to 5 are 23.976, 24, 25, 29.97 and 30; 0 (Same
// As Movie) and unknown tags give 0.
double SubtitleFrameRateOfTag(int tag);

// The status bar text for a choice: "Subtitle FrameRate:Same As Movie" for tag 0, otherwise
// "Subtitle FrameRate:" + rate in the shortest general form with `decimalSeparator` + "fps".
std::string FrameRateStatusText(int tag, double rate, char decimalSeparator);

// The shortest text that reads back as `value` (23.976, 24, 29.97), with `decimalSeparator`.
std::string FormatGeneral(double value, char decimalSeparator);

}  // namespace tessaview
