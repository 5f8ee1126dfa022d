// The main window's commands: their enabled state in the three movie states with the marks and
// the screen saver, the command line, dropped files, full screen with its keys, and the picture
// that follows the movie panel and the splitter.
#include "window_harness.h"

#include "app/command_line.h"
#include "external/messages.h"
#include "platform/end_signals.h"
#include "presentation/tfm_sub.h"

#include <QDir>
#include <QToolButton>
#include <csignal>

#include <fstream>
#include <sstream>

namespace tessaview::test {
namespace {

// Enabled state of Play File, Play, Pause, Stop, Origin Size, Double Size, Full Screen; each
// menu entry and its tool button always agree.
std::vector<bool> MovieCommands(const TfmMain& w) {
    const std::pair<QAction*, QToolButton*> pairs[] = {{w.PlayFile1, w.sbOpenFile},
                                                       {w.Play1, w.sbPlay},
                                                       {w.Pause1, w.sbPause},
                                                       {w.Stop1, w.sbStop},
                                                       {w.NN1, w.sbn1},
                                                       {w.NN2, w.sbn2},
                                                       {w.NN3, w.sbn3}};
    std::vector<bool> state;
    for (const auto& [item, button] : pairs) {
        EXPECT_EQ(item->isEnabled(), button->isEnabled()) << item->objectName().toStdString();
        state.push_back(item->isEnabled());
    }
    return state;
}

TEST_F(MainWindowTest, CommandsMarksAndScreenSaverFollowTheThreeMovieStates) {
    Idle();
    TfmMain& w = fmMain();
    using V = std::vector<bool>;
    EXPECT_EQ(MovieCommands(w), V({true, false, false, false, false, false, false}));
    EXPECT_FALSE(w.ContinuedPlayFile1->isEnabled());

    OpenMovie("a.avi", {.width = 320, .height = 240});
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, false, true, true, true, true, true}));
    EXPECT_TRUE(w.ContinuedPlayFile1->isEnabled());
    EXPECT_FALSE(desktop.screenSaverActive);
    w.Pause1->trigger();
    EXPECT_EQ(Marks(), std::vector<int>({MarkPaused}));
    w.Pause1->trigger();
    EXPECT_EQ(Marks(), std::vector<int>({MarkPlaying}));
    w.NN2->trigger();
    EXPECT_EQ(w.plMovie->size(), QSize(640, 480));
    w.NN1->trigger();
    EXPECT_EQ(w.plMovie->size(), QSize(320, 240));
    w.NN2->trigger();
    w.Stop1->trigger();
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, true, false, false, false, false, false}));
    EXPECT_EQ(Marks(), std::vector<int>({MarkNone}));
    EXPECT_TRUE(desktop.screenSaverActive);
    w.Play1->trigger();  // fits the panel to the picture again
    EXPECT_EQ(w.plMovie->size(), QSize(320, 240));
    EXPECT_EQ(Marks(), std::vector<int>({MarkPlaying}));
    EXPECT_FALSE(desktop.screenSaverActive);

    Idle();
    w.Stop1->trigger();
    engine.failingPaths.insert(Folder() + "/bad.avi");
    OpenThroughDialog(Folder() + "/bad.avi");
    Idle();
    EXPECT_TRUE(w.Play1->isEnabled());  // a failing open after a stop leaves Play available
}

TEST_F(MainWindowTest, CommandLineOpensItsArgumentOnceTheLoopRunsAndADropOnlyTheFirstFile) {
    program.reset();
    Start({"tessaview", "relative/movie.avi"});
    EXPECT_TRUE(engine.path.empty());  // deferred until the message loop runs
    Idle();
    EXPECT_EQ(engine.path, QDir::current().absoluteFilePath("relative/movie.avi").toStdString());
    EXPECT_EQ(engine.CallCount("PlayFile"), 1);
    const std::string srt = MakeFile("one.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n");
    // The movie among the files opens, and the subtitle among them is loaded for it.
    fmMain().DropFiles({QString::fromStdString(srt), folder.filePath("two.avi"), folder.filePath("three.avi")});
    EXPECT_EQ(engine.path, folder.filePath("two.avi").toStdString());
    EXPECT_EQ(fmMain().Subtitles.SubFileName, srt);
    fmMain().DropFiles({folder.filePath("ONE.SRT")});  // a subtitle alone leaves the movie as it is
    EXPECT_EQ(engine.CallCount("PlayFile"), 2);
}

// A logout or `kill` ends the program as Exit does: the play list is saved.
TEST_F(MainWindowTest, TermAndHangUpSignalsCloseTheWindowAndSaveTheSettings) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        OpenMovie("kept.avi");
        EndSignals endSignals;
        QObject::connect(&endSignals, &EndSignals::Received, &fmMain(), [this] { fmMain().close(); });
        std::raise(signal);
        Idle();
        EXPECT_FALSE(fmMain().isVisible()) << signal;
        CloseAndRestart();
        EXPECT_EQ(fmMain().PlayListEntries().Captions(), std::vector<std::string>({Folder() + "/kept.avi"})) << signal;
    }
}

