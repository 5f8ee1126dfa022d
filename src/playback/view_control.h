// The view modes as the windows see them: original and double size, full screen with the
// overlay strip below the picture, the keys pressed in full screen, leaving full screen.
#pragma once

#include <QRect>
#include <functional>

class QWidget;

namespace tessaview {

class Desktop;
class MovieControl;
class MovieEngine;
struct MovieFields;

class ViewControl {
public:
    // movieOpen: whether tmMovie is enabled.
    ViewControl(MovieEngine& engine, Desktop& desktop, MovieFields& fields, MovieControl& movie, QWidget& mainWindow,
                std::function<bool()> movieOpen);

    void SetOverlay(QWidget* fmSub) { overlay_ = fmSub; }

    void NN1Click();  // Origin Size
    void NN2Click();  // Double Size
    void NN3Click();  // Full Screen
    void ShowFullScreenLayout();
    void ShowWindowedLayout();
    void LeaveFullScreen();  // as Escape does
    // WM_FULLSCREEN_KEY; `modifiers` are MOD_ bits: Up and Down with Control are not the strip's.
    void FullScreenKey(int virtualKey, int modifiers = 0);
    void FullScreenLeft();  // WM_FULLSCREEN_LEFT

private:
    MovieEngine& engine_;
    Desktop& desktop_;
    MovieFields& fields_;
    MovieControl& movie_;
    QWidget& mainWindow_;
    std::function<bool()> movieOpen_;
    QWidget* overlay_ = nullptr;
};

}  // namespace tessaview
