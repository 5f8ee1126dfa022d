// The keys and gestures of every player: seeks that stay inside the movie, the sound level and
// muting kept across runs, the synchronize value, the media keys, full-screen keys with their
// modifiers, the mouse over the picture, and nothing at all while no movie is open.
#include "window_harness.h"

#include "external/messages.h"
#include "playback/player_keys.h"
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_sub.h"
#include "presentation/tfm_synchronize.h"

namespace tessaview::test {
namespace {

constexpr int VK_LEFT = 37, VK_RIGHT = 39, VK_NUMPAD0 = 96;

class PlayerKeysTest : public MainWindowTest {
protected:
    PlayerKeysTest() { Activate(); }
};

TEST_F(PlayerKeysTest, WithoutAMovieTheNewKeysDoNothingAndSayNothing) {
    engine.ClearCalls();
    for (const PlayerKey& entry : PlayerKeys()) Press(entry.key);
    engine.TurnWheelOnPicture(WheelNotch);
    engine.DoubleClickPicture();
    Idle();
    for (const char* call : {"SetPos", "PauseMovie", "PlayMovie", "StopMovie", "SetVolume", "SetMute", "ShowText",
                             "SetFullScreen", "PlayFile"})
        EXPECT_EQ(engine.CallCount(call), 0) << call;
    EXPECT_EQ(fmMain().fmSynchronize()->SyncOffset(), 0);
    EXPECT_EQ(fmMain().VolumePercent(), 100);
    EXPECT_TRUE(desktop.errors.isEmpty());
    EXPECT_TRUE(desktop.exceptions.isEmpty());
}

TEST_F(PlayerKeysTest, SeeksStayInsideTheMovieAndShowWhereTheyLanded) {
    OpenMovie("movie.avi", {.frameRate = 25000, .duration = 2500});  // 100 s
    engine.position = 50;                                            // 2 s
    Press(QKeyCombination(Qt::Key_Left));
    EXPECT_EQ(engine.position, 0);
    EXPECT_EQ(engine.shownText, "0:00:00 / 0:01:40");
    engine.position = 100;
    const std::pair<QKeyCombination, int32_t> steps[] = {
        {Qt::Key_Right, 225},
        {Qt::SHIFT | Qt::Key_Right, 1725},
        {Qt::SHIFT | Qt::Key_Right, 2499},  // near the end: the last frame, not the end of the movie
        {Qt::SHIFT | Qt::Key_Left, 999},
        {Qt::Key_Home, 0},
        {Qt::CTRL | Qt::Key_Right, 0},  // the next subtitle line: there is no subtitle
    };
    for (const auto& [key, position] : steps) {
        Press(key);
        EXPECT_EQ(engine.position, position) << QKeySequence(key).toString().toStdString();
    }
}

TEST_F(PlayerKeysTest, VolumeStepsClampMuteTogglesAndBothSurviveARestart) {
    OpenMovie("movie.avi");
    Press(QKeyCombination(Qt::Key_0));
    EXPECT_EQ(engine.volume, 100);
    EXPECT_EQ(engine.shownText, "Volume 100 %");
    Press(Qt::CTRL | Qt::Key_Down);
    Press(Qt::CTRL | Qt::Key_Down);
    Press(QKeyCombination(Qt::Key_9));
    EXPECT_EQ(engine.volume, 85);
    engine.TurnWheelOnPicture(-60);  // half a notch twice: one step
    engine.TurnWheelOnPicture(-60);
    Idle();
    EXPECT_EQ(engine.volume, 80);
    engine.TurnWheelOnPicture(2 * WheelNotch);
    Idle();
    EXPECT_EQ(engine.volume, 90);
    Press(QKeyCombination(Qt::Key_M));
    EXPECT_TRUE(engine.muted);
    EXPECT_EQ(engine.shownText, "Muted");
    Press(Qt::CTRL | Qt::Key_Up);
    EXPECT_EQ(engine.shownText, "Volume 95 % (muted)");
    fmMain().SetVolumePercent(-20);
    EXPECT_EQ(engine.volume, 0);
    fmMain().SetVolumePercent(250);
    EXPECT_EQ(fmMain().VolumePercent(), 100);
    fmMain().SetVolumePercent(55);

    engine.volume = 100;
    engine.muted = false;
    CloseAndRestart();
    EXPECT_EQ(engine.volume, 55);  // given to the engine at start
    EXPECT_TRUE(engine.muted);
    engine.volume = 7;
    OpenMovie("next.avi");
    EXPECT_EQ(engine.volume, 55) << "each new movie gets the level";
    Activate();
    Press(QKeyCombination(Qt::Key_M));
    EXPECT_FALSE(engine.muted);
    EXPECT_EQ(engine.shownText, "Sound on");
}

TEST_F(PlayerKeysTest, FullScreenKeysCarryTheirModifiersAndTheDoubleClickTogglesFullScreen) {
    OpenMovie("movie.avi", {.frameRate = 25000, .duration = 2500});
    fmMain().SetVolumePercent(50);
    engine.DoubleClickPicture();
    Idle();
    ASSERT_TRUE(engine.fullScreen);
    EXPECT_FALSE(fmMain().isVisible());
    const int stripTop = fmMain().fmSub()->y();

    FullScreenKey(VK_RIGHT, MOD_SHIFT);
    EXPECT_EQ(engine.position, 1500);
    FullScreenKey(VK_UP, MOD_CONTROL);  // the sound, not the strip
    EXPECT_EQ(engine.volume, 55);
    EXPECT_EQ(fmMain().fmSub()->y(), stripTop);
    FullScreenKey(VK_NUMPAD0);
    EXPECT_EQ(engine.volume, 60);

    // Z and X move the synchronize value the dialog shows; with Shift they move the second
    // subtitle's own offset instead.
    FullScreenKey('Z');
    EXPECT_EQ(fmMain().fmSynchronize()->SyncOffset(), 100);
    EXPECT_EQ(engine.shownText, "Subtitles 100 ms earlier");
    FullScreenKey('X', MOD_SHIFT);
    EXPECT_EQ(engine.shownText, "Second subtitles 100 ms later");
    EXPECT_EQ(fmMain().Second.OffsetMs, -100);
    for (int i = 0; i < 3; ++i) FullScreenKey('X');
    EXPECT_EQ(fmMain().fmSynchronize()->SyncOffset(), -200);
    EXPECT_EQ(fmMain().fmSynchronize()->seSyn->text(), "-200");
    EXPECT_EQ(engine.shownText, "Subtitles 200 ms later");
    FullScreenKey('Z');
    FullScreenKey('Z');
    EXPECT_EQ(engine.shownText, "Subtitles in step");

    engine.DoubleClickPicture();
    Idle();
    EXPECT_FALSE(engine.fullScreen);
    EXPECT_TRUE(fmMain().isVisible());
    Activate();
    Press(QKeyCombination(Qt::Key_Z));  // the window's key reaches the same value
    EXPECT_EQ(fmMain().fmSynchronize()->SyncOffset(), 100);
}

TEST_F(PlayerKeysTest, MediaKeysActAsTheMovieMenuAndNextAndPreviousWalkThePlayList) {
    for (const char* name : {"a.avi", "b.avi", "c.avi"}) fmMain().PlayListEntries().Append(MakeFile(name));
    OpenMovie("b.avi");
    Press(QKeyCombination(Qt::Key_MediaPrevious));
    EXPECT_EQ(engine.path, Folder() + "/a.avi");
    Press(QKeyCombination(Qt::Key_MediaPrevious));  // the first entry: nothing before it
    EXPECT_EQ(engine.path, Folder() + "/a.avi");
    Press(QKeyCombination(Qt::Key_MediaNext));
    EXPECT_EQ(engine.path, Folder() + "/b.avi");
    EXPECT_EQ(Marks(), std::vector<int>({MarkNone, MarkPlaying, MarkNone}));

    // Pause only pauses and play only plays: each twice.
    for (const auto& [key, paused] : {std::pair{Qt::Key_MediaPause, true},
                                      {Qt::Key_MediaPause, true},
                                      {Qt::Key_MediaPlay, false},
                                      {Qt::Key_MediaPlay, false},
                                      {Qt::Key_MediaTogglePlayPause, true}}) {
        Press(QKeyCombination(key));
        EXPECT_EQ(engine.paused, paused) << key;
    }

    fmMain().NN3Click();
    FullScreenKey(VK_MEDIA_STOP);
    EXPECT_FALSE(engine.playing);
    EXPECT_TRUE(fmMain().isVisible()) << "the stopped movie's window is back";
    Activate();
    Press(QKeyCombination(Qt::Key_MediaTogglePlayPause));
    EXPECT_TRUE(engine.playing);
    EXPECT_FALSE(engine.paused);
}

// The full-screen codes each key arrives as, and the texts' forms beyond what the keys reach.
TEST(PlayerKeys, FullScreenCodesAndTextsOverThePicture) {
    EXPECT_EQ(FullScreenCommand(VK_RIGHT, MOD_SHIFT | MOD_CONTROL), std::nullopt);
    EXPECT_EQ(FullScreenCommand(VK_SPACE, 0), std::nullopt);  // full screen's own key
    EXPECT_EQ(FullScreenCommand(VK_MEDIA_NEXT_TRACK, 0), PlayerCommand::MediaNext);
    EXPECT_EQ(FullScreenCommand(VK_MEDIA_PAUSE, 0), PlayerCommand::MediaPause);
    EXPECT_EQ(PositionLengthText(2 * 90000 + 30, 137500, 25.0), "2:00:01 / 1:31:40");
    EXPECT_EQ(SeekTarget(100, 1500, 0), 1600) << "a movie of unknown length has no end to stop at";
}

}  // namespace
}  // namespace tessaview::test
