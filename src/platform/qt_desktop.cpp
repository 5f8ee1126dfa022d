// The real Desktop over Qt.
#include "platform/qt_desktop.h"

#include "platform/subtitle_font_dialog.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

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
    QFileDialog dialog(parent, request.title, QString(), ToQtFilter(request.filter));
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

void QtDesktop::SetScreenSaverActive(bool active) { screenSaver_.SetActive(active); }

}  // namespace tessaview
