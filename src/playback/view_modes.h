// The arithmetic of the view modes, kept apart from the windows so it is tested directly.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>

namespace tessaview {

// Top edge of the overlay in full screen: below the picture scaled to the screen's width,
// never lower than 80 px above the screen's bottom. Empty when the picture width is 0.
std::optional<int32_t> FullScreenOverlayTop(int32_t screenWidth, int32_t screenHeight,
                                            int32_t videoWidth, int32_t videoHeight);

// Height of the window while its frame is dragged to `proposedWidth`: the picture height at
// that width plus the fixed heights (status bar, subtitle panel, splitter, track bar) and
// the frame. Empty when the picture width is 0.
std::optional<int32_t> SizingHeight(int32_t proposedWidth, int32_t frameWidth, int32_t videoWidth,
                                    int32_t videoHeight, int32_t fixedHeights, int32_t frameHeight);

// The movie panel's size, in the window's own pixels, for `picture` (device pixels) scaled by
// `scale` on a display of `pixelRatio` device pixels per window pixel. `around` is what the
// window adds to the panel (frame included). When the window would not fit `available`, the
// largest size that does, with the picture's proportions. Empty for a picture without a size.
std::optional<QSize> FittedPanelSize(QSize picture, double scale, double pixelRatio, QSize around, QSize available);

// Where a window with the outer rectangle `outer` goes so that it lies inside `available`
// (its top-left corner when it is larger).
QPoint KeptInside(const QRect& outer, const QRect& available);

}  // namespace tessaview
