// Reading the movie through the real window: the transcript (rows and their times, a click
// that seeks, the line on screen followed, finding with Ctrl+F, Enter and F3, its place kept
// in set.ini), the line keys in the window and in full screen, and Pause After Each Line.
#include "window_harness.h"

#include "external/messages.h"
#include "presentation/tfm_synchronize.h"
#include "presentation/transcript_model.h"
#include "presentation/transcript_panel.h"

#include <QClipboard>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace tessaview::test {
namespace {

constexpr int VK_RIGHT = 39, VK_LEFT = 37;

// At 25 fps: frames 25-50, 75-100, 125-162, 200-225 and 250-275.
const char* const FiveLines =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>Bonjour</i>, Caf\xC3\xA9!\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nSecond line\r\nwith a break\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:06,500\r\ncafe again\r\n\r\n"
    "4\r\n00:00:08,000 --> 00:00:09,000\r\nFourth\r\n\r\n"
    "5\r\n00:00:10,000 --> 00:00:11,000\r\nCAF\xC3\x89 the last\r\n";

class ReadingTest : public MainWindowTest {
protected:
    ReadingTest() { Activate(); }
    void OpenWithLines(const std::string& subtitle = FiveLines, const char* name = "movie.srt") {
        MakeFile(name, subtitle);
        OpenMovie("movie.avi", {.duration = 2500});
        engine.position = 0;
    }
    TranscriptPanel& Panel() { return *fmMain().plTranscript; }
    TranscriptModel& Model() { return Panel().Model(); }
    QString Cell(int row, int column) { return Model().index(row, column).data().toString(); }
    bool RowInView(int row) {
        QTableView& view = *Panel().lvTranscript;
        return view.viewport()->rect().contains(view.visualRect(Model().index(row, TranscriptModel::TextColumn)));
    }
    void ClickRow(int row) {
        QTableView& view = *Panel().lvTranscript;
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(Model().index(row, 1)).center());
        Idle();
    }
};

TEST_F(ReadingTest, TranscriptListsEveryLineAtItsTimeOnScreenAndAClickTakesTheMovieThere) {
    OpenWithLines();
    EXPECT_FALSE(Panel().isVisible());
    Press(Qt::CTRL | Qt::Key_T);
    ASSERT_TRUE(Panel().isVisible());
    ASSERT_EQ(Model().rowCount(), 5);
    EXPECT_EQ(Cell(0, TranscriptModel::TextColumn), QString::fromUtf8("Bonjour, Caf\xC3\xA9!"));
    QTableView& view = *Panel().lvTranscript;

    // A second subtitle fills the column beside: its line as each line starts.
    fmMain().LoadSecondSubtitle(MakeFile(
        "second.srt",
        "1\r\n00:00:02,500 --> 00:00:03,500\r\nZweite\r\n\r\n2\r\n00:00:09,000 --> 00:00:12,000\r\nLetzte\r\n"));
    Idle();
    EXPECT_FALSE(view.isColumnHidden(TranscriptModel::SecondTextColumn));
    const std::vector<QString> second{"", "Zweite", "", "", "Letzte"};
    for (int row = 0; row < 5; ++row) EXPECT_EQ(Cell(row, TranscriptModel::SecondTextColumn), second[row]) << row;
    fmMain().RemoveSecondSubtitle1->trigger();
    Idle();
    EXPECT_TRUE(view.isColumnHidden(TranscriptModel::SecondTextColumn));
    EXPECT_EQ(Cell(4, TranscriptModel::SecondTextColumn), "");

    ClickRow(2);
    EXPECT_EQ(engine.position, 125);
    EXPECT_EQ(Model().CurrentLine(), 2) << "the line is marked at once";
    Tick(210);
    EXPECT_EQ(Model().CurrentLine(), 3);
    Tick(180);  // between two lines
    EXPECT_EQ(Model().CurrentLine(), -1);

    // 2 s earlier on screen: the times say so, the list is told to redraw them all, and a click
    // lands where the line now shows.
    QSignalSpy redrawn(&Model(), &QAbstractItemModel::dataChanged);
    fmMain().fmSynchronize()->StepBy(2000);
    Idle();
    ASSERT_FALSE(redrawn.isEmpty());
    EXPECT_EQ(redrawn.last().at(0).value<QModelIndex>().column(), TranscriptModel::TimeColumn);
    EXPECT_EQ(redrawn.last().at(1).value<QModelIndex>().row(), 4);
    EXPECT_EQ(Cell(4, TranscriptModel::TimeColumn), "0:00:08");
    ClickRow(4);
    EXPECT_EQ(engine.position, 200);
    QTest::keyClick(Panel().lvTranscript, Qt::Key_Up);  // Enter on the row above
    QTest::keyClick(Panel().lvTranscript, Qt::Key_Return);
    EXPECT_EQ(engine.position, 150);
    // The subtitle's frame rate at 30 on this 25 fps movie: line 5 (frame 300) at 0:00:10.
    fmMain().FrameRateItems[5]->trigger();
    fmMain().fmSynchronize()->StepBy(-2000);
    Idle();
    EXPECT_EQ(Cell(4, TranscriptModel::TimeColumn), "0:00:12");

    // A new subtitle, and then none: the rows follow.
    const std::string other = MakeFile("other.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nOnly one\r\n");
    ChooseFile(fmMain().LoadSubtitle1, other);
    Idle();
    ASSERT_EQ(Model().rowCount(), 1);
    EXPECT_EQ(Cell(0, TranscriptModel::TextColumn), "Only one");
    fmMain().RemoveSubtitle1->trigger();
    Idle();
    EXPECT_EQ(Model().rowCount(), 0);
}