// Files and Qt's own options start the player; anything else is answered and ends it.
TEST(CommandLine, FilesAndQtOptionsStartThePlayerOthersAnswer) {
    const std::string dashFile = "-command-line-test.avi";  // a movie named like an option
    std::ofstream(dashFile) << "x";
    const std::pair<std::vector<const char*>, std::optional<int>> cases[] = {
        {{dashFile.c_str()}, std::nullopt},
        {{"--foo", "movie.avi"}, 2},
        {{"-platform", "offscreen", "--style=fusion", "-reverse", "movie.avi"}, std::nullopt},
        {{"--", "--foo"}, std::nullopt},
        {{"-platform"}, std::nullopt},
        {{"movie.avi", "-h"}, 0},
        {{"-reverse=1"}, 2},
        {{"--subtitle", "a.srt", "--second-subtitle=b.srt", "movie.avi"}, std::nullopt},
        {{"movie.avi", "--second-subtitle"}, 2},
    };
    for (const auto& [args, status] : cases) {
        std::vector<const char*> argv{"tessaview"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::ostringstream out, err;
        EXPECT_EQ(AnswerCommandLine(int(argv.size()), argv.data(), out, err), status) << args.front();
        EXPECT_EQ(out.str().empty(), status != 0) << args.front();
    }
    std::remove(dashFile.c_str());

    using A = std::vector<std::string>;
    const std::pair<A, std::tuple<std::string, std::string, std::string>> read[] = {
        {{"tessaview"}, {}},
        {{"tessaview", "m.avi"}, {"m.avi", "", ""}},
        {{"tessaview", "--subtitle", "a.srt", "m.avi", "--second-subtitle=b.srt"}, {"m.avi", "a.srt", "b.srt"}},
        {{"tessaview", "--second-subtitle", "b.srt"}, {"", "", "b.srt"}},
        {{"tessaview", "--", "--subtitle"}, {"--subtitle", "", ""}},
    };
    for (const auto& [args, expected] : read) {
        const PlayerArguments got = ReadPlayerArguments(args);
        EXPECT_EQ(std::tie(got.movie, got.subtitle, got.secondSubtitle), expected) << args.back();
    }
}

TEST_F(MainWindowTest, KeysMoveTheOverlayInFullScreenAndLeavingHidesAndParksItBeyondTheWholeDesktop) {
    const auto overlay = [&] { return fmMain().fmSub()->geometry(); };
    desktop.virtualDesktop = QRect(-1280, -200, 3584, 1400);  // a monitor left of and one below the primary
    EXPECT_FALSE(fmMain().fmSub()->isVisible());
    OpenMovie("movie.avi", {.width = 640, .height = 352});
    fmMain().NN3->trigger();
    EXPECT_EQ(overlay(), QRect(0, 665, 1024, 173));  // the placement's arithmetic has its own table
    EXPECT_TRUE(fmMain().fmSub()->isVisible());
    engine.ClearCalls();
    engine.LeaveFullScreen();  // the engine left by itself
    Idle();
    EXPECT_TRUE(fmMain().isVisible());
    EXPECT_FALSE(fmMain().fmSub()->isVisible()) << "a window manager would pull the parked overlay onto the screen";
    EXPECT_EQ(overlay().topLeft(), QPoint(2304, 1200));
    EXPECT_EQ(engine.CallCount("SetFullScreen"), 0);

    fmMain().NN3Click();
    for (const int key : {VK_UP, VK_UP, VK_DOWN}) FullScreenKey(key);
    EXPECT_EQ(overlay().top(), 664);
    FullScreenKey(VK_SPACE);
    EXPECT_EQ(fmMain().PlayListEntries().Mark(0), MarkPaused);
    fmMain().Stop1Click();  // no movie open: only Escape still works
    for (const int key : {VK_UP, VK_SPACE}) FullScreenKey(key);
    EXPECT_EQ(overlay().top(), 664);
    EXPECT_EQ(engine.CallCount("PauseMovie"), 1);
    FullScreenKey(VK_ESCAPE);
    EXPECT_FALSE(engine.fullScreen);
    EXPECT_TRUE(fmMain().isVisible());
    EXPECT_EQ(overlay().topLeft(), QPoint(2304, 1200));
}

TEST_F(MainWindowTest, WithoutAPictureSizePlayAndFullScreenLeaveTheWindowAlone) {
    engine.failingPaths.insert(Folder() + "/bad.avi");
    OpenThroughDialog(Folder() + "/bad.avi");  // a failed first open
    const QSize before = fmMain().size();
    fmMain().Play1Click();
    EXPECT_EQ(fmMain().size(), before);
    fmMain().NN3Click();
    EXPECT_FALSE(engine.fullScreen);
    EXPECT_TRUE(fmMain().isVisible());
}

TEST_F(MainWindowTest, PictureFollowsTheMoviePanelOnlyWhileAMovieIsOpenAndASplitterDragKeepsItsShape) {
    OpenMovie("movie.avi");
    engine.ClearCalls();
    fmMain().resize(fmMain().width() + 10, fmMain().height());
    EXPECT_EQ(engine.CallCount("SizeChange"), 1);
    const QList<int> sizes = fmMain().plClient->sizes();
    fmMain().plClient->setSizes({sizes[0] - 60, sizes[1] + 60});  // as a drag of the splitter leaves them
    fmMain().SplitterMoved(fmMain().plClient);
    EXPECT_EQ(fmMain().plMovie->width(), qRound(640.0 * fmMain().plMovie->height() / 480));
    const QList<int> across = fmMain().plMain->sizes();
    fmMain().plMain->setSizes({across[0] - 50, across[1] + 50});  // the play list's splitter: the height follows
    fmMain().SplitterMoved(fmMain().plMain);
    EXPECT_EQ(fmMain().plMovie->height(), qRound(480.0 * fmMain().plMovie->width() / 640));
    fmMain().Stop1Click();
    engine.ClearCalls();
    fmMain().resize(fmMain().width() + 10, fmMain().height());
    EXPECT_EQ(engine.CallCount("SizeChange"), 0);
}

}  // namespace
}  // namespace tessaview::test
