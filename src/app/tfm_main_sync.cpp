// The speech synchronisation's wiring: the menu items, the worker thread and its progress
// window, the reference offered instead of the speech, the answer put into the cue list, and
// the corrected copy written out.
#include "app/tfm_main_sync.h"

#include "app/tfm_main.h"
#include "external/speech_cache.h"
#include "osdep/whole_file.h"
#include "playback/subtitle_search.h"
#include "presentation/tfm_synchronize.h"
#include "shell/settings/file_locations.h"
#include "subtitle/file_case.h"
#include "sync/subtitle_sync.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <filesystem>

namespace tessaview {

namespace {

const char* const ListeningText = "Listening to the movie's speech...";

}  // namespace

void QtSyncPrompts::Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, "Synchronize to Speech", text);
}

void QtSyncPrompts::Error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, "Synchronize to Speech", text);
}

bool QtSyncPrompts::Ask(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, "Synchronize to Speech", text) == QMessageBox::Yes;
}

QString QtSyncPrompts::SaveFileName(QWidget* parent, const QString& proposed) {
    return QFileDialog::getSaveFileName(parent, "Save Corrected Copy", proposed, "SubRip (*.srt);;All Files (*)",
                                        nullptr, QFileDialog::DontConfirmOverwrite);
}

SpeechSyncPart::SpeechSyncPart(TfmMain& window, MovieSpeech& reader, SyncPrompts& prompts, std::string cacheFolder,
                               TextTracks* tracks)
    : QObject(&window),
      window_(window),
      reader_(reader),
      prompts_(prompts),
      cacheFolder_(std::move(cacheFolder)),
      tracks_(tracks) {
    QMenu* subtitle = window.SeSkinMenuBar1->findChild<QMenu*>("Subtitle1");
    // Beside Synchronize Subtitle, before the separator that follows it.
    const QList<QAction*> items = subtitle->actions();
    const qsizetype adjust = items.indexOf(window.AdjustSubtitle1);
    QAction* before = adjust >= 0 && adjust + 1 < items.size() ? items[adjust + 1] : nullptr;
    SynchronizeToSpeech1 = new QAction("Synchronize to Speech", subtitle);
    SynchronizeToSpeech1->setObjectName("SynchronizeToSpeech1");
    SynchronizeToSpeech1->setShortcut(QKeySequence("Ctrl+Y"));
    SaveCorrectedCopy1 = new QAction("Save Corrected Copy...", subtitle);
    SaveCorrectedCopy1->setObjectName("SaveCorrectedCopy1");
    subtitle->insertActions(before, {SynchronizeToSpeech1, SaveCorrectedCopy1});
    connect(SynchronizeToSpeech1, &QAction::triggered, this,
            [this] { window_.Guarded([this] { SynchronizeToSpeech1Click(); }); });
    connect(SaveCorrectedCopy1, &QAction::triggered, this,
            [this] { window_.Guarded([this] { SaveCorrectedCopy1Click(); }); });
    connect(subtitle, &QMenu::aboutToShow, this, [this] { updateEnabled(); });
}

SpeechSyncPart::~SpeechSyncPart() {
    Cancel();
    if (worker_.joinable()) worker_.join();
}

bool SpeechSyncPart::textSubtitleLoaded() const {
    return !window_.Subtitles.SubIsVobSub && !window_.Subtitles.SubList.empty();
}

bool SpeechSyncPart::subtitleIsMovieTrack() const {
    const SubtitleCore& subtitles = window_.Subtitles;
    return WithoutExtension(subtitles.SubFileName) == TrackFilePath(subtitles.TmpSubPath(), "");
}

bool SpeechSyncPart::sameSubtitle() const {
    return window_.Subtitles.SubFileName == runSubtitle_ && window_.Subtitles.SubList.data() == runCues_ &&
           textSubtitleLoaded();
}

// Continued Play keeps the subtitle and changes the movie: a fit to the movie left is no fit.
bool SpeechSyncPart::sameMovie() const { return window_.Movie.MovieFileName == runMovie_; }

void SpeechSyncPart::updateEnabled() { SynchronizeToSpeech1->setEnabled(!Running()); }

