// Movie engine figures: time from PlayFile to the first frame shown, process CPU while a
// movie plays, and the cost of GetPos (which the program calls every 100 ms).
//   bench_engine --first-frame MOVIE [RUNS]   cold and warm PlayFile-to-first-frame times
//   bench_engine --play MOVIE [SECONDS]       plays with a 100 ms GetPos timer, then exits
//   TESSAVIEW_BENCH_MOVIE=MOVIE bench_engine  Google Benchmark of GetPos while playing
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "external/messages.h"
#include "external/mpv/mpv_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

// The movie panel, calling GraphNotify for each engine event as the program's hook does.
class Panel : public QWidget {
public:
    tessaview::MovieEngine* engine = nullptr;

protected:
    bool event(QEvent* event) override {
        if (event->type() == tessaview::WM_MOVIE_EVENT) {
            engine->GraphNotify();
            return true;
        }
        return QWidget::event(event);
    }
};

struct Player {
    Panel panel;
    tessaview::MpvEngine engine;
    Player() {
        panel.engine = &engine;
        panel.resize(1920, 1080);
        panel.show();
        QApplication::processEvents();
    }
    // Milliseconds from PlayFile to mpv's first frame on screen.
    double playToFirstFrame(const std::string& movie) {
        const int before = engine.playbackStarts();
        const auto start = Clock::now();
        engine.PlayFile(movie, &panel);
        while (engine.playbackStarts() == before) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            if (Clock::now() - start > std::chrono::seconds(20)) return -1;
        }
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
};

int firstFrame(const std::string& movie, int runs) {
    Player player;
    std::vector<double> warm;
    const double cold = player.playToFirstFrame(movie);
    for (int i = 0; i < runs; ++i) warm.push_back(player.playToFirstFrame(movie));
    std::sort(warm.begin(), warm.end());
    std::printf("engine first frame: cold %.1f ms (incl. engine start), warm median %.1f ms (min %.1f, %d runs)\n",
                cold, warm[warm.size() / 2], warm.front(), runs);
    return cold < 0 ? 1 : 0;
}

int play(const std::string& movie, int seconds) {
    Player player;
    if (player.playToFirstFrame(movie) < 0) return 1;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        int32_t frame = 0;
        player.engine.GetPos(frame);
    });
    tick.start(100);
    QTimer::singleShot(seconds * 1000, [] { QApplication::quit(); });
    QApplication::exec();
    int32_t frame = 0;
    player.engine.GetPos(frame);
    std::printf("engine played to frame %d\n", frame);
    return 0;
}

void BM_GetPosWhilePlaying(benchmark::State& state) {
    const char* movie = std::getenv("TESSAVIEW_BENCH_MOVIE");
    if (!movie) {
        state.SkipWithError("set TESSAVIEW_BENCH_MOVIE to a movie file");
        return;
    }
    // One player for every run: a second mpv GL teardown in one process breaks Qt's X
    // connection under Xvfb's software GL.
    static Player player;
    static const double started = player.playToFirstFrame(movie);
    if (started < 0) {
        state.SkipWithError("the movie did not start");
        return;
    }
    int32_t frame = 0;
    for (auto _ : state) {
        player.engine.GetPos(frame);
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_GetPosWhilePlaying);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "--first-frame") return firstFrame(argv[2], argc > 3 ? std::atoi(argv[3]) : 5);
    if (mode == "--play") return play(argv[2], argc > 3 ? std::atoi(argv[3]) : 10);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
