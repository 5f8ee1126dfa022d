// Reading and writing set.ini: the start-up load, the overlay font read and the shutdown save;
// and the movie memory's, full (1,000 movies), at start-up and at each movie change or exit.
#include "shell/settings/movie_memory.h"
#include "shell/settings/profile_file.h"
#include "shell/settings/settings.h"
#include "support/temp_dir.h"
#include "unit/settings/fake_settings_window.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

namespace {

using namespace tessaview;

// A usual file: every key and a play list of `entries` full paths.
void prepare(const test::TempDir& folder, int entries) {
    test::FakeWindow window;
    for (int i = 0; i < entries; ++i)
        window.captions.push_back("/home/user/Videos/Series/episode " + std::to_string(i) + ".mkv");
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

// A full store with every field of today in use, and a field of a later version.
std::string fullMovieMemory(const test::TempDir& folder) {
    std::ostringstream log;
    MovieMemory memory(MovieMemoryFileName(folder.path()), log);
    for (int i = 0; i < static_cast<int>(MovieMemory::Capacity); ++i) {
        const std::string movie =
            "/home/user/Videos/Series Name (2019)/Season 2/Series Name S02E" + std::to_string(i) + " 1080p.mkv";
        memory.Remember(movie, {i * 1000LL,
                                -1200,
                                i % 6,
                                movie.substr(0, movie.size() - 4) + ".en.srt",
                                {{"sync_result", "shift -1.2 s, rate 1.000"}},
                                {}});
    }
    memory.Save();
    return memory.FileName();
}

// Start-up: the store read whole, and the movie opened looked up.
void MovieMemoryLoadFull(benchmark::State& state) {
    test::TempDir folder;
    const std::string file = fullMovieMemory(folder);
    std::ostringstream log;
    for (auto _ : state) {
        MovieMemory memory(file, log);
        benchmark::DoNotOptimize(
            memory.Find("/home/user/Videos/Series Name (2019)/Season 2/Series Name S02E500 1080p.mkv"));
    }
    state.SetLabel(std::to_string(std::filesystem::file_size(file)) + " bytes");
}
BENCHMARK(MovieMemoryLoadFull)->Unit(benchmark::kMillisecond);

// One movie recorded and the whole store written, waiting for the disk.
void MovieMemorySaveFull(benchmark::State& state) {
    test::TempDir folder;
    std::ostringstream log;
    MovieMemory memory(fullMovieMemory(folder), log);
    int64_t position = 0;
    for (auto _ : state) {
        memory.Remember("/home/user/Videos/film.mkv", {position += 40, 0, 0, "", {}, {}});
        if (!memory.Flush()) state.SkipWithError("the store could not be written");
    }
}
BENCHMARK(MovieMemorySaveFull)->Unit(benchmark::kMillisecond);

// A movie change: the window waits only while the store is recorded and handed to the worker.
void MovieMemoryMovieChange(benchmark::State& state) {
    test::TempDir folder;
    std::ostringstream log;
    MovieMemory memory(fullMovieMemory(folder), log);
    int64_t position = 0;
    for (auto _ : state) {
        memory.Remember("/home/user/Videos/film.mkv", {position += 40, 0, 0, "", {}, {}});
        memory.FlushInBackground();
        state.PauseTiming();
        memory.Wait();
        state.ResumeTiming();
    }
}
BENCHMARK(MovieMemoryMovieChange)->Unit(benchmark::kMillisecond);

// The exit: set.ini saved alone, and with a full movie memory written beside it as the window
// does (started before, waited for after); the difference is what the memory adds.
void MovieMemoryExit(benchmark::State& state) {
    test::TempDir folder;
    prepare(folder, 100);
    std::ostringstream log;
    MovieMemory memory(fullMovieMemory(folder), log);
    test::FakeWindow window;
    int64_t position = 0;
    for (auto _ : state) {
        if (state.range(0)) {
            memory.Remember("/home/user/Videos/film.mkv", {position += 40, 0, 0, "", {}, {}});
            memory.FlushInBackground();
        }
        SaveSettings(window, folder.path(), 2);
        if (!memory.Wait()) state.SkipWithError("the store could not be written");
    }
}
BENCHMARK(MovieMemoryExit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
