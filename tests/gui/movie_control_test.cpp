// Opening movies by every route, the status texts, the error boxes and what they leave
// alone, continued play, autoload, seeking, the end of a movie and the engine's messages.
#include "window_harness.h"

#include "presentation/subtitle_label.h"
#include "presentation/subtitle_surfaces.h"

#include "external/messages.h"
#include "playback/subtitle_search.h"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>

namespace tessaview::test {
namespace {

using Ints = std::vector<int>;

TEST_F(MainWindowTest, OpenMovieFillsStatusPanelsAndTheTrackBarAndTheFrameRateMenuPanelFour) {
    OpenMovie("long.avi", {.frameRate = 25000, .duration = 180000, .width = 640, .height = 352});
    EXPECT_EQ(Panel(1), "180000/2:0:0");
    EXPECT_EQ(Panel(2), "25fps");
    EXPECT_EQ(Panel(3), "640*352");
    EXPECT_EQ(fmMain().tbMain->maximum(), 180000);
    EXPECT_EQ(fmMain().plMovie->size(), QSize(640, 352));  // scale 1.0
    fmMain().FrameRateItems[2]->trigger();
    EXPECT_EQ(Panel(4), "Subtitle FrameRate:24fps");
    EXPECT_DOUBLE_EQ(fmMain().Subtitles.MovieFrameRate, 24.0);
    fmMain().FrameRateItems[0]->trigger();
    EXPECT_EQ(Panel(4), "Subtitle FrameRate:Same As Movie");
    EXPECT_DOUBLE_EQ(fmMain().Subtitles.MovieFrameRate, 25.0);
}

// Each status panel grows to its whole text, side by side, none over another.
TEST_F(MainWindowTest, StatusPanelsShowTheirWholeText) {
    TfmMain& w = fmMain();
    OpenMovie("ten-hours.avi", {.frameRate = 29970, .duration = 1078921, .width = 3840, .height = 2160});
    w.FrameRateItems[1]->trigger();  // "23.976" for the last panel
    w.resize(1200, w.height());      // room for all panels: the test is about each panel's own width
    Tick(1078921);
    int left = 0;
    for (int i = 0; i < 5; ++i) {
        const QLabel* panel = w.sbMain->Panel(i);
        SCOPED_TRACE(panel->text().toStdString());
        EXPECT_EQ(panel->x(), left);
        // A framed label without an indent of its own sets its text in by half an "x".
        const QFontMetrics metrics = panel->fontMetrics();
        const int indent = panel->indent() >= 0 ? panel->indent() : metrics.horizontalAdvance('x') / 2;
        EXPECT_GE(panel->contentsRect().width() - indent, metrics.horizontalAdvance(panel->text()));
        left += panel->width();
    }
}

TEST_F(MainWindowTest, AMovieThatFailsOrHasNoFrameRateGetsItsMessageAndTheOneBeforeStaysOpen) {
    const std::string good = OpenMovie("good.avi");
    const std::string panel1 = Panel(1);
    const std::string bad = Folder() + "/bad.avi";
    engine.failingPaths.insert(bad);
    OpenThroughDialog(bad);
    EXPECT_EQ(desktop.errors, QStringList({"Movie file error or DivX codec not installed properly!\r"
                                           "See https://tessaview.org/help for more information.\r"
                                           "cannot play " +
                                           QString::fromStdString(bad)}));
    EXPECT_TRUE(fmMain().tmMovie->isActive());
    EXPECT_EQ(Panel(1), panel1);
    EXPECT_EQ(fmMain().Movie.MovieFileName, bad);
    EXPECT_EQ(fmMain().PlayListEntries().Captions(), std::vector<std::string>({good}));

    desktop.errors.clear();
    OpenMovie("still.avi", {.frameRate = 0});  // this one stops the movie
    EXPECT_EQ(desktop.errors, QStringList({"Can not get the frame rate of the movie"}));
    EXPECT_FALSE(fmMain().tmMovie->isActive());
    EXPECT_TRUE(desktop.screenSaverActive);
    EXPECT_EQ(Marks(), Ints({MarkNone}));
}

TEST_F(MainWindowTest, ContinuedPlayAddsLengthsAndPlayFileResetsThem) {
    OpenMovie("a.avi", {.duration = 1000});
    engine.duration = 500;
    ChooseFile(fmMain().ContinuedPlayFile1, MakeFile("b.avi"));
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 1000);
    fmMain().ContinuedPlayFile1->trigger();  // cancelled: nothing changes
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 1000);
    // A movie that does not open changes nothing either.
    engine.failingPaths.insert(MakeFile("bad.avi"));
    ChooseFile(fmMain().ContinuedPlayFile1, Folder() + "/bad.avi");
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 1000);
    EXPECT_EQ(fmMain().Movie.MovieFileName, Folder() + "/b.avi");
    fmMain().DropFiles({folder.filePath("a.avi")});
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 1000);  // a drop keeps it
    OpenThroughDialog(Folder() + "/a.avi");
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 0);
}

