// Everything the program asks of the desktop that a test must be able to answer without a
// screen: file and font dialogs, message boxes, the web browser, screen metrics, the stacking
// of windows, the screen saver. QtDesktop is the real one; tests use a fake.
#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;
class QWindow;

namespace tessaview {

struct FileDialogRequest {
    QString title;
    QString filter;  // "Movie files|*.avi;*.mpg|All Files|*.*" form
    bool multiple = false;
    QString folder{};  // where the dialog starts; empty: the working folder
};

struct FontChoice {
    QFont font;  // face, size, style
    QColor color;
    int charSet = 1;  // Windows character set number
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Empty when the user cancels.
    virtual QStringList OpenFiles(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<FontChoice> ChooseFont(QWidget* parent, const FontChoice& current) = 0;

    virtual void ErrorBox(QWidget* parent, const QString& text) = 0;        // semsg, error icon
    virtual void InformationBox(QWidget* parent, const QString& text) = 0;  // information icon
    virtual void ExceptionBox(QWidget* parent, const QString& text) = 0;    // default exception box

    virtual void OpenUrl(const QString& url) = 0;

    virtual QRect ScreenGeometry() const = 0;  // primary screen
    virtual QRect WorkArea() const = 0;        // primary screen without the task bar
    // The screen `window` is on, without the task bar; the primary one's by default.
    virtual QRect AvailableArea(const QWidget* window) const {
        (void)window;
        return WorkArea();
    }
    // All monitors together; the primary screen alone by default.
    virtual QRect VirtualDesktop() const { return ScreenGeometry(); }
    // The window manager's frame around `window`: the one it has, or before it is framed the
    // manager's estimate; none without a window manager.
    virtual QMargins FrameMargins(QWidget* window) {
        (void)window;
        return {};
    }
    // A mouse button is down anywhere on the display, the window manager's frame included.
    virtual bool MouseButtonHeld() const { return false; }
    // Keeps `window` above the windows that are not, or no longer; a window already shown keeps
    // its native window (the engine may draw into a native child of it).
    virtual void SetStaysOnTop(QWidget* window, bool onTop) = 0;
    // Has the window manager keep `window` above `owner` (a full-screen window stacks above every
    // window kept on top, but not above its own transient ones); none when `owner` is null.
    virtual void SetTransientFor(QWidget* window, QWindow* owner) = 0;
    virtual void SetScreenSaverActive(bool active) = 0;
};

}  // namespace tessaview
