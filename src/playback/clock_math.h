// The arithmetic of movie positions: the position clock and the status texts built from the
// engine's answers, rounded and held within 32 bits by the shared number rules.
#pragma once

#include "subtitle/number_rules.h"

#include <cstdint>
#include <string>

namespace tessaview {

// "2:0:5" for 7205 seconds: hours, minutes, seconds without leading zeros.
std::string FormatClock(int32_t seconds);

// "1500/0:1:0": frames and the clock of Round(frames / rate). Needs rate > 0.
std::string PositionText(int32_t frames, double rate);

// "25fps", "23.976fps": FormatFrameRate's text and "fps".
std::string FrameRateText(double rate, char decimalSeparator);

// Synchronize offset (ms) in frames: Round(ms / 1000 x rate), as cue times are converted.
int32_t SyncFrames(int32_t milliseconds, double rate);

// Movie time in ms at `frames`: Round(frames / rate x 1000). Needs rate > 0.
int32_t FramesToMilliseconds(int32_t frames, double rate);

}  // namespace tessaview