void SpeechSyncPart::SynchronizeToSpeech1Click() {
    if (Running()) return;
    SubtitleCore& subtitles = window_.Subtitles;
    if (window_.Movie.MovieFileName.empty())
        return prompts_.Inform(&window_, "Open a movie first: the subtitle is fitted to its speech.");
    if (subtitles.SubIsVobSub) return prompts_.Inform(&window_, "Synchronising pictures is not supported.");
    if (!textSubtitleLoaded()) return prompts_.Inform(&window_, "Load a text subtitle first.");

    const std::vector<SyncCue> cues = CueTimesMs(subtitles.SubList, subtitles.SubIsTimeBased, subtitles.MovieFrameRate);
    const std::string movie = window_.Movie.MovieFileName;
    // A second subtitle is timed to the same speech, far more exactly than a voice detector
    // hears it: offered as the reference, as shown (its own offset counted).
    std::optional<SpeechProfile> reference;
    const bool second = window_.Second.Loaded() && !window_.Second.Core.SubList.empty();
    if (second && prompts_.Ask(&window_,
                               "Fit the subtitle to the lines of the second subtitle instead of the speech? "
                               "They are timed to the same speech and nearly exact.")) {
        std::vector<SyncCue> shown =
            CueTimesMs(window_.Second.Core.SubList, window_.Second.Core.SubIsTimeBased, subtitles.MovieFrameRate);
        for (SyncCue& cue : shown) cue.startMs -= window_.Second.OffsetMs, cue.endMs -= window_.Second.OffsetMs;
        reference = ProfileFromCues(shown);
    }
    runSubtitle_ = subtitles.SubFileName;
    runCues_ = subtitles.SubList.data();
    runMovie_ = window_.Movie.MovieFileName;
    cancel_ = false;
    trackStop_ = std::stop_source();
    // Otherwise the movie's own text track, timed to the same speech, may stand in for it; not
    // when it is the subtitle itself. Finding it reads the whole movie file.
    const bool lookForTrack = !second && tracks_ && !subtitleIsMovieTrack();
    progress_ = new QProgressDialog(lookForTrack ? "Looking for a text track in the movie..." : ListeningText, "Cancel",
                                    0, lookForTrack ? 0 : 1000, &window_);
    progress_->setObjectName("SpeechSyncProgress");
    progress_->setWindowTitle("Synchronize to Speech");
    progress_->setWindowModality(Qt::NonModal);
    progress_->setMinimumDuration(500);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    connect(progress_, &QProgressDialog::canceled, this, [this] { Cancel(); });
    SynchronizeToSpeech1->setEnabled(false);
    if (!lookForTrack) return startAligning(movie, cues, reference);

    const double frameRate = subtitles.MovieFrameRate;
    worker_ = std::thread([this, movie, cues, frameRate, stop = trackStop_.get_token(), folder = cacheFolder_] {
        std::vector<SyncCue> track;
        try {
            if (std::optional<TextTrack> found = tracks_->FirstTextTrack(movie, stop))
                track = CueTimesOfText(found->text, frameRate);
        } catch (...) {
            // An unreadable track is no track: the speech it is.
        }
        if (!track.empty() && !cancel_) {
            QMetaObject::invokeMethod(
                this, [this, movie, cues, track] { trackFound(movie, cues, track); }, Qt::QueuedConnection);
            return;
        }
        QMetaObject::invokeMethod(
            this, [this] { showListening(); }, Qt::QueuedConnection);
        align(movie, cues, std::nullopt, folder);
    });
}

void SpeechSyncPart::trackFound(const std::string& movie, const std::vector<SyncCue>& cues,
                                const std::vector<SyncCue>& track) {
    if (worker_.joinable()) worker_.join();  // it has posted this as its last act
    if (cancel_) return finish(nullptr, QString(), true);
    if (!sameSubtitle() || !sameMovie()) return finish(nullptr, QString(), false);  // says nothing was applied
    std::optional<SpeechProfile> reference;
    if (prompts_.Ask(&window_,
                     "Fit the subtitle to the movie's own text track instead of the speech? "
                     "It is timed to the same speech and nearly exact."))
        reference = ProfileFromCues(track);
    showListening();
    startAligning(movie, cues, reference);
}

void SpeechSyncPart::showListening() {
    if (progress_) {
        progress_->setLabelText(ListeningText);
        progress_->setRange(0, 1000);
    }
}

void SpeechSyncPart::startAligning(const std::string& movie, const std::vector<SyncCue>& cues,
                                   const std::optional<SpeechProfile>& reference) {
    worker_ =
        std::thread([this, movie, cues, reference, folder = cacheFolder_] { align(movie, cues, reference, folder); });
}

