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
    // Makes its label and picture part of `surfaces` and gives them the font stored in
    // set.ini in programFolder. Created hidden.
    TfmSub(const std::string& programFolder, SubtitleSurfaces* surfaces);

    static constexpr int DesignWidth = 1016;
    static constexpr int DesignHeight = 173;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const std::string& programFolder, SubtitleSurfaces* surfaces);

    SubtitleSurfaces* surfaces_ = nullptr;
    SubtitleLabel* text_ = nullptr;
    BitmapSurface* picture_ = nullptr;
};

}  // namespace tessaview
