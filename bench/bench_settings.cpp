// Reading and writing set.ini: the start-up load, the overlay font read and the shutdown save.
#include "shell/settings/profile_file.h"
#include "shell/settings/settings.h"
#include "unit/settings/fake_settings_window.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

namespace {

using namespace tessaview;

// A usual file: every key and a play list of `entries` full paths.
void prepare(const test::TempDir& folder, int entries) {
    test::FakeWindow window;
    for (int i = 0; i < entries; ++i) window.captions.push_back("/home/user/Videos/Series/episode " + std::to_string(i) + ".mkv");
    SaveSettings(window, folder.path(), 1);
}

void LoadWithPlayList(benchmark::State& state) {
    test::TempDir folder;
    prepare(folder, static_cast<int>(state.range(0)));
    test::FakeInstances instances;
    for (auto _ : state) {
        test::FakeWindow window;
        LoadSettings(window, folder.path(), instances);
        benchmark::DoNotOptimize(window.captions.data());
    }
}
BENCHMARK(LoadWithPlayList)->Arg(0)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void ParseTenMegabyteLine(benchmark::State& state) {
    test::TempDir folder;
    folder.write("set.ini", "[Pos]\r\nLeft=" + std::string(10 << 20, '7') + "\r\n");
    for (auto _ : state) benchmark::DoNotOptimize(ProfileFile(folder.file("set.ini")).ReadInteger("Pos", "Left", -1));
}
BENCHMARK(ParseTenMegabyteLine)->Unit(benchmark::kMillisecond);

// The save at exit, over the file the previous exit left with a list of the same length.
void SaveWithPlayList(benchmark::State& state) {
    test::TempDir folder;
    prepare(folder, static_cast<int>(state.range(0)));
    test::FakeWindow window;
    window.captions.assign(static_cast<std::size_t>(state.range(0)), "/home/user/Videos/a movie.avi");
    for (auto _ : state) SaveSettings(window, folder.path(), 2);
}
BENCHMARK(SaveWithPlayList)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
