// The frame-numbered, SubStation Alpha, SubViewer and start-time-only readers.
#include "subtitle/readers.h"
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

namespace tessaview::testing {
namespace {

TEST(FrameLine, ParsesGroupsTheWayThePositionArithmeticDoes)
{
    const struct {
        const char* line;
        bool ok;
        Cue cue;
    } cases[] = {
        {"{100}{250}Hello|World", true, {100, 250, "Hello|World"}},
        {"{100}{}Hello", true, {100, -1, "Hello"}},
        {"{100}Hello", true, {100, -1, "Hello"}},
        {"{100}{250}{y:i}Hello", true, {100, 250, "{y:i}Hello"}},
        {"{100}Hi{250}there", true, {100, 250, "there"}},
        {"{100}250}there", true, {100, 250, "there"}},  // "}" without "{": the number is the text before it
        {"{100}{5", true, {100, -1, "{5"}},             // "{" without "}": no second number
        {"x{1}{2}t", true, {1, 2, "t"}},                // nothing before the first delimiter is looked at
        {"{100}Hi}there", false, {}},
        {"{100}{y:i}Hello", false, {}},
        {"{-164}{-68}Hi", false, {}},
        {"{ 1}{2}Hi", false, {}},
        {"{}{2}Hi", false, {}},
        {"}1{", false, {}},
        {"{12", false, {}},
    };
    for (const auto& c : cases) {
        Cue got;
        EXPECT_EQ(ParseBraceLine(c.line, got.start, got.end, got.text), c.ok) << c.line;
        EXPECT_EQ(c.ok ? got : Cue{}, c.cue) << c.line;
    }
    Cue got;
    EXPECT_TRUE(ParseBracketLine("[100][250]Hello", got.start, got.end, got.text));
    EXPECT_EQ(got, (Cue{100, 250, "Hello"}));
    EXPECT_THROW(ParseBraceLine("{99999999999}{1}x", got.start, got.end, got.text), RuntimeError);
}

using Reader = void (*)(SubtitleCore&, const std::string&);

class Readers : public CoreTest {};

TEST_F(Readers, EachReaderWithItsQuirksAndErrors)
{
    const std::string ssaHeader = "[Script Info]\nTitle: x\n\n[Events]\n"
                                  "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
    const struct {
        const char* what;
        Reader reader;
        std::string text;
        Cues cues;  // read before the end or the error
        const char* message = nullptr;
        bool throws = false;
    } cases[] = {
        {"frames: open ends filled from the next start", ReadBraceFrames,
         "{10}{}A|B\r\n\r\n  {20}{30}B  \r\n{40}C\r\n{50}D\r\n",
         {{10, 20, "A\r\nB"}, {20, 30, "B"}, {40, 50, "C"}, {50, -1, "D"}}},
        {"frames: a bad line ends the read, open ends are not filled after it", ReadBraceFrames,
         "{10}{}a\n{20}{30}b\n{oops}c\n{40}{}d\n", {{10, -1, "a"}, {20, 30, "b"}}, "Subtitle file error"},
        {"bracket frames", ReadBracketFrames, "[100][250]Hello\n", {{100, 250, "Hello"}}},
        {"SSA: Dialogue lines only", ReadSsa,
         ssaHeader + "Dialogue: Marked=0,0:00:01.50,0:00:04.00,Default,Name,0000,0000,0000,,Hello, world\\NBye\n"
                     "Comment: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,skipped\n"
                     "dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,skipped\n"
                     "  Dialogue: 0,10:00:00.00,10:00:01.99,Default,,0,0,0,,{\\i1}lower\\nbreak\\h\n"
                     "Dialogue: 0,0:00:07.00,0:00:08.00,only,six\n",
         {{1, 4, "Hello, world\r\nBye"}, {36000, 36001, "{\\i1}lower\r\nbreak\\h"}, {7, 8, "six"}}},
        {"SSA: a bad time ends the read", ReadSsa,
         "Dialogue: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,A\nDialogue: 0,0:00:03.00\n", {{1, 2, "A"}}, nullptr, true},
        {"SSA: a VobSub index has no dialogue", ReadSsa, "# VobSub index file, v7\nid: de, index: 0\n", {}},
        {"SubViewer: timing and text line pairs, the last timing line unused", ReadSubViewer,
         "[INFORMATION]\n[TITLE]x\n[END INFORMATION]\n00:00:01.50,00:00:04.00\nFirst[br]Second[BR]Third\n\n\n\n"
         "00:00:05.00,00:00:06.00\n\n00:00:07.00,00:00:08.00\n",
         {{1, 4, "First\r\nSecond\r\nThird"}, {5, 6, ""}}},
        {"SubViewer: text on two lines", ReadSubViewer,
         "00:00:01.00,00:00:02.00\none\ntwo\n00:00:03.00,00:00:04.00\nthree\n", {{1, 2, "one"}},
         "Subtitle File Error"},
        {"SubViewer: a second text line read as timing", ReadSubViewer,
         "00:00:01.00,00:00:02.00\none\ntwo, three\nmore\n", {{1, 2, "one"}}, nullptr, true},
        {"start script: cues end at the next start, the last stays open", ReadStartScript,
         "[TITLE]\nx\n******** START SCRIPT ********\n[00:00:10]\n  Hello  \n[00:00:15]\n\n[END]\n"
         "[00:00:20]\nafter end\n",
         {{10, 15, "  Hello  "}, {15, -1, ""}}},
        {"start script: the marker line must match exactly", ReadStartScript,
         "[TITLE]\n******** START SCRIPT ******** \n[00:00:10]\nHello\n", {}},
        {"start script: no fix-up after an error", ReadStartScript,
         "******** START SCRIPT ********\n[00:00:10]\nA\n\n", {{10, -1, "A"}}, nullptr, true},
        {"time:text: the last cue lasts to the end", ReadTimeColonText,
         "0:00:01:Hello|World\n\n00:00:05:Bye: see you\n",
         {{1, 5, "Hello\r\nWorld"}, {5, EndlessTime, "Bye: see you"}}},
        {"time:text: a fraction is cut", ReadTimeColonText, "0:00:01.5:x\n", {{1, EndlessTime, "x"}}},
        {"time:text: after an error never shown rather than a stale end", ReadTimeColonText,
         "0:00:01:A\n0:00\n", {{1, -1, "A"}}, nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host.messages.clear();
        if (c.throws)
            EXPECT_THROW(c.reader(core, dir.write("in.txt", c.text)), RuntimeError);
        else
            c.reader(core, dir.write("in.txt", c.text));
        EXPECT_EQ(cues(), c.cues);
        EXPECT_EQ(host.messages, c.message ? Strings{c.message} : Strings{});
        EXPECT_EQ(core.SubIsTimeBased, c.reader != ReadBraceFrames && c.reader != ReadBracketFrames);
    }
    ReadBraceFrames(core, dir.write("in.txt", cases[0].text));  // the lines a frame reader keeps
    EXPECT_EQ(core.SubLines, (Strings{"{10}{}A|B", "{20}{30}B", "{40}C", "{50}D"}));
}

}  // namespace
}  // namespace tessaview::testing
