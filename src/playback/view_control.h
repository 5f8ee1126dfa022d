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
    void FullScreenKey(int virtualKey);  // WM_FULLSCREEN_KEY
    void FullScreenLeft();               // WM_FULLSCREEN_LEFT

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
