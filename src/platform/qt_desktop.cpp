// The real Desktop over Qt.
#include "platform/qt_desktop.h"

#include "platform/subtitle_font_dialog.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>

namespace tessaview {

QString ToQtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        QString name = parts[i];
        // A name that already shows its patterns ("Subtitle Files(*.*)") is kept as it is.
        entries << (name.contains('(') ? name.left(name.indexOf('(')).trimmed() : name) +
                       QStringLiteral(" (%1)").arg(patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

QStringList QtDesktop::OpenFiles(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.folder, ToQtFilter(request.filter));
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

std::optional<FontChoice> QtDesktop::ChooseFont(QWidget* parent, const FontChoice& current) {
    SubtitleFontDialog dialog(parent, current);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

namespace {

// Message texts break their lines with a lone CR; the toolkit's boxes want LF.
QString ForDisplay(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace('\r', '\n');
    return text;
}

}  // namespace

void QtDesktop::ErrorBox(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Tessaview"), ForDisplay(text));
}

void QtDesktop::InformationBox(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Tessaview"), ForDisplay(text));
}

void QtDesktop::ExceptionBox(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Tessaview"), ForDisplay(text));
}

void QtDesktop::OpenUrl(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

QRect QtDesktop::ScreenGeometry() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QRect QtDesktop::WorkArea() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QRect QtDesktop::AvailableArea(const QWidget* window) const {
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : WorkArea();
}

QRect QtDesktop::VirtualDesktop() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : ScreenGeometry();
}

bool QtDesktop::MouseButtonHeld() const {
    // The window manager's frame is not ours: only the X server knows the button is down.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_connection_t* connection = x11->connection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (!screen) return false;
        xcb_query_pointer_reply_t* reply =
            xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
        if (!reply) return false;
        const bool held = (reply->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) != 0;
        std::free(reply);
        return held;
    }
    return QGuiApplication::mouseButtons() != Qt::NoButton;
}

void QtDesktop::SetScreenSaverActive(bool active) { screenSaver_.SetActive(active); }

}  // namespace tessaview
