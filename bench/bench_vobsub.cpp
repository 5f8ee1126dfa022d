// Benchmarks of the VobSub library: loading the corpus pair and a 2,000-picture pair, and
// decoding and handing out one picture (targets: load < 50 ms per MB of .sub, picture < 2 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "external/ffmpeg/ffmpeg_vobsub.h"
#include "unit/vobsub/vobsub_pair_writer.h"

namespace tessaview {
namespace {

namespace fs = std::filesystem;

std::string corpusPair() {
    if (const char* dir = std::getenv("TESSAVIEW_CORPUS_DIR")) {
        return std::string(dir) + "/vobsub/example";
    }
    return (fs::path(__FILE__).parent_path().parent_path().parent_path() / "shared/corpus/vobsub/example").string();
}

constexpr int GeneratedPictures = 2000;

// Two languages taking turns, a picture every 3 s shown for 2 s, 600 x 60 pixels each.
const std::string& generatedPair() {
    static const std::string path = [] {
        const fs::path dir = fs::temp_directory_path() / "tessaview-bench-vobsub";
        fs::create_directories(dir);
        testpair::Pair pair;
        pair.languages = {{"en", 0, {}}, {"de", 1, {}}};
        for (int i = 0; i < GeneratedPictures; ++i) {
            testpair::Picture picture;
            picture.startMs = 1000 + int64_t(i) * 3000;
            picture.durationMs = 2000;
            picture.width = 600;
            picture.height = 60;
            picture.left = 60;
            picture.top = 400;
            picture.seed = i;
            pair.languages[size_t(i % 2)].pictures.push_back(picture);
        }
        const std::string base = (dir / "generated").string();
        testpair::writePair(pair, base);
        return base;
    }();
    return path;
}

void loadPair(benchmark::State& state, const std::string& path) {
    const double megabytes = double(fs::file_size(path + ".sub")) / (1024.0 * 1024.0);
    auto library = CreateFfmpegVobSub();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        library->LoadVobSubFile(path);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    if (library->GetLangNum() < 0) {
        state.SkipWithError("pair did not load");
        return;
    }
    int pictures = 0;
    for (int32_t lang = 0; lang <= library->GetLangNum(); ++lang) {
        pictures += library->pictureCount(lang);
    }
    state.counters["pictures"] = pictures;
    state.counters["sub_MB"] = megabytes;
    state.counters["ms_per_MB"] = seconds * 1000.0 / double(state.iterations()) / megabytes;
}

void BM_LoadCorpusPair(benchmark::State& state) { loadPair(state, corpusPair()); }
void BM_LoadGeneratedPair(benchmark::State& state) { loadPair(state, generatedPair()); }

// Each iteration makes a different picture due, so each one decodes.
void BM_DecodeAndHandOutPicture(benchmark::State& state) {
    auto library = CreateFfmpegVobSub();
    library->LoadVobSubFile(generatedPair());
    library->SetCurrentLang(0);
    int picture = 0;
    int64_t bytes = 0;
    for (auto _ : state) {
        const int32_t ms = 1500 + (picture % (GeneratedPictures / 2)) * 6000;
        picture += 1;
        if (!library->GetFrame(ms) || library->GetCurrentIndex() < 0) {
            state.SkipWithError("no picture due");
            break;
        }
        uint8_t* data = nullptr;
        VobSubRect rect;
        library->GetDataPointer(&data, &rect);
        benchmark::DoNotOptimize(data);
        bytes += int64_t(rect.right - rect.left) * (rect.bottom - rect.top) * 4;
    }
    state.SetBytesProcessed(bytes);
}

// The tick while a picture stays due: no decoding, one copy handed out.
void BM_RepeatedTickSamePicture(benchmark::State& state) {
    auto library = CreateFfmpegVobSub();
    library->LoadVobSubFile(generatedPair());
    library->SetCurrentLang(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(library->GetFrame(1500));
        benchmark::DoNotOptimize(library->GetCurrentIndex());
    }
}

BENCHMARK(BM_LoadCorpusPair)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadGeneratedPair)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeAndHandOutPicture)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RepeatedTickSamePicture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessaview

BENCHMARK_MAIN();
