// The movie memory's store: its file form read back, the bound of 1,000 movies, files that
// are no store, fields of later versions, failed writes, and where a movie resumes.
#include "shell/settings/movie_memory.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include <sys/resource.h>

namespace tessaview {
namespace {

using test::readFile;
using test::TempDir;

class MovieMemoryTest : public ::testing::Test {
protected:
    TempDir folder;
    const std::string file = MovieMemoryFileName(folder.path());
    std::ostringstream log;
};

TEST_F(MovieMemoryTest, WhatIsSavedReadsBackTheSameMostRecentFirst) {
    MovieMemory memory(file, log);
    // Names are bytes: not UTF-8, line breaks, '%' and '=' inside.
    const std::string odd = "/films/caf\xE9 50%25\nline=2\r.avi";
    const MovieRecord full{
        725123, -1500, 3, "/subs/by hand %0A\n.srt", {}, {-7300, 25 / 23.976, "12:-3400,40:1200"}, "/subs/second.srt",
        -200};
    memory.Remember("/films/a.avi", {1000, 0, 0, "", {}, {}, "", 0});
    memory.Remember(odd, full);
    memory.Remember("/films/b.avi", {2000, 100, 0, "", {}, {}, "", 0});
    memory.Remember("/films/a.avi", {3000, 0, 5, "", {}, {}, "", 0});  // used again: the most recent
    ASSERT_TRUE(memory.Save());

    MovieMemory again(file, log);
    EXPECT_EQ("", log.str());
    EXPECT_EQ(memory.Text(), again.Text());
    ASSERT_NE(nullptr, again.Find(odd));
    EXPECT_EQ(full, *again.Find(odd));
    EXPECT_EQ((MovieRecord{3000, 0, 5, "", {}, {}, "", 0}), *again.Find("/films/a.avi"));
    EXPECT_EQ(nullptr, again.Find("/films/c.avi"));
    const std::string text = readFile(file);
    EXPECT_LT(text.find("movie=/films/a.avi\n"), text.find("movie=/films/b.avi\n"));
    ASSERT_NE(std::string::npos, text.find("sync_shift_ms=-7300\nsync_rate=1.04"));
    EXPECT_EQ(text.find("sync_rate="), text.rfind("sync_rate=")) << "only for the movie synchronised";
    EXPECT_TRUE(again.Flush()) << "nothing changed: nothing to write";
}

TEST_F(MovieMemoryTest, KeepsTheThousandMostRecentlyUsedMovies) {
    MovieMemory memory(file, log);
    const auto name = [](int i) { return "/films/" + std::to_string(i) + ".mkv"; };
    for (int i = 0; i < 1000; ++i) memory.Remember(name(i), {});
    memory.Remember(name(0), {});  // the oldest, used again
    memory.Remember(name(1000), {});
    EXPECT_EQ(1000u, memory.Size());
    EXPECT_NE(nullptr, memory.Find(name(0)));
    EXPECT_EQ(nullptr, memory.Find(name(1))) << "the least recently used is dropped";
}

// Whatever lies in the store's place, the start goes on with an empty memory and one line.
TEST(MovieMemory, AFileThatIsNoStoreIsIgnoredWithOneLine) {
    const std::string header = "# tessaview movie memory 1\n";
    const std::tuple<const char*, std::string, bool> cases[] = {
        // what lies there, its bytes, whether the next save writes a good store over it
        {"garbage", std::string("\177ELF\0\1\377\376 junk\n", 15), true},
        {"empty", "", true},
        {"another header", "# something else\nmovie=/a.avi\n", true},
        {"key before any movie", header + "position_ms=5\nmovie=/a.avi\n", true},
        {"line without a key", header + "movie=/a.avi\nposition_ms\n", true},
        {"movie without a name", header + "movie=\n", true},
        {"too large to be ours", header + "movie=/a.avi\n# " + std::string(17 << 20, 'x') + "\n", true},
        {"a folder", "", false},
    };
    for (const auto& [what, content, replaced] : cases) {
        TempDir folder;
        const std::string file = MovieMemoryFileName(folder.path());
        if (replaced)
            test::writeFile(file, content);
        else
            std::filesystem::create_directory(file);
        std::ostringstream log;
        MovieMemory memory(file, log);
        EXPECT_EQ(0u, memory.Size()) << what;
        EXPECT_EQ(1, std::ranges::count(log.str(), '\n')) << what << ": " << log.str();
        memory.Remember("/b.avi", {});
        EXPECT_EQ(replaced, memory.Save()) << what;
        EXPECT_EQ(1, std::ranges::count(log.str(), '\n')) << what << ": " << log.str();
    }
    TempDir folder;
    std::ostringstream log;
    MovieMemory missing(MovieMemoryFileName(folder.path()), log);
    EXPECT_EQ("", log.str()) << "no store yet is no fault";
}

TEST_F(MovieMemoryTest, KeysOfLaterVersionsAreKeptAndBadNumbersLeaveTheirDefault) {
    test::writeFile(file,
                    "# tessaview movie memory 1\r\n"
                    "# a comment\r\n"
                    "movie=/films/a.avi\r\n"
                    "position_ms=12x\r\n"
                    "sync_ms=250\r\n"
                    "later_note=/subs/en%25.srt\r\n"
                    "sync_result=shift 1.5 s\r\n"
                    "\r\n"
                    "movie=/films/a.avi\r\n"
                    "sync_ms=999\r\n");
    MovieMemory memory(file, log);
    EXPECT_EQ("", log.str());
    ASSERT_EQ(1u, memory.Size()) << "a movie named twice keeps its first block";
    const MovieRecord record = *memory.Find("/films/a.avi");
    EXPECT_EQ(0, record.PositionMs);
    EXPECT_EQ(250, record.SyncMs);
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ((Pairs{{"later_note", "/subs/en%.srt"}, {"sync_result", "shift 1.5 s"}}), record.Other);
    memory.Remember("/films/b.avi", {});
    ASSERT_TRUE(memory.Save());
    const std::string text = readFile(file);
    EXPECT_NE(std::string::npos, text.find("later_note=/subs/en%25.srt\nsync_result=shift 1.5 s\n")) << text;
}

// The write goes to a temporary that is renamed over the store: when it fails, the store
// on the disk is the one before, and the failure is told once.
TEST_F(MovieMemoryTest, AFailedWriteLeavesTheOldFileAndIsToldOnce) {
    MovieMemory memory(file, log);
    memory.Remember("/films/a.avi", {60000, 0, 0, "", {}, {}, "", 0});
    ASSERT_TRUE(memory.Save());
    const std::string before = readFile(file);
    for (int i = 0; i < 100; ++i) memory.Remember("/films/" + std::to_string(i) + ".avi", {});
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limit{before.size() + 10, unlimited.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const bool first = memory.Save(), second = memory.Flush();
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_FALSE(first);
    EXPECT_FALSE(second);
    EXPECT_EQ("tessaview: cannot write the movie memory " + file + "\n", log.str());
    EXPECT_EQ(before, readFile(file));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder.path()), {})) << "a temporary is left";
}

