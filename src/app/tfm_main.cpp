// The main window's life: creation, the deferred start, messages, closing, and the views
// of it that the subtitle core, the settings, movie control and the clock work through.
#include "app/tfm_main.h"

#include "app/app_messages.h"
#include "app/command_line.h"
#include "app/guard.h"
#include "external/hook_library.h"
#include "external/movie_engine.h"
#include "external/vobsub_library.h"
#include "platform/desktop.h"
#include "platform/local_file_names.h"
#include "playback/message_hook.h"
#include "playback/player_keys.h"
#include "playback/reading_control.h"
#include "playback/view_control.h"
#include "playback/view_modes.h"
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_surfaces.h"
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_sel_lan.h"
#include "presentation/tfm_sub.h"
#include "presentation/tfm_synchronize.h"
#include "shell/play_list.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLocale>
#include <QMimeData>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <iostream>

namespace tessaview {

TfmMain::TfmMain(const MainServices& services)
    : Subtitles(*this, services.tmpSubFolder.empty() ? services.programFolder : services.tmpSubFolder),
      Second(*this, services.tmpSubFolder.empty() ? services.programFolder : services.tmpSubFolder),
      engine_(services.engine),
      vobsub_(services.vobsub),
      hook_(services.hook),
      desktop_(services.desktop),
      instances_(services.instances),
      programFolder_(services.programFolder),
      arguments_(services.arguments),
      processId_(services.processId),
      makeProgramFolder_(services.makeProgramFolder),
      movieMemory_(MovieMemoryFileName(services.stateFolder.empty() ? services.programFolder : services.stateFolder),
                   std::cerr) {
    setObjectName("fmMain");
    setWindowTitle("Tessaview");
    BuildLayout();
    playList_ = std::make_unique<PlayList>(lbPlayList);
    movieControl_ = std::make_unique<MovieControl>(engine_, Subtitles, *playList_, desktop_, fileChooser_, *this, Movie,
                                                   *surfaces_, services.tracks);
    viewControl_ = std::make_unique<ViewControl>(engine_, desktop_, Movie, *movieControl_, *this,
                                                 [this] { return tmMovie->isActive(); });
    engine_.SetMainWindow(this);

    MeasureFrame();  // the stored place and size are the frame's
    LoadSettings(*this, programFolder_, instances_);
    ApplySound();
    BuildPlayerKeys();
    BuildReading();
    UseSkin1->setChecked(settings_.UseSkin);
    ApplyOnTop();
    setAcceptDrops(true);  // DropFileTarget1
    messageHook_ = new MessageHook(engine_, Movie, plMovie, tbMain);
    messageHook_->setParent(this);
    messageHook_->Install();
    hook_.SetHook();
    FrameRateItems[0]->setChecked(true);
    QCoreApplication::postEvent(this, new WindowMessage(WM_AFTER_START));

    // The idle event: the queue has been emptied and the thread is about to wait.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        idleConnection_ =
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { RefreshCommandState(); });
}

TfmMain::~TfmMain() {
    // The hook reads plMovie and tbMain: it goes before they do.
    messageHook_->Remove();
    disconnect(idleConnection_);
    setAcceptDrops(false);
}

void TfmMain::AttachCompanions(TfmSub* fmSub, TfmSynchronize* fmSynchronize) {
    fmSub_ = fmSub;
    fmSynchronize_ = fmSynchronize;
    viewControl_->SetOverlay(fmSub);
    if (fmSynchronize_)
        connect(fmSynchronize_->seSecondSyn, &QSpinBox::valueChanged, this,
                [this](int value) { Second.OffsetMs = value; });
}

bool TfmMain::HookInstalled() const { return messageHook_->Installed(); }

void TfmMain::Guarded(const std::function<void()>& command) { RunGuarded(desktop_, this, command); }

void TfmMain::MeasureFrame() {
    frame_ = desktop_.FrameMargins(this);
    FrameWidth = frame_.left() + frame_.right();
    FrameHeight = frame_.top() + frame_.bottom();
}

// The window's own rectangle is placed: where a frame of a given size lands for a frame
// position differs between window managers.
void TfmMain::MoveOuterTo(QPoint topLeft) { setGeometry(QRect(topLeft + QPoint(frame_.left(), frame_.top()), size())); }

