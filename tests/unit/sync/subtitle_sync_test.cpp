// The alignment's answer put into cue lists: frames and milliseconds, open ends, the SubRip
// copy, the atomic write that replaces only when asked, and the sentence for a person.
#include "support/temp_dir.h"
#include "sync/subtitle_sync.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tessaview::testing {
namespace {

TSubList cueList(std::initializer_list<std::tuple<int32_t, int32_t, const char*>> cues)
{
    TSubList list;
    for (const auto& [start, end, text] : cues)
        list.push_back(std::make_unique<TTimeSpan>(TTimeSpan{start, end, text}));
    return list;
}

TEST(SubtitleSync, CorrectionsReachTheCueTimesInTheirOwnUnit)
{
    SyncResult result;
    result.rate = 25 / 23.976;
    result.pieces = {{0, 1000}, {2, -500}};

    // Milliseconds: the open end stays open, the endless one endless.
    TSubList timed = cueList({{1000, 2000, "a"}, {5000, OpenEndTime, "b"}, {9000, EndlessTime, "c"}});
    const std::vector<SyncCue> ms = CueTimesMs(timed, true, 25);
    EXPECT_EQ(ms[1].endMs, ms[1].startMs);  // weighs nothing
    ApplySync(timed, true, 25, result);
    EXPECT_EQ(timed[0]->StartTime, 2043);  // 1042.7 ms + 1 s
    EXPECT_EQ(timed[1]->EndTime, OpenEndTime);
    EXPECT_EQ(timed[2]->StartTime, 8884);  // the second piece: 9384.4 ms - 0.5 s
    EXPECT_EQ(timed[2]->EndTime, EndlessTime);

    // Frames at 25 fps: frame 50 is 2 s, moved to 2 x 1.0427 + 1 s = 3.085 s, frame 77.
    TSubList frames = cueList({{50, 75, "a"}, {100, 125, "b"}, {10, 20, "c"}});
    EXPECT_EQ(CueTimesMs(frames, false, 25)[0].startMs, 2000);
    ApplySync(frames, false, 25, result);
    EXPECT_EQ(frames[0]->StartTime, 77);
    EXPECT_EQ(frames[2]->StartTime, 0);  // moved before the start: kept at the start
    EXPECT_EQ(frames[2]->EndTime, 8);
}

TEST(SubtitleSync, TheSubRipCopyHoldsEveryCueInUtf8)
{
    const TSubList cues = cueList({{1500, 3250, "Caf\xe9\r\n\r\nnoir"}, {4000, OpenEndTime, "open"}});
    const std::string text = SubRipText(cues, true, 25, "CP1252");
    EXPECT_EQ(text, "1\r\n00:00:01,500 --> 00:00:03,250\r\nCaf\xc3\xa9\r\nnoir\r\n\r\n"
                    "2\r\n00:00:04,000 --> 00:00:07,000\r\nopen\r\n\r\n");
}

TEST(SubtitleSync, TheSentenceSaysWhatMovedAndHowMuchFallsOnSpeech)
{
    SyncResult result;
    result.speechShare = 0.938;
    EXPECT_EQ(DescribeSync(result), "Already in step; 94 % of the lines fall on speech");
    result.pieces = {{0, 7300}, {40, 9000}};
    result.rate = 25 / 23.976;
    EXPECT_EQ(DescribeSync(result), "Moved 7.30 s later, 25 fps read as 23.976, in 2 pieces; 94 % of the lines fall on speech");
    result.pieces = {{0, -1250}};
    result.rate = 23.976 / 24;
    EXPECT_EQ(DescribeSync(result), "Moved 1.25 s earlier, 23.976 fps read as 24; 94 % of the lines fall on speech");
}

}  // namespace
}  // namespace tessaview::testing
