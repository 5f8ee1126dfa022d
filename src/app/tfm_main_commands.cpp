// The main window's commands: each one hands over to the part that carries it out.
#include "app/tfm_main.h"

#include "app/tfm_about.h"
#include "external/movie_engine.h"
#include "platform/desktop.h"
#include "playback/reading_control.h"
#include "playback/subtitle_clock.h"
#include "playback/view_control.h"
#include "playback/view_modes.h"
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_surfaces.h"
#include "presentation/tfm_synchronize.h"
#include "shell/play_list.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace tessaview {

const char* const HomepageAddress = "https://tessaview.org";
const char* const SkinNoticeText = "Skin Changes will be taken effect after program restarted!";

void TfmMain::PlayFile1Click() { movieControl_->PlayFile1Click(); }
void TfmMain::ContinuedPlayFile1Click() { movieControl_->ContinuedPlayFile1Click(); }
void TfmMain::Play1Click() { movieControl_->Play1Click(); }
void TfmMain::Pause1Click() { movieControl_->Pause1Click(); }
void TfmMain::Stop1Click() { movieControl_->Stop1Click(); }
void TfmMain::OpenMovie() { movieControl_->OpenMovie(); }
void TfmMain::ScaleMovieWindow(double scale) { movieControl_->ScaleMovieWindow(scale); }
void TfmMain::Exit1Click() { close(); }

void TfmMain::tmMovieTimer() {
    reading_->Tick(tessaview::tmMovieTimer(engine_, Subtitles, Movie, *this, *surfaces_, &Second));
}

void TfmMain::LoadSubtitle1Click() {
    const std::vector<std::string> chosen =
        fileChooser_.Choose(this, FileDialogRequest{"Load Subtitle", "Subtitle Files(*.*)|*.*", false});
    if (chosen.empty()) return;
    movieControl_->DropLateTrack();
    Subtitles.LoadSubtitle(chosen.front());
}

void TfmMain::RemoveSubtitle1Click() {
    movieControl_->DropLateTrack();
    RemoveSubtitle();
}

void TfmMain::ShowSubtitles1Click() {
    surfaces_->SetShown(!surfaces_->Shown(), Subtitles.LastSpanText);
    ShowSubtitles1->setChecked(surfaces_->Shown());
}

void TfmMain::EnableAutoloadSubtitle1Click() { SetAutoloadChecked(!autoload_); }

void TfmMain::SetSubtitleFont1Click() {
    const SubtitleFont& current = surfaces_->Font();
    const std::optional<FontChoice> chosen =
        desktop_.ChooseFont(this, FontChoice{current.font, current.color, current.charSet});
    if (!chosen) return;
    surfaces_->SetFont(SubtitleFont{chosen->font, chosen->color, chosen->charSet});
    ApplySecondStrip();  // the second line's height follows the font
}

void TfmMain::n005Click(int tag) { Subtitles.n005Click(tag); }

void TfmMain::AdjustSubtitle1Click() {
    if (fmSynchronize_) fmSynchronize_->exec();
}

void TfmMain::ChangeSubtitleLanguage1Click() {
    movieControl_->DropLateTrack();
    Subtitles.LoadSubtitle(Subtitles.SubFileName);
}

void TfmMain::NN1Click() { viewControl_->NN1Click(); }
void TfmMain::NN2Click() { viewControl_->NN2Click(); }
void TfmMain::NN3Click() { viewControl_->NN3Click(); }
void TfmMain::ShowWindowedLayout() { viewControl_->ShowWindowedLayout(); }

void TfmMain::AlwaysonTop1Click() {
    settings_.OnTop = !settings_.OnTop;
    ApplyOnTop();
}

void TfmMain::ApplyOnTop() {
    desktop_.SetStaysOnTop(this, settings_.OnTop);
    AlwaysonTop1->setChecked(settings_.OnTop);
}

void TfmMain::UseSkin1Click() {
    settings_.UseSkin = !settings_.UseSkin;
    UseSkin1->setChecked(settings_.UseSkin);
    desktop_.InformationBox(this, SkinNoticeText);
}

void TfmMain::ciShowPlayListClick() {
    settings_.ShowPlayList = !settings_.ShowPlayList;
    ciShowPlayList->setChecked(settings_.ShowPlayList);
    SetPlayListPanelWidth(settings_.ShowPlayList ? settings_.PlayListWidth : 0);
}

void TfmMain::QuillmarkHomepage1Click() { desktop_.OpenUrl(HomepageAddress); }

void TfmMain::About2Click() {
    TfmAbout about(desktop_, this);
    about.exec();
}

void TfmMain::AddToPlayList() {
    // The dialog is asked for several files here only; the next Play File asks for one again.
    playList_->AddFiles(
        fileChooser_.Choose(this, FileDialogRequest{MovieFileDialogTitle, MovieFileDialogFilter, true}));
}

void TfmMain::DeleteFromPlayList() { playList_->DeleteFromPlayList(); }
void TfmMain::MoveUpInPlayList() { playList_->MoveUpInPlayList(); }
void TfmMain::MoveDownInPlayList() { playList_->MoveDownInPlayList(); }
void TfmMain::lbPlayListDblClick() { movieControl_->PlaySelectedEntry(); }

CommandState TfmMain::CurrentCommandState() const {
    return ComputeCommandState(!Movie.MovieFileName.empty(), tmMovie->isActive(), Movie.MovieDuration,
                               Subtitles.SubIsVobSub);
}

void TfmMain::RefreshCommandState() {
    const CommandState state = CurrentCommandState();
    auto apply = [](bool enabled, QAction* item, QToolButton* button) {
        if (item->isEnabled() != enabled) item->setEnabled(enabled);
        if (button && button->isEnabled() != enabled) button->setEnabled(enabled);
    };
    apply(state.PlayFile, PlayFile1, sbOpenFile);
    apply(state.Play, Play1, sbPlay);
    apply(state.Pause, Pause1, sbPause);
    apply(state.Stop, Stop1, sbStop);
    apply(state.OriginSize, NN1, sbn1);
    apply(state.DoubleSize, NN2, sbn2);
    apply(state.FullScreen, NN3, sbn3);
    apply(state.ContinuedPlayFile, ContinuedPlayFile1, nullptr);
    apply(state.ChangeSubtitleLanguage, ChangeSubtitleLanguage1, nullptr);
    apply(Second.Loaded(), RemoveSecondSubtitle1, nullptr);
}

void TfmMain::SplitterMoved(QSplitter* splitter) {
    const QList<int> sizes = splitter->sizes();
    const QList<int> kept = SplitterSizesAfterDrag(sizes);
    if (kept != sizes) splitter->setSizes(kept);
    // The first part is the movie panel's: Splitter1 decided its height, Splitter2 its width.
    // Beside the movie in plMain's first part, the transcript takes its own share.
    const int decided = splitter->sizes()[0] - (splitter == plMain ? TranscriptShare() : 0);
    const QSize picture(Movie.VideoWidth, Movie.VideoHeight);
    if (const std::optional<QSize> change =
            SplitterWindowChange(splitter->orientation(), plMovie->size(), decided, picture))
        ResizeClientBy(change->width(), change->height());
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Resize) return QWidget::eventFilter(watched, event);
    if (watched == plMovie) {
        Guarded([this] { movieControl_->MoviePanelResized(); });
    } else if (watched == plPlayList) {
        if (plPlayList->width() > 0) settings_.PlayListWidth = plPlayList->width();
    } else if (watched == lbPlayList->viewport()) {
        lbPlayList->header()->resizeSection(0, lbPlayList->viewport()->width());
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessaview
