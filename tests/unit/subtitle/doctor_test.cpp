// The subtitle doctor: problems found beside the readers, with their lines, and the fit of
// cue times to a movie.
#include "subtitle/subtitle_doctor.h"
#include "subtitle_test_support.h"

namespace tessaview::testing {
namespace {

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
        {true, 5771500, 25.0, 5770.0, "23.976",
         0},  // 1.5 s past the end is past it  // timed for the fast copy: ends early by the ratio
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
    EXPECT_EQ(ClockText(3723.5), "1:02:03.500");  // as the report writes times
}

}  // namespace
}  // namespace tessaview::testing
