// The main window's two splitters: how far a panel may be dragged, and how the window
// follows a drag so that the movie panel keeps the picture's proportions.
#pragma once

#include <cstdint>
#include <optional>

namespace tessaview {

// Panels narrower than this collapse; the panel across the splitter keeps at least this.
inline constexpr int32_t SplitterMinSize = 30;

// Size of the panel a splitter resizes after a drag to `proposed` px, when that panel and
// the one across the splitter share `shared` px: the other side keeps at least 30 px, and a
// panel left at 30 px or less collapses to 0.
int32_t SplitterPanelSize(int32_t proposed, int32_t shared);

// After Splitter1 has given plMovie its new height: the change of the main window's client
// width that makes plMovie's width round(VideoWidth x height / VideoHeight). Empty when
// VideoHeight is 0.
std::optional<int32_t> Splitter1Moved(int32_t plMovieWidth, int32_t plMovieHeight,
                                      int32_t VideoWidth, int32_t VideoHeight);

// After Splitter2 has given plMovie its new width: the change of the main window's client
// height that makes plMovie's height round(width / VideoWidth x VideoHeight). Empty when
// VideoWidth is 0.
std::optional<int32_t> Splitter2Moved(int32_t plMovieWidth, int32_t plMovieHeight,
                                      int32_t VideoWidth, int32_t VideoHeight);

}  // namespace tessaview