TEST_F(ReadingTest, TheLineOnScreenStaysInViewUnlessTheUserScrolledLatelyAndThePanelIsRemembered) {
    std::string cues;  // 400 frame-numbered lines, one a second
    for (int i = 0; i < 400; ++i)
        cues +=
            "{" + std::to_string(i * 25) + "}{" + std::to_string(i * 25 + 20) + "}line " + std::to_string(i) + "\r\n";
    OpenWithLines(cues, "movie.sub");
    fmMain().Transcript1->trigger();
    Idle();
    ASSERT_EQ(Model().rowCount(), 400);
    Tick(300 * 25 + 5);
    EXPECT_EQ(Model().CurrentLine(), 300);
    EXPECT_TRUE(RowInView(300));

    Panel().lvTranscript->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    Tick(350 * 25);
    EXPECT_FALSE(RowInView(350)) << "the list stays where the user scrolled to";
    Panel().SetScrollHoldMs(0);  // a while later
    Tick(350 * 25 + 1);
    EXPECT_TRUE(RowInView(350));

    // Shown, with the width the user dragged it to, at the next start.
    QSplitter& splitter = *fmMain().plReading;
    const int total = splitter.width() - splitter.handleWidth();
    splitter.setSizes({total - 180, 180});
    emit splitter.splitterMoved(total - 180, 1);
    CloseAndRestart();
    EXPECT_TRUE(Panel().isVisible());
    EXPECT_TRUE(fmMain().Transcript1->isChecked());
    EXPECT_EQ(Panel().width(), 180);
    fmMain().Transcript1->trigger();
    CloseAndRestart();
    EXPECT_FALSE(Panel().isVisible());
}

TEST_F(ReadingTest, CtrlFFindsBlindToCaseAndAccentsAndEnterAndF3StepThroughTheMatchesByTime) {
    OpenWithLines();
    Press(Qt::CTRL | Qt::Key_F);
    ASSERT_TRUE(Panel().isVisible()) << "Ctrl+F shows the transcript";
    EXPECT_EQ(QApplication::focusWidget(), Panel().edFind);
    QTest::keyClicks(Panel().edFind, "cafe");
    EXPECT_EQ(Model().rowCount(), 3);
    EXPECT_EQ(Cell(2, TranscriptModel::TextColumn), QString::fromUtf8("CAF\xC3\x89 the last"));

    engine.position = 30;  // on the first match
    QTest::keyClick(Panel().edFind, Qt::Key_Return);
    Idle();
    EXPECT_EQ(engine.position, 125) << "Enter: the first match after the position";
    Press(QKeyCombination(Qt::Key_F3));
    EXPECT_EQ(engine.position, 250);
    Press(QKeyCombination(Qt::Key_F3));
    EXPECT_EQ(engine.position, 25) << "past the last match: round to the first";
    Press(Qt::SHIFT | Qt::Key_F3);
    EXPECT_EQ(engine.position, 250) << "before the first: round to the last";
    EXPECT_EQ(Panel().SelectedLine(), 4);
    EXPECT_EQ(QApplication::focusWidget(), Panel().edFind) << "the user may type on";

    QTest::keyClick(Panel().edFind, Qt::Key_Escape);
    EXPECT_EQ(Model().rowCount(), 5);
    Press(QKeyCombination(Qt::Key_F3));  // nothing to find
    EXPECT_EQ(engine.position, 250);
}

