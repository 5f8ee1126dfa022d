// Painting the nine tool pictures.
#include "shell/tool_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessaview {

namespace {

const QColor Ink(40, 40, 48);
const QColor Accent(30, 120, 200);

void DrawFrame(QPainter& p, QRectF r) {
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
}

void Paint(QPainter& p, int picture) {
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
        case PictureOpen: {  // a folder
            QPainterPath folder;
            folder.moveTo(2, 5);
            folder.lineTo(8, 5);
            folder.lineTo(10, 7);
            folder.lineTo(18, 7);
            folder.lineTo(18, 16);
            folder.lineTo(2, 16);
            folder.closeSubpath();
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(QColor(240, 200, 80));
            p.drawPath(folder);
            break;
        }
        case PicturePlay: {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 160, 60));
            p.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(17, 10), QPointF(5, 17)}));
            break;
        }
        case PicturePause:
            p.setPen(Qt::NoPen);
            p.setBrush(Accent);
            p.drawRect(QRectF(5, 4, 4, 12));
            p.drawRect(QRectF(11, 4, 4, 12));
            break;
        case PictureStop:
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(200, 50, 40));
            p.drawRect(QRectF(4, 4, 12, 12));
            break;
        case PictureLoadSubtitle: {  // a page with text lines
            p.setPen(QPen(Ink, 1.2));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 2, 12, 16));
            p.setPen(QPen(Accent, 1.5));
            for (int y = 6; y <= 14; y += 4) p.drawLine(QPointF(6.5, y), QPointF(13.5, y));
            break;
        }
        case PictureSubtitleFont: {  // the letter A
            QFont font("DejaVu Sans");
            font.setPixelSize(16);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Ink);
            p.drawText(QRectF(0, 0, 20, 20), Qt::AlignCenter, QStringLiteral("A"));
            p.setPen(QPen(Accent, 2));
            p.drawLine(QPointF(3, 18.5), QPointF(17, 18.5));
            break;
        }
        case PictureOriginSize:
            DrawFrame(p, QRectF(6, 6, 8, 8));
            break;
        case PictureDoubleSize:
            DrawFrame(p, QRectF(2.5, 2.5, 15, 15));
            DrawFrame(p, QRectF(6, 6, 8, 8));
            break;
        case PictureFullScreen: {  // four corners pointing out
            p.setPen(QPen(Ink, 1.8));
            const qreal a = 2.5, b = 17.5, l = 5;
            p.drawPolyline(QPolygonF({QPointF(a, a + l), QPointF(a, a), QPointF(a + l, a)}));
            p.drawPolyline(QPolygonF({QPointF(b - l, a), QPointF(b, a), QPointF(b, a + l)}));
            p.drawPolyline(QPolygonF({QPointF(a, b - l), QPointF(a, b), QPointF(a + l, b)}));
            p.drawPolyline(QPolygonF({QPointF(b - l, b), QPointF(b, b), QPointF(b, b - l)}));
            break;
        }
        default:
            break;
    }
}

}  // namespace

QIcon ToolIcon(int picture) {
    if (picture < PictureOpen || picture > PictureFullScreen) return {};
    QPixmap pixmap(ToolPictureSize, ToolPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    Paint(painter, picture);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace tessaview
