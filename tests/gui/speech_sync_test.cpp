// Subtitle > Synchronize to Speech and Save Corrected Copy in the real window: the work on a
// worker thread, Cancel, each verdict's outcome, and the copy with every correction in force.
#include "window_harness.h"

#include "app/tfm_main_sync.h"
#include "external/fake_movie_speech.h"
#include "playback/subtitle_search.h"
#include "presentation/tfm_synchronize.h"
#include "presentation/transcript_model.h"
#include "presentation/transcript_panel.h"
#include "support/temp_dir.h"
#include "sync/spoken_film.h"
#include "unit/sync/made_up_film.h"

#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace tessaview::test {
namespace {

using tessaview::testing::MadeUpFilm;
using tessaview::testing::makeFilm;
using tessaview::testing::markSpeech;

// The synchronisation's questions answered from a script, and what it said kept for the test.
class FakeSyncPrompts : public SyncPrompts {
public:
    QStringList informs, errors, asked;
    std::deque<bool> answers;  // to Ask, in order; No when none is left
    QString saveAs;            // the save dialog's answer
    QString proposed;
    void Inform(QWidget*, const QString& text) override { informs << text; }
    void Error(QWidget*, const QString& text) override { errors << text; }
    bool Ask(QWidget*, const QString& text) override {
        asked << text;
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    QString SaveFileName(QWidget*, const QString& start) override {
        proposed = start;
        return saveAs;
    }
};

// The movie's speech as the fake gives it, but only once the test lets it go (or the read is
// cancelled): so the test sees the window go on while the worker listens.
class GatedSpeech : public FakeMovieSpeech {
public:
    SpeechProfile ReadSpeech(const std::string& movie, const SpeechReadControl& control) override {
        std::unique_lock lock(mutex_);
        started_ = true;
        opened_.wait(lock, [&] { return open_ || (control.cancel && control.cancel->load()); });
        lock.unlock();
        return FakeMovieSpeech::ReadSpeech(movie, control);
    }
    void Open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        opened_.notify_all();
    }
    bool Started() {
        const std::lock_guard lock(mutex_);
        return started_;
    }
    void Poke() { opened_.notify_all(); }

private:
    std::mutex mutex_;
    std::condition_variable opened_;
    bool open_ = false, started_ = false;
};

class SpeechSyncTest : public MainWindowTest {
protected:
    // A SubRip file of `cues` (text "line N"), loaded as the subtitle.
    static std::string SubRip(const std::vector<SyncCue>& cues) {
        std::vector<std::string> texts;
        for (size_t i = 0; i < cues.size(); ++i) texts.push_back("line " + std::to_string(i + 1));
        return testing::subRipText(cues, texts);
    }
    void LoadCues(const std::vector<SyncCue>& cues) {
        subtitle = MakeFile("film.srt", SubRip(cues));
        fmMain().Subtitles.LoadSubtitle(subtitle);
    }
    int32_t FirstStart() { return fmMain().Subtitles.SubList.front()->StartTime; }
    static std::vector<SyncCue> Shifted(std::vector<SyncCue> cues, int64_t ms) {
        for (SyncCue& cue : cues) cue.startMs += ms, cue.endMs += ms;
        return cues;
    }
    // Runs Synchronize to Speech to its end.
    void Synchronize() {
        speech.Open();
        part->SynchronizeToSpeech1->trigger();
        if (part->Running()) {
            ASSERT_TRUE(finished.wait(10000));
        }
    }
    // Starts Synchronize to Speech and returns while the worker listens, its read held.
    void StartHeld() {
        part->SynchronizeToSpeech1Click();
        EXPECT_TRUE(part->Running()) << "the window waits for the worker";
        while (!speech.Started()) QThread::msleep(1);
    }
    // Synchronizes twice: the user declines the question it asks, and then agrees; only then
    // the cues move from `before` by `ms`.
    void DeclineThenAgree(int32_t before, int64_t ms) {
        Synchronize();
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(FirstStart(), before);
        prompts.answers = {true};
        Synchronize();
        EXPECT_NEAR(FirstStart(), before + ms, 40);
    }

