// The libmpv engine on a private X server: full screen on the whole primary screen and
// back, stop in full screen, the window closed from outside, and the descriptors of the video
// output across failed opens. Real key presses reach the program in the end-to-end test.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <filesystem>

#include "engine_test_support.h"
#include "external/messages.h"

namespace tessaview::test {
namespace {

using namespace std::chrono_literals;

class FullScreenTest : public EngineTest {
protected:
    void SetUp() override {
        if (const std::string why = startOnPrivateX(); !why.empty()) GTEST_SKIP() << why;
        wire(400, 300);
        play("odd");  // with sound: no audio device must not matter
        ASSERT_TRUE(waitForPos([](int32_t frame) { return frame >= 2; }));
        engine.PauseMovie();  // held still, so the movie cannot end during the test
    }

    // mpv still answers and still plays once the window has moved.
    void expectStillPlaying() {
        engine.SetPos(10);
        engine.PauseMovie();
        EXPECT_TRUE(waitForPos([](int32_t frame) { return frame >= 13; })) << "position stuck at " << pos();
        engine.PauseMovie();
    }
    bool backInThePanel(QWindow* surface) {
        return waitUntil([&] { return surface->parent() != nullptr && surface->size() == panel->size(); });
    }
};

TEST_F(FullScreenTest, FillsThePrimaryScreenAndComesBackIntoThePanel) {
    QWindow* surface = engine.surface();
    ASSERT_NE(surface, nullptr);
    const WId id = surface->winId();

    engine.SetFullScreen(1);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(waitUntil([&] { return surface->isExposed() && surface->geometry() == screen; }))
        << "full screen at " << surface->geometry().x() << "," << surface->geometry().y() << " "
        << surface->width() << "x" << surface->height();
    EXPECT_EQ(surface->parent(), nullptr);
    EXPECT_EQ(surface->winId(), id) << "mpv's window was replaced";
    expectStillPlaying();

    engine.SetFullScreen(0);
    EXPECT_TRUE(backInThePanel(surface));
    EXPECT_EQ(surface->winId(), id);
    expectStillPlaying();

    // The panel resized by the program: SizeChange fits the picture to it again.
    panel->resize(200, 150);
    engine.SizeChange();
    EXPECT_TRUE(waitUntil([&] { return surface->size() == QSize(200, 150); }));

    // Stop leaves full screen without telling the program.
    engine.SetFullScreen(1);
    ASSERT_TRUE(waitUntil([&] { return surface->isExposed() && surface->parent() == nullptr; }));
    engine.StopMovie();
    EXPECT_FALSE(engine.isFullScreen());
    EXPECT_TRUE(backInThePanel(surface)) << "the stopped picture still covers the screen";
    pumpFor(100ms);
    EXPECT_EQ(mainWindow.count(WM_FULLSCREEN_LEFT), 0);
}

TEST_F(FullScreenTest, ClosingTheWindowEndsFullScreenAndTellsTheProgramOnce) {
    engine.SetFullScreen(1);
    QWindow* surface = engine.surface();
    ASSERT_TRUE(waitUntil([&] { return surface->isExposed(); }));
    surface->close();  // as a window manager's close button would
    EXPECT_TRUE(waitUntil([&] { return mainWindow.count(WM_FULLSCREEN_LEFT) == 1; }));
    EXPECT_FALSE(engine.isFullScreen());
    EXPECT_NE(surface->parent(), nullptr) << "the picture went back into the panel";
    expectStillPlaying();

    // The program's own answer to the message does not repeat it.
    engine.SetFullScreen(0);
    pumpFor(100ms);
    EXPECT_EQ(mainWindow.count(WM_FULLSCREEN_LEFT), 1);
}

TEST_F(FullScreenTest, PanelDestroyedInFullScreenIsHarmless) {
    engine.SetFullScreen(1);
    ASSERT_TRUE(waitUntil([&] { return engine.surface()->isExposed(); }));
    panel.reset();
    pumpFor(200ms);  // mpv keeps waking the engine; nothing may reach the dead panel
    engine.SetFullScreen(0);
    EXPECT_FALSE(engine.isFullScreen());
}

// Each failed open reloads the movie before it; the video output must survive that, since each
// new OpenGL output leaves a pipe open.
TEST_F(FullScreenTest, FailedOpensWhileAMovieIsLoadedKeepTheDescriptorCountFlat) {
    const auto descriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    const auto failOpen = [&] {
        EXPECT_ANY_THROW(engine.PlayFile(moviePath("text"), panel.get()));
        pumpFor(100ms);
    };
    failOpen();
    const auto before = descriptors();
    for (int i = 0; i < 4; ++i) failOpen();
    EXPECT_EQ(descriptors(), before);
    expectStillPlaying();
}

}  // namespace
}  // namespace tessaview::test
