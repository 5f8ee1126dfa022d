// The frame-numbered, SubStation Alpha, SubViewer and start-time-only readers.
#include "subtitle/readers.h"
#include "subtitle/runtime_error.h"
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

namespace tessaview::testing {
namespace {

using Reader = void (*)(SubtitleCore&, const std::string&);

class Readers : public CoreTest {
protected:
    std::vector<Cue> read(Reader reader, const std::string& text)
    {
        reader(core, dir.write("in.txt", text));
        return cues();
    }
};

TEST(FrameLine, ParsesGroupsTheWayThePositionArithmeticDoes)
{
    const struct {
        const char* line;
        bool ok;
        int32_t start;
        int32_t end;
        const char* text;
    } cases[] = {
        {"{100}{250}Hello|World", true, 100, 250, "Hello|World"},
        {"{100}{}Hello", true, 100, -1, "Hello"},
        {"{100}Hello", true, 100, -1, "Hello"},
        {"{100}{250}{y:i}Hello", true, 100, 250, "{y:i}Hello"},
        {"{100}Hi{250}there", true, 100, 250, "there"},
        {"{100}250}there", true, 100, 250, "there"},  // "}" without "{": the number is the text before it
        {"{100}Hi}there", false, 0, 0, ""},
        {"{100}{5", true, 100, -1, "{5"},            // "{" without "}": no second number
        {"x{1}{2}t", true, 1, 2, "t"},               // nothing before the first delimiter is looked at
        {"{100}{y:i}Hello", false, 0, 0, ""},
        {"{-164}{-68}Hi", false, 0, 0, ""},
        {"{ 1}{2}Hi", false, 0, 0, ""},
        {"{}{2}Hi", false, 0, 0, ""},
        {"}1{", false, 0, 0, ""},
        {"{12", false, 0, 0, ""},
    };
    for (const auto& c : cases) {
        int32_t start = 0;
        int32_t end = 0;
        std::string text;
        ASSERT_EQ(ParseBraceLine(c.line, start, end, text), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(start, c.start) << c.line;
            EXPECT_EQ(end, c.end) << c.line;
            EXPECT_EQ(text, c.text) << c.line;
        }
    }
    int32_t start = 0;
    int32_t end = 0;
    std::string text;
    EXPECT_TRUE(ParseBracketLine("[100][250]Hello", start, end, text));
    EXPECT_EQ(text, "Hello");
    EXPECT_THROW(ParseBraceLine("{99999999999}{1}x", start, end, text), RuntimeError);
}

TEST_F(Readers, FrameLinesFillOpenEndsFromTheNextStart)
{
    EXPECT_EQ(read(ReadBraceFrames, "{10}{}A|B\r\n\r\n  {20}{30}B  \r\n{40}C\r\n{50}D\r\n"),
              (std::vector<Cue>{{10, 20, "A\r\nB"}, {20, 30, "B"}, {40, 50, "C"}, {50, -1, "D"}}));
    EXPECT_FALSE(core.SubIsTimeBased);
    EXPECT_EQ(core.SubLines, (std::vector<std::string>{"{10}{}A|B", "{20}{30}B", "{40}C", "{50}D"}));
    EXPECT_EQ(read(ReadBracketFrames, "[100][250]Hello\n"), (std::vector<Cue>{{100, 250, "Hello"}}));
}

TEST_F(Readers, FrameLineErrorStopsWithoutFillingOpenEnds)
{
    std::string text;
    for (int i = 1; i <= 1000; ++i)
        text += (i == 500 ? "{oops}" : "{" + std::to_string(i * 10) + "}") + (i % 2 ? "{}" : "") + "t\n";
    const auto got = read(ReadBraceFrames, text);
    ASSERT_EQ(got.size(), 499u);
    EXPECT_EQ(got[0].end, -1);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Subtitle file error"});
}

TEST_F(Readers, SsaTakesDialogueLinesOnly)
{
    const std::string script =
        "[Script Info]\nTitle: x\n\n[Events]\nFormat: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
        "Dialogue: Marked=0,0:00:01.50,0:00:04.00,Default,Name,0000,0000,0000,,Hello, world\\NBye\n"
        "Comment: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,skipped\n"
        "dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,skipped\n"
        "  Dialogue: 0,10:00:00.00,10:00:01.99,Default,,0,0,0,,{\\i1}lower\\nbreak\\h\n"
        "Dialogue: 0,0:00:07.00,0:00:08.00,only,six\n";
    EXPECT_EQ(read(ReadSsa, script), (std::vector<Cue>{{1, 4, "Hello, world\r\nBye"},
                                                      {36000, 36001, "{\\i1}lower\r\nbreak\\h"},
                                                      {7, 8, "six"}}));
    EXPECT_TRUE(core.SubIsTimeBased);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Readers, SsaBadTimeEndsWithTheCuesBefore)
{
    EXPECT_THROW(read(ReadSsa, "Dialogue: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,A\nDialogue: 0,0:00:03.00\n"), RuntimeError);
    EXPECT_EQ(cues(), (std::vector<Cue>{{1, 2, "A"}}));
    EXPECT_EQ(read(ReadSsa, "# VobSub index file, v7\nid: de, index: 0\n"), std::vector<Cue>{});
}

TEST_F(Readers, SubViewerReadsTimingAndTextLinePairs)
{
    EXPECT_EQ(read(ReadSubViewer, "[INFORMATION]\n[TITLE]x\n[END INFORMATION]\n"
                                  "00:00:01.50,00:00:04.00\nFirst[br]Second[BR]Third\n\n\n\n"
                                  "00:00:05.00,00:00:06.00\n\n00:00:07.00,00:00:08.00\n"),
              (std::vector<Cue>{{1, 4, "First\r\nSecond\r\nThird"}, {5, 6, ""}}));  // last timing line unused
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Readers, SubViewerTextOnTwoLines)
{
    EXPECT_EQ(read(ReadSubViewer, "00:00:01.00,00:00:02.00\none\ntwo\n00:00:03.00,00:00:04.00\nthree\n"),
              (std::vector<Cue>{{1, 2, "one"}}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Subtitle File Error"});
    EXPECT_THROW(read(ReadSubViewer, "00:00:01.00,00:00:02.00\none\ntwo, three\nmore\n"), RuntimeError);
}

TEST_F(Readers, StartScriptCuesEndAtTheNextStartAndTheLastStaysOpen)
{
    EXPECT_EQ(read(ReadStartScript, "[TITLE]\nx\n******** START SCRIPT ********\n[00:00:10]\n  Hello  \n"
                                    "[00:00:15]\n\n[END]\n[00:00:20]\nafter end\n"),
              (std::vector<Cue>{{10, 15, "  Hello  "}, {15, -1, ""}}));
    EXPECT_EQ(read(ReadStartScript, "[TITLE]\n******** START SCRIPT ******** \n[00:00:10]\nHello\n"),
              std::vector<Cue>{});
    EXPECT_THROW(read(ReadStartScript, "******** START SCRIPT ********\n[00:00:10]\nA\n\n"), RuntimeError);
    EXPECT_EQ(cues(), (std::vector<Cue>{{10, -1, "A"}}));  // no fix-up after the error
}

TEST_F(Readers, TimeColonTextLastCueLastsToTheEnd)
{
    EXPECT_EQ(read(ReadTimeColonText, "0:00:01:Hello|World\n\n00:00:05:Bye: see you\n"),
              (std::vector<Cue>{{1, 5, "Hello\r\nWorld"}, {5, EndlessTime, "Bye: see you"}}));
    EXPECT_EQ(read(ReadTimeColonText, "0:00:01.5:x\n"), (std::vector<Cue>{{1, EndlessTime, "x"}}));
    EXPECT_THROW(read(ReadTimeColonText, "0:00:01:A\n0:00\n"), RuntimeError);
    EXPECT_EQ(cues(), (std::vector<Cue>{{1, -1, "A"}}));  // never shown rather than a stale end
}

}  // namespace
}  // namespace tessaview::testing
