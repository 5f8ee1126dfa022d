// Opening movies by every route, the status texts, the error boxes and what they leave
// alone, continued play, autoload, play-list marks, seeking and the end of a movie.
#include "window_harness.h"

#include "external/messages.h"
#include "playback/subtitle_search.h"
#include "shell/play_list.h"

#include <QFile>
#include <QApplication>
#include <QMouseEvent>

namespace tessaview::test {
namespace {

std::vector<int> Marks(TfmMain& w) {
    std::vector<int> marks;
    for (int i = 0; i < w.PlayListEntries().Count(); ++i) marks.push_back(w.PlayListEntries().Mark(i));
    return marks;
}

TEST_F(MainWindowTest, OpenMovieFillsStatusPanelsAndTheTrackBar) {
    engine.frameRate = 25000;
    engine.duration = 180000;
    engine.width = 640;
    engine.height = 352;
    const std::string movie = MakeFile("long.avi");
    OpenThroughDialog(movie);
    EXPECT_EQ(Panel(1), "180000/2:0:0");
    EXPECT_EQ(Panel(2), "25fps");
    EXPECT_EQ(Panel(3), "640*352");
    EXPECT_EQ(fmMain().tbMain->maximum(), 180000);
    EXPECT_TRUE(fmMain().tmMovie->isActive());
    EXPECT_EQ(fmMain().Movie.MovieDuration, 180000);
    EXPECT_DOUBLE_EQ(fmMain().Subtitles.EngineFrameRate, 25.0);
    EXPECT_EQ(fmMain().plMovie->size(), QSize(640, 352));  // ScaleMovieWindow(1.0)
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkPlaying}));
    EXPECT_FALSE(desktop.screenSaverActive);

    engine.frameRate = 23976;
    OpenThroughDialog(MakeFile("film.avi"));
    EXPECT_EQ(Panel(2), "23.976fps");
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkNone, MarkPlaying}));
}

TEST_F(MainWindowTest, EngineFailureShowsTheTwoLineBoxAndChangesNothingElse) {
    const std::string good = MakeFile("good.avi");
    OpenThroughDialog(good);
    const std::string panel1 = Panel(1);
    const std::string bad = Folder() + "/bad.avi";
    engine.failingPaths.insert(bad);
    OpenThroughDialog(bad);
    ASSERT_EQ(desktop.errors.size(), 1);
    EXPECT_EQ(desktop.errors[0], "Movie file error or DivX codec not installed properly!\r"
                                 "See https://tessaview.org/help for more information.");
    EXPECT_TRUE(fmMain().tmMovie->isActive());  // the earlier movie is still the open one
    EXPECT_EQ(Panel(1), panel1);
    EXPECT_EQ(fmMain().Movie.MovieFileName, bad);
    EXPECT_EQ(fmMain().PlayListEntries().Captions(), std::vector<std::string>({good}));
}

TEST_F(MainWindowTest, NoFrameRateStopsAndSaysSo) {
    OpenThroughDialog(MakeFile("good.avi"));
    engine.frameRate = 0;
    OpenThroughDialog(MakeFile("still.avi"));
    EXPECT_EQ(desktop.errors, QStringList({"Can not get the frame rate of the movie"}));
    EXPECT_FALSE(fmMain().tmMovie->isActive());
    EXPECT_TRUE(desktop.screenSaverActive);
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkNone}));
    Idle();
    EXPECT_TRUE(fmMain().Play1->isEnabled());
}

TEST_F(MainWindowTest, ContinuedPlayAddsLengthsAndPlayFileResetsThem) {
    engine.duration = 1000;
    OpenThroughDialog(MakeFile("a.avi"));
    engine.duration = 500;
    desktop.fileAnswers.push_back({folder.filePath("b.avi")});
    MakeFile("b.avi");
    fmMain().ContinuedPlayFile1->trigger();
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 1000);
    fmMain().ContinuedPlayFile1->trigger();  // cancelled: the length is added all the same
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 1500);

    fmMain().DropFiles({folder.filePath("a.avi")});
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 1500);  // a drop keeps it
    OpenThroughDialog(Folder() + "/a.avi");
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 0);
}

