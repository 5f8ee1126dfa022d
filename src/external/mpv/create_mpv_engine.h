// The movie engine over libmpv, as the program creates it. No libmpv type is visible here.
#pragma once

#include <memory>

#include "external/movie_engine.h"

namespace tessaview {

// Needs a QApplication. Sets LC_NUMERIC to "C", which libmpv requires.
std::unique_ptr<MovieEngine> CreateMpvEngine();

}  // namespace tessaview
