// The overlay window: its look, its label and picture.
#include "presentation/tfm_sub.h"

#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_label.h"
#include "presentation/subtitle_surfaces.h"

#include <QPalette>
#include <QResizeEvent>

namespace tessaview {

TfmSub::TfmSub(SubtitleSurfaces* surfaces)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
                           Qt::WindowDoesNotAcceptFocus) {
    setWindowTitle(QStringLiteral("fmSub"));
    // Showing it must not take the focus from the main window or the full-screen picture.
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    picture_ = new BitmapSurface(this);
    picture_->setObjectName("imSub");
    text_ = new SubtitleLabel(this);
    text_->setObjectName("lbSub");
    resize(DesignWidth, DesignHeight);
    picture_->setGeometry(rect());
    text_->setGeometry(rect());
    if (surfaces) {
        surfaces_ = surfaces;
        surfaces->AttachOverlay(text_, picture_);
    }
}

void TfmSub::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (surfaces_) {
        surfaces_->LayOutOverlay(rect());  // the second subtitle's line may share it
        return;
    }
    picture_->setGeometry(rect());
    text_->setGeometry(rect());
}

}  // namespace tessaview
