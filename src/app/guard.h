// The one place where a runtime error that ended a command is shown: the default exception
// box, after which the program goes on.
#pragma once

#include <functional>

class QWidget;

namespace tessaview {

class Desktop;

// Runs `command`; a RuntimeError or any other exception it throws is shown in the default
// exception box and goes no further.
void RunGuarded(Desktop& desktop, QWidget* parent, const std::function<void()>& command);

}  // namespace tessaview
