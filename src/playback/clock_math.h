// The arithmetic of movie positions: half-to-even rounding, the position clock, and the
// status texts built from the engine's answers.
#pragma once

#include <cstdint>
#include <string>

namespace tessaview {

// Nearest integer, a tie to the even neighbour, clamped to the signed 32-bit range.
int32_t RoundHalfEven(long double value);

// "2:0:5" for 7205 seconds: hours, minutes, seconds without leading zeros.
std::string FormatClock(int32_t seconds);

// "1500/0:1:0": frames and the clock of Round(frames / rate). Needs rate > 0.
std::string PositionText(int32_t frames, double rate);

// "25fps", "23.976fps": shortest general form, up to 15 significant digits.
std::string FrameRateText(double rate, char decimalSeparator);

// Synchronize offset (ms) in frames: Round(ms / 1000 x rate), as cue times are converted.
int32_t SyncFrames(int32_t milliseconds, double rate);

// Movie time in ms at `frames`: Round(frames / rate x 1000). Needs rate > 0.
int32_t FramesToMilliseconds(int32_t frames, double rate);

// a + b without wrapping around.
int32_t SaturatingAdd(int32_t a, int32_t b);

}  // namespace tessaview
