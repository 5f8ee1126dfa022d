// The second subtitle as the main window wires it: its two Subtitle menu items, its offset
// keys, and its line under the first in the strip, which grows to hold it.
#include "app/tfm_main.h"

#include "external/movie_engine.h"
#include "playback/clock_math.h"
#include "playback/player_keys.h"
#include "presentation/subtitle_surfaces.h"
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_synchronize.h"

#include <QAction>
#include <QSplitter>
#include <algorithm>

namespace tessaview {

void TfmMain::LoadSecondSubtitle1Click() {
    const std::vector<std::string> chosen =
        fileChooser_.Choose(this, FileDialogRequest{"Load Second Subtitle", "Subtitle Files(*.*)|*.*", false});
    if (chosen.empty()) return;
    LoadSecondSubtitle(chosen.front());
}

void TfmMain::LoadSecondSubtitle(const std::string& FileName) {
    // A reader that stops partway keeps the cues before the error, as the first subtitle does.
    try {
        Second.Load(FileName);
    } catch (...) {
        ApplySecondStrip();
        throw;
    }
    ApplySecondStrip();
}

void TfmMain::RemoveSecondSubtitle1Click() {
    Second.Remove();
    ApplySecondStrip();
}

void TfmMain::StepSecondOffset(int32_t step) {
    SetSecondOffset(SaturatingAdd(Second.OffsetMs, step));
    engine_.ShowText(SecondSyncOffsetText(Second.OffsetMs));
}

void TfmMain::SetSecondOffset(int32_t milliseconds) {
    Second.OffsetMs = milliseconds;
    if (fmSynchronize_) fmSynchronize_->seSecondSyn->setValue(milliseconds);
}

void TfmMain::ApplySecondStrip() {
    const bool on = Second.Loaded();
    surfaces_->SetSecondShown(on);
    if (fmSynchronize_) fmSynchronize_->ShowSecondRow(on);
    const int extra = on ? surfaces_->SecondLineHeight() : 0;
    const int change = extra - secondStripExtra_;
    if (change == 0) return;
    secondStripExtra_ = extra;
    // The picture keeps its size: the strip takes the room the window grows by.
    QList<int> sizes = plClient->sizes();
    if (sizes.size() == 2) {
        const int grow = std::max(change, -sizes[1]);  // a strip dragged smaller gives what it has
        sizes[0] -= grow;
        sizes[1] += grow;
        plClient->setSizes(sizes);
    }
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) resize(width(), height() + change);
}

}  // namespace tessaview
