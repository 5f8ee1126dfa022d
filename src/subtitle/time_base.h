// Time base arithmetic: cue milliseconds to frames, the Subtitle FrameRate choices, and frame
// rates as text.
#pragma once

#include "subtitle/number_rules.h"

#include <cstdint>
#include <string>

namespace tessaview {

// Cue milliseconds to frames: ms x rate / 1000, in extended precision, rounded half to even
// and clamped to the 32-bit range. The product comes first, so that ties (20 ms at 25 fps)
// stay exact ties.
inline int32_t MillisecondsToFrames(int32_t milliseconds, double rate) {
    return RoundHalfEven(static_cast<long double>(milliseconds) * static_cast<long double>(rate) / 1000.0L);
}

// Rate of a Subtitle FrameRate item: tags 1 to 5 are 23.976, 24, 25, 29.97 and 30; 0 (Same
// As Movie) and unknown tags give 0.
double SubtitleFrameRateOfTag(int tag);

// The caption of a Subtitle FrameRate item: "Same As Movie" for tag 0, the rate with three
// decimals for tags 1 to 5 ("23.976", "24.000", ... "30.000").
std::string FrameRateItemCaption(int tag);

// The status bar text for a choice: "Subtitle FrameRate:Same As Movie" for tag 0, otherwise
// "Subtitle FrameRate:" + FormatFrameRate(rate, decimalSeparator) + "fps".
std::string FrameRateStatusText(int tag, double rate, char decimalSeparator);

// Every frame rate shown as text: the general form with up to `digits` significant digits and
// no trailing zeros ("25", "23.976", "29.97"; 24000/1001 is "23.976023976024" at 15 digits and
// "23.976" at 6), `decimalSeparator` for the full stop.
std::string FormatFrameRate(double rate, char decimalSeparator = '.', int digits = 15);

}  // namespace tessaview
