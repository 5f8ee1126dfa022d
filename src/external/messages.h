// The private window messages, as Qt event types with the numbers the program was built
// around (WM_USER = 0x400), and the event that carries one with its parameter.
#pragma once

#include <QEvent>
#include <cstdint>

namespace tessaview {

inline constexpr int WM_USER = 0x400;
inline constexpr auto WM_MOVIE_EVENT = static_cast<QEvent::Type>(WM_USER + 3);         // 0x403, to plMovie
inline constexpr auto WM_FULLSCREEN_KEY = static_cast<QEvent::Type>(WM_USER + 100);    // 0x464, wParam = virtual key
inline constexpr auto WM_FULLSCREEN_LEFT = static_cast<QEvent::Type>(WM_USER + 101);   // 0x465
inline constexpr auto WM_MOVIE_END = static_cast<QEvent::Type>(WM_USER + 102);         // 0x466

// Windows virtual-key codes that full screen reports.
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_UP = 38;
inline constexpr int VK_DOWN = 40;

class WindowMessage : public QEvent {
public:
    explicit WindowMessage(QEvent::Type type, intptr_t wParam = 0) : QEvent(type), wParam_(wParam) {}
    intptr_t wParam() const { return wParam_; }

private:
    intptr_t wParam_;
};

}  // namespace tessaview
