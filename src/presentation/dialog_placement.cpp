// Window flags, colour and placement shared by the synchronize and language dialogs.
#include "presentation/dialog_placement.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace tessaview {

void SetUpFixedDialog(QWidget* dialog, int width, int height) {
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    dialog->setFixedSize(width, height);
    QPalette white = dialog->palette();
    white.setColor(QPalette::Window, Qt::white);
    dialog->setPalette(white);
    dialog->setAutoFillBackground(true);
}

void CentreOver(QWidget* dialog, const QWidget* mainWindow) {
    QRect area;
    if (mainWindow != nullptr) {
        area = mainWindow->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isNull()) return;
    const QSize frame = dialog->frameGeometry().size();
    dialog->move(area.left() + (area.width() - frame.width()) / 2, area.top() + (area.height() - frame.height()) / 2);
}

}  // namespace tessaview
