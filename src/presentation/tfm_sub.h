// The overlay window: borderless, black, always on top, 1016 x 173, carrying the subtitle
// below the picture in full screen and hidden otherwise.
#pragma once

#include <QWidget>
#include <string>

namespace tessaview {

class BitmapSurface;
class SubtitleLabel;

class TfmSub : public QWidget {
    Q_OBJECT
public:
    // Reads the font keys of set.ini in programFolder, applies them to lbSub, then gives
    // lbSubtitle (the main window's label) the same font. Created hidden.
    TfmSub(const std::string& programFolder, SubtitleLabel* lbSubtitle);

    SubtitleLabel* lbSub = nullptr;
    BitmapSurface* imSub = nullptr;

    static constexpr int DesignWidth = 1016;
    static constexpr int DesignHeight = 173;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormCreate(const std::string& programFolder, SubtitleLabel* lbSubtitle);
};

}  // namespace tessaview
