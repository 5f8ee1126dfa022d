// Subtitle > Synchronize to Speech (Ctrl+Y) and Subtitle > Save Corrected Copy: the loaded
// text subtitle fitted to the movie's speech on a worker thread while the movie plays, with
// progress and Cancel; a solid answer applied to the cue times in memory, an unsure one only
// when the user agrees; the corrected subtitle saved as SubRip beside the original. A second
// subtitle or the movie's own text track may stand in for the speech.
#pragma once

#include "external/movie_speech.h"
#include "external/text_tracks.h"
#include "sync/alignment.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

class QAction;
class QProgressDialog;
class QWidget;

namespace tessaview {

class TfmMain;

// What the synchronisation asks of the person; tests answer without a screen.
class SyncPrompts {
public:
    virtual ~SyncPrompts() = default;
    virtual void Inform(QWidget* parent, const QString& text) = 0;
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // Yes or No.
    virtual bool Ask(QWidget* parent, const QString& text) = 0;
    // The file to save as, starting from `proposed`; empty when the user cancels. The dialog
    // does not ask about replacing: the caller does.
    virtual QString SaveFileName(QWidget* parent, const QString& proposed) = 0;
};

// Message boxes and the save dialog of the toolkit.
class QtSyncPrompts : public SyncPrompts {
public:
    void Inform(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    bool Ask(QWidget* parent, const QString& text) override;
    QString SaveFileName(QWidget* parent, const QString& proposed) override;
};

class SpeechSyncPart : public QObject {
    Q_OBJECT
public:
    // Adds the two items to the window's Subtitle menu; lives as long as the window. `tracks`:
    // where the movie's own text track is looked for; none, it is not offered.
    SpeechSyncPart(TfmMain& window, MovieSpeech& reader, SyncPrompts& prompts, std::string cacheFolder,
                   TextTracks* tracks = nullptr);
    ~SpeechSyncPart() override;

    QAction* SynchronizeToSpeech1 = nullptr;
    QAction* SaveCorrectedCopy1 = nullptr;

    void SynchronizeToSpeech1Click();
    void SaveCorrectedCopy1Click();
    // From the click to the answer, the question about the movie's text track included.
    bool Running() const { return worker_.joinable() || progress_ != nullptr; }
    // The Cancel button of the progress window.
    void Cancel() {
        cancel_ = true;
        trackStop_.request_stop();
    }
    QProgressDialog* Progress() const { return progress_; }

signals:
    void Finished();  // a run ended, whatever its outcome (tests wait for it)

private:
    TfmMain& window_;
    MovieSpeech& reader_;
    SyncPrompts& prompts_;
    std::string cacheFolder_;
    TextTracks* tracks_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::stop_source trackStop_;  // stops the text track's read with cancel_
    QProgressDialog* progress_ = nullptr;
    // The subtitle the run started on: its answer applies to that subtitle only.
    std::string runSubtitle_;
    const void* runCues_ = nullptr;
    std::string runMovie_;

    // On the UI thread: the worker that aligns `cues` to `reference`, or to the speech.
    void startAligning(const std::string& movie, const std::vector<SyncCue>& cues,
                       const std::optional<SpeechProfile>& reference);
    // On the worker: the alignment, its outcome posted to finish().
    void align(const std::string& movie, const std::vector<SyncCue>& cues,
               const std::optional<SpeechProfile>& reference, const std::string& cacheFolder);
    // On the UI thread: the movie holds a text track with these cue times; asks whether it is
    // the reference, then aligns.
    void trackFound(const std::string& movie, const std::vector<SyncCue>& cues, const std::vector<SyncCue>& track);
    // The subtitle in force is the movie's own text track, loaded from it.
    bool subtitleIsMovieTrack() const;
    bool sameSubtitle() const;
    bool sameMovie() const;
    void showListening();  // the progress window, from the track's search to the speech
    void finish(const SyncResult* result, const QString& error, bool cancelled);
    void apply(const SyncResult& result);
    bool textSubtitleLoaded() const;
    void updateEnabled();
};

}  // namespace tessaview
