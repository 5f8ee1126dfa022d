// The main window's own message: the deferred start, posted at creation.
#pragma once

#include "external/messages.h"

namespace tessaview {

inline constexpr auto WM_AFTER_START = static_cast<QEvent::Type>(WM_USER + 50);  // 0x432

}  // namespace tessaview
