// The movie's speech read through FFmpeg (its first sound stream, decoded and resampled to
// 16 kHz mono as it streams by) and WebRTC's voice detector.
#pragma once

#include "external/movie_speech.h"

#include <memory>

namespace tessaview {

std::unique_ptr<MovieSpeech> CreateFfmpegMovieSpeech();

// Bursts shorter than this are not speech; pauses shorter than this are inside a line.
inline constexpr int SpeechMinBurstFrames = 5;
inline constexpr int SpeechMaxPauseFrames = 15;
// WebRTC's detector is sure of speech about 30 ms after it begins (measured on spoken films).
inline constexpr int SpeechOnsetFrames = 3;

}  // namespace tessaview
