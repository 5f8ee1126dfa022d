// The main window's commands: their enabled state in the three movie states, the small
// commands, start-up and closing, the command line and dropped files.
#include "window_harness.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QToolButton>

namespace tessaview::test {
namespace {

// Enabled state of Play File, Play, Pause, Stop, Origin Size, Double Size, Full Screen; each
// menu entry and its tool button always agree.
std::vector<bool> MovieCommands(const TfmMain& w) {
    const std::pair<QAction*, QToolButton*> pairs[] = {{w.PlayFile1, w.sbOpenFile}, {w.Play1, w.sbPlay},
                                                       {w.Pause1, w.sbPause},       {w.Stop1, w.sbStop},
                                                       {w.NN1, w.sbn1},             {w.NN2, w.sbn2},
                                                       {w.NN3, w.sbn3}};
    std::vector<bool> state;
    for (const auto& [item, button] : pairs) {
        EXPECT_EQ(item->isEnabled(), button->isEnabled()) << item->objectName().toStdString();
        state.push_back(item->isEnabled());
    }
    return state;
}

TEST_F(MainWindowTest, CommandStateFollowsTheThreeMovieStates) {
    Idle();
    TfmMain& w = fmMain();
    using V = std::vector<bool>;
    EXPECT_EQ(MovieCommands(w), V({true, false, false, false, false, false, false}));
    EXPECT_FALSE(w.ContinuedPlayFile1->isEnabled());
    EXPECT_FALSE(w.ChangeSubtitleLanguage1->isEnabled());

    OpenMovie("a.avi");
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, false, true, true, true, true, true}));
    EXPECT_TRUE(w.ContinuedPlayFile1->isEnabled());
    w.Pause1->trigger();
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, false, true, true, true, true, true}));
    w.Stop1->trigger();
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, true, false, false, false, false, false}));

    engine.failingPaths.insert(Folder() + "/bad.avi");
    OpenThroughDialog(Folder() + "/bad.avi");
    Idle();
    EXPECT_TRUE(w.Play1->isEnabled());  // a failing open after a stop leaves Play available
    for (QAction* a : {w.LoadSubtitle1, w.EnableAutoloadSubtitle1, w.SetSubtitleFont1, w.AdjustSubtitle1,
                       w.AlwaysonTop1, w.ciShowPlayList, w.QuillmarkHomepage1, w.About2, w.Exit1})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(MainWindowTest, SmallCommandsOnTopSkinHomepage) {
    TfmMain& w = fmMain();
    EXPECT_TRUE(w.AlwaysonTop1->isChecked());
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    w.AlwaysonTop1->trigger();
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(w.AlwaysonTop1->isChecked());
    EXPECT_TRUE(w.isVisible());  // new window flags hide a window until it is shown again

    w.UseSkin1Click();
    EXPECT_FALSE(w.UseSkin1->isChecked());
    EXPECT_EQ(desktop.informations, QStringList({"Skin Changes will be taken effect after program restarted!"}));
    w.QuillmarkHomepage1->trigger();
    EXPECT_EQ(desktop.urls, QStringList({"https://tessaview.org"}));
}

TEST_F(MainWindowTest, StartUpRunsItsStepsAndClosingReleasesTheHook) {
    EXPECT_EQ(hook.sets, 1);
    EXPECT_TRUE(fmMain().acceptDrops());
    EXPECT_TRUE(fmMain().FrameRateItems[0]->isChecked());
    OpenMovie("a.avi");
    EXPECT_FALSE(desktop.screenSaverActive);
    fmMain().Exit1->trigger();
    EXPECT_TRUE(desktop.screenSaverActive);  // closing stops the movie first
    EXPECT_EQ(hook.frees, 1);
    EXPECT_TRUE(QFile::exists(folder.filePath("set.ini")));
}

TEST_F(MainWindowTest, CommandLineOpensTheFirstArgumentWithItsFullPathOnceTheLoopRuns) {
    program.reset();
    Start({"tessaview", "relative/movie.avi", "second.avi"});
    EXPECT_TRUE(engine.path.empty());  // deferred until the message loop runs
    Idle();
    EXPECT_EQ(engine.path, QDir::current().absoluteFilePath("relative/movie.avi").toStdString());
    EXPECT_EQ(engine.CallCount("PlayFile"), 1);
}

TEST_F(MainWindowTest, DroppedFilesOpenOnlyTheFirstEvenASubtitle) {
    const std::string srt = MakeFile("one.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(srt)), QUrl::fromLocalFile(folder.filePath("two.avi"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&fmMain(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&fmMain(), &drop);
    EXPECT_EQ(engine.CallCount("PlayFile"), 1);
    EXPECT_EQ(engine.path, srt);
}

}  // namespace
}  // namespace tessaview::test
