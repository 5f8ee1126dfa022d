// The window geometry's arithmetic: full screen, sizing, fitting to the screen, splitters.
#include "playback/view_modes.h"

#include "subtitle/number_rules.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessaview {

std::optional<int32_t> FullScreenOverlayTop(int32_t screenWidth, int32_t screenHeight, int32_t videoWidth,
                                            int32_t videoHeight) {
    if (videoWidth == 0) return std::nullopt;
    // 64-bit intermediates: the product of two 32-bit sizes cannot overflow; the divisions
    // truncate toward zero as the placement has always done.
    const int64_t pictureHeight = int64_t{screenWidth} * videoHeight / videoWidth;
    int64_t y = (int64_t{screenHeight} + pictureHeight) / 2;
    const int64_t lowest = int64_t{screenHeight} - 80;
    if (y >= lowest) y = lowest;
    return ClampToInt32(y);
}

std::optional<int32_t> SizingHeight(int32_t proposedWidth, int32_t frameWidth, int32_t videoWidth, int32_t videoHeight,
                                    std::initializer_list<int32_t> fixedHeights, int32_t frameHeight) {
    if (videoWidth == 0) return std::nullopt;
    const int64_t w = int64_t{proposedWidth} - frameWidth;
    const double scale = static_cast<double>(w) / videoWidth;
    // Held far beyond 32 bits, so that adding the heights cannot overflow.
    const int64_t picture = std::clamp<int64_t>(RoundHalfEven<int64_t>(videoHeight * scale), -4'000'000'000'000'000'000,
                                                4'000'000'000'000'000'000);
    const int64_t fixed = std::accumulate(fixedHeights.begin(), fixedHeights.end(), int64_t{0});
    return ClampToInt32(picture + fixed + frameHeight);
}

std::optional<QSize> FittedPanelSize(QSize picture, double scale, double pixelRatio, QSize around, QSize available) {
    if (picture.width() <= 0 || picture.height() <= 0 || !(scale > 0) || !(pixelRatio > 0)) return std::nullopt;
    const double width = picture.width() * scale / pixelRatio;
    const double height = picture.height() * scale / pixelRatio;
    const auto whole = [](double value) { return std::clamp(RoundHalfEven(value), 1, 1'000'000'000); };
    const QSize wanted(whole(width), whole(height));
    const int roomWidth = available.width() - around.width();
    const int roomHeight = available.height() - around.height();
    if (wanted.width() <= roomWidth && wanted.height() <= roomHeight) return wanted;
    const double shrink = std::min(roomWidth / width, roomHeight / height);
    // Down, not to the nearest: a rounded-up pixel would not fit.
    const auto down = [](double value) { return static_cast<int>(std::clamp(std::floor(value + 1e-9), 1.0, 1.0e9)); };
    return QSize(down(width * shrink), down(height * shrink));
}

QPoint KeptInside(const QRect& outer, const QRect& available) {
    const int x = std::max(std::min(outer.x(), available.x() + available.width() - outer.width()), available.x());
    const int y = std::max(std::min(outer.y(), available.y() + available.height() - outer.height()), available.y());
    return {x, y};
}

int32_t SplitterPanelSize(int32_t proposed, int32_t shared) {
    int64_t size = std::min<int64_t>(proposed, int64_t{shared} - SplitterMinSize);
    if (size <= SplitterMinSize) size = 0;
    return static_cast<int32_t>(size);
}

QList<int> SplitterSizesAfterDrag(const QList<int>& sizes) {
    const int shared = sizes[0] + sizes[1];
    const int panel = SplitterPanelSize(sizes[1], shared);
    return {shared - panel, panel};
}

std::optional<QSize> SplitterWindowChange(Qt::Orientation orientation, QSize panel, int32_t decided, QSize picture) {
    int32_t change = 0;
    if (orientation == Qt::Vertical) {
        if (picture.height() == 0) return std::nullopt;
        const double r = static_cast<double>(decided) / picture.height();
        const int64_t w = RoundHalfEven(static_cast<long double>(picture.width() * r));
        change = ClampToInt32(w - panel.width());
    } else {
        if (picture.width() == 0) return std::nullopt;
        const long double h =
            static_cast<long double>(decided) / picture.width() * static_cast<long double>(picture.height());
        change = ClampToInt32(int64_t{RoundHalfEven(h)} - panel.height());
    }
    if (change == 0) return std::nullopt;
    return orientation == Qt::Vertical ? QSize(change, 0) : QSize(0, change);
}

QList<int> SecondPartSizes(int32_t length, std::initializer_list<int32_t> taken, int32_t second) {
    const int64_t first = std::accumulate(taken.begin(), taken.end(), int64_t{length} - second,
                                          [](int64_t rest, int32_t part) { return rest - part; });
    return {ClampToInt32(std::max<int64_t>(first, 0)), second};
}

}  // namespace tessaview