TEST_F(MainWindowTest, AutoloadTakesTheFirstOfIdxSubSrtSsaInAnyLetterCaseAndAPairsLanguageCanChange) {
    const std::string srt = "1\r\n00:00:01,000 --> 00:00:02,000\r\nText cue\r\n";
    MakeFile("film.SRT", srt);
    MakeFile("film.Ssa", "[Script Info]\r\n");
    MakeFile("film.Idx", "# VobSub index file, v7\r\n");
    MakeFile("film.SUB", "pictures");
    vobsub.languages = {"English", "(Not detected)", "French"};
    AnswerLanguageDialogs(1);  // the second line: "2 - French"
    OpenMovie("film.avi");
    EXPECT_EQ(vobsub.loadedPath, Folder() + "/film");
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/film.Idx");
    EXPECT_EQ(vobsub.currentLanguage, 2);
    vobsub.currentLanguage = 0;
    fmMain().ChangeSubtitleLanguage1->trigger();  // loads the pair again and asks again
    EXPECT_EQ(vobsub.CallCount("LoadVobSubFile"), 2);
    EXPECT_EQ(vobsub.currentLanguage, 2);

    QFile::remove(folder.filePath("film.Idx"));
    QFile::remove(folder.filePath("film.SUB"));
    OpenThroughDialog(Folder() + "/film.avi");
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/film.SRT");
    Idle();
    EXPECT_FALSE(fmMain().ChangeSubtitleLanguage1->isEnabled());

    // A movie with no subtitle of its own (none found, or none looked for) drops the last
    // one's; the next movie of a continued play keeps it: one timeline.
    ChooseFile(fmMain().ContinuedPlayFile1, MakeFile("part2.avi"));
    EXPECT_EQ(fmMain().Subtitles.SubFileName, Folder() + "/film.SRT");
    fmMain().EnableAutoloadSubtitle1->trigger();  // off: nothing is looked for
    MakeFile("other.srt", srt);
    fmMain().Surfaces().ShowText("Text cue", "");
    OpenMovie("other.avi");
    EXPECT_EQ(fmMain().Subtitles.SubFileName, "");
    EXPECT_TRUE(fmMain().Subtitles.SubList.empty());
    EXPECT_EQ(fmMain().Surfaces().PanelText()->DisplayText(), QString());
    EXPECT_EQ(fmMain().windowTitle(), "other.avi - Tessaview");
}

