// Reading the movie: the transcript panel beside the picture with its menu item and width,
// finding in it, and the Pause After Each Line item; the work is ReadingControl's.
#include "app/tfm_main.h"

#include "playback/reading_control.h"
#include "playback/view_modes.h"
#include "presentation/subtitle_surfaces.h"
#include "presentation/transcript_panel.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTimer>
#include <algorithm>

namespace tessaview {

QWidget* TfmMain::BuildTranscriptPanel() {
    plReading = new QSplitter(Qt::Horizontal);
    plReading->setObjectName("plReading");
    plReading->setHandleWidth(plClient->handleWidth());
    plReading->setOpaqueResize(false);
    plReading->setChildrenCollapsible(false);
    plReading->addWidget(plClient);
    plTranscript = new TranscriptPanel(plReading);
    plTranscript->setMinimumWidth(SplitterMinSize);
    plReading->addWidget(plTranscript);
    plReading->setStretchFactor(0, 1);
    plReading->setStretchFactor(1, 0);
    plTranscript->hide();
    // Only a drag of the splitter is the user's choice of width; layouts come and go.
    connect(plReading, &QSplitter::splitterMoved, this, [this] {
        if (plTranscript->isVisible()) settings_.TranscriptWidth = plTranscript->width();
    });
    connect(plTranscript, &TranscriptPanel::Shown, this, [this] { ApplyTranscriptWidth(); });
    return plReading;
}

void TfmMain::BuildReading() {
    // After the program's own items of each menu.
    auto* view = SeSkinMenuBar1->findChild<QMenu*>("View1");
    Transcript1 = AddMenuItem(
        view, "Transcript1", "Transcript", [this] { Transcript1Click(); }, QKeySequence("Ctrl+T"));
    Transcript1->setCheckable(true);
    auto* subtitle = SeSkinMenuBar1->findChild<QMenu*>("Subtitle1");
    subtitle->addSeparator()->setObjectName("N8");
    PauseAfterEachLine1 = AddMenuItem(
        subtitle, "PauseAfterEachLine1", "Pause After Each Line", [this] { PauseAfterEachLine1Click(); },
        QKeySequence("Ctrl+Shift+P"));
    PauseAfterEachLine1->setCheckable(true);

    auto* find = new QAction(this);
    find->setObjectName("FindInTranscript1");
    find->setShortcut(QKeySequence("Ctrl+F"));
    find->setShortcutContext(Qt::WindowShortcut);
    connect(find, &QAction::triggered, this, [this] { Guarded([this] { FindInTranscript(); }); });
    addAction(find);

    ReadingWindow window{
        .movieOpen = [this] { return tmMovie->isActive(); },
        .moviePlaying = [this] { return tmMovie->isActive() && !MoviePaused(); },
        .pauseMovie =
            [this] {
                if (CurrentCommandState().Pause && !MoviePaused()) Pause1Click();
            },
        .tick = [this] { tmMovieTimer(); },
        .syncOffset = [this] { return SyncOffset(); },
        .charSet = [this] { return surfaces_->Font().charSet; },
        .applySync = [this](const SyncResult& result) { ApplySpeechSync(result); },
    };
    reading_ = std::make_unique<ReadingControl>(engine_, Subtitles, vobsub_, Movie, *plTranscript, std::move(window));
    reading_->SetSecond(&Second);
    connect(plTranscript, &TranscriptPanel::LineChosen, this,
            [this](int line) { Guarded([this, line] { reading_->GoToLine(line); }); });
    connect(plTranscript, &TranscriptPanel::FindRequested, this,
            [this](bool forward) { Guarded([this, forward] { reading_->FindStep(forward); }); });
    connect(plTranscript->pmTranscript, &QMenu::aboutToShow, this,
            [this] { plTranscript->HeardNow1->setEnabled(reading_->HeardNowAvailable()); });
    connect(plTranscript, &TranscriptPanel::HeardNow, this,
            [this](int line) { Guarded([this, line] { reading_->HeardNow(line); }); });
    // A new subtitle, frame rate or synchronize value reaches a shown transcript once the
    // events of the moment are done.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, reading_.get(),
                [this] { Guarded([this] { reading_->Refresh(); }); });

    ShowTranscript(settings_.ShowTranscript);
}

void TfmMain::Transcript1Click() { ShowTranscript(!settings_.ShowTranscript); }

void TfmMain::ShowTranscript(bool shown) {
    settings_.ShowTranscript = shown;
    Transcript1->setChecked(shown);
    if (!shown && plTranscript->isAncestorOf(focusWidget())) setFocus();
    plTranscript->setVisible(shown);
    if (!shown) return;
    reading_->Refresh();
    if (tmMovie->isActive()) tmMovieTimer();  // the line on screen marked at once
}

void TfmMain::ApplyTranscriptWidth() {
    const int total = plReading->width() - plReading->handleWidth();
    if (total <= 2 * SplitterMinSize) return;
    const int width = std::clamp(settings_.TranscriptWidth, SplitterMinSize, total - SplitterMinSize);
    plReading->setSizes({total - width, width});
}

int TfmMain::TranscriptShare() const {
    return plTranscript->isVisible() ? plTranscript->width() + plReading->handleWidth() : 0;
}

void TfmMain::FindInTranscript() {
    if (!settings_.ShowTranscript) ShowTranscript(true);
    plTranscript->FocusFind();
}

void TfmMain::PauseAfterEachLine1Click() {
    reading_->SetPauseAfterLine(!reading_->PauseAfterLine());
    PauseAfterEachLine1->setChecked(reading_->PauseAfterLine());
}

}  // namespace tessaview