bool TfmMain::event(QEvent* event) {
    const QEvent::Type type = event->type();
    // The engine may still post while the program ends: a closed window opens nothing more.
    if (closed_ && (type == WM_AFTER_START || type == WM_MOVIE_END || type == WM_FULLSCREEN_KEY ||
                    type == WM_FULLSCREEN_LEFT || type == WM_PICTURE_WHEEL || type == WM_PICTURE_DBLCLK))
        return true;
    if (type == WM_AFTER_START) {
        // A name relative to the starting folder would be stored in the play list and not be
        // found by a later start from elsewhere.
        const PlayerArguments start = ReadPlayerArguments(arguments_);
        if (!start.movie.empty())
            Guarded([this, &start] {
                movieControl_->OpenFromCommandLine(std::filesystem::absolute(start.movie).lexically_normal());
            });
        if (!start.subtitle.empty())
            Guarded([this, &start] {
                Subtitles.LoadSubtitle(std::filesystem::absolute(start.subtitle).lexically_normal());
            });
        if (!start.secondSubtitle.empty())
            Guarded([this, &start] {
                LoadSecondSubtitle(std::filesystem::absolute(start.secondSubtitle).lexically_normal());
            });
        // Painted in the button face from now on; until then the bar shows the window's white.
        tlbMain->setBackgroundRole(QPalette::Button);
        tlbMain->setAutoFillBackground(true);
        return true;
    }
    if (type == WM_MOVIE_END) {
        Guarded([this] { movieControl_->MovieEnded(); });
        return true;
    }
    if (type == WM_FULLSCREEN_KEY) {
        const auto* message = static_cast<WindowMessage*>(event);
        const auto key = static_cast<int>(message->wParam());
        const auto modifiers = static_cast<int>(message->lParam());
        if (key == 'V' && Movie.IsFullScreen && tmMovie->isActive()) ShowSubtitles1Click();
        Guarded([this, key, modifiers] {
            viewControl_->FullScreenKey(key, modifiers);
            if (const std::optional<PlayerCommand> command = FullScreenCommand(key, modifiers))
                RunPlayerCommand(*command);
        });
        return true;
    }
    if (PlayerMessage(event)) return true;
    if (type == WM_FULLSCREEN_LEFT) {
        Guarded([this] { viewControl_->FullScreenLeft(); });
        return true;
    }
    return QWidget::event(event);
}

void TfmMain::FormCloseQuery() {
    if (tmMovie->isActive()) Stop1Click();
}

void TfmMain::FormClose() {
    movieControl_->DropLateTrack();
    Subtitles.ClearSubList();
    Subtitles.SubLines.clear();
    hook_.FreeHook();
    // Written while set.ini is: the two waits for the disk overlap.
    movieMemory_.FlushInBackground(makeProgramFolder_);
    // A failed save is shown, and the program still ends: the lists and the hook are gone.
    Guarded([this] { SaveSettings(*this, programFolder_, processId_, makeProgramFolder_); });
    movieMemory_.Wait();
}

void TfmMain::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        FormCloseQuery();
        FormClose();
        emit Closed();
    }
    event->accept();
}

void TfmMain::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    MeasureFrame();
    if (pendingOuterSize_.width() > 0) resize(pendingOuterSize_.width() - FrameWidth, height());
    if (pendingOuterSize_.height() > 0) resize(width(), pendingOuterSize_.height() - FrameHeight);
    pendingOuterSize_ = QSize(-1, -1);
    if (!event->spontaneous()) viewControl_->ShowWindowedLayout();
}

void TfmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The window manager has already resized the frame the user drags: correct the height
    // right after, once per new size, so a refusing window manager cannot make us loop.
    // A size given with no button down (maximise, snap, a tiling manager) is kept.
    if (!event->spontaneous() || event->size() == lastSizingRequest_) return;
    if ((windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) || !desktop_.MouseButtonHeld()) return;
    const std::optional<int32_t> outer = WindowSizingHeight(event->size().width() + FrameWidth);
    if (!outer) return;
    const int clientHeight = *outer - FrameHeight;
    if (clientHeight == height()) return;
    lastSizingRequest_ = QSize(width(), clientHeight);
    resize(lastSizingRequest_);
}

std::optional<int32_t> TfmMain::WindowSizingHeight(int32_t outerWidth) const {
    if (!tmMovie->isActive()) return std::nullopt;
    // The handle widget reaches a pixel into its neighbours so it is easy to grab; it takes
    // handleWidth() of the layout.
    return SizingHeight(outerWidth, FrameWidth, Movie.VideoWidth, Movie.VideoHeight,
                        {sbMain->height(), lbSubParent->height(), plClient->handleWidth(), tbMain->height()},
                        FrameHeight);
}

void TfmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TfmMain::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) files << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    event->setDropAction(Qt::CopyAction);
    event->accept();
    DropFiles(files);
}

void TfmMain::DropFiles(const QStringList& files) {
    std::vector<std::string> names;
    for (const QString& file : files) names.push_back(LocalFileName(file));
    Guarded([this, &names] { movieControl_->OpenDropped(names); });
}

