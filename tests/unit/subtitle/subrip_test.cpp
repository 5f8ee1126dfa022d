// The SubRip reader: blocks, timing lines, dropped blocks and its one message.
#include "subtitle/readers.h"
#include "subtitle/runtime_error.h"
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

namespace tessaview::testing {
namespace {

class SubRip : public CoreTest {
protected:
    std::vector<Cue> read(const std::string& text)
    {
        ReadSubRip(core, dir.write("in.srt", text));
        return cues();
    }
};

TEST_F(SubRip, ReadsBlocksInWholeSecondsWithLinesJoinedByCrLf)
{
    EXPECT_EQ(read("1\r\n00:00:01,600 --> 00:00:04,200\r\nFirst\r\nSecond\r\n\r\n"
                   "2\r\n01:02:03,999 --> 01:02:05,000 X1:10 X2:20\r\nThird\r\n"),
              (std::vector<Cue>{{1, 4, "First\r\nSecond"}, {3723, 3725, "Third"}}));
    EXPECT_TRUE(core.SubIsTimeBased);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SubRip, TimingVariants)
{
    const struct {
        const char* timing;
        bool ok;
        int32_t start;
        int32_t end;
    } cases[] = {
        {"00 : 00 : 01,000 --> 00:00:02,000", true, 1, 2},
        {"0:0:1,5-->0:0:2,5", true, 1, 2},
        {"  00:00:01,000   -->   00:00:02,000  ", true, 1, 2},
        {"00:00:01.600 --> 00:00:04.200", false, 0, 0},  // full stops instead of commas
        {"00:00:01 --> 00:00:04", false, 0, 0},          // no milliseconds at all
        {"-00:00:06,843 --> 00:00:02,850", false, 0, 0},
        {"00:00:01:00,000 --> 00:00:02,000", false, 0, 0},
        {"00:00:01,000 --> ", false, 0, 0},
    };
    for (const auto& c : cases) {
        host.messages.clear();
        const auto got = read(std::string("1\n") + c.timing + "\nText\n");
        if (c.ok) {
            EXPECT_EQ(got, (std::vector<Cue>{{c.start, c.end, "Text"}})) << c.timing;
            EXPECT_TRUE(host.messages.empty()) << c.timing;
        } else {
            EXPECT_TRUE(got.empty()) << c.timing;
            EXPECT_EQ(host.messages, std::vector<std::string>{"Subtitle file error"}) << c.timing;
        }
    }
}

TEST_F(SubRip, ErrorKeepsTheCuesReadBefore)
{
    EXPECT_EQ(read("1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n00:00:03 --> 00:00:04\nB\n\n"
                   "3\n00:00:05,000 --> 00:00:06,000\nC\n"),
              (std::vector<Cue>{{1, 2, "A"}}));
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(SubRip, BlockWithEmptyFirstTextLineIsDroppedWithItsLines)
{
    EXPECT_EQ(read("1\n00:00:01,000 --> 00:00:02,000\n\nlost\nlost too\n\n"
                   "2\n00:00:03,000 --> 00:00:04,000\nkept\n"),
              (std::vector<Cue>{{3, 4, "kept"}}));
}

TEST_F(SubRip, BlankLineInsideTextKeepsTheCueOpen)
{
    EXPECT_EQ(read("1\n00:00:01,000 --> 00:00:02,000\nA\n\n\nstill A\n2\n00:00:03,000 --> 00:00:04,000\nB"),
              (std::vector<Cue>{{1, 2, "A\r\nstill A"}, {3, 4, "B"}}));
}

TEST_F(SubRip, DigitOnlyTextLineSwallowsTheNextBlock)
{
    EXPECT_EQ(read("1\n00:00:01,000 --> 00:00:02,000\nA\n1984\n\n2\n00:00:03,000 --> 00:00:04,000\nB\n\n"
                   "3\n00:00:05,000 --> 00:00:06,000\nC\n"),
              (std::vector<Cue>{{1, 2, "A"}, {5, 6, "C"}}));
}

TEST_F(SubRip, MissingTimingLineSkipsTheBlockSilently)
{
    EXPECT_EQ(read("\n\n7\nno timing\nlost\n3\n00:00:05,000 --> 00:00:06,000\nC\n1\n"),
              (std::vector<Cue>{{5, 6, "C"}}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(SubRip, HugeDigitFieldRaisesTheConversionError)
{
    EXPECT_THROW(read("1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n99999999999:00:01,000 --> 00:00:02,000\nB\n"),
                 RuntimeError);
    EXPECT_EQ(cues(), (std::vector<Cue>{{1, 2, "A"}}));
}

TEST_F(SubRip, ParseSubRipTimeNeedsExactlyThreeDigitFields)
{
    EXPECT_EQ(ParseSubRipTime("1:2:3"), 3723);
    EXPECT_EQ(ParseSubRipTime(" 01 : 02 : 03 "), 3723);
    for (const char* bad : {"", "1:2", "1:2:3:4", "1:2:", "a:2:3", "1:+2:3", "1:2:3.5", "::"})
        EXPECT_EQ(ParseSubRipTime(bad), -1) << bad;
}

}  // namespace
}  // namespace tessaview::testing
