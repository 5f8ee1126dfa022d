// The native window mpv draws into.
#include "external/mpv/movie_surface.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlatformSurfaceEvent>
#include <QWheelEvent>

namespace tessaview {

void MovieSurface::setOwnsKeyboard(bool owns) {
    ownsKeyboard_ = owns;
    if (owns) {
        takeKeyboard();
    } else {
        setKeyboardGrabEnabled(false);
    }
}

void MovieSurface::takeKeyboard() {
    if (!isExposed()) return;  // retried at the next expose
    requestActivate();
    setKeyboardGrabEnabled(true);
}

void MovieSurface::exposeEvent(QExposeEvent* event) {
    if (ownsKeyboard_) takeKeyboard();
    QWindow::exposeEvent(event);
}

void MovieSurface::keyPressEvent(QKeyEvent* event) {
    if (onKey) onKey(event);
    event->accept();
}

void MovieSurface::wheelEvent(QWheelEvent* event) {
    if (onWheel) onWheel(event);
    event->accept();
}

void MovieSurface::mouseDoubleClickEvent(QMouseEvent* event) {
    if (onDoubleClick) onDoubleClick(event);
    event->accept();
}

void MovieSurface::closeEvent(QCloseEvent* event) {
    // Closing would destroy the native window mpv draws into; the engine puts the
    // picture back into the panel instead.
    event->ignore();
    if (onCloseRequest) onCloseRequest();
}

bool MovieSurface::event(QEvent* event) {
    if (event->type() == QEvent::PlatformSurface &&
        static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
            QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed &&
        onNativeWindowGoing) {
        onNativeWindowGoing();
    }
    return QWindow::event(event);
}

}  // namespace tessaview
