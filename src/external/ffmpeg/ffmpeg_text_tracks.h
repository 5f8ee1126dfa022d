// Text tracks and movie timing read through FFmpeg.
#pragma once

#include "external/text_tracks.h"

#include <memory>

namespace tessaview {

std::unique_ptr<TextTracks> CreateFfmpegTextTracks();

}  // namespace tessaview