TEST(MovieMemory, AMovieResumesUnlessItWasLeftInItsFirstTenSecondsOrItsLastFivePercent) {
    const std::tuple<int64_t, int32_t, double, std::optional<int32_t>> cases[] = {
        // position, length in frames, frame rate, frame resumed at
        {9999, 90000, 25.0, std::nullopt},  // an hour at 25 fps
        {10000, 90000, 25.0, 250},
        {725000, 90000, 25.0, 18125},
        {3419999, 90000, 25.0, 85500},  // just before 95 %
        {3420000, 90000, 25.0, std::nullopt},
        {4000000, 90000, 25.0, std::nullopt},  // beyond the end
        {60000, 0, 23.976, 1439},              // length unknown
        {60000, 90000, 0.0, std::nullopt},     // no frame rate
    };
    for (const auto& [positionMs, durationFrames, rate, frame] : cases)
        EXPECT_EQ(frame, ResumeFrame(positionMs, durationFrames, rate)) << positionMs << " ms";
    EXPECT_EQ(725000, FramesToMilliseconds(18125, 25.0));
    EXPECT_EQ("Resumed at 0:12:05", ResumedText(725999));
    EXPECT_EQ("Resumed at 10:00:00", ResumedText(36000000));
}

}  // namespace
}  // namespace tessaview
