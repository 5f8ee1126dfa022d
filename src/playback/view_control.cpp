// View modes.
#include "playback/view_control.h"

#include "external/messages.h"
#include "external/movie_engine.h"
#include "platform/desktop.h"
#include "playback/movie_control.h"
#include "playback/movie_fields.h"
#include "playback/view_modes.h"

#include <QWidget>

namespace tessaview {

ViewControl::ViewControl(MovieEngine& engine, Desktop& desktop, MovieFields& fields, MovieControl& movie,
                         QWidget& mainWindow, std::function<bool()> movieOpen)
    : engine_(engine),
      desktop_(desktop),
      fields_(fields),
      movie_(movie),
      mainWindow_(mainWindow),
      movieOpen_(std::move(movieOpen)) {}

void ViewControl::NN1Click() { movie_.ScaleMovieWindow(1.0); }

void ViewControl::NN2Click() { movie_.ScaleMovieWindow(2.0); }

void ViewControl::NN3Click() {
    // No picture to show (a failed first open): the screen would only turn black.
    if (fields_.VideoWidth <= 0 || fields_.VideoHeight <= 0) return;
    engine_.SetFullScreen(1);
    fields_.IsFullScreen = true;
    ShowFullScreenLayout();
}

void ViewControl::ShowFullScreenLayout() {
    const QRect screen = desktop_.ScreenGeometry();
    const std::optional<int32_t> top =
        FullScreenOverlayTop(screen.width(), screen.height(), fields_.VideoWidth, fields_.VideoHeight);
    if (!top) return;  // no picture width to scale by: the layout stays as it is
    mainWindow_.hide();
    if (!overlay_) return;
    overlay_->setGeometry(screen.x(), screen.y() + *top, screen.width(), overlay_->height());
    // Above the full-screen window, which a window manager stacks above every window kept on top.
    desktop_.SetTransientFor(overlay_, engine_.FullScreenWindow());
    overlay_->show();
    overlay_->raise();
}

void ViewControl::ShowWindowedLayout() {
    const bool returning = !mainWindow_.isVisible();
    mainWindow_.show();
    if (returning) {
        // Back from full screen: the keyboard was the picture's, the shortcuts are ours again.
        mainWindow_.raise();
        mainWindow_.activateWindow();
    }
    if (!overlay_) return;
    // Hidden, as a window manager would pull a parked window back onto the screen; and beyond
    // every monitor, not only the primary one, should anything show it.
    overlay_->hide();
    desktop_.SetTransientFor(overlay_, nullptr);
    const QRect desktop = desktop_.VirtualDesktop();
    overlay_->move(desktop.x() + desktop.width(), overlay_->y());
    overlay_->move(overlay_->x(), desktop.y() + desktop.height());
}

void ViewControl::LeaveFullScreen() {
    if (!fields_.IsFullScreen) return;
    engine_.SetFullScreen(0);
    fields_.IsFullScreen = false;
    ShowWindowedLayout();
}

void ViewControl::FullScreenKey(int virtualKey, int modifiers) {
    if (virtualKey == VK_ESCAPE) LeaveFullScreen();
    if (!movieOpen_() || !fields_.IsFullScreen) return;
    if (virtualKey == VK_SPACE) {
        movie_.Pause1Click();
    } else if (overlay_ && (virtualKey == VK_UP || virtualKey == VK_DOWN) && !(modifiers & MOD_CONTROL)) {
        overlay_->move(overlay_->x(), overlay_->y() + (virtualKey == VK_UP ? -1 : 1));
    }
}

void ViewControl::FullScreenLeft() {
    fields_.IsFullScreen = false;
    ShowWindowedLayout();
}

}  // namespace tessaview
