// The SubRip reader: blocks, timing lines, dropped blocks and its one message.
#include "subtitle/readers.h"
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

namespace tessaview::testing {
namespace {

class SubRip : public CoreTest {
protected:
    Cues read(const std::string& text)
    {
        host.messages.clear();
        ReadSubRip(core, dir.write("in.srt", text));
        return cues();
    }
};

const std::string A = "1\n00:00:01,000 --> 00:00:02,000\nA\n";

TEST_F(SubRip, BlocksAndTheirQuirks)
{
    const struct {
        std::string text;
        Cues cues;
        bool error;  // "Subtitle file error" shown
    } cases[] = {
        // Whole seconds; text lines joined by CR LF; anything after the end time ignored.
        {"1\r\n00:00:01,600 --> 00:00:04,200\r\nFirst\r\nSecond\r\n\r\n"
         "2\r\n01:02:03,999 --> 01:02:05,000 X1:10 X2:20\r\nThird\r\n",
         {{1, 4, "First\r\nSecond"}, {3723, 3725, "Third"}}, false},
        // An error keeps the cues read before it.
        {A + "\n2\n00:00:03 --> 00:00:04\nB\n\n3\n00:00:05,000 --> 00:00:06,000\nC\n", {{1, 2, "A"}}, true},
        // A block whose first text line is empty is dropped with its lines.
        {"1\n00:00:01,000 --> 00:00:02,000\n\nlost\nlost too\n\n2\n00:00:03,000 --> 00:00:04,000\nkept\n",
         {{3, 4, "kept"}}, false},
        // Blank lines inside the text keep the cue open.
        {A + "\n\nstill A\n2\n00:00:03,000 --> 00:00:04,000\nB", {{1, 2, "A\r\nstill A"}, {3, 4, "B"}}, false},
        // A digit-only text line is taken for the next number: the next block is swallowed.
        {A + "1984\n\n2\n00:00:03,000 --> 00:00:04,000\nB\n\n3\n00:00:05,000 --> 00:00:06,000\nC\n",
         {{1, 2, "A"}, {5, 6, "C"}}, false},
        // A number without a timing line skips the block silently.
        {"\n\n7\nno timing\nlost\n3\n00:00:05,000 --> 00:00:06,000\nC\n1\n", {{5, 6, "C"}}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(c.text), c.cues) << c.text;
        EXPECT_EQ(host.messages, c.error ? Strings{"Subtitle file error"} : Strings{}) << c.text;
        EXPECT_TRUE(core.SubIsTimeBased);
    }
}

TEST_F(SubRip, TimingVariants)
{
    const struct {
        const char* timing;
        bool ok;
    } cases[] = {
        {"00 : 00 : 01,000 --> 00:00:02,000", true},
        {"0:0:1,5-->0:0:2,5", true},
        {"  00:00:01,000   -->   00:00:02,000  ", true},
        {"00:00:01.600 --> 00:00:04.200", false},  // full stops instead of commas
        {"00:00:01 --> 00:00:04", false},          // no milliseconds at all
        {"-00:00:06,843 --> 00:00:02,850", false},
        {"00:00:01:00,000 --> 00:00:02,000", false},
        {"00:00:01,000 --> ", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(read(std::string("1\n") + c.timing + "\nText\n"), (c.ok ? Cues{{1, 2, "Text"}} : Cues{})) << c.timing;
        EXPECT_EQ(host.messages, c.ok ? Strings{} : Strings{"Subtitle file error"}) << c.timing;
    }
    EXPECT_EQ(ParseSubRipTime("1:2:3"), 3723);
    EXPECT_EQ(ParseSubRipTime(" 01 : 02 : 03 "), 3723);
    EXPECT_EQ(ParseSubRipTime("0000000001:0:0"), 3600);  // ten digits go through the runtime's conversion
    for (const char* bad : {"", "1:2", "1:2:3:4", "1:2:", "a:2:3", "1:+2:3", "1:2:3.5", "::"})
        EXPECT_EQ(ParseSubRipTime(bad), -1) << bad;
}

TEST_F(SubRip, HugeDigitFieldRaisesTheConversionError)
{
    EXPECT_THROW(read(A + "\n2\n9999999999:00:01,000 --> 00:00:02,000\nB\n"), RuntimeError);
    EXPECT_EQ(cues(), (Cues{{1, 2, "A"}}));
}

}  // namespace
}  // namespace tessaview::testing
