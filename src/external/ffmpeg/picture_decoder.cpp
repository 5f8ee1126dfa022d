// Runs FFmpeg's dvdsub decoder on one unit and turns its palette picture into BGRA.
#include "external/ffmpeg/picture_decoder.h"

#include <climits>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/mem.h>
}

namespace tessaview {
namespace {

class SubtitleGuard {
public:
    explicit SubtitleGuard(AVSubtitle& subtitle) : subtitle_(subtitle) {}
    ~SubtitleGuard() { avsubtitle_free(&subtitle_); }
    SubtitleGuard(const SubtitleGuard&) = delete;
    SubtitleGuard& operator=(const SubtitleGuard&) = delete;

private:
    AVSubtitle& subtitle_;
};

}  // namespace

PictureDecoder::PictureDecoder(const std::vector<uint8_t>& header) {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_DVD_SUBTITLE);
    if (codec == nullptr) {
        return;
    }
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context || header.size() > size_t(INT_MAX - AV_INPUT_BUFFER_PADDING_SIZE)) {
        return;
    }
    if (!header.empty()) {
        auto* extradata = static_cast<uint8_t*>(av_mallocz(header.size() + AV_INPUT_BUFFER_PADDING_SIZE));
        if (extradata == nullptr) {
            return;
        }
        std::memcpy(extradata, header.data(), header.size());
        context->extradata = extradata;
        context->extradata_size = int(header.size());
    }
    if (avcodec_open2(context.get(), codec, nullptr) < 0) {
        return;
    }
    context_ = std::move(context);
}

std::optional<DecodedPicture> PictureDecoder::decode(const uint8_t* unit, size_t size) {
    if (!context_ || unit == nullptr || size == 0 || size > size_t(INT_MAX)) {
        return std::nullopt;
    }
    // Pictures are decoded out of order: drop any part-unit the decoder kept from before.
    avcodec_flush_buffers(context_.get());
    PacketPtr packet(av_packet_alloc());
    if (!packet) {
        return std::nullopt;
    }
    packet->data = const_cast<uint8_t*>(unit);
    packet->size = int(size);

    AVSubtitle subtitle{};
    int gotPicture = 0;
    const int result = avcodec_decode_subtitle2(context_.get(), &subtitle, &gotPicture, packet.get());
    SubtitleGuard guard(subtitle);
    if (result < 0 || gotPicture == 0 || subtitle.num_rects < 1 || subtitle.rects == nullptr) {
        return std::nullopt;
    }
    const AVSubtitleRect* rect = subtitle.rects[0];
    if (rect == nullptr || rect->type != SUBTITLE_BITMAP || rect->w <= 0 || rect->h <= 0 || rect->data[0] == nullptr ||
        rect->data[1] == nullptr || rect->linesize[0] < rect->w) {
        return std::nullopt;
    }

    DecodedPicture picture;
    picture.rect = VobSubRect{rect->x, rect->y, rect->x + rect->w, rect->y + rect->h};
    picture.bgra.resize(size_t(rect->w) * size_t(rect->h) * 4);
    // The decoder's palette holds native 32-bit words 0xAARRGGBB, colours not premultiplied.
    uint32_t palette[256] = {};
    const int colours = rect->nb_colors > 0 && rect->nb_colors <= 256 ? rect->nb_colors : 0;
    std::memcpy(palette, rect->data[1], size_t(colours) * sizeof(uint32_t));
    uint8_t* out = picture.bgra.data();
    for (int y = 0; y < rect->h; ++y) {
        const uint8_t* row = rect->data[0] + size_t(y) * size_t(rect->linesize[0]);
        for (int x = 0; x < rect->w; ++x) {
            const uint32_t colour = palette[row[x]];
            *out++ = uint8_t(colour);
            *out++ = uint8_t(colour >> 8);
            *out++ = uint8_t(colour >> 16);
            *out++ = uint8_t(colour >> 24);
        }
    }
    return picture;
}

}  // namespace tessaview
