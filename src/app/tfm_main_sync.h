// Subtitle > Synchronize to Speech (Ctrl+Y) and Subtitle > Save Corrected Copy: the loaded
// text subtitle fitted to the movie's speech on a worker thread while the movie plays, with
// progress and Cancel; a solid answer applied to the cue times in memory, an unsure one only
// when the user agrees; the corrected subtitle saved as SubRip beside the original.
#pragma once

#include "external/movie_speech.h"
#include "sync/alignment.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

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
    // Adds the two items to the window's Subtitle menu; lives as long as the window.
    SpeechSyncPart(TfmMain& window, MovieSpeech& reader, SyncPrompts& prompts, std::string cacheFolder);
    ~SpeechSyncPart() override;

    QAction* SynchronizeToSpeech1 = nullptr;
    QAction* SaveCorrectedCopy1 = nullptr;

    void SynchronizeToSpeech1Click();
    void SaveCorrectedCopy1Click();
    bool Running() const { return worker_.joinable(); }
    // The Cancel button of the progress window.
    void Cancel() { cancel_ = true; }
    QProgressDialog* Progress() const { return progress_; }

signals:
    void Finished();  // a run ended, whatever its outcome (tests wait for it)

private:
    TfmMain& window_;
    MovieSpeech& reader_;
    SyncPrompts& prompts_;
    std::string cacheFolder_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    QProgressDialog* progress_ = nullptr;
    // The subtitle the run started on: its answer applies to that subtitle only.
    std::string runSubtitle_;
    const void* runCues_ = nullptr;

    void finish(const SyncResult* result, const QString& error, bool cancelled);
    void apply(const SyncResult& result);
    bool textSubtitleLoaded() const;
    void updateEnabled();
};

}  // namespace tessaview