TEST_F(MainWindowTest, AutoloadTakesTheFirstOfIdxSubSrtSsaInAnyLetterCase) {
    const std::string srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nText cue\r\n";
    MakeFile("film.SRT", srt);
    MakeFile("film.Ssa", "[Script Info]\r\n");
    MakeFile("film.Idx", "# VobSub index file, v7\r\n");
    MakeFile("film.SUB", "pictures");
    AnswerLanguageDialogs();
    OpenThroughDialog(MakeFile("film.avi"));
    EXPECT_TRUE(fmMain().Subtitles.SubIsVobSub);
    EXPECT_EQ(vobsub.loadedPath, Folder() + "/film");
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/film.Idx");

    QFile::remove(folder.filePath("film.Idx"));
    QFile::remove(folder.filePath("film.SUB"));
    OpenThroughDialog(Folder() + "/film.avi");
    EXPECT_FALSE(fmMain().Subtitles.SubIsVobSub);
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/film.SRT");
    EXPECT_EQ(fmMain().Subtitles.SubList.size(), 1u);

    fmMain().EnableAutoloadSubtitle1->trigger();  // off: nothing is looked for
    MakeFile("other.srt", srt);
    OpenThroughDialog(MakeFile("other.avi"));
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/film.SRT");
}

TEST(SubtitleSearch, AssThenTheUsersLanguageThenOtherTagsByExtension) {
    const std::vector<std::string> beside = {"film.avi",     "film.de.srt", "film.en.ssa", "film.eng.sub", "film.fr.SRT",
                                             "film.en.txt",  "film..srt",   "film.ass",    "other.en.srt", "film.srt.bak"};
    EXPECT_EQ(ExtraSubtitleNames("/m/film.avi", beside, "en"),
              std::vector<std::string>({"/m/film.ass", "/m/film.en.ssa", "/m/film.eng.sub", "/m/film.de.srt",
                                        "/m/film.fr.SRT"}));
}

TEST_F(MainWindowTest, AutoloadFallsBackToTaggedNamesThenTheMoviesTextTrack) {
    const std::string srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nInside\r\n";
    tracks.track = TextTrack{".srt", "\xEF\xBB\xBF" + srt};
    const std::string movie = MakeFile("film.mkv");
    OpenThroughDialog(movie);
    EXPECT_EQ(tracks.askedFor, movie);
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/tmptrack.srt");
    ASSERT_EQ(fmMain().Subtitles.SubList.size(), 1u);
    EXPECT_EQ(fmMain().Subtitles.SubList[0]->Text, "Inside");

    tracks.askedFor.clear();
    MakeFile("film.xx.srt", srt);
    OpenThroughDialog(movie);
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/film.xx.srt");
    EXPECT_EQ(tracks.askedFor, "");
}

TEST_F(MainWindowTest, PlayPauseStopKeepTheMarksAndScreenSaverInStep) {
    const std::string a = MakeFile("a.avi");
    OpenThroughDialog(a);
    fmMain().Pause1->trigger();
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkPaused}));
    fmMain().Pause1->trigger();
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkPlaying}));
    fmMain().Stop1->trigger();
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkNone}));
    EXPECT_TRUE(desktop.screenSaverActive);
    EXPECT_FALSE(engine.playing);

    fmMain().NN2Click();  // Double Size while stopped: Play fits the panel again
    fmMain().Play1->trigger();
    EXPECT_EQ(fmMain().plMovie->size(), QSize(640, 480));  // back to scale 1.0
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkPlaying}));
    EXPECT_FALSE(desktop.screenSaverActive);
}

