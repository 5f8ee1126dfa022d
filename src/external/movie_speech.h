// The movie's speech profile, read from its sound: FFmpeg decodes and WebRTC's voice detector
// listens in external/ffmpeg; CachedMovieSpeech keeps profiles per movie; tests use
// FakeMovieSpeech.
#pragma once

#include "sync/speech_profile.h"

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>

namespace tessaview {

// How a long read reports and is stopped. Both are used on the reading thread.
struct SpeechReadControl {
    std::function<void(double)> progress;       // share of the movie read, 0..1, now and then
    const std::atomic<bool>* cancel = nullptr;  // set from any thread to stop the read
};

// The read was cancelled; nothing was kept.
class SpeechReadCancelled : public std::runtime_error {
public:
    SpeechReadCancelled() : std::runtime_error("cancelled") {}
};

class MovieSpeech {
public:
    virtual ~MovieSpeech() = default;
    // Throws RuntimeError with a sentence for a person when the movie or its sound cannot be
    // read (no sound at all, a sound no decoder knows), SpeechReadCancelled when cancelled.
    virtual SpeechProfile ReadSpeech(const std::string& movie, const SpeechReadControl& control) = 0;
};

// Checks the cancel flag: throws SpeechReadCancelled when it is set.
inline void ThrowIfCancelled(const SpeechReadControl& control) {
    if (control.cancel && control.cancel->load(std::memory_order_relaxed)) throw SpeechReadCancelled();
}

}  // namespace tessaview
