// The message hook.
#include "playback/message_hook.h"

#include "external/messages.h"
#include "external/movie_engine.h"
#include "playback/movie_fields.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSlider>

namespace tessaview {

MessageHook::MessageHook(MovieEngine& engine, MovieFields& fields, QWidget* plMovie, QSlider* tbMain)
    : engine_(engine), fields_(fields), plMovie_(plMovie), tbMain_(tbMain) {}

void MessageHook::Install() {
    if (installed_) return;
    QCoreApplication::instance()->installEventFilter(this);
    installed_ = true;
}

void MessageHook::Remove() {
    if (!installed_) return;
    QCoreApplication::instance()->removeEventFilter(this);
    installed_ = false;
}

bool MessageHook::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plMovie_ && event->type() == WM_MOVIE_EVENT) {
        engine_.GraphNotify();
    } else if (watched == tbMain_) {
        // The toolkit reports the second press of a quick double click as a double click.
        const QEvent::Type type = event->type();
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        if (press || type == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                if (press) {
                    fields_.TrackDragging = true;
                } else {
                    fields_.TrackDragging = false;
                    // Seek to where the thumb stands, in engine frames (no continued-play offset).
                    engine_.SetPos(tbMain_->value());
                }
            }
        }
    }
    return false;  // the message goes on to its window either way
}

}  // namespace tessaview
