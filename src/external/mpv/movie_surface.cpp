// The native window mpv draws into.
#include "external/mpv/movie_surface.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPlatformSurfaceEvent>

namespace tessaview {

void MovieSurface::keyPressEvent(QKeyEvent* event) {
    if (onKey) onKey(event);
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
