// The exception guard.
#include "app/guard.h"

#include "platform/desktop.h"
#include "subtitle/runtime_error.h"

#include <exception>

namespace tessaview {

void RunGuarded(Desktop& desktop, QWidget* parent, const std::function<void()>& command) {
    try {
        command();
    } catch (const RuntimeError& error) {
        const std::string detail = error.Detail().empty() ? std::string() : "\r" + error.Detail();
        desktop.ExceptionBox(parent, QString::fromStdString(error.what() + detail));
    } catch (const std::exception& error) {
        desktop.ExceptionBox(parent, QString::fromStdString(error.what()));
    } catch (...) {
        desktop.ExceptionBox(parent, QStringLiteral("Unknown error"));
    }
}

}  // namespace tessaview
