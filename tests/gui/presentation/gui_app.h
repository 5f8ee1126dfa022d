// The QApplication every test of this program runs in (made by gui_app.cpp before the first
// test and destroyed after the last).
#pragma once

#include <QApplication>

namespace tessaview::test {

inline QApplication& GuiApp() { return *static_cast<QApplication*>(QCoreApplication::instance()); }

// First base of a fixture whose members are widgets: documents that they need the
// application, which exists before any fixture is built.
struct WithGuiApp {
    WithGuiApp() { GuiApp(); }
};

}  // namespace tessaview::test
