// The main window's image list: nine 20 x 20 pictures drawn by the program itself, shared by
// the tool bar and the play list's state marks (1 play, 2 pause).
#pragma once

#include <QIcon>

namespace tessaview {

enum ToolPicture {
    PictureOpen = 0,
    PicturePlay = 1,
    PicturePause = 2,
    PictureStop = 3,
    PictureLoadSubtitle = 4,
    PictureSubtitleFont = 5,
    PictureOriginSize = 6,
    PictureDoubleSize = 7,
    PictureFullScreen = 8,
};

inline constexpr int ToolPictureSize = 20;

QIcon ToolIcon(int picture);  // an empty icon outside 0..8

}  // namespace tessaview
