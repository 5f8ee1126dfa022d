// The real Desktop: Qt dialogs and message boxes, the system's web browser, the primary
// screen's metrics and the freedesktop screen saver.
#pragma once

#include "platform/desktop.h"
#include "platform/screen_saver.h"

#include <QPointer>

class QFileDialog;
class QMessageBox;

namespace tessaview {

class QtDesktop : public Desktop {
public:
    QtDesktop() = default;
    QtDesktop(const QtDesktop&) = delete;
    QtDesktop& operator=(const QtDesktop&) = delete;
    ~QtDesktop() override;

    QStringList OpenFiles(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& current) override;

    void ErrorBox(QWidget* parent, const QString& text) override;
    void InformationBox(QWidget* parent, const QString& text) override;
    void ExceptionBox(QWidget* parent, const QString& text) override;

    void OpenUrl(const QString& url) override;

    QRect ScreenGeometry() const override;
    QRect WorkArea() const override;
    QRect AvailableArea(const QWidget* window) const override;
    QRect VirtualDesktop() const override;
    QMargins FrameMargins(QWidget* window) override;
    bool MouseButtonHeld() const override;
    void SetStaysOnTop(QWidget* window, bool onTop) override;
    void SetTransientFor(QWidget* window, QWindow* owner) override;
    void SetScreenSaverActive(bool active) override;

private:
    ScreenSaverInhibitor screenSaver_;
    // One file dialog and one box of each kind, shown again and again: a new one makes its
    // icons anew, and the toolkit's picture cache keeps the key of every new icon for good.
    QPointer<QFileDialog> fileDialog_;
    QPointer<QMessageBox> errorBox_;
    QPointer<QMessageBox> informationBox_;
};

// "Movie files|*.avi;*.mpg|All Files|*.*" to the toolkit's "Movie files (*.avi *.mpg);;All Files (*.*)".
QString ToQtFilter(const QString& filter);

}  // namespace tessaview