    const MadeUpFilm film = makeFilm(3, 6 * 60 * 1000);

    GatedSpeech speech;
    FakeSyncPrompts prompts;
    // No cache: each test case changes the fake's answer for the same movie. The movie has no
    // text track unless a case gives it one.
    SpeechSyncPart* part = new SpeechSyncPart(fmMain(), speech, prompts, "", &tracks);
    QSignalSpy finished{part, &SpeechSyncPart::Finished};
    std::string subtitle;
};

TEST_F(SpeechSyncTest, ASolidAnswerMovesTheCuesInMemoryWhileTheWindowGoesOnAndTheCopyKeepsEveryCorrection) {
    // The items sit beside Synchronize Subtitle.
    QMenu* menu = fmMain().SeSkinMenuBar1->findChild<QMenu*>("Subtitle1");
    const QList<QAction*> items = menu->actions();
    const qsizetype adjust = items.indexOf(fmMain().AdjustSubtitle1);
    ASSERT_GE(adjust, 0);
    EXPECT_EQ(items.value(adjust + 1), part->SynchronizeToSpeech1);
    EXPECT_EQ(items.value(adjust + 2), part->SaveCorrectedCopy1);

    speech.profile = film.speech;
    std::vector<SyncCue> early = Shifted(testing::timedCues(film.lines, 3), -7300);
    early.erase(early.begin());  // the first line would start before the film
    part->SynchronizeToSpeech1->trigger();
    EXPECT_EQ(prompts.informs, QStringList{"Open a movie first: the subtitle is fitted to its speech."});
    OpenMovie("film.avi");
    LoadCues(early);
    const std::string onDisk = readFile(subtitle);
    const int32_t before = FirstStart();

    StartHeld();  // the window is back while the worker still listens
    EXPECT_EQ(FirstStart(), before);
    speech.Open();
    ASSERT_TRUE(finished.wait(10000));
    ASSERT_EQ(prompts.informs.size(), 2);
    EXPECT_TRUE(prompts.informs[1].startsWith("Moved 7.3")) << prompts.informs[1].toStdString();
    EXPECT_NEAR(FirstStart(), before + 7300, 40);
    EXPECT_EQ(readFile(subtitle), onDisk);  // never the file

    // The copy: the cue times as now, less the Synchronize Subtitle offset (+100 shows earlier).
    fmMain().fmSynchronize()->StepBy(100);
    prompts.saveAs = QString::fromStdString(Folder() + "/copy.srt");
    part->SaveCorrectedCopy1->trigger();
    EXPECT_EQ(prompts.proposed.toStdString(), Folder() + "/film.synced.srt");
    std::vector<SyncCue> written;
    std::vector<std::string> texts;
    testing::readSubRip(Folder() + "/copy.srt", written, texts);
    ASSERT_EQ(written.size(), early.size());
    EXPECT_EQ(written.front().startMs, FirstStart() - 100);
    // An existing file is replaced only when the user says so.
    part->SaveCorrectedCopy1->trigger();
    EXPECT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked.value(0).contains("already exists"));
    fmMain().fmSynchronize()->StepBy(-100);
    prompts.answers = {true};
    part->SaveCorrectedCopy1->trigger();
    written.clear();
    testing::readSubRip(Folder() + "/copy.srt", written, texts);
    EXPECT_EQ(written.front().startMs, FirstStart());
    EXPECT_TRUE(prompts.errors.isEmpty());
}

