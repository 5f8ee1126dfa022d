// Drawing the VobSub library's due picture on both bitmap surfaces, once per picture.
#include "presentation/bitmap_cue.h"

#include "external/vobsub_library.h"
#include "presentation/bitmap_surface.h"

#include <QImage>
#include <algorithm>
#include <climits>

namespace tessaview {

void BlendOverBlack(uint8_t* bgra, size_t pixelCount) {
    // div 256 rather than 255: an opaque 255 becomes 254, as the drawn pictures always were.
    for (size_t i = 0; i < pixelCount; ++i, bgra += 4) {
        const unsigned alpha = bgra[3];
        bgra[0] = static_cast<uint8_t>((bgra[0] * alpha) >> 8);
        bgra[1] = static_cast<uint8_t>((bgra[1] * alpha) >> 8);
        bgra[2] = static_cast<uint8_t>((bgra[2] * alpha) >> 8);
    }
}

void DrawBitmapCue(VobSubLibrary& library, int32_t& LastBitmapIndex, BitmapSurface& imSubtitle,
                   BitmapSurface& imSub) {
    // The index test comes first and touches no pixels: most ticks end here.
    if (library.GetCurrentIndex() == LastBitmapIndex) return;
    LastBitmapIndex = library.GetCurrentIndex();

    uint8_t* BitmapData = nullptr;
    VobSubRect BitmapRect;
    library.GetDataPointer(&BitmapData, &BitmapRect);
    const int64_t w = int64_t{BitmapRect.right} - BitmapRect.left;
    const int64_t h = int64_t{BitmapRect.bottom} - BitmapRect.top;
    // Division truncates toward zero; a picture wider than its surface gets a negative x.
    const int64_t x1 = (imSubtitle.width() - w) / 2;
    const int64_t x2 = (imSub.width() - w) / 2;

    imSubtitle.Clear();
    imSub.Clear();
    // An empty (or inverted) rectangle draws nothing; a picture QImage cannot hold neither.
    if (w <= 0 || h <= 0 || BitmapData == nullptr || w > INT32_MAX || h > INT32_MAX) return;

    QImage picture(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    if (picture.isNull()) return;
    BlendOverBlack(BitmapData, static_cast<size_t>(w) * static_cast<size_t>(h));
    // Row by row from the top; the fourth byte is not drawn, so it is set opaque as
    // QImage's RGB32 format expects.
    const uint8_t* source = BitmapData;
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x, source += 4) {
            row[x] = qRgb(source[2], source[1], source[0]);
        }
    }
    // Offsets far outside a surface cannot show anything; keep them within int.
    const auto place = [](int64_t x) {
        return static_cast<int>(std::clamp<int64_t>(x, INT32_MIN / 2, INT32_MAX / 2));
    };
    imSubtitle.DrawPicture(picture, place(x1));
    imSub.DrawPicture(picture, place(x2));
}

void ClearBitmapCue(int32_t& LastBitmapIndex, BitmapSurface& imSubtitle, BitmapSurface& imSub) {
    imSubtitle.Clear();
    imSub.Clear();
    LastBitmapIndex = -1;
}

}  // namespace tessaview
