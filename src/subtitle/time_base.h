// Time base arithmetic: cue milliseconds to frames and the Subtitle FrameRate choices.
#pragma once

#include "subtitle/number_rules.h"

#include <cstdint>
#include <string>

namespace tessaview {

// Cue milliseconds to frames: ms x rate / 1000, in extended precision, rounded half to even
// and clamped to the 32-bit range. The product comes first, so that ties (20 ms at 25 fps)
// stay exact ties.
inline int32_t MillisecondsToFrames(int32_t milliseconds, double rate)
{
    return RoundHalfEven(static_cast<long double>(milliseconds) * static_cast<long double>(rate) / 1000.0L);
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
