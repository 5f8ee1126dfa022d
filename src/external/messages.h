// The private window messages, as Qt event types with the numbers the program was built
// around (WM_USER = 0x400), and the event that carries one with its parameter.
#pragma once

#include <QEvent>
#include <cstdint>

namespace tessaview {

inline constexpr int WM_USER = 0x400;
inline constexpr auto WM_MOVIE_EVENT = static_cast<QEvent::Type>(WM_USER + 3);  // 0x403, to plMovie
// 0x464, wParam = virtual key, lParam = the MOD_ bits of the modifiers held
inline constexpr auto WM_FULLSCREEN_KEY = static_cast<QEvent::Type>(WM_USER + 100);
inline constexpr auto WM_FULLSCREEN_LEFT = static_cast<QEvent::Type>(WM_USER + 101);  // 0x465
inline constexpr auto WM_MOVIE_END = static_cast<QEvent::Type>(WM_USER + 102);        // 0x466
// The mouse over the picture, in the window and in full screen.
inline constexpr auto WM_PICTURE_WHEEL = static_cast<QEvent::Type>(WM_USER + 103);   // 0x467, wParam = 120 a notch up
inline constexpr auto WM_PICTURE_DBLCLK = static_cast<QEvent::Type>(WM_USER + 104);  // 0x468, left button

// Windows virtual-key codes that full screen reports.
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_UP = 38;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_MEDIA_NEXT_TRACK = 0xB0;
inline constexpr int VK_MEDIA_PREV_TRACK = 0xB1;
inline constexpr int VK_MEDIA_STOP = 0xB2;
inline constexpr int VK_MEDIA_PLAY_PAUSE = 0xB3;
inline constexpr int VK_PLAY = 0xFA;
// Windows has no pause-only media key; an unassigned code carries the one keyboards have.
inline constexpr int VK_MEDIA_PAUSE = 0xE8;

// The modifiers held with a full-screen key, as the hot-key flags name them.
inline constexpr int MOD_ALT = 0x1;
inline constexpr int MOD_CONTROL = 0x2;
inline constexpr int MOD_SHIFT = 0x4;

class WindowMessage : public QEvent {
public:
    explicit WindowMessage(QEvent::Type type, intptr_t wParam = 0, intptr_t lParam = 0)
        : QEvent(type), wParam_(wParam), lParam_(lParam) {}
    intptr_t wParam() const { return wParam_; }
    intptr_t lParam() const { return lParam_; }

private:
    intptr_t wParam_;
    intptr_t lParam_;
};

}  // namespace tessaview
