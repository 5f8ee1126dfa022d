// The main window's sound level, as the engine plays it.
#include "app/tfm_main.h"

#include "external/movie_engine.h"

#include <algorithm>

namespace tessaview {

int32_t TfmMain::VolumePercent() const { return volumePercent_; }

void TfmMain::SetVolumePercent(int32_t percent) {
    volumePercent_ = std::clamp(percent, 0, 100);
    engine_.SetVolume(volumePercent_);
}

}  // namespace tessaview
