// The native window mpv draws into: a child of the movie panel, or a top-level window
// in full screen. It reports keys, the wheel and double clicks over the picture, close
// requests and the loss of its native window.
#pragma once

#include <QWindow>
#include <functional>

namespace tessaview {

class MovieSurface : public QWindow {
public:
    std::function<void(QKeyEvent*)> onKey;
    std::function<void(QWheelEvent*)> onWheel;
    std::function<void(QMouseEvent*)> onDoubleClick;
    std::function<void()> onCloseRequest;
    // Called while the native window still exists, so mpv can let go of it first.
    std::function<void()> onNativeWindowGoing;

    // In full screen the window takes the keyboard as soon as it is on screen: without a
    // window manager nothing else would give it the focus.
    void setOwnsKeyboard(bool owns);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;

private:
    void takeKeyboard();

    bool ownsKeyboard_ = false;
};

}  // namespace tessaview
