// Subtitle core speed: ReadSubRip against FFmpeg's own SubRip demuxer on one generated
// 100,000-cue file, the whole load with and without encoding detection, and FindSubtitleText
// per cache hit and per search.
#include "subtitle/readers.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_encoding.h"
#include "subtitle/text_rules.h"
#include "subtitle/time_base.h"

#include <benchmark/benchmark.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace tessaview {
namespace {

constexpr int cueCount = 100000;

std::string clock(int ms) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60,
                  ms % 1000);
    return buffer;
}

using Lines = const char* const[6];
const Lines englishLines = {"Where were you last night?",
                            "I told you, I was at the harbour.",
                            "- Again?",
                            "- The ship leaves at dawn, and we have to be on it.",
                            "Nobody knows what happened to him.",
                            "Come on!"};
// The same lines in Russian, CP1251.
const Lines russianLines = {
    "\xC3\xE4\xE5 \xF2\xFB \xE1\xFB\xEB \xE2\xF7\xE5\xF0\xE0?",
    "\xDF \xE6\xE5 \xE3\xEE\xE2\xEE\xF0\xE8\xEB, \xFF \xE1\xFB\xEB \xE2 \xEF\xEE\xF0\xF2\xF3.",
    "- \xD1\xED\xEE\xE2\xE0?",
    "- \xCA\xEE\xF0\xE0\xE1\xEB\xFC \xF3\xF5\xEE\xE4\xE8\xF2 \xED\xE0 \xF0\xE0\xF1\xF1\xE2\xE5\xF2\xE5.",
    "\xCD\xE8\xEA\xF2\xEE \xED\xE5 \xE7\xED\xE0\xE5\xF2, \xF7\xF2\xEE \xF1 \xED\xE8\xEC "
    "\xF1\xEB\xF3\xF7\xE8\xEB\xEE\xF1\xFC.",
    "\xCF\xEE\xF8\xEB\xE8!"};

// The generated file, written once per run and removed at exit.
struct SubRipFile {
    std::string path;
    size_t bytes = 0;
    explicit SubRipFile(const Lines& lines = englishLines, const char* suffix = "") {
        path =
            (std::filesystem::temp_directory_path() / ("tessaview-bench-" + std::to_string(getpid()) + suffix + ".srt"))
                .string();
        std::string text;
        std::mt19937 random(7);
        for (int i = 0; i < cueCount; ++i) {
            const int start = i * 3000 + 500;
            text += std::to_string(i + 1) + "\r\n" + clock(start) + " --> " + clock(start + 2400) + "\r\n";
            text += lines[random() % 6];
            text += "\r\n";
            if (random() % 2) {
                text += lines[random() % 6];
                text += "\r\n";
            }
            text += "\r\n";
        }
        std::ofstream(path, std::ios::binary) << text;
        bytes = text.size();
    }
    ~SubRipFile() { std::remove(path.c_str()); }
};

const SubRipFile& subRipFile() {
    static SubRipFile file;
    return file;
}

void BM_ReadSubRip(benchmark::State& state) {
    const SubRipFile& file = subRipFile();
    QuietSubtitleHost host;
    SubtitleCore core(host, std::filesystem::temp_directory_path().string());
    for (auto _ : state) {
        ReadSubRip(core, ReadWholeFile(file.path));  // read and parsed, as a load does
        benchmark::DoNotOptimize(core.SubList.size());
    }
    if (core.SubList.size() != cueCount) state.SkipWithError("wrong cue count");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.bytes));
}
BENCHMARK(BM_ReadSubRip)->Unit(benchmark::kMillisecond);

void BM_FfmpegSubRip(benchmark::State& state) {
    const SubRipFile& file = subRipFile();
    av_log_set_level(AV_LOG_QUIET);
    const AVInputFormat* srt = av_find_input_format("srt");
    int64_t packets = 0;
    for (auto _ : state) {
        AVFormatContext* context = nullptr;
        if (avformat_open_input(&context, file.path.c_str(), srt, nullptr) < 0) {
            state.SkipWithError("FFmpeg cannot open the file");
            return;
        }
        AVPacket* packet = av_packet_alloc();
        packets = 0;
        while (av_read_frame(context, packet) >= 0) {
            ++packets;
            av_packet_unref(packet);
        }
        av_packet_free(&packet);
        avformat_close_input(&context);
    }
    if (packets != cueCount) state.SkipWithError("FFmpeg read a different number of cues");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.bytes));
}
BENCHMARK(BM_FfmpegSubRip)->Unit(benchmark::kMillisecond);

// LoadSubtitle as the player runs it, and the encoding detection it includes on the same
// bytes (argument 1: the CP1251 file); the load without detection is the difference.
const SubRipFile& loadFile(int64_t russian) {
    static const SubRipFile cp1251(russianLines, "-cp1251");
    return russian ? cp1251 : subRipFile();
}

void BM_LoadSubtitle(benchmark::State& state) {
    const SubRipFile& file = loadFile(state.range(0));
    QuietSubtitleHost host;
    SubtitleCore core(host, std::filesystem::temp_directory_path().string());
    for (auto _ : state) {
        core.LoadSubtitle(file.path);
        benchmark::DoNotOptimize(core.SubList.size());
    }
    if (core.SubList.size() != cueCount) state.SkipWithError("wrong cue count");
}
BENCHMARK(BM_LoadSubtitle)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DetectTextEncoding(benchmark::State& state) {
    const std::string bytes = ReadWholeFile(loadFile(state.range(0)).path);
    for (auto _ : state) benchmark::DoNotOptimize(DetectTextEncoding(bytes).name.size());
}
BENCHMARK(BM_DetectTextEncoding)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct LoadedCore {
    QuietSubtitleHost host;
    SubtitleCore core{host, std::filesystem::temp_directory_path().string()};
    LoadedCore() {
        ReadSubRip(core, ReadWholeFile(subRipFile().path));
        core.MovieFrameRate = core.EngineFrameRate = 23.976;
    }
};

void BM_FindSubtitleText_CacheHit(benchmark::State& state) {
    LoadedCore loaded;
    SubtitleCore& core = loaded.core;
    // Cue 50000 runs from second 150000.5 to 150002.9; second 150001 is strictly inside it.
    const int32_t inside = MillisecondsToFrames((50000 * 3 + 1) * 1000, core.MovieFrameRate);
    core.FindSubtitleText(inside);
    int32_t position = inside;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core.FindSubtitleText(position).size());
        benchmark::DoNotOptimize(position);
    }
}
BENCHMARK(BM_FindSubtitleText_CacheHit);

// Seeks to random places of the film, so that every call misses the cache and searches:
// inside a cue (argument 0; the found text is copied into the cache) or between cues (1).
void BM_FindSubtitleText_Search(benchmark::State& state) {
    LoadedCore loaded;
    SubtitleCore& core = loaded.core;
    const bool betweenCues = state.range(0) == 1;
    std::mt19937 random(11);
    std::vector<int32_t> positions(4096);
    for (int32_t& p : positions) {
        // Cue k covers seconds 3k + 0.5 to 3k + 2.9; 3k + 1 lies inside it, 3k + 0.2 between it and the one before.
        const double k = static_cast<double>(random() % cueCount);
        p = static_cast<int32_t>((3 * k + (betweenCues ? 0.2 : 1.0)) * core.MovieFrameRate);
    }
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(core.FindSubtitleText(positions[i]).size());
        i = (i + 1) & 4095;
    }
}
BENCHMARK(BM_FindSubtitleText_Search)->Arg(0)->Arg(1);

}  // namespace
}  // namespace tessaview

BENCHMARK_MAIN();
