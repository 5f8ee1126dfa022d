// The main window's movie fields, zero, empty or false until a movie opens.
#pragma once

#include <cstdint>
#include <string>

namespace tessaview {

struct MovieFields {
    std::string MovieFileName;
    int32_t MovieDuration = 0;    // frames
    int32_t ContinuedOffset = 0;  // frames added to the engine's position
    int32_t VideoWidth = 0;
    int32_t VideoHeight = 0;
    bool IsFullScreen = false;
    bool TrackDragging = false;
    std::string RememberedFileName;  // the open movie whose state the movie memory records
};

}  // namespace tessaview
