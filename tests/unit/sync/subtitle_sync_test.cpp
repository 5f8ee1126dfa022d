// The alignment's answer put into cue lists: frames and milliseconds, open ends, two answers
// made one and read back from the movie memory, the SubRip copy, and the sentences for a
// person and for the doctor.
#include "sync/subtitle_sync.h"

#include <gtest/gtest.h>

namespace tessaview::testing {
namespace {

TSubList cueList(std::initializer_list<std::tuple<int32_t, int32_t, const char*>> cues) {
    TSubList list;
    for (const auto& [start, end, text] : cues)
        list.push_back(std::make_unique<TTimeSpan>(TTimeSpan{start, end, text}));
    return list;
}

TEST(SubtitleSync, CorrectionsReachTheCueTimesInTheirOwnUnit) {
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

TEST(SubtitleSync, TwoCorrectionsMakeOneThatReadsBackFromItsTextAndOnlyOnAListItFits) {
    SyncResult first, then;
    first.rate = 25 / 23.976;
    first.pieces = {{0, 1000}, {3, -500}};
    then.rate = 24 / 25.0;
    then.pieces = {{0, -200}, {5, 300}};
    const SyncResult both = ComposeSync(first, then);
    for (size_t cue = 0; cue < 8; ++cue)
        for (const int64_t ms : {0, 1234, 3600000})
            EXPECT_NEAR(both.CorrectedTime(cue, ms), then.CorrectedTime(cue, first.CorrectedTime(cue, ms)), 1) << cue;
    EXPECT_DOUBLE_EQ(both.rate, 24 / 23.976);
    EXPECT_EQ(both.ShiftMs(), 760);  // 1000 x 0.96 - 200
    EXPECT_EQ(LaterPiecesText(both), "3:-680,5:-180");

    const std::optional<SyncResult> stored = StoredSync(760, both.rate, "3:-680,5:-180", 6);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->rate, both.rate);
    EXPECT_EQ(LaterPiecesText(*stored), "3:-680,5:-180");
    EXPECT_EQ(stored->ShiftMs(), 760);
    EXPECT_TRUE(StoredSync(-40, 1.0, "", 1));
    for (const auto& [rate, pieces, count] : {std::tuple{1.0, "3:-680,5:-180", 5},
                                              {1.0, "5:1,3:2", 9},
                                              {1.0, "3:x", 9},
                                              {1.0, "3:", 9},
                                              {1.0, "0:5", 9},
                                              {0.0, "", 9}})
        EXPECT_FALSE(StoredSync(0, rate, pieces, count)) << pieces << " " << count;
}

TEST(SubtitleSync, TheSubRipCopyHoldsEveryCueInUtf8) {
    const TSubList cues = cueList({{1500, 3250, "Caf\xe9\r\n\r\nnoir"}, {4000, OpenEndTime, "open"}});
    const std::string text = SubRipText(cues, true, 25, "CP1252");
    EXPECT_EQ(text,
              "1\r\n00:00:01,500 --> 00:00:03,250\r\nCaf\xc3\xa9\r\nnoir\r\n\r\n"
              "2\r\n00:00:04,000 --> 00:00:07,000\r\nopen\r\n\r\n");
}

TEST(SubtitleSync, TheSentenceSaysWhatMovedAndHowMuchFallsOnSpeech) {
    SyncResult result;
    result.speechShare = 0.938;
    EXPECT_EQ(DescribeSync(result), "Already in step; 94 % of the lines fall on speech");
    result.pieces = {{0, 7300}, {40, 9000}};
    result.rate = 25 / 23.976;
    EXPECT_EQ(DescribeSync(result),
              "Moved 7.30 s later, 25 fps read as 23.976, in 2 pieces; 94 % of the lines fall on speech");
    result.pieces = {{0, -1250}};
    result.rate = 23.976 / 24;
    EXPECT_EQ(DescribeSync(result), "Moved 1.25 s earlier, 23.976 fps read as 24; 94 % of the lines fall on speech");
}

TEST(SubtitleSync, TheDoctorHearsLateEarlyARateAndCutsButNothingOfASubtitleThatFits) {
    const auto findings = [](SyncVerdict verdict, double rate, std::vector<SyncPiece> pieces) {
        SyncResult result;
        result.verdict = verdict;
        result.rate = rate;
        result.pieces = std::move(pieces);
        return SyncFindings(result, 23.976);
    };
    using Lines = std::vector<std::string>;
    EXPECT_EQ(findings(SyncVerdict::Solid, 1.0, {{0, -7300}}), Lines{"about 7.3 s late"});
    EXPECT_EQ(
        findings(SyncVerdict::Solid, 25 / 23.976, {{0, 2100}, {40, 9000}}),
        (Lines{"about 2.1 s early", "timed for 25 fps; the movie runs at 23.976 fps", "cut differently: 2 pieces"}));
    EXPECT_EQ(findings(SyncVerdict::Solid, 1.0, {{0, 99}}), Lines{});
    EXPECT_EQ(findings(SyncVerdict::Unsure, 1.0, {{0, -99}}), Lines{});
    EXPECT_EQ(findings(SyncVerdict::Unsure, 1.0, {{0, 600}}).back(),
              "unsure: another answer comes close; check before trusting it");
    EXPECT_EQ(findings(SyncVerdict::NoMatch, 1.0, {{0, 0}}),
              Lines{"does not match this movie's speech: probably another film's subtitle"});
    EXPECT_EQ(findings(SyncVerdict::NoSpeech, 1.0, {{0, 0}}).front().substr(0, 10), "no speech:");
}

}  // namespace
}  // namespace tessaview::testing
