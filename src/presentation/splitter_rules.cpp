// Splitter arithmetic: the collapse rule and the window size that follows a drag.
#include "presentation/splitter_rules.h"

#include "subtitle/number_rules.h"

#include <algorithm>

namespace tessaview {

int32_t SplitterPanelSize(int32_t proposed, int32_t shared) {
    int64_t size = std::min<int64_t>(proposed, int64_t{shared} - SplitterMinSize);
    if (size <= SplitterMinSize) size = 0;
    return static_cast<int32_t>(size);
}

std::optional<int32_t> Splitter1Moved(int32_t plMovieWidth, int32_t plMovieHeight,
                                      int32_t VideoWidth, int32_t VideoHeight) {
    if (VideoHeight == 0) return std::nullopt;
    const double r = static_cast<double>(plMovieHeight) / VideoHeight;
    const int64_t w = RoundHalfEven(static_cast<long double>(VideoWidth * r));
    return ClampToInt32(w - plMovieWidth);
}

std::optional<int32_t> Splitter2Moved(int32_t plMovieWidth, int32_t plMovieHeight,
                                      int32_t VideoWidth, int32_t VideoHeight) {
    if (VideoWidth == 0) return std::nullopt;
    const long double h =
        static_cast<long double>(plMovieWidth) / VideoWidth * static_cast<long double>(VideoHeight);
    return ClampToInt32(int64_t{RoundHalfEven(h)} - plMovieHeight);
}

}  // namespace tessaview
