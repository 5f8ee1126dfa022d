// Made-up films for the alignment tests: spoken lines at random times, a speech profile that
// hears them as a voice detector would (late onsets, early ends, pauses, missed lines, noise
// taken for speech), and the subtitle's true cue times.
#pragma once

#include "sync/alignment.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace tessaview::testing {

struct MadeUpFilm {
    SpeechProfile speech;
    std::vector<SyncCue> lines;  // where the subtitle's cues belong on this film
};

inline void markSpeech(SpeechProfile& profile, int64_t fromMs, int64_t toMs, uint8_t value = 1) {
    const int64_t frames = static_cast<int64_t>(profile.frames.size());
    for (int64_t k = std::max<int64_t>(0, fromMs / 10); k < std::min(frames, toMs / 10); ++k)
        profile.frames[static_cast<size_t>(k)] = value;
}

inline MadeUpFilm makeFilm(unsigned seed, int64_t lengthMs) {
    std::mt19937 random(seed);
    const auto uniform = [&](int64_t a, int64_t b) { return std::uniform_int_distribution<int64_t>(a, b)(random); };
    MadeUpFilm film;
    film.speech.frames.assign(static_cast<size_t>(lengthMs / 10), 0);
    for (int64_t t = uniform(2000, 9000); t < lengthMs - 6000;) {
        const int64_t length = uniform(900, 4200);
        film.lines.push_back({t, t + length});
        if (uniform(0, 9) > 0) {  // one line in ten the detector misses
            const int64_t start = t + uniform(0, 40), end = t + length - uniform(0, 250);
            markSpeech(film.speech, start, end);
            const int64_t pause = uniform(start, end);
            markSpeech(film.speech, pause, pause + uniform(0, 200), 0);
        }
        t += length + (uniform(0, 11) == 0 ? uniform(8000, 30000) : uniform(200, 5000));
    }
    // Noise taken for speech: short bursts, about 4 % of the time.
    for (int64_t t = 0; t < lengthMs; t += uniform(5000, 15000)) {
        const int64_t at = t + uniform(0, 4000);
        markSpeech(film.speech, at, at + uniform(100, 600));
    }
    return film;
}

// The subtitle's cues as a release timed them: a little early or late, ending a little after.
inline std::vector<SyncCue> timedCues(const std::vector<SyncCue>& lines, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int64_t> jitter(-60, 60), tail(0, 300);
    std::vector<SyncCue> cues;
    for (const SyncCue& line : lines) cues.push_back({line.startMs + jitter(random), line.endMs + tail(random)});
    return cues;
}

}  // namespace tessaview::testing
