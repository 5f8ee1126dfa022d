// A bitmap subtitle surface: a black image of the widget's own size, drawn as it stands.
#include "presentation/bitmap_surface.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace tessaview {

BitmapSurface::BitmapSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitImage();
}

void BitmapSurface::fitImage() const {
    const QSize wanted(std::max(width(), 0), std::max(height(), 0));
    if (image_.size() == wanted && !image_.isNull()) return;
    if (wanted.isEmpty()) {
        image_ = QImage();
        return;
    }
    // A new size discards the old picture: the next due picture is drawn afresh.
    image_ = QImage(wanted, QImage::Format_RGB32);
    image_.fill(Qt::black);
}

void BitmapSurface::Clear() {
    fitImage();
    if (!image_.isNull()) image_.fill(Qt::black);
    update();
}

void BitmapSurface::DrawPicture(const QImage& picture, int x) {
    fitImage();
    if (image_.isNull() || picture.isNull()) return;
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, 0), picture);  // the image's bounds cut what lies outside
    painter.end();
    update();
}

const QImage& BitmapSurface::Image() const {
    fitImage();
    return image_;
}

void BitmapSurface::paintEvent(QPaintEvent* event) {
    fitImage();
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (!image_.isNull()) painter.drawImage(event->rect().topLeft(), image_, event->rect());
}

void BitmapSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitImage();
}

}  // namespace tessaview
