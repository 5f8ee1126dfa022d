// Benchmarks of reading a movie's first text track at open (the whole file is walked, other
// streams skipped) and of reading its timing for the doctor, on a 20 s raw 640x352 movie
// of about 130 MB that ffmpeg makes once.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "external/ffmpeg/ffmpeg_text_tracks.h"

namespace tessaview {
namespace {

namespace fs = std::filesystem;

const std::string& movie() {
    static const std::string path = [] {
        const fs::path dir = fs::temp_directory_path() / "tessaview-bench-tracks";
        fs::create_directories(dir);
        const fs::path srt = dir / "in.srt", mkv = dir / "movie.mkv";
        std::ofstream(srt) << "1\n00:00:01,000 --> 00:00:02,000\nHello\n\n2\n00:00:19,000 --> 00:00:19,500\nBye\n";
        const std::string make =
            "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
            "testsrc=size=640x352:rate=25:duration=20 -i " +
            srt.string() + " -c:v rawvideo -pix_fmt yuv420p -c:s srt " + mkv.string();
        return std::system(make.c_str()) == 0 ? mkv.string() : std::string();
    }();
    return path;
}

void BM_FirstTextTrack(benchmark::State& state) {
    const auto tracks = CreateFfmpegTextTracks();
    for (auto _ : state) benchmark::DoNotOptimize(tracks->FirstTextTrack(movie()));
    state.counters["MB"] = static_cast<double>(fs::file_size(movie())) / 1e6;
}
BENCHMARK(BM_FirstTextTrack)->Unit(benchmark::kMillisecond);

void BM_ReadMovieTiming(benchmark::State& state) {
    const auto tracks = CreateFfmpegTextTracks();
    for (auto _ : state) benchmark::DoNotOptimize(tracks->ReadMovieTiming(movie()));
}
BENCHMARK(BM_ReadMovieTiming)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaview

BENCHMARK_MAIN();