TEST_F(MainWindowTest, TrackBarSeeksOnReleaseOnlyAndTheThumbStaysWhileHeld) {
    engine.duration = 1000;
    OpenThroughDialog(MakeFile("a.avi"));
    QSlider* track = fmMain().tbMain;
    const QPoint middle = track->rect().center();
    auto mouse = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, middle, track->mapToGlobal(middle), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(track, &event);
    };
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(fmMain().Movie.TrackDragging);
    track->setValue(700);
    engine.position = 100;
    fmMain().tmMovieTimer();
    EXPECT_EQ(track->value(), 700);  // not pulled back while held
    EXPECT_EQ(engine.CallCount("SetPos"), 0);
    const int thumb = track->value();
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_FALSE(fmMain().Movie.TrackDragging);
    ASSERT_EQ(engine.CallCount("SetPos"), 1);
    EXPECT_EQ(engine.calls.back(), "SetPos " + std::to_string(thumb));
    engine.position = 100;
    fmMain().tmMovieTimer();
    EXPECT_EQ(track->value(), 100);

    // The second press of a quick double click holds the thumb like any other press.
    mouse(QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_TRUE(fmMain().Movie.TrackDragging);
    track->setValue(600);
    fmMain().tmMovieTimer();
    EXPECT_EQ(track->value(), 600);
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(engine.calls.back(), "SetPos 600");
}

TEST_F(MainWindowTest, MovieEndOpensTheNextEntryAndStopsAfterTheLast) {
    const std::string a = MakeFile("a.avi"), b = MakeFile("b.avi");
    OpenThroughDialog(a);
    OpenThroughDialog(b);
    OpenThroughDialog(a);
    fmMain().NN3Click();
    engine.EndMovie();
    Idle();
    EXPECT_EQ(engine.path, b);
    EXPECT_TRUE(engine.fullScreen);  // the next entry returns to full screen
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkNone, MarkPlaying}));
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 0);
    engine.EndMovie();
    Idle();
    EXPECT_FALSE(fmMain().tmMovie->isActive());
    EXPECT_EQ(Marks(fmMain()), std::vector<int>({MarkNone, MarkNone}));
    EXPECT_TRUE(fmMain().isVisible());
}

TEST_F(MainWindowTest, EngineEventsReachGraphNotifyThroughTheHookUntilTheWindowGoes) {
    QCoreApplication::postEvent(fmMain().plMovie, new WindowMessage(WM_MOVIE_EVENT));
    Idle();
    EXPECT_EQ(engine.CallCount("GraphNotify"), 1);
    Close();
    QObject stranger;  // the filter went with the window: nothing reads its freed controls
    WindowMessage message(WM_MOVIE_EVENT);
    QCoreApplication::sendEvent(&stranger, &message);
    EXPECT_EQ(engine.CallCount("GraphNotify"), 1);
    Start();
}

TEST_F(MainWindowTest, ChangeSubtitleLanguageLoadsThePairAgainAndAsksAgain) {
    vobsub.languages = {"English", "(Not detected)", "French"};
    MakeFile("pair.idx", "# VobSub index file, v7\r\n");
    MakeFile("pair.sub", "x");
    AnswerLanguageDialogs(1);  // the second line: "2 - French"
    OpenThroughDialog(MakeFile("pair.avi"));
    Idle();
    EXPECT_EQ(vobsub.currentLanguage, 2);
    EXPECT_TRUE(fmMain().ChangeSubtitleLanguage1->isEnabled());
    vobsub.currentLanguage = 0;
    fmMain().ChangeSubtitleLanguage1->trigger();
    EXPECT_EQ(vobsub.CallCount("LoadVobSubFile"), 2);
    EXPECT_EQ(vobsub.currentLanguage, 2);

    fmMain().Subtitles.LoadSubtitle(MakeFile("text.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n"));
    Idle();
    EXPECT_FALSE(fmMain().ChangeSubtitleLanguage1->isEnabled());
}

TEST_F(MainWindowTest, EngineMessagesArrivingAfterCloseDoNotBringTheWindowBack) {
    OpenThroughDialog(MakeFile("a.avi"));
    engine.EndMovie();  // posted, then the window closes before they are handled
    engine.LeaveFullScreen();
    fmMain().close();
    Idle();
    EXPECT_FALSE(fmMain().isVisible());
    EXPECT_EQ(engine.CallCount("StopMovie"), 1);
}

}  // namespace
}  // namespace tessaview::test
