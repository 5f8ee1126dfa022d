// One QApplication for every test of this program, created on first use.
#pragma once

#include <QApplication>

namespace tessaview::test {

inline QApplication& GuiApp() {
    static int argc = 1;
    static char name[] = "test_presentation";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: widgets of other tests may still refer to it.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// First base of a fixture whose members are widgets: the application exists before them.
struct WithGuiApp {
    WithGuiApp() { GuiApp(); }
};

}  // namespace tessaview::test
