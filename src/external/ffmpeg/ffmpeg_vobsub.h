// The VobSub library over FFmpeg: its factory and the two questions it answers beyond the
// interface (for the probe and for tests).
#pragma once

#include <cstdint>
#include <memory>

#include "external/vobsub_library.h"

namespace tessaview {

class FfmpegVobSub : public VobSubLibrary {
public:
    // Pictures indexed for a language index; 0 for an index without pictures.
    virtual int32_t pictureCount(int32_t lang) const = 0;
    // Pictures decoded since the library was created: asking again for the picture that is
    // already decoded adds nothing.
    virtual int64_t decodeCount() const = 0;
};

// An empty library: no language, no picture, until LoadVobSubFile reads a pair.
std::unique_ptr<FfmpegVobSub> CreateFfmpegVobSub();

}  // namespace tessaview
