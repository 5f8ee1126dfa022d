// The real Desktop over Qt.
#include "platform/qt_desktop.h"

#include "osdep/memory.h"
#include "platform/subtitle_font_dialog.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmapCache>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

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

namespace {

// Dialogs and boxes make their icons anew each time, and the picture cache keeps their pictures
// under keys never asked for again: emptied (and the pages freed) once the dialog is gone.
struct ForgetDialogPictures {
    ForgetDialogPictures() = default;
    ForgetDialogPictures(const ForgetDialogPictures&) = delete;
    ForgetDialogPictures& operator=(const ForgetDialogPictures&) = delete;
    ~ForgetDialogPictures() {
        QPixmapCache::clear();
        ReturnFreedMemory();
    }
};

// The kept dialog for `parent`, made on first use. A request that comes while it is showing
// (a second message while the first waits) gets a one-off dialog, held by `oneOff`.
template <typename Dialog, typename Make>
Dialog* KeptOrOneOff(QPointer<Dialog>& kept, std::unique_ptr<Dialog>& oneOff, QWidget* parent, Make make) {
    if (kept && kept->isVisible()) {
        oneOff.reset(make());
        return oneOff.get();
    }
    if (kept && kept->parentWidget() != parent) delete kept.data();
    if (!kept) kept = make();
    return kept;
}

}  // namespace

QStringList QtDesktop::OpenFiles(QWidget* parent, const FileDialogRequest& request) {
    const ForgetDialogPictures forget;  // declared first: it runs once the dialog is gone
    std::unique_ptr<QFileDialog> oneOff;
    QFileDialog* dialog = KeptOrOneOff(fileDialog_, oneOff, parent, [&] { return new QFileDialog(parent); });
    dialog->setWindowTitle(request.title);
    dialog->setDirectory(request.folder);
    dialog->setNameFilter(ToQtFilter(request.filter));
    dialog->setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // The dialog keeps the last name typed, and its list of completions may still be open.
    QLineEdit* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name) name->clear();
    const bool chosen = dialog->exec() == QDialog::Accepted;
    if (name && name->completer() && name->completer()->popup()) name->completer()->popup()->hide();
    return chosen ? dialog->selectedFiles() : QStringList();
}

std::optional<FontChoice> QtDesktop::ChooseFont(QWidget* parent, const FontChoice& current) {
    const ForgetDialogPictures forget;
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

namespace {

// Shows `text` in the kept box of its kind.
void ShowBox(QPointer<QMessageBox>& kept, QMessageBox::Icon icon, QWidget* parent, const QString& text) {
    const ForgetDialogPictures forget;
    std::unique_ptr<QMessageBox> oneOff;
    QMessageBox* box = KeptOrOneOff(kept, oneOff, parent, [&] {
        return new QMessageBox(icon, QStringLiteral("Tessaview"), {}, QMessageBox::Ok, parent);
    });
    box->setText(ForDisplay(text));
    box->exec();
}

}  // namespace

QtDesktop::~QtDesktop() {
    // Dialogs made without a window to belong to; the others went with their window.
    delete fileDialog_;
    delete errorBox_;
    delete informationBox_;
}

void QtDesktop::ErrorBox(QWidget* parent, const QString& text) {
    ShowBox(errorBox_, QMessageBox::Critical, parent, text);
}

void QtDesktop::InformationBox(QWidget* parent, const QString& text) {
    ShowBox(informationBox_, QMessageBox::Information, parent, text);
}

void QtDesktop::ExceptionBox(QWidget* parent, const QString& text) {
    ShowBox(errorBox_, QMessageBox::Critical, parent, text);
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

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Up to `count` 32-bit values of a property; empty when the window does not have it.
std::vector<uint32_t> Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                               uint32_t count) {
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, name, type, 0, count), nullptr);
    std::vector<uint32_t> values;
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return values;
}

}  // namespace

QMargins QtDesktop::FrameMargins(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window) return {};
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return {};
    // The toolkit learns the frame only some time after the window is shown: the manager's
    // own word is asked for instead, by the window's native id, which this creates if need be.
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
    const auto read = [&]() -> std::optional<QMargins> {
        const std::vector<uint32_t> v = Property(connection, id, extents, XCB_ATOM_CARDINAL, 4);
        if (v.size() != 4) return std::nullopt;
        return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));  // left, right, top, bottom
    };
    if (const std::optional<QMargins> known = read()) return *known;
    // A manager that has gone leaves its properties on the root window: only a live one
    // names a check window that names itself.
    const xcb_atom_t check = Atom(connection, "_NET_SUPPORTING_WM_CHECK");
    const std::vector<uint32_t> manager = Property(connection, screen->root, check, XCB_ATOM_WINDOW, 1);
    if (manager.empty() || Property(connection, manager[0], check, XCB_ATOM_WINDOW, 1) != manager) return {};
    const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const std::vector<uint32_t> supported =
        Property(connection, screen->root, Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM, 1024);
    if (request == XCB_ATOM_NONE || std::find(supported.begin(), supported.end(), request) == supported.end()) {
        // No estimate to ask for: the toolkit's, which is right once the window is framed.
        const QRect frame = window->frameGeometry(), inner = window->geometry();
        return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                        frame.bottom() - inner.bottom());
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(5)))
        if (const std::optional<QMargins> estimate = read()) return *estimate;
    return {};
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

void QtDesktop::SetStaysOnTop(QWidget* window, bool onTop) {
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* native = window->windowHandle()) {
        // The engine draws into a native child window: recreating ours (as setWindowFlag
        // does) would pull that window from under it. Tell the existing window instead.
        window->overrideWindowFlags(flags);
        native->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

void QtDesktop::SetTransientFor(QWidget* window, QWindow* owner) {
    // The manager reads the owner when it maps the window: the native window has to exist first.
    if (owner) window->winId();
    if (QWindow* native = window->windowHandle()) native->setTransientParent(owner);
}

void QtDesktop::SetScreenSaverActive(bool active) { screenSaver_.SetActive(active); }

}  // namespace tessaview
