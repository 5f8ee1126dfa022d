// The readers and the rules they share: line ends, trimming and line-break codes; the subtitle
// doctor: problems found beside the readers, with their lines, and the fit of cue times to a movie.
#include "subtitle/readers.h"
#include "subtitle/subtitle_doctor.h"
#include "subtitle/text_rules.h"
#include "subtitle_test_support.h"

namespace tessaview::testing {
namespace {

TEST(ReadingRules, LineEndsTrimmingAndLineBreakCodes) {
    const std::string longLine(5000, 'x');  // many 16-byte blocks before the line end
    const std::pair<std::string, Strings> cases[] = {
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb\nc", {"a", "b", "c"}}, {longLine + "\r\ny", {longLine, "y"}},
        {"a\n\rb", {"a", "", "b"}}, {"a\r\r\nb", {"a", "", "b"}},  // LF CR and CR CR LF: two line ends
        {"a\032b\nc", {"a"}},                                      // Ctrl-Z ends the file
    };
    for (const auto& [text, want] : cases) {
        TextFile file = TextFile::Over(text);
        Strings lines;
        while (!file.Eof()) lines.emplace_back(file.ReadLine());
        EXPECT_EQ(lines, want) << ::testing::PrintToString(text);
    }
    EXPECT_EQ(Trim(" \t\x01\nab c\x1f \r"), "ab c");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");                       // high bytes are not blanks
    EXPECT_EQ(ReplaceByCrLfIgnoreCase("end\\N", "\\n"), "end\r\n");  // a code that ends the line
}

using Reader = void (*)(SubtitleCore&, std::string_view);
class Readers : public CoreTest {};

TEST_F(Readers, EachReaderWithItsQuirksAndErrors) {
    const std::string A = "1\n00:00:01,000 --> 00:00:02,000\nA\n";
    const struct {
        const char* what;
        Reader reader;
        std::string text;
        Strings cues;  // "start end text", read before the end or the error
        const char* message = nullptr;
        const char* error = "no error";
    } cases[] = {
        {"frames: open ends filled from the next start",
         ReadBraceFrames,
         "{10}{}A|B\r\n\r\n  {20}{30}B  \r\n{40}C\r\n{50}D\r\n",
         {"10 20 A\r\nB", "20 30 B", "40 50 C", "50 -1 D"}},
        // A "}" without "{" ends the number before it; a "{" without "}" leaves no second number.
        {"frames: groups, and a bad one ends the read with open ends unfilled",
         ReadBraceFrames,
         "{10}{}a\n{20}{30}{y:i}b\n{30}40}c\n{40}{5\n{}{2}d\n{50}{}e\n",
         {"10 -1 a", "20 30 {y:i}b", "30 40 c", "40 -1 {5"},
         "Subtitle file error"},
        {"bracket frames", ReadBracketFrames, "[100][250]Hello\n", {"100 250 Hello"}},
        {"SSA: Dialogue lines only",
         ReadSsa,
         "[Events]\nFormat: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
         "Dialogue: Marked=0,0:00:01.50,0:00:04.00,Default,Name,0000,0000,0000,,Hello, world\\NBye\n"
         "dialogue: 0,0:00:05.00,0:00:06.00,Default,,0,0,0,,skipped\n"
         "  Dialogue: 0,10:00:00.00,10:00:01.99,Default,,0,0,0,,{\\i1}lower\\nbreak\\h\n"
         "Dialogue: 0,0:00:07.5,0:00:08.0009,only,six\n",
         {"1500 4000 Hello, world\r\nBye", "36000000 36001990 {\\i1}lower\r\nbreak\\h", "7500 8000 six"}},
        {"SSA: a bad time ends the read",
         ReadSsa,
         "Dialogue: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,A\nDialogue: 0,0:0a:03.00,0:00:04.00,S,,0,0,0,,B\n",
         {"1000 2000 A"},
         nullptr,
         "'0a' is not a valid integer value"},
        {"SubViewer: timing and text line pairs, the last timing line unused",
         ReadSubViewer,
         "[INFORMATION]\n[END INFORMATION]\n00:00:01.50,00:00:04.00\nFirst[br]Second[BR]Third\n\n\n\n"
         "00:00:05.00,00:00:06.00\n\n00:00:07.00,00:00:08.00\n",
         {"1500 4000 First\r\nSecond\r\nThird", "5000 6000 "}},
        {"SubViewer: a first time from nine on",
         ReadSubViewer,
         "90:00:00.00,90:00:01.00\nLate\n",
         {"324000000 324001000 Late"}},
        {"SubViewer: text on two lines",
         ReadSubViewer,
         "00:00:01.00,00:00:02.00\none\ntwo\n00:00:03.00,00:00:04.00\nthree\n",
         {"1000 2000 one"},
         "Subtitle File Error"},
        {"start script: cues end at the next start, the last stays open",
         ReadStartScript,
         "[TITLE]\nx\n******** START SCRIPT ********\n[00:00:10.25]\n  Hello  \n[00:00:15]\n\n[END]\n"
         "[00:00:20]\nafter end\n",
         {"10250 15000   Hello  ", "15000 -1 "}},
        {"start script: the marker line must match exactly",
         ReadStartScript,
         "[TITLE]\n******** START SCRIPT ******** \n[00:00:10]\nHello\n",
         {}},
        {"time:text: after an error never shown rather than endless",
         ReadTimeColonText,
         "0:00:-1.5:A\n0:00\n",
         {"-1500 -1 A"},
         nullptr,
         "'' is not a valid integer value"},
        {"time:text: the last cue lasts to the end",
         ReadTimeColonText,
         "0:00:01.5:Hello|World\n\n00:00:05.:Bye: see you\n",
         {"1500 5000 Hello\r\nWorld", "5000 " + std::to_string(EndlessTime) + " Bye: see you"}},
        // A fraction of any width, its fourth digit on dropped; none at all is 0.
        {"SubRip: milliseconds, free-width fields, anything after the end time ignored",
         ReadSubRip,
         "1\r\n00 : 00 : 01,600-->0:0:4,2\r\nFirst\r\nSecond\r\n\r\n"
         "2\r\n01:02:03,9999 --> 01:02:05, X1:10 X2:20\r\nThird\r\n",
         {"1600 4200 First\r\nSecond", "3723999 3725000 Third"}},
        {"SubRip: an error (no comma) keeps the cues read before it",
         ReadSubRip,
         A + "\n2\n00:00:03 --> 00:00:04\nB\n\n3\n00:00:05,000 --> 00:00:06,000\nC\n",
         {"1000 2000 A"},
         "Subtitle file error"},
        {"SubRip: a block whose first text line is empty is dropped with its lines",
         ReadSubRip,
         "1\n00:00:01,000 --> 00:00:02,000\n\nlost\nlost too\n\n2\n00:00:03,000 --> 00:00:04,000\nkept\n",
         {"3000 4000 kept"}},
        {"SubRip: blank lines inside the text keep the cue open",
         ReadSubRip,
         A + "\n\nstill A\n2\n00:00:03,000 --> 00:00:04,000\nB",
         {"1000 2000 A\r\nstill A", "3000 4000 B"}},
        {"SubRip: a time with a field missing stops the read",
         ReadSubRip,
         A + "\n2\n00:03,000 --> 00:00:04,000\nB\n",
         {"1000 2000 A"},
         "Subtitle file error"},
        {"SubRip: a digit-only text line is taken for the next number",
         ReadSubRip,
         A + "1984\n\n2\n00:00:03,000 --> 00:00:04,000\nB\n\n3\n00:00:05,000 --> 00:00:06,000\nC\n",
         {"1000 2000 A", "5000 6000 C"}},
        {"SubRip: ten-digit fields go through the runtime's conversion",
         ReadSubRip,
         "1\n0000000001:00:00,000 --> 0000000001:0:1,0\nA\n",
         {"3600000 3601000 A"}},
        {"SubRip: a ten-digit field overflows the conversion",
         ReadSubRip,
         A + "\n2\n9999999999:00:01,000 --> 00:00:02,000\nB\n",
         {"1000 2000 A"},
         nullptr,
         "'9999999999' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host.messages.clear();
        EXPECT_EQ(errorOf([&] { c.reader(core, c.text); }), c.error);
        EXPECT_EQ(cues(), c.cues);
        EXPECT_EQ(host.messages, c.message ? Strings{c.message} : Strings{});
        EXPECT_EQ(core.SubIsTimeBased, c.reader != ReadBraceFrames && c.reader != ReadBracketFrames);
    }
}

class DoctorTest : public CoreTest {};

TEST_F(DoctorTest, EachProblemIsFoundAtItsLine) {
    const std::pair<const char*, Strings> cases[] = {
        // a file, and "line kind" of each problem
        {"1\n00:00:01,500 --> 00:00:03,250\n<i>Tom & Jerry</i>\n\n2\n00:00:02,900 --> 00:00:02,900\nOverlap\n\n"
         "3\nno arrow here\nx\n\n4\n00:00:05,000 --> 00:00:04,000\nBackwards\n5\n00:00:06,000 --> 00:00:07,000\n\n"
         "dropped\n6\n00:00:08,000 --> bad\n7\n00:00:09,000 --> 00:00:10,000\nnever read\n",
         {"2 tag-as-text", "2 ampersand", "6 one-frame", "6 overlap", "10 skipped", "14 never-shows", "18 skipped",
          "21 stopped"}},
        {"1\n00:00:01,000 --> 00:00:02,000\nA\n00:00:03,000 --> 00:00:04,000\nB\n", {"4 text-outside-cue"}},
        {"{1}{1}23.976\n\n{0}{50}{y:i}Hi && bye\n{60}{}Open\n{-5}{9}Minus\n",
         {"1 frame-rate-line", "3 overlap", "3 tag-as-text", "4 never-shows", "5 stopped"}},
        {"[Script Info]\n[Events]\nFormat: Start, End, Text\nDialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,{\\an8}A\\hB\n"
         "Dialogue : 0,0:00:03.00,0:00:04.00,D,,0,0,0,,lost\nDialogue: 0,x:00:05.00,0:00:06.00,D,,0,0,0,,C\n",
         {"3 format-line", "4 tag-as-text", "5 skipped", "6 stopped"}},
        {"[INFORMATION]\n00:00:01.50,00:00:02.00\nOne\nTwo\nThree\n", {"4 stopped"}},
        {"[Script Info]\n[Events]\nFormat: Layer, START, End, Style, Name, MarginL, MarginR, MarginV, Effect, TEXT\n"
         "Dialogue: 0,0:00:01.00,0:00:02.00,D,,0,0,0,,A\n",
         {}},  // the usual layout in capitals
        {"\n\nHello there\n", {"3 unknown-format"}},
    };
    for (const auto& [file, expected] : cases) {
        ReadFacts facts;
        core.Facts = &facts;
        host.messages.clear();
        const std::string text = errorOf([&] { load(file); });
        const auto error = text == "no error" ? std::nullopt : std::optional<std::string>(text);
        Strings found;
        for (const Problem& p : DiagnoseSubtitle(core, facts, host.messages, error))
            found.push_back(std::to_string(p.line) + " " + p.kind);
        EXPECT_EQ(found, expected) << file;
    }
}

TEST_F(DoctorTest, StylingShownAsTextNamesItsFirstFourTags) {
    ReadFacts facts;
    core.Facts = &facts;
    load("1\n00:00:01,000 --> 00:00:02,000\n<i>that</i> <b>b</b> <u>c</u>\n");
    const std::vector<Problem> problems = DiagnoseSubtitle(core, facts, host.messages, std::nullopt);
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems[0].detail, "styling shown as text: <i> </i> <b> </b>");
}

TEST_F(DoctorTest, MovieFitNamesTheFrameRateItemThatAStandardRatioExplains) {
    const std::tuple<bool, int32_t, double, double, const char*, double> cases[] = {
        {true, 6000000, 25.0, 5770.0, "23.976", 0},  // timed for the film, the movie runs fast (25/24 fits too)
        {true, 5754000, 23.976, 6000.0, "25.000", 0},
        // 1.5 s past the end is past it; timed for the fast copy: ends early by the ratio
        {true, 5771500, 25.0, 5770.0, "23.976", 0},
        {true, 9000000, 25.0, 6000.0, "", 0},  // past the end, no ratio brings it in
        {false, 179800, 25.0, 6100.0, "", 29.97},
    };
    for (const auto& [timeBased, lastEnd, movieRate, movieLength, item, fitRate] : cases) {
        core.ClearSubList();
        core.SubIsTimeBased = timeBased;
        add(1, lastEnd, "x");
        const std::optional<MovieFit> fit = FitToMovie(core, movieRate, movieLength);
        ASSERT_TRUE(fit);
        EXPECT_EQ(fit->frameRateItem, item) << fit->verdict;
        EXPECT_EQ(fit->fitRate.value_or(0), fitRate) << fit->verdict;  // frame-numbered only
    }
    // A first cue at frame 1 names a frame rate only when its text is a rate.
    EXPECT_FALSE(FitToMovie(core, 25.0, 6100.0)->declaredRate);
    EXPECT_EQ(ClockText(3723.5), "1:02:03.500");  // as the report writes times, and reads them
    EXPECT_EQ(ParseClockText("1:02:03.5"), 3723.5);
    EXPECT_EQ(ParseClockText("1.5:00"), std::nullopt);  // only the seconds have a fraction
}

}  // namespace
}  // namespace tessaview::testing
