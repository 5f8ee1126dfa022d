// Finding in the transcript (folding, narrowing, stepping with wrap) and the lines on the
// clock's timeline (order, neighbours, the clock's arithmetic both ways, the listed times).
#include "presentation/transcript_filter.h"
#include "external/vobsub_library.h"
#include "playback/clock_math.h"
#include "playback/subtitle_lines.h"

#include <gtest/gtest.h>

namespace tessaview {
namespace {

std::vector<int> Find(TranscriptFilter& filter, const char* needle) { return filter.Apply(QString::fromUtf8(needle)); }

TEST(TranscriptFilter, FindsBlindToCaseAndAccentsAndTakesEveryCharacterAsText) {
    TranscriptFilter filter;
    filter.SetTexts({QString::fromUtf8("Café au lait"), "CAFE", QString::fromUtf8("naïve ÉLAN"), "a.b", "axb",
                     "(why?) [not]", QString::fromUtf8("ﬁnal İstanbul"), "plain"});
    EXPECT_EQ(Find(filter, "cafe"), std::vector<int>({0, 1}));
    EXPECT_EQ(Find(filter, "CAFÉ"), std::vector<int>({0, 1}));
    EXPECT_EQ(Find(filter, "Naive elan"), std::vector<int>({2}));
    EXPECT_EQ(Find(filter, "a.b"), std::vector<int>({3})) << "a dot is a dot";
    EXPECT_EQ(Find(filter, "(why?) [n"), std::vector<int>({5}));
    EXPECT_EQ(Find(filter, ".*"), std::vector<int>());
    EXPECT_EQ(Find(filter, "final istanbul"), std::vector<int>({6})) << "ligature and dotted capital fold";
    EXPECT_EQ(Find(filter, ""), std::vector<int>({0, 1, 2, 3, 4, 5, 6, 7}));

    // Typing on narrows the last result; a needle that does not hold the last one starts over.
    EXPECT_EQ(Find(filter, "a"), std::vector<int>({0, 1, 2, 3, 4, 6, 7}));
    EXPECT_EQ(Find(filter, "ai"), std::vector<int>({0, 2, 7}));
    EXPECT_EQ(Find(filter, "lai"), std::vector<int>({0, 7}));
    EXPECT_EQ(Find(filter, "b"), std::vector<int>({3, 4, 6}));
    filter.SetTexts({"one"});
    EXPECT_EQ(filter.Lines(), std::vector<int>({0})) << "new texts: the filter is empty again";

    EXPECT_EQ(OneLinePlainText("<i>Hello</i>\r\n{\\an8}<font color=red>world</font>"), "Hello world");
    EXPECT_EQ(OneLinePlainText("1 < 2"), "1 < 2");
}

TEST(TranscriptFilter, StepsToTheNextMatchByKeyAndWrapsAround) {
    const std::vector<int32_t> keys{50, 10, 30, 30, 70};
    EXPECT_EQ(StepMatch(keys, 30, true), 0u) << "the least key after the reference";
    EXPECT_EQ(StepMatch(keys, 29, true), 2u) << "of equal keys the first";
    EXPECT_EQ(StepMatch(keys, 70, true), 1u) << "past the last: round to the first";
    EXPECT_EQ(StepMatch(keys, 30, false), 1u);
    EXPECT_EQ(StepMatch(keys, 31, false), 2u);
    EXPECT_EQ(StepMatch(keys, 10, false), 4u) << "before the first: round to the last";
    EXPECT_EQ(StepMatch({}, 0, true), std::nullopt);
}

TEST(SubtitleLines, NeighboursGoByStartWhateverTheListsOrder) {
    SubtitleLines lines;
    // Rows in file order; two share a start and one is out of order.
    lines.Assign({{100, 150}, {300, 350}, {200, 260}, {200, 240}, {400, 450}});
    EXPECT_EQ(lines.NextAfter(99), 0u);
    EXPECT_EQ(lines.NextAfter(100), 2u) << "at a start, the next one; of a shared start the first row";
    EXPECT_EQ(lines.NextAfter(200), 1u);
    EXPECT_EQ(lines.NextAfter(400), std::nullopt);
    EXPECT_EQ(lines.PreviousBefore(300), 2u);
    EXPECT_EQ(lines.PreviousBefore(200), 0u);
    EXPECT_EQ(lines.PreviousBefore(100), std::nullopt);
    EXPECT_EQ(lines.LastStartedBy(299), 2u);
    EXPECT_EQ(lines.LastStartedBy(300), 1u);
    EXPECT_EQ(lines.LastStartedBy(99), std::nullopt);
    EXPECT_EQ(lines.StartingAt(200), std::vector<size_t>({2, 3}));
}

TEST(SubtitleLines, TheClockArithmeticRunsBothWaysAndNamesTheTimeOnScreen) {
    // 25 fps, 2 s of continued play before, subtitles 1 s earlier (the clock looks 25 frames on).
    const ClockOffsets offsets{50, 1000, 25.0};
    EXPECT_EQ(ClockPosition(100, offsets), 175);
    EXPECT_EQ(EnginePosition(175, offsets), 100);
    EXPECT_EQ(EnginePosition(ClockPosition(INT32_MAX, offsets), offsets), INT32_MAX - 75) << "saturated, not wrapped";
    // A cue at clock frame 175 (7 s in the file) shows when the whole timeline is at 6 s.
    EXPECT_EQ(LineTimeText(175, offsets, 25.0), "0:00:06");
    EXPECT_EQ(LineTimeText(175, {0, std::nullopt, 25.0}, 25.0), "0:00:07");
    EXPECT_EQ(LineTimeText(25 * 3725, {0, std::nullopt, 25.0}, 25.0), "1:02:05");
    EXPECT_EQ(LineTimeText(0, offsets, 25.0), "-0:00:01") << "before the movie starts";
    // The subtitle's frame rate item at 25 on a 23.976 movie: frame 2500 shows at 104 s.
    EXPECT_EQ(LineTimeText(2500, {0, std::nullopt, 25.0}, 23.976), "0:01:44");
    EXPECT_EQ(LineTimeText(2500, {}, 0.0), "");
    EXPECT_EQ(LineTimeTextFromMs(65'400, {0, 400, 0.0}), "0:01:05");
    // The status panel's rate with the user's separator, which the window tests never reach.
    EXPECT_EQ(FrameRateText(29.97, ','), "29,97fps");

    // A picture's frames are exactly those at which the clock asks the library for a time
    // inside it, at an awkward rate.
    const double rate = 23.976;
    const std::vector<LineSpan> spans = PictureLineSpans({{1000, 2000}, {2000, INT32_MAX}}, rate);
    ASSERT_EQ(spans.size(), 2u);
    for (int32_t frame = 0; frame < 80; ++frame) {
        const int32_t ms = FramesToMilliseconds(frame, rate);
        EXPECT_EQ(ms >= 1000 && ms < 2000, frame >= spans[0].start && frame <= spans[0].end) << frame;
    }
    EXPECT_EQ(spans[1].start, spans[0].end + 1);
    EXPECT_EQ(spans[1].end, INT32_MAX);
}

}  // namespace
}  // namespace tessaview
