// The movie memory in the window: what a movie gets back when it opens again, what a movie
// without memory starts with, continued play going on with its timeline, and the speech
// synchronisation given back to the subtitle it was found for.
#include "window_harness.h"

#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_synchronize.h"
#include "sync/spoken_film.h"

namespace tessaview::test {
namespace {

constexpr MovieShape kHour{.frameRate = 25000, .duration = 90000};

class MovieMemoryTest : public MainWindowTest {
protected:
    SyncSpinEdit& seSyn() { return *program->fmSynchronize()->seSyn; }
    // Leaves the open movie for another and opens `name` again, as a fresh engine would.
    void Reopen(const std::string& name) {
        OpenMovie("other.avi", kHour);
        engine.ClearCalls();
        engine.shownText.clear();
        OpenThroughDialog(Folder() + "/" + name);
    }
};

TEST_F(MovieMemoryTest, AMovieOpenedAgainGetsItsPlaceAndSubtitleChoicesBackAcrossARestart) {
    OpenMovie("film.avi", kHour);
    ChooseFile(fmMain().LoadSubtitle1, MakeFile("by hand.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n"));
    fmMain().FrameRateItems[2]->trigger();
    seSyn().setValue(-1500);
    fmMain().LoadSecondSubtitle(MakeFile("second.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nB\r\n"));
    fmMain().SetSecondOffset(300);
    engine.position = 18125;  // 0:12:05
    CloseAndRestart();

    OpenThroughDialog(Folder() + "/film.avi");
    EXPECT_EQ(engine.position, 18125);
    EXPECT_EQ(engine.shownText, "Resumed at 0:12:05");
    EXPECT_EQ(seSyn().TextValue(), -1500);
    EXPECT_TRUE(fmMain().FrameRateItems[2]->isChecked());
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/by hand.srt");
    EXPECT_EQ(fmMain().Second.FileName(), Folder() + "/second.srt");
    EXPECT_EQ(fmMain().Second.OffsetMs, 300);

    // Another movie without memory starts at 0, not with the last one's value.
    OpenMovie("new.avi", kHour);
    EXPECT_EQ(seSyn().TextValue(), 0);
    EXPECT_EQ(fmMain().Subtitles.SubFileName, "");
    EXPECT_FALSE(fmMain().Second.Loaded());
    EXPECT_EQ(fmMain().Second.OffsetMs, 0);
    EXPECT_TRUE(fmMain().FrameRateItems[0]->isChecked());

    // Stopped in its last 5 %, a movie starts from the beginning.
    OpenThroughDialog(Folder() + "/film.avi");
    engine.position = 85501;
    fmMain().Stop1->trigger();
    Reopen("film.avi");
    EXPECT_EQ(engine.CallCount("SetPos"), 0);
    EXPECT_EQ(engine.shownText, "");
    EXPECT_EQ(seSyn().TextValue(), -1500);  // the rest comes back all the same
    engine.position = 85499;
    Reopen("film.avi");
    EXPECT_EQ(engine.position, 85499);
}

// The movie's own text track arrives after the memory was given back: it keeps the restored
// frame-rate item, is not remembered as the user's choice, and yields to a subtitle that is.
TEST_F(MovieMemoryTest, ALateTextTrackKeepsTheRestoredChoicesAndYieldsToTheRememberedSubtitle) {
    tracks.track = TextTrack{".srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nInside\r\n"};
    const std::string trackFile = Folder() + "/tmptrack.srt";
    OpenMovie("film.mkv", kHour);
    ASSERT_TRUE(SubtitleBecomes(trackFile));
    fmMain().FrameRateItems[2]->trigger();
    seSyn().setValue(-700);

    tracks.Hold();
    Reopen("film.mkv");
    EXPECT_EQ(fmMain().Subtitles.SubFileName, "") << "the track was remembered as the user's subtitle";
    tracks.Release();
    ASSERT_TRUE(SubtitleBecomes(trackFile));
    EXPECT_TRUE(fmMain().FrameRateItems[2]->isChecked());
    EXPECT_DOUBLE_EQ(fmMain().Subtitles.MovieFrameRate, 24.0);
    EXPECT_EQ(seSyn().TextValue(), -700);

    ChooseFile(fmMain().LoadSubtitle1, MakeFile("by hand.srt", "1\r\n00:00:05,000 --> 00:00:06,000\r\nMine\r\n"));
    const int reads = tracks.Reads();
    Reopen("film.mkv");
    WaitForTrackReads(reads + 2);  // other.avi's and film.mkv's
    Idle();
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/by hand.srt");
}

// One timeline, one offset: the next movie of a continued play neither resumes nor takes
// the value it had when played alone.
TEST_F(MovieMemoryTest, ContinuedPlayKeepsTheTimelinesValueAndStartsThePartAtItsBeginning) {
    const std::string part2 = OpenMovie("part2.avi", kHour);
    seSyn().setValue(300);
    engine.position = 45000;
    OpenMovie("part1.avi", kHour);
    seSyn().setValue(700);
    engine.ClearCalls();
    ChooseFile(fmMain().ContinuedPlayFile1, part2);
    EXPECT_EQ(engine.path, part2);
    EXPECT_EQ(seSyn().TextValue(), 700);
    EXPECT_EQ(engine.CallCount("SetPos"), 0);
}

std::vector<int32_t> CueStarts(const TfmMain& window) {
    std::vector<int32_t> starts;
    for (const auto& cue : window.Subtitles.SubList) starts.push_back(cue->StartTime);
    return starts;
}

TEST_F(MovieMemoryTest, ASpeechSyncIsGivenBackToItsSubtitleInMemoryUntilTheFileIsLoadedAgain) {
    std::vector<SyncCue> cues;  // a line every 10 s
    for (int64_t ms = 10000; ms <= 120000; ms += 10000) cues.push_back({ms, ms + 2000});
    const std::vector<std::string> texts(cues.size(), "line");
    const std::string subtitle = Folder() + "/film.srt";  // found again with the movie
    testing::writeSubRip(subtitle, cues, texts);
    OpenMovie("film.avi", kHour);
    const std::vector<int32_t> onFile = CueStarts(fmMain());
    ASSERT_EQ(onFile.size(), cues.size());
    fmMain().ApplySpeechSync(SyncResult{.pieces = {{0, 7300}}});
    // A second correction goes on top of the first, in two pieces.
    const SyncResult pieces{.pieces = {{0, 400}, {10, -250}}};
    fmMain().ApplySpeechSync(pieces);
    const std::vector<int32_t> corrected = CueStarts(fmMain());
    EXPECT_EQ(corrected[0], onFile[0] + 7300 + 400);
    EXPECT_EQ(corrected[10], onFile[10] + 7300 - 250);
    fmMain().fmSynchronize()->seSyn->setValue(200);

    // Across a restart, before the synchronize value comes back.
    CloseAndRestart();
    OpenThroughDialog(Folder() + "/film.avi");
    EXPECT_EQ(CueStarts(fmMain()), corrected);
    EXPECT_EQ(fmMain().fmSynchronize()->seSyn->TextValue(), 200);
    Reopen("film.avi");
    EXPECT_EQ(CueStarts(fmMain()), corrected);

    // Loaded again by hand: the file's own times, and the correction is forgotten.
    ChooseFile(fmMain().LoadSubtitle1, subtitle);
    EXPECT_EQ(CueStarts(fmMain()), onFile);
    Reopen("film.avi");
    EXPECT_EQ(CueStarts(fmMain()), onFile);

    // Found while the movie is stopped, it is remembered all the same.
    Idle();
    fmMain().Stop1->trigger();
    ASSERT_FALSE(fmMain().tmMovie->isActive());
    fmMain().ApplySpeechSync(pieces);
    Reopen("film.avi");
    EXPECT_EQ(CueStarts(fmMain())[9], onFile[9] + 400);
    EXPECT_EQ(CueStarts(fmMain())[10], onFile[10] - 250);
}

}  // namespace
}  // namespace tessaview::test
