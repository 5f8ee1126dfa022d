// The about box.
#include "app/tfm_about.h"

#include "app/tfm_main.h"
#include "platform/desktop.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace tessaview {

TfmAbout::TfmAbout(Desktop& desktop, QWidget* mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      desktop_(desktop),
      mainWindow_(mainWindow) {
    setObjectName("fmAbout");
    setWindowTitle("About");
    setFixedSize(339, 116);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    lbTitle = new QLabel("Tessaview 5.00 (build 20060612)", this);
    QFont bold("Arial");
    bold.setBold(true);
    lbTitle->setFont(bold);
    lbTitle->move(16, 8);
    lbTitle->adjustSize();

    lbText = new QLabel("A movie player made for subtitles.", this);
    lbText->move(16, 32);
    lbText->adjustSize();

    lbLink = new QLabel(HomepageAddress, this);
    QFont link("Arial");
    link.setUnderline(true);
    lbLink->setFont(link);
    QPalette green = lbLink->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    lbLink->setPalette(green);
    lbLink->setCursor(Qt::PointingHandCursor);
    lbLink->move(16, 56);
    lbLink->adjustSize();
    lbLink->installEventFilter(this);

    btnOK = new QPushButton("OK", this);
    btnOK->setGeometry(216, 80, 75, 25);
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TfmAbout::LinkClick() { desktop_.OpenUrl(HomepageAddress); }

bool TfmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbLink && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        LinkClick();
    return QDialog::eventFilter(watched, event);
}

void TfmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!mainWindow_) return;
    // Centred over the main window.
    const QRect over = mainWindow_->frameGeometry();
    move(over.center() - QPoint(width() / 2, height() / 2));
}

}  // namespace tessaview
