// The detector is the voice-detection part of WebRTC's audio processing, every other part
// left off; it hears 10 ms at a time.
#include "external/ffmpeg/voice_detector.h"

#include "subtitle/runtime_error.h"

#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

#include <algorithm>

namespace tessaview {

VoiceDetector::VoiceDetector()
    : processing_(webrtc::AudioProcessing::Create()), frame_(std::make_unique<webrtc::AudioFrame>()) {
    webrtc::VoiceDetection* detection = processing_ ? processing_->voice_detection() : nullptr;
    // The least likely to take music and noise for speech: films have plenty of both.
    if (!detection || detection->Enable(true) != webrtc::AudioProcessing::kNoError ||
        detection->set_likelihood(webrtc::VoiceDetection::kVeryLowLikelihood) != webrtc::AudioProcessing::kNoError ||
        detection->set_frame_size_ms(10) != webrtc::AudioProcessing::kNoError)
        throw RuntimeError("The voice detector could not be started.");
    decisions_.reserve(1 << 16);
}

VoiceDetector::~VoiceDetector() = default;

void VoiceDetector::Feed(const int16_t* samples, size_t count) {
    while (count > 0) {
        if (pendingCount_ == 0 && count >= FrameSamples) {
            decide(samples);
            samples += FrameSamples;
            count -= FrameSamples;
            continue;
        }
        const size_t take = std::min(count, FrameSamples - pendingCount_);
        std::copy_n(samples, take, pending_.begin() + static_cast<std::ptrdiff_t>(pendingCount_));
        pendingCount_ += take;
        samples += take;
        count -= take;
        if (pendingCount_ == FrameSamples) {
            decide(pending_.data());
            pendingCount_ = 0;
        }
    }
}

void VoiceDetector::decide(const int16_t* frame) {
    frame_->UpdateFrame(0, 0, frame, FrameSamples, SampleRate, webrtc::AudioFrame::kNormalSpeech,
                        webrtc::AudioFrame::kVadUnknown, 1);
    const bool voice = processing_->ProcessStream(frame_.get()) == webrtc::AudioProcessing::kNoError &&
                       processing_->voice_detection()->stream_has_voice();
    decisions_.push_back(voice ? 1 : 0);
}

}  // namespace tessaview
