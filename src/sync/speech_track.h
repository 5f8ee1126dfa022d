// The exact score of a cue span against the speech profile: how much of it lies on speech,
// less what chance would give (the profile's speech share times its length in the sound).
// Scores of every shift at once come from the correlator on a coarser grid; this refines them.
#pragma once

#include "sync/speech_profile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessaview {

// A cue's span once the rate is applied, before any shift; milliseconds.
struct Span {
    double start = 0.0;
    double end = 0.0;
};

class SpeechTrack {
public:
    explicit SpeechTrack(const SpeechProfile& profile);

    double Share() const { return share_; }
    double LengthMs() const { return lengthMs_; }
    // Milliseconds of [a, b] on speech; the sound is silent outside its length.
    double SpeechIn(double a, double b) const { return speechBefore(b) - speechBefore(a); }
    // Milliseconds of [a, b] within the sound.
    double Inside(double a, double b) const;
    // SpeechIn less chance: positive when the span falls on speech more than a random one would.
    double Score(double a, double b) const { return SpeechIn(a, b) - share_ * Inside(a, b); }
    double Score(const std::vector<Span>& spans, size_t from, size_t to, double shift) const;

    // The speech share less chance, summed over `binFrames` frames at a time.
    std::vector<double> Coarse(int binFrames) const;

private:
    std::vector<int64_t> before_;  // speech frames before frame k
    double share_ = 0.0;
    double lengthMs_ = 0.0;
    double speechBefore(double ms) const;
};

}  // namespace tessaview
