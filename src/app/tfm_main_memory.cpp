// The movie memory as the main window keeps it: what is recorded of a movie when it is left,
// and what a movie gets back when it opens again.
#include "app/tfm_main.h"

#include "external/movie_engine.h"
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_synchronize.h"
#include "sync/subtitle_sync.h"

#include <QAction>
#include <QTimer>
#include <filesystem>

namespace tessaview {

namespace {

void moveCueTimes(SubtitleCore& subtitles, const SyncResult& result) {
    ApplySync(subtitles.SubList, subtitles.SubIsTimeBased, subtitles.MovieFrameRate, result);
    subtitles.SubListChanged();
    subtitles.ClearLookupCache();
}

}  // namespace

int TfmMain::CheckedFrameRateItem() const {
    for (std::size_t tag = 0; tag < FrameRateItems.size(); ++tag)
        if (FrameRateItems[tag]->isChecked()) return static_cast<int>(tag);
    return 0;
}

void TfmMain::SetSyncOffset(int32_t milliseconds) {
    if (fmSynchronize_) fmSynchronize_->seSyn->setValue(milliseconds);
}

// A stopped movie is back at its start: what it was is recorded at the stop, not after.
void TfmMain::LeavingMovie() {
    if (Movie.RememberedFileName.empty() || !tmMovie->isActive()) return;
    MovieRecord record;
    if (const MovieRecord* earlier = movieMemory_.Find(Movie.RememberedFileName)) record.Other = earlier->Other;
    int32_t frame = 0;
    engine_.GetPos(frame);
    record.PositionMs = FramesToMilliseconds(frame, Subtitles.EngineFrameRate);
    record.SyncMs = SyncOffset().value_or(0);
    record.FrameRateItem = CheckedFrameRateItem();
    // Only a subtitle the user chose: the one in force at the opening is found again.
    if (Subtitles.SubFileName != openedSubtitle_) record.Subtitle = Subtitles.SubFileName;
    record.Sync = SpeechSyncRecord();
    record.SecondSubtitle = Second.FileName();
    record.SecondSyncMs = Second.Loaded() ? Second.OffsetMs : 0;
    movieMemory_.Remember(Movie.RememberedFileName, std::move(record));
}

void TfmMain::EnteredMovie(bool continued) {
    Movie.RememberedFileName = Movie.MovieFileName;
    openedSubtitle_ = Subtitles.SubFileName;
    movieMemory_.FlushInBackground(makeProgramFolder_);
    // The next part of one timeline keeps its offset and starts at its beginning.
    if (continued) return;
    speechSync_.reset();
    const MovieRecord* found = movieMemory_.Find(Movie.MovieFileName);
    // Another movie: the second subtitle of the one before is not its.
    if (Second.Loaded() && (!found || found->SecondSubtitle != Second.FileName())) RemoveSecondSubtitle1Click();
    SetSecondOffset(0);
    if (!found) {
        SetSyncOffset(0);
        return;
    }
    const MovieRecord record = *found;
    std::error_code error;
    if (!record.SecondSubtitle.empty() && record.SecondSubtitle != Second.FileName() &&
        std::filesystem::is_regular_file(record.SecondSubtitle, error))
        Guarded([this, &record] { LoadSecondSubtitle(record.SecondSubtitle); });
    if (Second.Loaded()) SetSecondOffset(record.SecondSyncMs);
    if (!record.Subtitle.empty() && record.Subtitle != Subtitles.SubFileName &&
        std::filesystem::is_regular_file(record.Subtitle, error))
        Guarded([this, &record] {
            movieControl_->DropLateTrack();  // the user's choice stands over the movie's own track
            Subtitles.LoadSubtitle(record.Subtitle);
        });
    Subtitles.n005Click(record.FrameRateItem);
    RestoreSpeechSync(record);
    SetSyncOffset(record.SyncMs);
    if (const std::optional<int32_t> frame =
            ResumeFrame(record.PositionMs, Movie.MovieDuration, Subtitles.EngineFrameRate)) {
        engine_.SetPos(*frame);
        engine_.ShowText(ResumedText(record.PositionMs));
    }
}

// A load begins a new list: a synchronisation of the list before is no longer in force.
const SyncResult* TfmMain::SpeechSyncInForce() const {
    const bool inForce = speechSync_ && speechSyncList_ == Subtitles.ListNumber() && !Subtitles.SubIsVobSub;
    return inForce ? &*speechSync_ : nullptr;
}

void TfmMain::ApplySpeechSync(const SyncResult& result) {
    moveCueTimes(Subtitles, result);
    const SyncResult* before = SpeechSyncInForce();
    speechSync_ = before ? ComposeSync(*before, result) : result;
    speechSyncList_ = Subtitles.ListNumber();
    // The fit took a while to find: it is recorded at once, not only when the movie is left.
    if (tmMovie->isActive()) {
        LeavingMovie();
    } else if (const MovieRecord* stopped = movieMemory_.Find(Movie.RememberedFileName)) {
        MovieRecord record = *stopped;  // the rest was recorded at the stop
        record.Sync = SpeechSyncRecord();
        movieMemory_.Remember(Movie.RememberedFileName, std::move(record));
    }
    movieMemory_.FlushInBackground(makeProgramFolder_);
}

MovieSync TfmMain::SpeechSyncRecord() const {
    const SyncResult* sync = SpeechSyncInForce();
    return sync ? MovieSync{sync->ShiftMs(), sync->rate, LaterPiecesText(*sync)} : MovieSync{};
}

// Only on the subtitle it was found for: the one chosen by hand, else the one found again at
// the opening. Pieces that do not fit the list belong to another subtitle and are dropped.
void TfmMain::RestoreSpeechSync(const MovieRecord& record) {
    const std::string& subtitle = record.Subtitle.empty() ? openedSubtitle_ : record.Subtitle;
    if (!record.Sync.ShiftMs || Subtitles.SubFileName != subtitle || Subtitles.SubIsVobSub) return;
    if (const std::optional<SyncResult> stored = StoredSync(*record.Sync.ShiftMs, record.Sync.Rate.value_or(1.0),
                                                            record.Sync.Pieces, Subtitles.SubList.size())) {
        moveCueTimes(Subtitles, *stored);
        speechSync_ = stored;
        speechSyncList_ = Subtitles.ListNumber();
    }
}

// The movie's text track arrives after the memory was given back: the frame-rate item it
// restored outlasts the load, and the track counts as found at the opening, not as chosen.
void TfmMain::LoadOpeningSubtitle(const std::function<void()>& load) {
    const int item = CheckedFrameRateItem();
    Guarded(load);
    Subtitles.n005Click(item);
    openedSubtitle_ = Subtitles.SubFileName;
}

}  // namespace tessaview
