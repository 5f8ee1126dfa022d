// The about box: name and build, a line about the program, the web address as a link.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessaview {

class Desktop;

class TfmAbout : public QDialog {
    Q_OBJECT
public:
    TfmAbout(Desktop& desktop, QWidget* mainWindow);

    QLabel* lbTitle = nullptr;
    QLabel* lbText = nullptr;
    QLabel* lbLink = nullptr;
    QPushButton* btnOK = nullptr;

    void LinkClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Desktop& desktop_;
    QWidget* mainWindow_;
};

}  // namespace tessaview
