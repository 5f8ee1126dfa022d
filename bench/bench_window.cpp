// Cost of one subtitle clock tick in the real main window, with the fake engine and a cue
// list of 100,000 cues, of building the three windows, and of the media controls' look at
// the window after every burst of events.
#include "app/media_controls.h"
#include "shell/play_list.h"
#include "window_fixture.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <cstdlib>
#include <memory>

namespace tessaview {
namespace {

using Fixture = WindowFixture;

// 100,000 cues of 40 frames with 10-frame gaps, frame-numbered.
void FillCues(SubtitleCore& core) {
    core.ClearSubList();
    for (int i = 0; i < 100000; ++i) {
        auto cue = std::make_unique<TTimeSpan>();
        cue->StartTime = i * 50;
        cue->EndTime = i * 50 + 39;
        cue->Text = "Cue number " + std::to_string(i) + "\r\nsecond line";
        core.SubList.push_back(std::move(cue));
    }
    core.SubIsTimeBased = false;
    core.MovieFrameRate = 25.0;
}

// Playing on: the position moves 2.5 frames a tick, as at 25 fps.
void BM_ClockTickPlaying(benchmark::State& state) {
    Fixture f;
    f.engine.duration = 5000000;
    f.program->fmMain()->Play1Click();
    FillCues(f.program->fmMain()->Subtitles);
    int64_t tick = 0;
    for (auto _ : state) {
        f.engine.position = static_cast<int32_t>((tick * 5 / 2) % 5000000);
        f.program->fmMain()->tmMovieTimer();
        if (++tick % 4096 == 0) {
            state.PauseTiming();
            f.engine.ClearCalls();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ClockTickPlaying);

// Seeking about: every tick lands somewhere else, so every lookup searches.
void BM_ClockTickJumping(benchmark::State& state) {
    Fixture f;
    f.engine.duration = 5000000;
    f.program->fmMain()->Play1Click();
    FillCues(f.program->fmMain()->Subtitles);
    uint32_t seed = 12345;
    int64_t tick = 0;
    for (auto _ : state) {
        seed = seed * 1664525u + 1013904223u;
        f.engine.position = static_cast<int32_t>(seed % 5000000u);
        f.program->fmMain()->tmMovieTimer();
        if (++tick % 4096 == 0) {
            state.PauseTiming();
            f.engine.ClearCalls();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ClockTickJumping);

// Building the main window, the overlay and the synchronize dialog, shown.
void BM_CreateWindows(benchmark::State& state) {
    for (auto _ : state) {
        Fixture f;
        QApplication::processEvents();
        benchmark::DoNotOptimize(f.program->fmMain()->isVisible());
    }
}
BENCHMARK(BM_CreateWindows)->Unit(benchmark::kMillisecond);

// The media controls' check for changes, which runs whenever the event loop goes idle: the
// window's movie state taken and compared, the movie playing last in a play list of 10 or 1,000.
void BM_MediaStateUnchanged(benchmark::State& state) {
    Fixture f;
    TfmMain& window = *f.program->fmMain();
    const int entries = static_cast<int>(state.range(0));
    for (int i = 0; i < entries; ++i) window.PlayListEntries().Append("/movies/entry " + std::to_string(i) + ".avi");
    window.Movie.MovieFileName = "/movies/entry " + std::to_string(entries - 1) + ".avi";
    window.Play1Click();
    MainWindowMediaHost host(window, f.engine);
    const MediaPlayerState last = host.State();
    for (auto _ : state) benchmark::DoNotOptimize(host.State() == last);
}
BENCHMARK(BM_MediaStateUnchanged)->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessaview

int main(int argc, char** argv) { return tessaview::RunWindowBenchmarks(argc, argv); }
