// Opening a movie whose only subtitle is a text track inside it, in the real main window with
// the fake engine and the real track reader: the time the user-interface thread spends in the
// open (the benchmark's time) and the time until the track's cues are loaded ("cues_ms").
// The movie is about 300 MB of noisy MPEG-4 that ffmpeg makes once; Arg 1 drops it from the page
// cache before each open (a movie not played lately), Arg 0 leaves it there.
#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "window_fixture.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace tessaview {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Cues = 200;

const std::string& movie() {
    static const std::string path = [] {
        const fs::path dir = fs::temp_directory_path() / "tessaview-bench-open";
        fs::create_directories(dir);
        const fs::path srt = dir / "in.srt", mkv = dir / "movie.mkv";
        std::error_code error;
        if (const auto size = fs::file_size(mkv, error); !error && size > 250'000'000) return mkv.string();
        std::ofstream lines(srt);
        for (int i = 0; i < Cues; ++i) {  // one every 100 ms
            char times[64];
            std::snprintf(times, sizeof times, "00:00:%02d,%03d --> 00:00:%02d,%03d", i / 10, i % 10 * 100, i / 10,
                          i % 10 * 100 + 90);
            lines << i + 1 << "\n" << times << "\nLine " << i << "\n\n";
        }
        lines.close();
        const std::string make =
            "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "
            "testsrc2=size=1280x720:rate=25:duration=22,noise=alls=20:allf=t -i " +
            srt.string() + " -c:v mpeg4 -q:v 3 -c:s srt " + mkv.string();
        return std::system(make.c_str()) == 0 ? mkv.string() : std::string();
    }();
    return path;
}

// The movie's pages leave the page cache (posix_fadvise DONTNEED through dd).
void DropFromCache(const std::string& path) {
    const std::string command = "dd if='" + path + "' iflag=nocache count=0 status=none";
    if (std::system(command.c_str()) != 0) std::abort();
}

struct Fixture {
    std::unique_ptr<TextTracks> tracks = CreateFfmpegTextTracks();
    WindowFixture window{tracks.get()};
};

void BM_OpenMovieWithTextTrack(benchmark::State& state) {
    if (movie().empty()) return state.SkipWithError("ffmpeg could not make the movie");
    const bool cold = state.range(0) != 0;
    Fixture f;
    TfmMain& window = f.window.window();
    double cuesMs = 0;
    for (auto _ : state) {
        window.Stop1Click();
        window.RemoveSubtitle1Click();
        QApplication::processEvents();
        if (cold) DropFromCache(movie());
        const Clock::time_point start = Clock::now();
        window.Movie.MovieFileName = movie();
        window.OpenMovie();
        const Clock::time_point opened = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(opened - start).count());
        while (window.Subtitles.SubList.empty() && Clock::now() - start < std::chrono::seconds(60))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        cuesMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (window.Subtitles.SubList.size() != Cues) return state.SkipWithError("the track's cues did not load");
    }
    state.counters["cues_ms"] = benchmark::Counter(cuesMs, benchmark::Counter::kAvgIterations);
    state.counters["MB"] = static_cast<double>(fs::file_size(movie())) / 1e6;
}
BENCHMARK(BM_OpenMovieWithTextTrack)->Arg(0)->Arg(1)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaview

int main(int argc, char** argv) { return tessaview::RunWindowBenchmarks(argc, argv); }
