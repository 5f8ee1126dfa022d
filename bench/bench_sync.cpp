// The alignment of a subtitle to a made-up film's speech profile: 10 minutes and 2 hours, a
// plain shift and a cut (the sound's decoding is timed by run_sync_bench.sh).
#include "unit/sync/made_up_film.h"

#include <benchmark/benchmark.h>

namespace tessaview::testing {
namespace {

void BM_AlignToSpeech(benchmark::State& state) {
    const int64_t length = state.range(0) * 60 * 1000;
    const MadeUpFilm film = makeFilm(7, length);
    std::vector<SyncCue> cues = timedCues(film.lines, 7);
    for (size_t i = 0; i < cues.size(); ++i) {
        // Moved 7.3 s, and with range(1) cut: the second half 20 s later.
        const int64_t move = -7300 + (state.range(1) && i > cues.size() / 2 ? 20000 : 0);
        cues[i].startMs += move;
        cues[i].endMs += move;
    }
    SyncResult result;
    for (auto _ : state) {
        result = AlignToSpeech(cues, film.speech);
        benchmark::DoNotOptimize(result);
    }
    state.counters["cues"] = static_cast<double>(cues.size());
    state.counters["pieces"] = static_cast<double>(result.pieces.size());
    state.counters["solid"] = result.verdict == SyncVerdict::Solid;
}
BENCHMARK(BM_AlignToSpeech)->Args({10, 0})->Args({120, 0})->Args({120, 1})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tessaview::testing

BENCHMARK_MAIN();
