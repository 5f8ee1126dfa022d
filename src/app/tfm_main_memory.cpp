// The movie memory as the main window keeps it: what is recorded of a movie when it is left,
// and what a movie gets back when it opens again.
#include "app/tfm_main.h"

#include "external/movie_engine.h"
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_synchronize.h"

#include <QAction>
#include <QTimer>
#include <filesystem>

namespace tessaview {

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
    movieMemory_.Remember(Movie.RememberedFileName, std::move(record));
}

void TfmMain::EnteredMovie(bool continued) {
    Movie.RememberedFileName = Movie.MovieFileName;
    openedSubtitle_ = Subtitles.SubFileName;
    movieMemory_.FlushInBackground(makeProgramFolder_);
    // The next part of one timeline keeps its offset and starts at its beginning.
    if (continued) return;
    const MovieRecord* found = movieMemory_.Find(Movie.MovieFileName);
    if (!found) {
        SetSyncOffset(0);
        return;
    }
    const MovieRecord record = *found;
    std::error_code error;
    if (!record.Subtitle.empty() && record.Subtitle != Subtitles.SubFileName &&
        std::filesystem::is_regular_file(record.Subtitle, error))
        Guarded([this, &record] {
            movieControl_->DropLateTrack();  // the user's choice stands over the movie's own track
            Subtitles.LoadSubtitle(record.Subtitle);
        });
    Subtitles.n005Click(record.FrameRateItem);
    SetSyncOffset(record.SyncMs);
    if (const std::optional<int32_t> frame = ResumeFrame(record.PositionMs, Movie.MovieDuration, Subtitles.EngineFrameRate)) {
        engine_.SetPos(*frame);
        engine_.ShowText(ResumedText(record.PositionMs));
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
