// Origin and double size, full screen with the overlay strip, the keys in full screen,
// leaving it both ways, and the height that follows the width while the frame is dragged.
#include "window_harness.h"

#include "external/messages.h"
#include "presentation/tfm_sub.h"

namespace tessaview::test {
namespace {

class ViewTest : public MainWindowTest {
protected:
    void Key(int virtualKey) {
        engine.PressFullScreenKey(virtualKey);
        Idle();
    }
    QRect Overlay() { return fmMain().fmSub()->geometry(); }
};

TEST_F(ViewTest, KeysMoveTheOverlayInFullScreenOnlyAndEscapeParksIt) {
    OpenMovie("movie.avi", {.width = 640, .height = 352});
    Key(VK_UP);  // windowed: nothing
    EXPECT_EQ(Overlay().topLeft(), QPoint(1024, 768));
    fmMain().NN3->trigger();
    EXPECT_TRUE(engine.fullScreen);
    EXPECT_FALSE(fmMain().isVisible());
    EXPECT_EQ(Overlay(), QRect(0, 665, 1024, 173));  // the placement's arithmetic has its own table
    Key(VK_UP);
    Key(VK_UP);
    Key(VK_DOWN);
    EXPECT_EQ(Overlay().top(), 664);
    Key(VK_SPACE);
    EXPECT_EQ(fmMain().PlayListEntries().Mark(0), MarkPaused);
    Key(65);  // any other key: nothing
    EXPECT_EQ(Overlay().top(), 664);

    fmMain().Stop1Click();  // no movie open: only Escape still works
    Key(VK_UP);
    Key(VK_SPACE);
    EXPECT_EQ(Overlay().top(), 664);
    EXPECT_EQ(engine.CallCount("PauseMovie"), 1);
    Key(VK_ESCAPE);
    EXPECT_FALSE(engine.fullScreen);
    EXPECT_TRUE(fmMain().isVisible());
    EXPECT_EQ(Overlay().topLeft(), QPoint(1024, 768));  // parked beyond the corner
}

TEST_F(ViewTest, FullScreenLeftWithoutAskingTheEngineParksTheOverlayBeyondTheWholeDesktop) {
    desktop.virtualDesktop = QRect(-1280, -200, 3584, 1400);  // a monitor left of and one below the primary
    OpenMovie("movie.avi");
    fmMain().NN3Click();
    engine.ClearCalls();
    engine.LeaveFullScreen();
    Idle();
    EXPECT_FALSE(fmMain().Movie.IsFullScreen);
    EXPECT_TRUE(fmMain().isVisible());
    EXPECT_EQ(Overlay().topLeft(), QPoint(2304, 1200));
    EXPECT_EQ(engine.CallCount("SetFullScreen"), 0);
}

TEST_F(ViewTest, WithoutAPictureSizePlayAndFullScreenLeaveTheWindowAlone) {
    engine.failingPaths.insert(Folder() + "/bad.avi");
    OpenThroughDialog(Folder() + "/bad.avi");  // a failed first open
    const QSize before = fmMain().size();
    fmMain().Play1Click();
    EXPECT_EQ(fmMain().size(), before);
    fmMain().NN3Click();
    EXPECT_FALSE(engine.fullScreen);
    EXPECT_TRUE(fmMain().isVisible());

    OpenMovie("movie.avi", {.width = 0, .height = 0});
    fmMain().NN3Click();
    EXPECT_TRUE(fmMain().isVisible());
    EXPECT_FALSE(fmMain().WindowSizingHeight(800).has_value());
}

TEST_F(ViewTest, OriginAndDoubleSizeFitTheMoviePanelToThePicture) {
    OpenMovie("movie.avi", {.width = 320, .height = 240});
    fmMain().NN2->trigger();
    EXPECT_EQ(fmMain().plMovie->size(), QSize(640, 480));
    fmMain().NN1->trigger();
    EXPECT_EQ(fmMain().plMovie->size(), QSize(320, 240));
}

TEST_F(ViewTest, SizingHeightFollowsTheWidthWhileAMovieIsOpen) {
    OpenMovie("movie.avi", {.width = 640, .height = 352});
    TfmMain& w = fmMain();
    const int fixed = w.sbMain->height() + w.lbSubParent->height() + 3 + w.tbMain->height();
    EXPECT_EQ(w.WindowSizingHeight(w.FrameWidth + 400), 220 + fixed + w.FrameHeight);
    w.Stop1Click();
    EXPECT_FALSE(w.WindowSizingHeight(w.FrameWidth + 400).has_value());
}

TEST_F(ViewTest, MoviePanelResizeRefitsThePictureWhileOpen) {
    OpenMovie("movie.avi");
    engine.ClearCalls();
    fmMain().resize(fmMain().width() + 10, fmMain().height());
    EXPECT_EQ(engine.CallCount("SizeChange"), 1);
    fmMain().Stop1Click();
    engine.ClearCalls();
    fmMain().resize(fmMain().width() + 10, fmMain().height());
    EXPECT_EQ(engine.CallCount("SizeChange"), 0);
}

}  // namespace
}  // namespace tessaview::test
