// The first SubRip or SubStation track of a movie written back out as its file, and the
// movie's frame rate and length, both read through libavformat.
#include "external/ffmpeg/ffmpeg_text_tracks.h"

#include "external/ffmpeg/ffmpeg_handles.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tessaview {

namespace {

// libavformat asks this between reads and while it waits on the file.
int stopRequested(void* stop) { return static_cast<const std::stop_token*>(stop)->stop_requested() ? 1 : 0; }

FormatContextPtr openMovie(const std::string& movie, bool streamInfo, const std::stop_token* stop = nullptr) {
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw) return nullptr;
    if (stop) raw->interrupt_callback = AVIOInterruptCB{&stopRequested, const_cast<std::stop_token*>(stop)};
    // A failed open frees the context.
    if (avformat_open_input(&raw, movie.c_str(), nullptr, nullptr) < 0) return nullptr;
    FormatContextPtr context(raw);
    if (streamInfo && avformat_find_stream_info(context.get(), nullptr) < 0) return nullptr;
    return context;
}

// Milliseconds as SubRip writes them (00:01:02,345) or SubStation (0:01:02.34).
std::string clockText(int64_t ms, bool subRip) {
    ms = std::max<int64_t>(ms, 0);
    char buffer[40];
    const auto h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60;
    if (subRip)
        std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(h),
                      static_cast<long long>(m), static_cast<long long>(s), static_cast<long long>(ms % 1000));
    else
        std::snprintf(buffer, sizeof buffer, "%lld:%02lld:%02lld.%02lld", static_cast<long long>(h),
                      static_cast<long long>(m), static_cast<long long>(s), static_cast<long long>(ms % 1000 / 10));
    return buffer;
}

std::string withCrLf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') out += '\r';
        out += c;
    }
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0) out.resize(out.size() - 2);
    return out;
}

struct Event {
    int64_t order = 0;  // SubStation's ReadOrder field; the start time for SubRip
    int64_t startMs = 0;
    int64_t endMs = 0;
    std::string text;
};

class FfmpegTextTracks : public TextTracks {
public:
    std::optional<TextTrack> FirstTextTrack(const std::string& movie, std::stop_token stop) override {
        FormatContextPtr context = openMovie(movie, false, &stop);
        if (!context) return std::nullopt;
        int index = -1;
        for (unsigned i = 0; i < context->nb_streams; ++i) {
            const AVCodecID id = context->streams[i]->codecpar->codec_id;
            const bool text = id == AV_CODEC_ID_SUBRIP || id == AV_CODEC_ID_ASS || id == AV_CODEC_ID_SSA;
            context->streams[i]->discard = (text && index < 0) ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
            if (text && index < 0) index = static_cast<int>(i);
        }
        if (index < 0) return std::nullopt;
        const AVStream* stream = context->streams[index];
        const bool subRip = stream->codecpar->codec_id == AV_CODEC_ID_SUBRIP;
        const AVRational ms{1, 1000};
        std::vector<Event> events;
        PacketPtr packet(av_packet_alloc());
        while (packet && !stop.stop_requested() && av_read_frame(context.get(), packet.get()) >= 0) {
            if (packet->stream_index == index && packet->pts != AV_NOPTS_VALUE) {
                Event event;
                event.startMs = av_rescale_q(packet->pts, stream->time_base, ms);
                event.endMs =
                    event.startMs + av_rescale_q(std::max<int64_t>(packet->duration, 0), stream->time_base, ms);
                event.text.assign(reinterpret_cast<const char*>(packet->data), static_cast<size_t>(packet->size));
                event.text.resize(std::min(event.text.size(), event.text.find('\0')));
                event.order = event.startMs;
                if (!subRip) event.order = std::atoll(event.text.c_str());
                events.push_back(std::move(event));
            }
            av_packet_unref(packet.get());
        }
        if (events.empty() || stop.stop_requested()) return std::nullopt;
        std::stable_sort(events.begin(), events.end(),
                         [](const Event& a, const Event& b) { return a.order < b.order; });

        TextTrack track{subRip ? ".srt" : ".ass", "\xEF\xBB\xBF"};
        if (!subRip) {
            const auto* header = reinterpret_cast<const char*>(stream->codecpar->extradata);
            std::string_view script =
                header ? std::string_view(header, static_cast<size_t>(stream->codecpar->extradata_size))
                       : std::string_view();
            script = script.substr(0, script.find('\0'));
            track.text += script.empty() ? std::string("[Script Info]\r\n\r\n[Events]") : withCrLf(script);
            track.text += "\r\n";
        }
        int counter = 0;
        for (const Event& event : events) {
            if (subRip) {
                track.text += std::to_string(++counter) + "\r\n" + clockText(event.startMs, true) + " --> " +
                              clockText(event.endMs, true) + "\r\n" + withCrLf(event.text) + "\r\n\r\n";
                continue;
            }
            // A stored event is ReadOrder,Layer,Style,...,Text: the file's line puts the two
            // times where ReadOrder was.
            const size_t comma = event.text.find(',');
            const std::string rest = comma == std::string::npos ? event.text : event.text.substr(comma + 1);
            const size_t layerEnd = rest.find(',');
            const std::string layer = rest.substr(0, layerEnd);
            const std::string after = layerEnd == std::string::npos ? std::string() : rest.substr(layerEnd);
            track.text += "Dialogue: " + layer + "," + clockText(event.startMs, false) + "," +
                          clockText(event.endMs, false) + withCrLf(after) + "\r\n";
        }
        return track;
    }

    std::optional<MovieTiming> ReadMovieTiming(const std::string& movie) override {
        FormatContextPtr context = openMovie(movie, true);
        if (!context) return std::nullopt;
        const int video = av_find_best_stream(context.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (video < 0) return std::nullopt;
        const AVStream* stream = context->streams[video];
        MovieTiming timing;
        timing.frameRate = av_q2d(stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate);
        if (context->duration > 0)
            timing.lengthSeconds = static_cast<double>(context->duration) / AV_TIME_BASE;
        else if (stream->duration > 0)
            timing.lengthSeconds = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
        return timing;
    }
};

}  // namespace

std::unique_ptr<TextTracks> CreateFfmpegTextTracks() { return std::make_unique<FfmpegTextTracks>(); }

}  // namespace tessaview
