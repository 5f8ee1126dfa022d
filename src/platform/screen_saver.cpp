// Screen saver inhibition over D-Bus (org.freedesktop.ScreenSaver).
#include "platform/screen_saver.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace tessaview {

namespace {

constexpr int CallTimeoutMs = 1000;  // a hung service must not freeze the window

QDBusMessage ScreenSaverCall(const char* method) {
    return QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                          "org.freedesktop.ScreenSaver", method);
}

}  // namespace

ScreenSaverInhibitor::~ScreenSaverInhibitor() { SetActive(true); }

void ScreenSaverInhibitor::SetActive(bool active) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    if (!active) {
        if (cookie_) return;
        QDBusMessage call = ScreenSaverCall("Inhibit");
        call << QStringLiteral("Tessaview") << QStringLiteral("Playing a movie");
        QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            cookie_ = reply.arguments().first().toUInt();
        return;
    }
    if (!cookie_) return;
    QDBusMessage call = ScreenSaverCall("UnInhibit");
    call << *cookie_;
    bus.call(call, QDBus::NoBlock);
    cookie_.reset();
}

}  // namespace tessaview