// A second subtitle, timed to the same speech, is offered as the reference; with it the movie's
// sound is not needed (here it holds no speech at all).
TEST_F(SpeechSyncTest, ASecondSubtitleIsTheReferenceWhenTheUserAgrees) {
    OpenMovie("film.avi");
    const std::vector<SyncCue> right = testing::timedCues(film.lines, 3);
    LoadCues(Shifted(right, 4200));
    fmMain().LoadSecondSubtitle(MakeFile("film.de.srt", SubRip(right)));
    speech.profile.frames.assign(film.speech.frames.size(), 0);  // silent: the speech has no answer
    DeclineThenAgree(FirstStart(), -4200);
}

// The movie's own text track is offered the same way, looked for on the worker; not when the
// subtitle is that track, loaded from the movie.
TEST_F(SpeechSyncTest, TheMoviesOwnTextTrackIsTheReferenceWhenTheUserAgrees) {
    const std::vector<SyncCue> right = testing::timedCues(film.lines, 3), late = Shifted(right, 4200);
    tracks.track = TextTrack{".srt", "\xEF\xBB\xBF" + SubRip(late)};
    OpenMovie("film.avi");
    ASSERT_TRUE(SubtitleBecomes(TrackFilePath(fmMain().Subtitles.TmpSubPath(), ".srt")));
    speech.profile = film.speech;
    const int32_t fromTrack = FirstStart();
    Synchronize();
    EXPECT_TRUE(prompts.asked.isEmpty()) << prompts.asked.value(0).toStdString();
    EXPECT_NEAR(FirstStart(), fromTrack - 4200, 40);

    tracks.track = TextTrack{".srt", "\xEF\xBB\xBF" + SubRip(right)};
    LoadCues(late);
    const int32_t before = FirstStart();
    // Cancel while the movie file is searched.
    tracks.Hold();
    part->SynchronizeToSpeech1Click();
    ASSERT_NE(part->Progress(), nullptr);
    EXPECT_EQ(part->Progress()->labelText(), "Looking for a text track in the movie...");
    part->Cancel();
    ASSERT_TRUE(finished.wait(10000));
    tracks.Release();
    EXPECT_TRUE(prompts.asked.isEmpty());

    speech.profile.frames.assign(film.speech.frames.size(), 0);  // silent: the speech has no answer
    DeclineThenAgree(before, -4200);
    EXPECT_TRUE(prompts.asked.value(0).startsWith("Fit the subtitle to the movie's own text track"))
        << prompts.asked.value(0).toStdString();
    EXPECT_TRUE(prompts.informs.value(1).contains("too little speech")) << prompts.informs.value(1).toStdString();
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(SpeechSyncTest, CancelNoMatchAndAnUnsureAnswerChangeNothingUnlessTheUserAgrees) {
    OpenMovie("film.avi");
    // Lines every 4 s on speech every 4 s: many shifts fit as well, so the answer is unsure.
    std::vector<SyncCue> regular;
    SpeechProfile beat;
    beat.frames.assign(6 * 60 * 100, 0);
    for (int64_t t = 5000; t < 350000; t += 4000) {
        regular.push_back({t - 600, t + 400});
        markSpeech(beat, t, t + 1000);
    }
    LoadCues(regular);
    const int32_t before = FirstStart();

    speech.profile = beat;
    StartHeld();
    part->Cancel();
    speech.Poke();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(prompts.informs.isEmpty());
    EXPECT_TRUE(prompts.errors.isEmpty());

    DeclineThenAgree(before, 600);  // unsure
    EXPECT_TRUE(prompts.asked.value(0).contains("Another answer comes close")) << prompts.asked.value(0).toStdString();

    speech.profile = makeFilm(8, 6 * 60 * 1000).speech;
    LoadCues(testing::timedCues(makeFilm(9, 6 * 60 * 1000).lines, 9));
    const int32_t other = FirstStart();
    Synchronize();
    EXPECT_TRUE(prompts.informs.value(0).contains("another film's subtitle")) << prompts.informs.value(0).toStdString();
    EXPECT_EQ(FirstStart(), other);
    speech.error = "The movie film.avi has no sound to synchronise to.";
    Synchronize();
    EXPECT_EQ(prompts.errors, QStringList{"The movie film.avi has no sound to synchronise to."});
    // Continued Play went on to the next movie, the subtitle kept, while the worker listened.
    speech.error.reset();
    StartHeld();
    fmMain().Movie.MovieFileName = Folder() + "/next.avi";
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(prompts.informs.value(1).startsWith("The movie changed")) << prompts.informs.value(1).toStdString();
    EXPECT_EQ(FirstStart(), other);
}

// Heard Now in the transcript: the line starts where the movie is, the synchronize value kept;
// a second line a minute away fits the rate, a closer one only moves; the movie remembers the
// correction and a reload undoes it.
TEST_F(SpeechSyncTest, HeardNowStartsTheLineWhereTheMovieIsAndASecondOneAMinuteAwayFitsTheRate) {
    const auto panel = [&]() -> TranscriptPanel& { return *fmMain().plTranscript; };
    const auto heardNowEnabled = [&] {
        emit panel().pmTranscript->aboutToShow();
        return panel().HeardNow1->isEnabled();
    };
    const auto heardNow = [&](int line, int32_t frame) {
        engine.position = frame;
        panel().SelectLine(line);
        panel().HeardNow1->trigger();
        Idle();
    };
    const auto start = [&](size_t line) { return fmMain().Subtitles.SubList[line]->StartTime; };
    const auto timeCell = [&](int line) {
        return panel().Model().index(line, TranscriptModel::TimeColumn).data().toString().toStdString();
    };
    const std::vector<SyncCue> cues{{10000, 11000}, {20000, 21000}, {100000, 101000}, {110000, 111000}};
    LoadCues(cues);
    fmMain().Transcript1->trigger();
    EXPECT_FALSE(heardNowEnabled()) << "no movie";
    OpenMovie("film.avi", {.duration = 5000});  // film.srt found with it
    fmMain().fmSynchronize()->StepBy(1000);     // the lines shown a second early
    Idle();
    ASSERT_TRUE(heardNowEnabled());

    // Heard at 13 s: the clock looks up 14 s there, so the line starts at 14 s.
    heardNow(0, 325);
    EXPECT_EQ(start(0), 14000);
    EXPECT_EQ(start(3), 114000);
    EXPECT_EQ(engine.shownText, "Moved 4.00 s later");
    EXPECT_EQ(fmMain().fmSynchronize()->SyncOffset(), 1000);
    EXPECT_EQ(timeCell(0), "0:00:13");

    // Ten seconds on in the subtitle: it replaces the first, a shift alone.
    heardNow(1, 650);
    EXPECT_EQ(start(1), 27000);
    EXPECT_EQ(engine.shownText, "Moved 3.00 s later");

    // 90 s on from that: the two lines fix the rate and both start where they were heard.
    heardNow(3, 3000);
    EXPECT_EQ(start(3), 121000);
    EXPECT_NEAR(start(1), 27000, 1);
    EXPECT_EQ(engine.shownText, "Moved 4.00 s later, rate 1.0444");
    EXPECT_EQ(timeCell(3), "0:02:00");
    EXPECT_EQ(panel().Model().CurrentLine(), 3);
    const int32_t fitted = start(2);

    // Remembered with the movie, across a restart.
    CloseAndRestart();
    OpenThroughDialog(Folder() + "/film.avi");
    ASSERT_EQ(fmMain().Subtitles.SubList.size(), cues.size());
    EXPECT_NEAR(start(2), fitted, 1);  // the rate as the memory keeps it

    // Loading the subtitle again gives back the file's own times.
    fmMain().Subtitles.LoadSubtitle(subtitle);
    Idle();
    EXPECT_EQ(start(0), 10000);
    EXPECT_EQ(timeCell(0), "0:00:09");
    fmMain().RemoveSubtitle1->trigger();
    EXPECT_FALSE(heardNowEnabled()) << "no subtitle";
}

}  // namespace
}  // namespace tessaview::test
