// Decodes one subpicture unit into BGRA pixels with FFmpeg's DVD subtitle decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "external/ffmpeg/ffmpeg_handles.h"
#include "external/vobsub_library.h"

namespace tessaview {

struct DecodedPicture {
    VobSubRect rect;
    // (right - left) x (bottom - top) pixels, blue, green, red, alpha; rows top to bottom.
    std::vector<uint8_t> bgra;
};

class PictureDecoder {
public:
    // `header` is the index's settings text (palette, frame size).
    explicit PictureDecoder(const std::vector<uint8_t>& header);

    // Empty when the unit holds no visible picture or does not decode. The decoder may read
    // a little past `size`: the caller keeps zeroed padding there.
    std::optional<DecodedPicture> decode(const uint8_t* unit, size_t size);

private:
    CodecContextPtr context_;
};

}  // namespace tessaview
