// The subtitle clock through the real window (offsets, both surfaces, the bitmap branch) and
// the Load Subtitle command.
#include "window_harness.h"

#include "playback/player_keys.h"
#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_label.h"
#include "presentation/subtitle_surfaces.h"
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_synchronize.h"

namespace tessaview::test {
namespace {

class ClockTest : public MainWindowTest {
protected:
    // One frame-numbered cue per second of frames 0..999 at 25 fps: "cue4" from frame 100.
    void OpenWithCues() {
        std::string cues;
        for (int i = 0; i < 40; ++i)
            cues +=
                "{" + std::to_string(i * 25) + "}{" + std::to_string(i * 25 + 24) + "}cue" + std::to_string(i) + "\r\n";
        MakeFile("movie.sub", cues);
        OpenMovie("movie.avi", {.duration = 1000});
        ASSERT_EQ(fmMain().Subtitles.SubList.size(), 40u);
    }
    std::string Tick(int32_t position) {
        MainWindowTest::Tick(position);
        return Caption();
    }
    // What both labels show.
    std::string Caption() {
        const SubtitleSurfaces& surfaces = fmMain().Surfaces();
        EXPECT_EQ(surfaces.OverlayText()->DisplayText(), surfaces.PanelText()->DisplayText());
        return surfaces.PanelText()->DisplayText().toStdString();
    }
};

TEST_F(ClockTest, OffsetsMoveTheLookupButNotTheTrackBarOrTheClockText) {
    OpenWithCues();
    struct Case {
        int32_t position, continued, syncMs;
        const char* cue;
        const char* clock;
    } cases[] = {
        {100, 0, 0, "cue4", "100/0:0:4"},    {100, 0, 1000, "cue5", "100/0:0:4"},  // +1000 ms = +25 frames: frame 125
        {100, 0, -400, "cue3", "100/0:0:4"},                                       // -10 frames: frame 90
        {50, 500, 0, "cue22", "550/0:0:22"},                                       // continued play counts on
        {99, 0, 20, "cue3", "99/0:0:4"},  // 0.5 frame rounds to even 0: frame 99
        {99, 0, 60, "cue4", "99/0:0:4"},  // 1.5 frames round to 2: frame 101
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << "+" << c.continued << " sync " << c.syncMs);
        fmMain().Movie.ContinuedOffset = c.continued;
        fmMain().fmSynchronize()->StepBy(c.syncMs - fmMain().fmSynchronize()->SyncOffset());
        EXPECT_EQ(Tick(c.position), c.cue);
        EXPECT_EQ(fmMain().tbMain->value(), c.position);
        EXPECT_EQ(Panel(0), c.clock);
    }
}

TEST_F(ClockTest, LoadSubtitleOpensTheFileAsPickedAndAFailureKeepsTheOneBefore) {
    OpenMovie("plain.avi", {.duration = 1000});
    EXPECT_EQ(Tick(10), "");
    const std::string upper = MakeFile("Salvage.SRT", "1\r\n00:00:01,000 --> 00:00:03,000\r\nFrom the dialog\r\n");
    ChooseFile(fmMain().LoadSubtitle1, upper);
    EXPECT_EQ(Tick(50), "From the dialog");
    ChooseFile(fmMain().LoadSubtitle1, Folder() + "/missing.srt");
    EXPECT_EQ(Tick(51), "From the dialog");  // the earlier subtitle plays on
    EXPECT_TRUE(fmMain().tmMovie->isActive());
    fmMain().ShowSubtitles1->trigger();  // V: hidden at once, on both surfaces
    EXPECT_EQ(Tick(52), "");
    fmMain().ShowSubtitles1->trigger();
    EXPECT_EQ(Tick(53), "From the dialog");
    fmMain().Stop1->trigger();
    EXPECT_EQ(Caption(), "From the dialog");  // Stop keeps the last caption
    fmMain().RemoveSubtitle1->trigger();
    EXPECT_EQ(Caption(), "");
    EXPECT_EQ(Tick(54), "");
}

// The second subtitle: its line under the first on both surfaces, its own offset, a strip
// that grows by its line and back, and the loads it refuses while both lines play on.
TEST_F(ClockTest, SecondSubtitleShowsUnderTheFirstWithItsOwnOffset) {
    OpenWithCues();
    TfmMain& w = fmMain();
    Idle();
    const int strip = w.lbSubParent->height(), window = w.height(), picture = w.plMovie->height();
    EXPECT_FALSE(w.RemoveSecondSubtitle1->isEnabled());
    const SubtitleSurfaces& surfaces = w.Surfaces();
    auto second = [&] {
        EXPECT_EQ(surfaces.OverlaySecondText()->DisplayText(), surfaces.PanelSecondText()->DisplayText());
        return surfaces.PanelSecondText()->DisplayText().toStdString();
    };
    ChooseFile(w.LoadSecondSubtitle1, MakeFile("second.srt",
                                               "1\r\n00:00:04,000 --> 00:00:05,000\r\nZweite\r\n\r\n"
                                               "2\r\n00:00:05,000 --> 00:00:06,000\r\nDritte\r\n"));
    Idle();
    EXPECT_TRUE(w.RemoveSecondSubtitle1->isEnabled());
    EXPECT_EQ(Tick(100), "cue4");  // 4 s
    EXPECT_EQ(second(), "Zweite");
    EXPECT_TRUE(surfaces.PanelSecondText()->isVisible());
    EXPECT_EQ(w.lbSubParent->height(), strip + surfaces.SecondLineHeight());
    EXPECT_EQ(w.height(), window + surfaces.SecondLineHeight());
    EXPECT_EQ(w.plMovie->height(), picture);
    EXPECT_EQ(surfaces.PanelSecondText()->geometry().top(), surfaces.PanelText()->geometry().bottom() + 1);
    EXPECT_EQ(surfaces.PanelSecondText()->geometry().bottom(), w.lbSubParent->rect().bottom());

    // Shift+Z moves the second line only.
    for (int i = 0; i < 15; ++i) w.RunPlayerCommand(PlayerCommand::SecondSubtitlesEarlier);
    EXPECT_EQ(engine.shownText, "Second subtitles 1500 ms earlier");
    TfmSynchronize& dialog = *w.fmSynchronize();  // its own row, under the first's controls
    EXPECT_TRUE(dialog.seSecondSyn->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.seSecondSyn->value(), 1500);
    EXPECT_EQ(dialog.SyncOffset(), 0);
    EXPECT_EQ(Tick(100), "cue4");
    EXPECT_EQ(second(), "Dritte");

    // A second load that fails, or a picture subtitle, leaves both lines as they were.
    ChooseFile(w.LoadSecondSubtitle1, Folder() + "/missing.srt");
    MakeFile("pictures.idx");
    MakeFile("pictures.sub");
    ChooseFile(w.LoadSecondSubtitle1, Folder() + "/pictures.idx");
    ASSERT_EQ(desktop.exceptions.size(), 2);
    EXPECT_TRUE(desktop.exceptions[0].startsWith("Cannot open file")) << desktop.exceptions[0].toStdString();
    EXPECT_EQ(desktop.exceptions[1].toStdString(), SecondVobSubText);
    EXPECT_FALSE(w.Subtitles.SubIsVobSub);
    EXPECT_EQ(Tick(100), "cue4");
    EXPECT_EQ(second(), "Dritte");

    w.RemoveSecondSubtitle1->trigger();
    Idle();
    EXPECT_EQ(Tick(100), "cue4");
    EXPECT_FALSE(surfaces.PanelSecondText()->isVisible());
    EXPECT_EQ(surfaces.PanelText()->geometry(), w.lbSubParent->rect());
    EXPECT_EQ(w.lbSubParent->height(), strip);
    EXPECT_EQ(w.height(), window);
    EXPECT_FALSE(dialog.seSecondSyn->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.height(), 108);
}

// The box keeps its message as the first line; the second names the file, the line and why.
TEST_F(ClockTest, LoadMessagesNameTheFileTheLineAndTheReason) {
    const std::pair<std::string, QString> cases[] = {
        {"<!DOCTYPE html>\r\n<html>",
         "Unknown subtitle file format, Please contact to support@tessaview.org !!!\r"
         "bad.srt, line 1: this is an HTML page, not a subtitle file"},
        {"\r\n \r\n",
         "Unknown subtitle file format, Please contact to support@tessaview.org !!!\r"
         "bad.srt: no line with text: nothing to read"},
        {"1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\n00:03,000 --> 00:00:04,000\r\nB\r\n",
         "Subtitle file error\rbad.srt, line 6: the timing line must read"},
        {"[Script Info]\r\nDialogue: 0,0:0a:03.00,0:00:04.00,S,,0,0,0,,B\r\n",
         "'0a' is not a valid integer value\rbad.srt, line 2"},
    };
    for (const auto& [text, message] : cases) {
        desktop.errors.clear();
        desktop.exceptions.clear();
        ChooseFile(fmMain().LoadSubtitle1, MakeFile("bad.srt", text));
        const QStringList shown = desktop.errors + desktop.exceptions;
        ASSERT_EQ(shown.size(), 1) << text;
        EXPECT_TRUE(shown[0].startsWith(message)) << shown[0].toStdString();
    }
}

// With the default character set each file is read in its own code page: the same line from
// a CP1251 file and then from a UTF-8 one shows alike.
TEST_F(ClockTest, WithTheDefaultCharacterSetEachFileIsReadInItsOwnCodePage) {
    const std::pair<std::string, std::string> files[] = {{"first", "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0!"},
                                                         {"second", "Привет, мир!"}};
    for (const auto& [name, line] : files) {
        MakeFile(name + ".srt", "1\r\n00:00:00,000 --> 00:00:09,000\r\n" + line + "\r\n");
        OpenMovie(name + ".avi", {.duration = 1000});
        EXPECT_EQ(Tick(10), "Привет, мир!") << name;
    }
}

TEST_F(ClockTest, BitmapCuesDrawOncePerIndexAndAgainAfterAGap) {
    // Picture 7, 4 x 2 white pixels, due from 1000 to 2000 ms.
    vobsub.pictures = {FakeVobSubPicture{7, 1000, 2000, 4, 2, std::vector<uint8_t>(4 * 2 * 4, 255)}};
    vobsub.languages = {"English"};
    MakeFile("pair.idx", "# VobSub index file, v7\r\n");
    MakeFile("pair.sub");
    AnswerLanguageDialogs();
    OpenMovie("pair.avi", {.duration = 1000});
    ASSERT_TRUE(fmMain().Subtitles.SubIsVobSub);
    vobsub.ClearCalls();

    // The drawing rules have their own tests; here the clock drives them at the right times.
    Tick(30);  // 1200 ms: due
    const SubtitleSurfaces& surfaces = fmMain().Surfaces();
    EXPECT_TRUE(surfaces.PanelPicture()->isVisibleTo(&fmMain()));
    EXPECT_FALSE(surfaces.PanelText()->isVisibleTo(&fmMain()));
    Tick(40);
    Tick(60);  // 2400 ms: none due
    Tick(30);  // moved back into the same picture: drawn again
    EXPECT_EQ(vobsub.CallCount("GetDataPointer"), 2);
    // A resize of the subtitle panel rebuilds its image and draws the picture again.
    fmMain().resize(fmMain().width() + 40, fmMain().height());
    EXPECT_EQ(surfaces.PanelPicture()->size(), fmMain().lbSubParent->size());
    Tick(31);
    EXPECT_EQ(vobsub.CallCount("GetDataPointer"), 3);
    // So does the overlay's, when full screen widens it.
    fmMain().NN3Click();
    Tick(32);
    EXPECT_EQ(surfaces.OverlayPicture()->Image().pixel((1024 - 4) / 2, 0), qRgb(254, 254, 254));
}

}  // namespace
}  // namespace tessaview::test
