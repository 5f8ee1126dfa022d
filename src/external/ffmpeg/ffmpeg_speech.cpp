// Sound to speech profile, streamed: packets of the chosen sound stream are decoded, resampled
// to 16 kHz mono and handed to the voice detector 10 ms at a time, so memory stays that of the
// profile (a byte per 10 ms) whatever the movie's length.
#include "external/ffmpeg/ffmpeg_speech.h"

#include "external/ffmpeg/ffmpeg_handles.h"
#include "external/ffmpeg/voice_detector.h"
#include "subtitle/number_rules.h"
#include "subtitle/runtime_error.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace tessaview {

namespace {

struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ResamplerDeleter {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerDeleter>;

std::string errorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

// The sound as the detector wants it, and where the movie's clock starts.
class Resampler {
public:
    Resampler(VoiceDetector& detector, double skipSeconds) : detector_(detector), skip_(skipSeconds) {}
    ~Resampler() { av_channel_layout_uninit(&layout_); }
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    void Convert(const AVFrame& frame) {
        if (!context_ || frame.format != format_ || frame.sample_rate != rate_ ||
            av_channel_layout_compare(&frame.ch_layout, &layout_) != 0)
            open(frame);
        push(const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
    }
    void Flush() {
        if (context_) push(nullptr, 0);
    }

private:
    VoiceDetector& detector_;
    double skip_;  // seconds of sound before the movie's clock starts, still to drop
    ResamplerPtr context_;
    int format_ = -1;
    int rate_ = 0;
    AVChannelLayout layout_{};
    std::vector<int16_t> out_;

    void open(const AVFrame& frame) {
        Flush();
        av_channel_layout_uninit(&layout_);
        av_channel_layout_copy(&layout_, &frame.ch_layout);
        AVChannelLayout in{};
        if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame.ch_layout.nb_channels <= 0)
            av_channel_layout_default(&in, std::max(frame.ch_layout.nb_channels, 1));
        else
            av_channel_layout_copy(&in, &frame.ch_layout);
        AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
        SwrContext* raw = nullptr;
        const int made = swr_alloc_set_opts2(&raw, &mono, AV_SAMPLE_FMT_S16, VoiceDetector::SampleRate, &in,
                                             static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in);
        context_.reset(raw);
        if (made < 0 || swr_init(raw) < 0)
            throw RuntimeError("The movie's sound cannot be converted for the voice detector.");
        format_ = frame.format;
        rate_ = frame.sample_rate;
    }

    void push(const uint8_t** in, int count) {
        const int room = swr_get_out_samples(context_.get(), count);
        if (room <= 0) return;
        out_.resize(static_cast<size_t>(room));
        auto* out = reinterpret_cast<uint8_t*>(out_.data());
        const int got = swr_convert(context_.get(), &out, room, in, count);
        if (got <= 0) return;
        size_t from = 0;
        if (skip_ > 0) {
            from = std::min(static_cast<size_t>(got),
                            static_cast<size_t>(RoundHalfAway(skip_ * VoiceDetector::SampleRate)));
            skip_ -= static_cast<double>(from) / VoiceDetector::SampleRate;
        }
        detector_.Feed(out_.data() + from, static_cast<size_t>(got) - from);
    }
};

class FfmpegMovieSpeech : public MovieSpeech {
public:
    SpeechProfile ReadSpeech(const std::string& movie, const SpeechReadControl& control) override {
        AVFormatContext* rawFormat = nullptr;
        if (const int code = avformat_open_input(&rawFormat, movie.c_str(), nullptr, nullptr); code < 0)
            throw RuntimeError("Cannot read the movie " + movie + ": " + errorText(code) + ".");
        FormatContextPtr format(rawFormat);
        if (avformat_find_stream_info(format.get(), nullptr) < 0)
            throw RuntimeError("Cannot read the movie " + movie + ": its streams cannot be told apart.");
        const AVCodec* codec = nullptr;
        const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
        if (index == AVERROR_STREAM_NOT_FOUND)
            throw RuntimeError("The movie " + movie + " has no sound to synchronise to.");
        if (index < 0 || !codec) throw RuntimeError("The sound of " + movie + " cannot be decoded: no decoder for it.");
        for (unsigned i = 0; i < format->nb_streams; ++i)
            format->streams[i]->discard = static_cast<int>(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        const AVStream* stream = format->streams[index];

        CodecContextPtr decoder(avcodec_alloc_context3(codec));
        if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
            throw RuntimeError("The sound of " + movie + " cannot be decoded.");
        decoder->pkt_timebase = stream->time_base;
        if (const int code = avcodec_open2(decoder.get(), codec, nullptr); code < 0)
            throw RuntimeError("The sound of " + movie + " cannot be decoded: " + errorText(code) + ".");

        // The player's clock starts at the movie's first time, which the sound may lag or lead.
        const double start =
            format->start_time == AV_NOPTS_VALUE ? 0.0 : static_cast<double>(format->start_time) / AV_TIME_BASE;
        const double length = format->duration > 0 ? static_cast<double>(format->duration) / AV_TIME_BASE : 0.0;
        VoiceDetector detector;
        std::optional<Resampler> resampler;
        PacketPtr packet(av_packet_alloc());
        FramePtr frame(av_frame_alloc());
        if (!packet || !frame) throw std::bad_alloc();
        int64_t decoded = 0, damaged = 0;
        double reported = -1.0;

        const auto drain = [&] {
            for (;;) {
                const int code = avcodec_receive_frame(decoder.get(), frame.get());
                if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return;
                if (code < 0) {
                    ++damaged;
                    return;
                }
                if (!resampler) {
                    const int64_t pts = frame->best_effort_timestamp;
                    const double first =
                        pts == AV_NOPTS_VALUE ? start : static_cast<double>(pts) * av_q2d(stream->time_base);
                    if (first > start) detector.AddSilence(static_cast<size_t>(RoundHalfAway((first - start) * 100)));
                    resampler.emplace(detector, std::max(0.0, start - first));
                }
                resampler->Convert(*frame);
                ++decoded;
                av_frame_unref(frame.get());
            }
        };
        for (;;) {
            ThrowIfCancelled(control);
            const int code = av_read_frame(format.get(), packet.get());
            if (code == AVERROR_EOF) break;
            if (code < 0) {
                // A read error ends the sound; what was heard so far still counts.
                ++damaged;
                break;
            }
            if (packet->stream_index == index) {
                if (control.progress && length > 0 && packet->pts != AV_NOPTS_VALUE) {
                    const double done = std::clamp(
                        (static_cast<double>(packet->pts) * av_q2d(stream->time_base) - start) / length, 0.0, 1.0);
                    if (done >= reported + 0.005) {
                        control.progress(done);
                        reported = done;
                    }
                }
                if (avcodec_send_packet(decoder.get(), packet.get()) < 0)
                    ++damaged;  // a damaged packet: the next ones may decode
                else
                    drain();
            }
            av_packet_unref(packet.get());
        }
        avcodec_send_packet(decoder.get(), nullptr);
        drain();
        if (resampler) resampler->Flush();
        if (decoded == 0)
            throw RuntimeError("The sound of " + movie + " cannot be decoded" +
                               (damaged ? ": it is damaged." : ": it holds nothing."));
        SpeechProfile profile;
        profile.frames = std::move(detector.Decisions());
        SmoothSpeech(profile.frames, SpeechMinBurstFrames, SpeechMaxPauseFrames);
        AdvanceSpeechStarts(profile.frames, SpeechOnsetFrames);
        if (control.progress) control.progress(1.0);
        return profile;
    }
};

}  // namespace

std::unique_ptr<MovieSpeech> CreateFfmpegMovieSpeech() { return std::make_unique<FfmpegMovieSpeech>(); }

}  // namespace tessaview
