// The overlay window: borderless, black, always on top, 1016 x 173, carrying the subtitle
// below the picture in full screen and hidden otherwise.
#pragma once

#include <QWidget>
#include <string>

namespace tessaview {

class BitmapSurface;
class SubtitleLabel;
class SubtitleSurfaces;

class TfmSub : public QWidget {
    Q_OBJECT
public:
    // Makes its label and picture part of `surfaces`, in their font. Created hidden.
    explicit TfmSub(SubtitleSurfaces* surfaces);

    static constexpr int DesignWidth = 1016;
    static constexpr int DesignHeight = 173;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    SubtitleSurfaces* surfaces_ = nullptr;
    SubtitleLabel* text_ = nullptr;
    BitmapSurface* picture_ = nullptr;
};

}  // namespace tessaview
