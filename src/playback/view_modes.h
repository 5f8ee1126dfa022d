// All the window geometry's arithmetic, kept apart from the windows so it is tested directly:
// the overlay's place in full screen, the height while sizing, the movie panel fitted to the
// screen, and the two splitters.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <initializer_list>
#include <optional>

namespace tessaview {

// Panels narrower than this collapse; the panel across the splitter keeps at least this.
inline constexpr int32_t SplitterMinSize = 30;

// Top edge of the overlay in full screen: below the picture scaled to the screen's width,
// never lower than 80 px above the screen's bottom. Empty when the picture width is 0.
std::optional<int32_t> FullScreenOverlayTop(int32_t screenWidth, int32_t screenHeight, int32_t videoWidth,
                                            int32_t videoHeight);

// Height of the window while its frame is dragged to `proposedWidth`: the picture height at
// that width plus the fixed heights (status bar, subtitle panel, splitter, track bar) and
// the frame. Empty when the picture width is 0.
std::optional<int32_t> SizingHeight(int32_t proposedWidth, int32_t frameWidth, int32_t videoWidth, int32_t videoHeight,
                                    std::initializer_list<int32_t> fixedHeights, int32_t frameHeight);

// The movie panel's size, in the window's own pixels, for `picture` (device pixels) scaled by
// `scale` on a display of `pixelRatio` device pixels per window pixel. `around` is what the
// window adds to the panel (frame included). When the window would not fit `available`, the
// largest size that does, with the picture's proportions. Empty for a picture without a size.
std::optional<QSize> FittedPanelSize(QSize picture, double scale, double pixelRatio, QSize around, QSize available);

// Where a window with the outer rectangle `outer` goes so that it lies inside `available`
// (its top-left corner when it is larger).
QPoint KeptInside(const QRect& outer, const QRect& available);

// Size of the panel a splitter resizes after a drag to `proposed` px, when that panel and
// the one across the splitter share `shared` px: the other side keeps at least 30 px, and a
// panel left at 30 px or less collapses to 0.
int32_t SplitterPanelSize(int32_t proposed, int32_t shared);

// A splitter's two sizes after a drag left them `sizes`: the second as SplitterPanelSize
// allows, the first the rest of what the two share.
QList<int> SplitterSizesAfterDrag(const QList<int>& sizes);

// The change of the main window's client size that keeps the picture's proportions once a
// splitter drag has given the movie panel (now `panel`) `decided` px: its height for the
// vertical splitter (Splitter1), and then the width changes to round(picture width x height /
// picture height); its width for the horizontal one (Splitter2), and then the height changes
// to round(width / picture width x picture height). Empty when the picture has no size to
// keep or nothing changes.
std::optional<QSize> SplitterWindowChange(Qt::Orientation orientation, QSize panel, int32_t decided, QSize picture);

// The sizes that give a splitter's second part `second` px when `length` px hold both parts
// and `taken` px go to other things (the handle, bars beside the splitter): the first part
// gets what is left, or nothing.
QList<int> SecondPartSizes(int32_t length, std::initializer_list<int32_t> taken, int32_t second);

}  // namespace tessaview