// Reading a text track walks the whole movie: the movie plays at once and the track's cues
// come when the worker is done, unless the movie or the subtitle changed meanwhile.
TEST_F(MainWindowTest, AMoviesOwnTextTrackArrivesAfterTheOpenAndALateOneChangesNothing) {
    tracks.track = TextTrack{".srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nInside\r\n"};
    const std::string trackFile = Folder() + "/tmptrack.srt";
    tracks.Hold();  // a slow disk
    const std::string film = OpenMovie("film.mkv");
    EXPECT_TRUE(fmMain().tmMovie->isActive());
    EXPECT_EQ(fmMain().Subtitles.SubFileName, "");
    tracks.Release();
    ASSERT_TRUE(SubtitleBecomes(trackFile));
    EXPECT_EQ(tracks.AskedFor(), film);
    ASSERT_EQ(fmMain().Subtitles.SubList.size(), 1u);
    EXPECT_EQ(fmMain().Subtitles.SubList[0]->Text, "Inside");

    // Each answer below is read and waiting in the queue when the change comes.
    const std::string byHand = MakeFile("by hand.srt", "1\r\n00:00:05,000 --> 00:00:06,000\r\nMine\r\n");
    MakeFile("other.srt", "1\r\n00:00:05,000 --> 00:00:06,000\r\nOther\r\n");
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"another movie", [&] { OpenMovie("other.avi"); }},
        {"a stop", [&] { fmMain().Stop1->trigger(); }},
        {"a subtitle loaded by hand", [&] { ChooseFile(fmMain().LoadSubtitle1, byHand); }},
        {"a subtitle dropped", [&] { fmMain().DropFiles({QString::fromStdString(byHand)}); }},
        {"Remove Subtitle", [&] { fmMain().RemoveSubtitle1->trigger(); }},
    };
    for (const auto& [name, change] : changes) {
        const int reads = tracks.Reads();
        OpenThroughDialog(film);
        WaitForTrackReads(reads + 1);
        change();
        const std::string after = fmMain().Subtitles.SubFileName;
        EXPECT_NE(after, trackFile) << name;
        Idle();
        EXPECT_EQ(fmMain().Subtitles.SubFileName, after) << "the track came after " << name;
    }
}

TEST(SubtitleSearch, AssThenTheUsersLanguageThenOtherTagsByExtension) {
    const std::vector<std::string> beside = {"film.avi",     "film.de.srt", "film.en.ssa", "film.eng.sub",
                                             "film.fr.SRT",  "film.en.txt", "film..srt",   "film.ass",
                                             "other.en.srt", "film.srt.bak"};
    EXPECT_EQ(ExtraSubtitleNames("/m/film.avi", beside, "en"),
              std::vector<std::string>(
                  {"/m/film.ass", "/m/film.en.ssa", "/m/film.eng.sub", "/m/film.de.srt", "/m/film.fr.SRT"}));
}

TEST_F(MainWindowTest, TrackBarSeeksOnReleaseOnlyAndTheThumbStaysWhileHeld) {
    OpenMovie("a.avi", {.duration = 1000});
    QSlider* track = fmMain().tbMain;
    const QPoint middle = track->rect().center();
    auto mouse = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, middle, track->mapToGlobal(middle), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(track, &event);
    };
    // The second press of a quick double click holds the thumb like any other press.
    for (QEvent::Type press : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
        engine.ClearCalls();
        mouse(press, Qt::LeftButton);
        track->setValue(700);
        Tick(100);
        EXPECT_EQ(track->value(), 700);  // not pulled back while held
        mouse(QEvent::MouseButtonRelease, Qt::NoButton);
        EXPECT_EQ(engine.CallCount("SetPos"), 1);
        EXPECT_EQ(engine.calls.back(), "SetPos 700");
        Tick(100);
        EXPECT_EQ(track->value(), 100);
    }
}

TEST_F(MainWindowTest, MovieEndOpensTheNextEntryAndStopsAfterTheLast) {
    const std::string a = OpenMovie("a.avi"), b = OpenMovie("b.avi");
    OpenThroughDialog(a);
    fmMain().NN3Click();
    engine.EndMovie();
    Idle();
    EXPECT_EQ(engine.path, b);
    EXPECT_TRUE(engine.fullScreen);  // the next entry returns to full screen
    EXPECT_EQ(Marks(), Ints({MarkNone, MarkPlaying}));
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 0);
    engine.EndMovie();
    Idle();
    EXPECT_FALSE(fmMain().tmMovie->isActive());
    EXPECT_EQ(Marks(), Ints({MarkNone, MarkNone}));
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

TEST_F(MainWindowTest, EngineMessagesArrivingAfterCloseDoNotBringTheWindowBack) {
    OpenMovie("a.avi");
    engine.EndMovie();  // posted, then the window closes before they are handled
    engine.LeaveFullScreen();
    fmMain().close();
    Idle();
    EXPECT_FALSE(fmMain().isVisible());
    EXPECT_EQ(engine.CallCount("StopMovie"), 1);
    EXPECT_TRUE(desktop.screenSaverActive);
}

}  // namespace
}  // namespace tessaview::test