TEST_F(ReadingTest, LineKeysGoFromLineToLineAndCopyTheLineOnScreenInTheWindowAndInFullScreen) {
    OpenWithLines();
    // Each key pressed with the movie at `from`.
    const struct {
        int32_t from;
        QKeyCombination key;
        int32_t to;
        const char* why;
    } steps[] = {
        {0, Qt::CTRL | Qt::Key_Left, 0, "nothing before the first line"},
        {25, Qt::CTRL | Qt::Key_Right, 75, "the next line"},
        {90, QKeyCombination(Qt::Key_R), 75, "R: the start of the line on screen"},
        {110, QKeyCombination(Qt::Key_R), 75, "R between lines: the last one shown"},
        {80, Qt::CTRL | Qt::Key_Left, 25, "from inside a line, the one before it"},
    };
    for (const auto& step : steps) {
        engine.position = step.from;
        Press(step.key);
        EXPECT_EQ(engine.position, step.to) << step.why;
    }
    QClipboard& clipboard = *QGuiApplication::clipboard();
    clipboard.setText("before");
    // Nothing on screen at frame 0; the first line as text, without markup.
    for (const auto& [position, text] :
         {std::pair{0, "before"}, {30, "Bonjour, Caf\xC3\xA9!"}, {90, "Second line\nwith a break"}}) {
        engine.position = position;
        Press(Qt::CTRL | Qt::Key_C);
        EXPECT_EQ(clipboard.text(), QString::fromUtf8(text)) << position;
    }

    // Synchronized 1 s earlier: the lines come 25 frames sooner; in full screen too.
    fmMain().fmSynchronize()->StepBy(1000);
    fmMain().NN3Click();
    ASSERT_TRUE(engine.fullScreen);
    const std::tuple<int32_t, int, int, int32_t> fullScreenSteps[] = {
        {25, VK_RIGHT, MOD_CONTROL, 50},   {50, VK_RIGHT, MOD_CONTROL, 100},
        {100, VK_LEFT, MOD_CONTROL, 50},   {60, 'R', 0, 50},
        {240, VK_RIGHT, MOD_CONTROL, 240},  // after the last line: nowhere to go
    };
    for (const auto& [from, key, modifiers, to] : fullScreenSteps) {
        engine.position = from;
        FullScreenKey(key, modifiers);
        EXPECT_EQ(engine.position, to) << from << " " << key;
    }
    engine.position = 60;
    FullScreenKey('C', MOD_CONTROL);
    EXPECT_EQ(clipboard.text(), "Second line\nwith a break");

    // With no subtitle the keys are quiet.
    fmMain().RemoveSubtitle1->trigger();
    engine.ClearCalls();
    FullScreenKey(VK_RIGHT, MOD_CONTROL);
    FullScreenKey('R');
    EXPECT_EQ(engine.CallCount("SetPos"), 0);
    EXPECT_TRUE(desktop.exceptions.isEmpty());
}

TEST_F(ReadingTest, PauseAfterEachLinePausesAtTheLinesEndAndSpaceGoesOn) {
    OpenWithLines();
    fmMain().PauseAfterEachLine1->trigger();
    Tick(48);  // two frames (80 ms) before the first line ends
    engine.position = 50;
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.paused; }, 1000)) << "not paused at the line's end";
    EXPECT_EQ(Marks(), std::vector<int>({MarkPaused}));
    Tick(50);

    Press(QKeyCombination(Qt::Key_Space));
    ASSERT_FALSE(engine.paused);
    Tick(50);  // the same line, still on screen: not again
    QTest::qWait(150);
    EXPECT_FALSE(engine.paused);

    // The next line pauses too; a seek away before its end does not.
    Tick(98);
    engine.position = 100;
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.paused; }, 1000));
    Press(QKeyCombination(Qt::Key_Space));
    Tick(160);
    engine.position = 10;
    QTest::qWait(150);
    EXPECT_FALSE(engine.paused);

    // Off, in full screen with its key: the end of a line passes.
    fmMain().NN3Click();
    FullScreenKey('P', MOD_CONTROL | MOD_SHIFT);
    EXPECT_FALSE(fmMain().PauseAfterEachLine1->isChecked());
    Tick(223);
    engine.position = 225;
    QTest::qWait(150);
    EXPECT_FALSE(engine.paused);
}

TEST_F(ReadingTest, VobSubLinesAreListedAsPicturesAtTheirTimes) {
    vobsub.pictures = {FakeVobSubPicture{1, 2000, 3000, 4, 2, std::vector<uint8_t>(32, 255)},
                       FakeVobSubPicture{2, 5000, 6000, 4, 2, std::vector<uint8_t>(32, 255)}};
    vobsub.languages = {"English"};
    MakeFile("movie.idx", "# VobSub index file, v7\r\n");
    MakeFile("movie.sub");
    AnswerLanguageDialogs();
    OpenMovie("movie.avi", {.duration = 2500});
    ASSERT_TRUE(fmMain().Subtitles.SubIsVobSub);
    fmMain().Transcript1->trigger();
    Idle();
    ASSERT_EQ(Model().rowCount(), 2);
    EXPECT_EQ(Cell(1, TranscriptModel::TimeColumn), "0:00:05");
    EXPECT_EQ(Cell(1, TranscriptModel::TextColumn), "[picture]");
    engine.position = 0;
    Activate();  // after the language dialog
    Press(Qt::CTRL | Qt::Key_Right);
    EXPECT_EQ(engine.position, 50);
    EXPECT_EQ(Model().CurrentLine(), 0);
    ClickRow(1);
    EXPECT_EQ(engine.position, 125);
}

}  // namespace
}  // namespace tessaview::test