void SpeechSyncPart::align(const std::string& movie, const std::vector<SyncCue>& cues,
                           const std::optional<SpeechProfile>& reference, const std::string& folder) {
    SyncResult result;
    QString error;
    bool cancelled = false;
    try {
        const SpeechReadControl control{[this](double done) {
                                            QMetaObject::invokeMethod(
                                                this,
                                                [this, done] {
                                                    if (progress_) progress_->setValue(static_cast<int>(done * 1000));
                                                },
                                                Qt::QueuedConnection);
                                        },
                                        &cancel_};
        ThrowIfCancelled(control);
        CachedMovieSpeech cache(reader_, folder);
        const SpeechProfile speech = reference        ? *reference
                                     : folder.empty() ? reader_.ReadSpeech(movie, control)
                                                      : cache.ReadSpeech(movie, control);
        ThrowIfCancelled(control);
        result = AlignToSpeech(cues, speech);
    } catch (const SpeechReadCancelled&) {
        cancelled = true;
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    QMetaObject::invokeMethod(
        this, [this, result, error, cancelled] { finish(&result, error, cancelled); }, Qt::QueuedConnection);
}

void SpeechSyncPart::finish(const SyncResult* result, const QString& error, bool cancelled) {
    if (worker_.joinable()) worker_.join();  // it has posted this as its last act
    if (progress_) {
        progress_->deleteLater();
        progress_ = nullptr;
    }
    SynchronizeToSpeech1->setEnabled(true);
    if (cancelled) {
        // Cancelled on purpose: nothing to say.
    } else if (!error.isEmpty()) {
        prompts_.Error(&window_, error);
    } else if (!sameSubtitle()) {
        prompts_.Inform(&window_, "The subtitle changed while its lines were being fitted: nothing was applied.");
    } else if (!sameMovie()) {
        prompts_.Inform(&window_,
                        "The movie changed while the subtitle's lines were being fitted: nothing was applied.");
    } else {
        const QString figures = QString::fromStdString(DescribeSync(*result));
        switch (result->verdict) {
            case SyncVerdict::Solid:
                apply(*result);
                prompts_.Inform(&window_, figures + ".");
                break;
            case SyncVerdict::Unsure:
                if (prompts_.Ask(&window_, figures + ".\nAnother answer comes close (margin " +
                                               QString::number(result->margin, 'f', 2) + "). Apply this one?"))
                    apply(*result);
                break;
            case SyncVerdict::NoSpeech:
                prompts_.Inform(&window_,
                                "The movie's sound holds too little speech to fit the subtitle to. Nothing changed.");
                break;
            case SyncVerdict::NoMatch:
                prompts_.Inform(&window_,
                                "The subtitle's lines fit this movie's speech at no shift or frame rate: it is "
                                "probably another film's subtitle. Nothing changed.");
                break;
        }
    }
    emit Finished();
}

void SpeechSyncPart::apply(const SyncResult& result) { window_.ApplySpeechSync(result); }

void SpeechSyncPart::SaveCorrectedCopy1Click() {
    const SubtitleCore& subtitles = window_.Subtitles;
    if (!textSubtitleLoaded())
        return prompts_.Inform(
            &window_, subtitles.SubIsVobSub ? "Pictures cannot be saved as SubRip." : "Load a text subtitle first.");
    const std::filesystem::path original(subtitles.SubFileName);
    std::filesystem::path proposed = original;
    proposed.replace_extension(".synced.srt");
    const QString chosen = prompts_.SaveFileName(&window_, QFile::decodeName(proposed.string().c_str()));
    if (chosen.isEmpty()) return;
    const std::string path = QFile::encodeName(chosen).toStdString();
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored) &&
        !prompts_.Ask(&window_, chosen + " already exists.\nDo you want to replace it?"))
        return;

    // Every correction in force: the cue times as they are now and the Synchronize Subtitle
    // offset (a positive offset shows the lines earlier).
    TSubList copy;
    for (const auto& cue : subtitles.SubList) copy.push_back(std::make_unique<TTimeSpan>(*cue));
    SyncResult offset;
    offset.pieces.front().shiftMs = window_.fmSynchronize() ? -window_.fmSynchronize()->SyncOffset() : 0;
    if (offset.pieces.front().shiftMs != 0) ApplySync(copy, subtitles.SubIsTimeBased, subtitles.MovieFrameRate, offset);
    const std::string codePage = subtitles.CueCodePage().empty() ? subtitles.AnsiCodePage() : subtitles.CueCodePage();
    if (!ReplaceWholeFile(path, SubRipText(copy, subtitles.SubIsTimeBased, subtitles.MovieFrameRate, codePage)))
        prompts_.Error(&window_, "Cannot create file " + chosen);
}

}  // namespace tessaview
