// A VobSub pair through the library: the index text, then "\n@@sub@@\n", then the .sub bytes.
// Before FFmpeg reads an index, a model of how its demuxer opens streams checks that no
// index which would overrun the demuxer's stream table gets past our own reading.
#include "external/ffmpeg/ffmpeg_vobsub.h"
#include "fuzz_support.h"
#include "subtitle/vobsub_index_scan.h"

#include <cstdio>
#include <cstring>

extern "C" {
#include <libavutil/log.h>
}

namespace tessaview {
namespace {

constexpr std::string_view Separator = "\n@@sub@@\n";

// Streams the demuxer would open: one at each "timestamp:" line whose stream number differs
// from the last opened one. Lines are split and cut as its line reader does; it stops at an
// empty read, at a stream number it refuses and at a timestamp before any "id:".
size_t demuxerStreams(std::string_view text) {
    constexpr size_t MaxLine = 2048;
    size_t streams = 0;
    long current = -1;
    long opened = -2;
    size_t at = 0;
    while (at < text.size()) {
        std::string line;
        char c = 0;
        do {
            c = at < text.size() ? text[at++] : '\0';
            if (c != '\0' && line.size() < MaxLine - 1) line += c;
        } while (c != '\n' && c != '\r' && c != '\0');
        if (c == '\r' && at < text.size() && text[at] == '\n') ++at;
        if (line.empty()) break;
        line.resize(line.find_first_of("\r\n") == std::string::npos ? line.size() : line.find_first_of("\r\n"));
        if (line.starts_with("id:")) {
            char id[64];
            unsigned index = 0;
            current = std::sscanf(line.c_str(), "id: %63[^,], index: %u", id, &index) == 2 ? int(index) : 0;
            if (current >= long(MaxVobSubStreams)) break;
        } else if (line.starts_with("timestamp:")) {
            if (current == -1) break;
            if (opened != current) ++streams;
            opened = current;
        }
    }
    return streams;
}

}  // namespace
}  // namespace tessaview

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessaview;
    if (size > (1 << 18)) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find(Separator);
    const std::string_view index = input.substr(0, split);
    const std::string_view pictures = split == std::string_view::npos ? "" : input.substr(split + Separator.size());
    FUZZ_CHECK(demuxerStreams(index) <= MaxVobSubStreams || ScanVobSubIndex(index).streamLines > MaxVobSubStreams);

    fuzz::WriteFile("pair.idx", index);
    fuzz::WriteFile("pair.sub", pictures);
    static std::unique_ptr<FfmpegVobSub> library = [] {
        av_log_set_level(AV_LOG_QUIET);
        return CreateFfmpegVobSub();
    }();
    library->LoadVobSubFile(fuzz::Folder() + "/pair");
    const int32_t last = library->GetLangNum();
    FUZZ_CHECK(last < int32_t(MaxVobSubStreams));
    char name[VobSubLangNameSize];
    for (int32_t lang = -1; lang <= last + 1; ++lang) {
        library->GetLangName(lang, name);
        FUZZ_CHECK(std::memchr(name, '\0', sizeof name) != nullptr);
        library->SetCurrentLang(lang);
        for (int32_t ms : {0, 1000, 1500, 60000, -1, 2147483647}) {
            if (!library->GetFrame(ms)) continue;
            uint8_t* pixels = nullptr;
            VobSubRect rect;
            library->GetDataPointer(&pixels, &rect);
            const int64_t bytes = int64_t(rect.right - rect.left) * (rect.bottom - rect.top) * 4;
            FUZZ_CHECK(pixels != nullptr && bytes > 0);
            FUZZ_CHECK(pixels[0] + pixels[bytes - 1] >= 0);  // the whole picture is there to read
        }
    }
    return 0;
}
