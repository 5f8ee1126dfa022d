// A movie's speech profile: speech or not for each 10 ms of its sound, and the smoothing that
// turns a voice detector's raw decisions into it.
#pragma once

#include <cstdint>
#include <vector>

namespace tessaview {

struct SpeechProfile {
    static constexpr int FrameMs = 10;
    std::vector<uint8_t> frames;  // 1 where the frame holds speech

    int64_t DurationMs() const { return static_cast<int64_t>(frames.size()) * FrameMs; }
    int64_t SpeechMs() const;
    // Speech frames over all frames; 0 for an empty profile.
    double SpeechShare() const;
};

// Drops bursts of speech shorter than `minBurstFrames` (a click, a slammed door), then closes
// pauses shorter than `maxPauseFrames` (between words), so a spoken line is one run.
void SmoothSpeech(std::vector<uint8_t>& frames, int minBurstFrames, int maxPauseFrames);

// Starts every run of speech `frames` frames earlier: a detector is sure of speech only some
// frames after it began.
void AdvanceSpeechStarts(std::vector<uint8_t>& frames, int count);

}  // namespace tessaview
