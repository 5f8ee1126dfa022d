// Opens a pair through FFmpeg's vobsub demuxer and keeps each picture's time and unit bytes.
#include "external/ffmpeg/vobsub_pair_reader.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include "external/ffmpeg/ffmpeg_handles.h"
#include "external/ffmpeg/spu_timing.h"
#include "subtitle/file_case.h"
#include "subtitle/vobsub_index_scan.h"

namespace tessaview {
namespace {

// The demuxer keeps at most this many languages.
constexpr int MaxLanguages = int(MaxVobSubStreams);

// The pair's file with its extension in any letter case; the lower-case name when none exists,
// so that the demuxer reports the missing file.
std::string pairFile(const std::string& path, std::string_view extension) {
    std::string found = FindWithExtension(path, extension);
    return found.empty() ? path + std::string(extension) : found;
}

std::string languageTag(const AVStream* stream) {
    const AVDictionaryEntry* entry = av_dict_get(stream->metadata, "language", nullptr, 0);
    return entry != nullptr && entry->value != nullptr ? std::string(entry->value) : std::string();
}

}  // namespace

std::optional<IndexedPair> readVobSubPair(const std::string& path) {
    const AVInputFormat* format = av_find_input_format("vobsub");
    if (format == nullptr || path.empty()) {
        return std::nullopt;
    }
    const std::string indexPath = pairFile(path, ".idx");
    const std::string picturePath = pairFile(path, ".sub");
    // Read before the demuxer: an index with more streams than it keeps overruns its memory.
    const VobSubIndexCounts counts = ScanVobSubIndexFile(indexPath);
    if (counts.streamLines > MaxVobSubStreams) {
        return std::nullopt;
    }

    AVDictionary* rawOptions = nullptr;
    av_dict_set(&rawOptions, "sub_name", picturePath.c_str(), 0);
    DictionaryPtr options(rawOptions);
    AVFormatContext* rawContext = nullptr;
    rawOptions = options.release();
    const int opened = avformat_open_input(&rawContext, indexPath.c_str(), format, &rawOptions);
    options.reset(rawOptions);
    if (opened < 0) {
        return std::nullopt;
    }
    FormatContextPtr context(rawContext);

    IndexedPair pair;
    pair.languages.resize(MaxLanguages);
    std::vector<std::string> codes(MaxLanguages);
    bool defaultFound = false;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        if (stream->id < 0 || stream->id >= MaxLanguages) {
            continue;
        }
        codes[size_t(stream->id)] = languageTag(stream);
        if (!defaultFound && (stream->disposition & AV_DISPOSITION_DEFAULT) != 0) {
            pair.defaultLanguage = stream->id;
            defaultFound = true;
        }
        if (pair.decoderHeader.empty() && stream->codecpar->extradata != nullptr) {
            const uint8_t* header = stream->codecpar->extradata;
            pair.decoderHeader.assign(header, header + stream->codecpar->extradata_size);
        }
    }

    // One read per index entry, counting the failed ones, so that a picture past the end of a
    // cut .sub does not end the reading of pictures that follow it in the index.
    const size_t reads = counts.entries;
    PacketPtr packet(av_packet_alloc());
    if (!packet) {
        return std::nullopt;
    }
    for (size_t read = 0; read < reads; ++read) {
        const int result = av_read_frame(context.get(), packet.get());
        if (result < 0) {
            continue;
        }
        const AVStream* stream = context->streams[packet->stream_index];
        const auto timing = readSpuTiming(packet->data, size_t(std::max(packet->size, 0)));
        if (stream->id >= 0 && stream->id < MaxLanguages && timing && packet->pts != AV_NOPTS_VALUE) {
            const int64_t ms = av_rescale_q(packet->pts, stream->time_base, AVRational{1, 1000});
            IndexedPicture picture;
            picture.startMs = ms + timing->startDelayMs;
            picture.endMs = timing->stopDelayMs ? ms + *timing->stopDelayMs : OpenEndMs;
            picture.offset = pair.units.size();
            picture.size = timing->unitSize;
            pair.units.insert(pair.units.end(), packet->data, packet->data + timing->unitSize);
            pair.units.resize(pair.units.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
            pair.languages[size_t(stream->id)].pictures.push_back(picture);
        }
        av_packet_unref(packet.get());
    }

    size_t used = 0;
    for (size_t id = 0; id < pair.languages.size(); ++id) {
        IndexedLanguage& language = pair.languages[id];
        finishTimeline(language.pictures);
        if (!language.pictures.empty()) {
            language.code = codes[id];
            used = id + 1;
        }
    }
    if (used == 0) {
        return std::nullopt;
    }
    pair.languages.resize(used);
    return pair;
}

}  // namespace tessaview
