// The transcript at 100,000 cues in the real main window: opening it (texts read, markup
// dropped, folded for finding, rows laid out and drawn), one keystroke in its find field
// (rows filtered and laid out again), and a clock tick that marks the line on screen.
#include "playback/reading_control.h"
#include "presentation/transcript_model.h"
#include "presentation/transcript_panel.h"
#include "window_fixture.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QLineEdit>
#include <cstdlib>
#include <memory>

namespace tessaview {
namespace {

constexpr int Cues = 100000;

// Dialogue of ordinary length: one line in five in italics over two lines, one in ten with
// accented letters (UTF-8), the rest plain ASCII.
std::string CueText(int i) {
    static const char* const words[] = {"where", "did",   "you",   "put",      "the",   "keys", "I",      "told",
                                        "him",   "never", "again", "tomorrow", "night", "we",   "should", "go"};
    std::string text;
    for (int w = 0; w < 7; ++w) text += std::string(w ? " " : "") + words[(i * 7 + w * 3) % 16];
    if (i % 5 == 0) text = "<i>" + text + "</i>\r\n- and " + words[i % 16] + "?";
    if (i % 10 == 3) text += " caf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu";
    return text;
}

struct Fixture : WindowFixture {
    Fixture() {
        SubtitleCore& core = window().Subtitles;
        core.ClearSubList();
        for (int i = 0; i < Cues; ++i) {
            auto cue = std::make_unique<TTimeSpan>();
            cue->StartTime = i * 2000;
            cue->EndTime = i * 2000 + 1500;
            cue->Text = CueText(i);
            core.SubList.push_back(std::move(cue));
        }
        core.SubIsTimeBased = true;
        core.EngineFrameRate = core.MovieFrameRate = 25.0;
        QApplication::processEvents();
    }
    TranscriptPanel& panel() { return *window().plTranscript; }
};

// Ctrl+T with a new subtitle loaded: every row made and the first screenful drawn.
void BM_TranscriptOpen(benchmark::State& state) {
    Fixture f;
    f.window().Transcript1->trigger();
    for (auto _ : state) {
        state.PauseTiming();
        f.window().Transcript1->trigger();  // hidden again
        f.window().Subtitles.SubListChanged();
        QApplication::processEvents();
        state.ResumeTiming();
        f.window().Transcript1->trigger();
        f.panel().repaint();
    }
}
BENCHMARK(BM_TranscriptOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first letter typed: all 100,000 rows searched, the matches laid out and drawn. Arg 1
// types an accented letter, which folds the needle the long way.
void BM_TranscriptFilterKeystroke(benchmark::State& state) {
    Fixture f;
    f.window().Transcript1->trigger();
    const QString letter = state.range(0) ? QString::fromUtf8("\xC3\xA9") : QString("o");
    for (auto _ : state) {
        f.panel().edFind->setText(letter);
        f.panel().repaint();
        state.PauseTiming();
        f.panel().edFind->clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TranscriptFilterKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Typing on: the next letters search only the last matches.
void BM_TranscriptFilterNarrowing(benchmark::State& state) {
    Fixture f;
    f.window().Transcript1->trigger();
    for (auto _ : state) {
        state.PauseTiming();
        f.panel().edFind->setText("t");
        QApplication::processEvents();
        state.ResumeTiming();
        f.panel().edFind->setText("th");
        f.panel().repaint();
    }
}
BENCHMARK(BM_TranscriptFilterNarrowing)->Unit(benchmark::kMillisecond)->UseRealTime();

// A tick of the clock while the transcript is shown: the line on screen found and marked.
void BM_TranscriptTick(benchmark::State& state) {
    Fixture f;
    f.window().Play1Click();
    f.window().Transcript1->trigger();
    int64_t tick = 0;
    for (auto _ : state) {
        f.engine.position = static_cast<int32_t>((tick * 5 / 2) % 5000000);
        f.window().tmMovieTimer();
        if (++tick % 4096 == 0) {
            state.PauseTiming();
            f.engine.ClearCalls();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_TranscriptTick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessaview

int main(int argc, char** argv) { return tessaview::RunWindowBenchmarks(argc, argv); }
