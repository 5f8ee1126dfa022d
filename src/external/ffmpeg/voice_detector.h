// WebRTC's voice detector over 16 kHz mono sound: one decision, speech or not, per 10 ms.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace webrtc {
class AudioProcessing;
class AudioFrame;
}  // namespace webrtc

namespace tessaview {

class VoiceDetector {
public:
    static constexpr int SampleRate = 16000;
    static constexpr size_t FrameSamples = SampleRate / 100;

    VoiceDetector();  // throws RuntimeError when the detector cannot be made
    ~VoiceDetector();
    VoiceDetector(const VoiceDetector&) = delete;
    VoiceDetector& operator=(const VoiceDetector&) = delete;

    // Takes any number of samples; each complete 10 ms adds a decision.
    void Feed(const int16_t* samples, size_t count);
    // Adds `frames` decisions of silence (sound missing before the stream starts).
    void AddSilence(size_t frames) { decisions_.insert(decisions_.end(), frames, 0); }
    // The decisions so far; a last, incomplete 10 ms is left out.
    std::vector<uint8_t>& Decisions() { return decisions_; }

private:
    std::unique_ptr<webrtc::AudioProcessing> processing_;
    std::unique_ptr<webrtc::AudioFrame> frame_;
    std::array<int16_t, FrameSamples> pending_{};
    size_t pendingCount_ = 0;
    std::vector<uint8_t> decisions_;
    void decide(const int16_t* frame);
};

}  // namespace tessaview