// --- SubtitleHost ---

void TfmMain::semsg(const std::string& text) { desktop_.ErrorBox(this, QString::fromStdString(text)); }

void TfmMain::LoadError(const std::string& text, const std::string& detail) { semsg(text + "\r" + detail); }

void TfmMain::LoadVobSubFile(const std::string& pathWithoutExtension) {
    vobsub_.LoadVobSubFile(pathWithoutExtension);
    reading_->VobSubChanged();
}

void TfmMain::SelectVobSubLanguage() {
    tessaview::SelectVobSubLanguage(vobsub_, this);
    reading_->VobSubChanged();
}

void TfmMain::SubtitleFrameRateChosen(int tag, const std::string& statusText) {
    for (size_t i = 0; i < FrameRateItems.size(); ++i) FrameRateItems[i]->setChecked(static_cast<int>(i) == tag);
    sbMain->SetText(4, QString::fromStdString(statusText));
}

static char DecimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? static_cast<char>(point.at(0).unicode()) : '.';
}

char TfmMain::DecimalSeparator() const { return DecimalSeparatorOf(QLocale()); }

// --- SettingsWindow ---

WindowBounds TfmMain::Bounds() const {
    const QRect frame = OuterGeometry();
    return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void TfmMain::SetLeft(int32_t left) { MoveOuterTo({left, OuterGeometry().y()}); }
void TfmMain::SetTop(int32_t top) { MoveOuterTo({OuterGeometry().x(), top}); }
// The stored size is the outer one. Should the frame found before the window was first shown
// differ from its real one, the size is set again once shown, or every start would change it.
void TfmMain::SetWidth(int32_t width) {
    if (!isVisible()) pendingOuterSize_.setWidth(width);
    resize(width - FrameWidth, height());
}
void TfmMain::SetHeight(int32_t height) {
    if (!isVisible()) pendingOuterSize_.setHeight(height);
    resize(width(), height - FrameHeight);
}

WindowBounds TfmMain::WorkArea() const {
    const QRect area = desktop_.WorkArea();
    return {area.x(), area.y(), area.width(), area.height()};
}

bool TfmMain::AutoloadChecked() const { return autoload_; }

void TfmMain::SetAutoloadChecked(bool checked) {
    autoload_ = checked;
    EnableAutoloadSubtitle1->setChecked(checked);
}

void TfmMain::SetShowPlayListChecked(bool checked) { ciShowPlayList->setChecked(checked); }

void TfmMain::SetPlayListPanelWidth(int32_t width) {
    plMain->setSizes(SecondPartSizes(plMain->width(), {plMain->handleWidth()}, width));
}

std::vector<std::string> TfmMain::PlayListCaptions() const { return playList_->Captions(); }

void TfmMain::AppendPlayListEntry(const std::string& caption) { playList_->Append(caption); }

FontSpec TfmMain::OverlayFont() const { return ToFontSpec(surfaces_->Font()); }

void TfmMain::SetOverlayFont(const FontSpec& font) { surfaces_->SetFont(FromFontSpec(font)); }

// --- MovieWindow ---

bool TfmMain::MovieTimerEnabled() const { return tmMovie->isActive(); }

void TfmMain::SetMovieTimerEnabled(bool enabled) {
    if (enabled && !tmMovie->isActive()) tmMovie->start();
    if (!enabled) tmMovie->stop();
}

void TfmMain::SetTrackMaximum(int32_t maximum) { tbMain->setMaximum(maximum); }

void TfmMain::SetStatusText(int panel, const std::string& text) {
    sbMain->SetText(panel, QString::fromStdString(text));
}

QSize TfmMain::MoviePanelSize() const { return plMovie->size(); }

void TfmMain::ResizeClientBy(int dw, int dh) { resize(width() + dw, height() + dh); }

// --- ClockWindow ---

void TfmMain::SetTrackPosition(int32_t frame) { tbMain->setValue(frame); }

void TfmMain::SetClockText(const std::string& text) { sbMain->SetText(0, QString::fromStdString(text)); }

std::optional<int32_t> TfmMain::SyncOffset() const {
    if (!fmSynchronize_) return std::nullopt;
    return fmSynchronize_->SyncOffset();
}

void TfmMain::MovieOpened(const std::string& MovieFileName) {
    setWindowTitle(DisplayFileName(MovieFileName).section('/', -1) + QStringLiteral(" - Tessaview"));
    ApplySound();
}

void TfmMain::RemoveSubtitle() {
    Subtitles.RemoveSubtitle();
    surfaces_->Clear();
}

}  // namespace tessaview
