// The rules under the windows: cue markup (tags that become styles, markup dropped, text kept),
// finding in the transcript (folding, narrowing, stepping with wrap), the lines on the clock's
// timeline (order, neighbours, the clock's arithmetic both ways, the listed times), and the view
// modes' and splitters' arithmetic on the sizes users meet.
#include "external/vobsub_library.h"
#include "playback/clock_math.h"
#include "playback/subtitle_lines.h"
#include "playback/view_modes.h"
#include "presentation/subtitle_markup.h"
#include "presentation/transcript_filter.h"

#include <gtest/gtest.h>

namespace tessaview {
namespace {

// A styled run as {flags:text}, flags from b, i, u and the colour as #rrggbb; plain text as
// is; lines joined with '|'.
std::string Describe(const std::vector<StyledLine>& lines) {
    QString out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += u'|';
        for (const StyledRun& run : lines[i]) {
            const TextStyle& s = run.style;
            QString flags = QString(s.bold ? "b" : "") + (s.italic ? "i" : "") + (s.underline ? "u" : "");
            if (s.color.isValid()) flags += s.color.name();
            out += flags.isEmpty() ? run.text : u'{' + flags + u':' + run.text + u'}';
        }
    }
    return out.toStdString();
}

TEST(SubtitleMarkup, StyleTagsBecomeRunsOtherMarkupIsDroppedAndTheRestIsKept) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // a cue, its runs, its plain text
        {"<i>this one in italics</i>", "{i:this one in italics}", "this one in italics"},
        {"{\\pos(400,570)}(deep rumbling)", "(deep rumbling)", "(deep rumbling)"},
        {"{\\an8}top{\\i1}", "top", "top"},
        {"<B>bold <i>both</ I></b> none", "{b:bold }{bi:both} none", "bold both none"},
        {"<u>runs on\r\nnext", "{u:runs on}|{u:next}", "runs on\nnext"},
        {"<font color=\"#ff0000\">r</font> <FONT COLOR=yellow>y<font color='#0000FF'>b</font>y</font>",
         "{#ff0000:r} {#ffff00:y}{#0000ff:b}{#ffff00:y}", "r yby"},
        {"<font face=Arial>x</font><font color=00ff00>g</font>", "x{#00ff00:g}", "xg"},
        {"one\\Ntwo\\nthree\\hfour", "one|two|three\u00A0four", "one\ntwo\nthree\u00A0four"},
        {"<ruby>a</ruby><c.yellow>b</c></>", "ab", "ab"},
        {"a < b, I <3 you, x>y", "a < b, I <3 you, x>y", "a < b, I <3 you, x>y"},
        {"</i>a <i b\nc> {\\d\n}", "a <i b|c> {\\d|}", "a <i b\nc> {\\d\n}"},  // unclosed on its line
        {"Tom & Jerry && co \\t", "Tom & Jerry && co \\t", "Tom & Jerry && co \\t"},
        {"", "", ""},
    };
    for (const auto& [text, runs, plain] : cases) {
        const QString cue = QString::fromUtf8(text);
        EXPECT_EQ(Describe(ParseMarkup(cue)), runs) << text;
        EXPECT_EQ(PlainText(cue), QString::fromUtf8(plain)) << text;
    }
}

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

TEST(FullScreenOverlayTop, SitsBelowThePictureAndNeverLowerThan80AboveTheBottom) {
    const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t> cases[] = {
        // screen, picture, the overlay's top
        {1024, 768, 640, 352, 665},           // (768 + 563) / 2, above the cap
        {1024, 768, 640, 440, 688},           // (768 + 704) / 2 = 736: capped
        {1280, 720, 3, 1, 573},               // 426.66 truncated before halving: (720 + 426) / 2
        {INT32_MAX, 768, 1, INT32_MAX, 688},  // 32-bit products would wrap here
    };
    for (const auto& [screenW, screenH, videoW, videoH, top] : cases)
        EXPECT_EQ(FullScreenOverlayTop(screenW, screenH, videoW, videoH), top) << videoW << "x" << videoH;
    EXPECT_EQ(FullScreenOverlayTop(1024, 768, 0, 352), std::nullopt);
}

TEST(Splitters, PanelCollapsesAt30TheOtherSideKeeps30AndDragsKeepThePicturesProportions) {
    EXPECT_EQ(SplitterPanelSize(31, 400), 31);
    EXPECT_EQ(SplitterPanelSize(30, 400), 0);
    EXPECT_EQ(SplitterPanelSize(390, 400), 370);  // the movie panel keeps 30
    EXPECT_EQ(SplitterPanelSize(50, 55), 0);      // limited to 25, which collapses
    EXPECT_EQ(SplitterSizesAfterDrag({360, 40}), QList<int>({360, 40}));
    EXPECT_EQ(SplitterSizesAfterDrag({380, 20}), QList<int>({400, 0}));   // collapsed, the space to the movie
    EXPECT_EQ(SecondPartSizes(546, {3}, 230), QList<int>({313, 230}));    // the play list at the design width
    EXPECT_EQ(SecondPartSizes(200, {3, 20}, 190), QList<int>({0, 190}));  // no room left: the first part has none
    // Splitter1 decides the height, the width follows; ties go to the even neighbour: 4.5 -> 4.
    EXPECT_EQ(SplitterWindowChange(Qt::Vertical, {0, 9}, 3, {3, 2}), QSize(4, 0));
    // Splitter2 decides the width: 500 wide at 640 x 352 is 275 high.
    EXPECT_EQ(SplitterWindowChange(Qt::Horizontal, {400, 300}, 500, {640, 352}), QSize(0, 275 - 300));
    EXPECT_EQ(SplitterWindowChange(Qt::Horizontal, {500, 275}, 500, {640, 352}), std::nullopt);  // already so
    // Nothing happens while no picture size is known.
    EXPECT_EQ(SplitterWindowChange(Qt::Vertical, {400, 250}, 250, {640, 0}), std::nullopt);
    EXPECT_EQ(SplitterWindowChange(Qt::Horizontal, {400, 250}, 400, {0, 480}), std::nullopt);
    EXPECT_EQ(SizingHeight(500, 8, 0, 352, {130}, 46), std::nullopt);
    // A frame drag to 400 px inside a frame of 8 x 46: the picture's 220 plus the fixed 130.
    EXPECT_EQ(SizingHeight(8 + 400, 8, 640, 352, {100, 30}, 46), 220 + 130 + 46);
}

// A picture too wide or too tall for the screen shrinks whole, by its tighter side.
TEST(FittedPanelSize, APictureThatDoesNotFitShrinksByItsTighterSide) {
    const QSize around(8, 46), screen(808, 646);  // 800 x 600 of room
    EXPECT_EQ(FittedPanelSize({640, 352}, 1.0, 1.0, around, screen), QSize(640, 352));
    EXPECT_EQ(FittedPanelSize({1000, 300}, 1.0, 1.0, around, screen), QSize(800, 240));
    EXPECT_EQ(FittedPanelSize({300, 500}, 2.0, 1.0, around, screen), QSize(180, 300) * 2);
    EXPECT_EQ(FittedPanelSize({0, 352}, 1.0, 1.0, around, screen), std::nullopt);
}

}  // namespace
}  // namespace tessaview
