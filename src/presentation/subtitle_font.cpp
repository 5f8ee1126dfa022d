// Conversion between the stored subtitle font and the font the labels draw with.
#include "presentation/subtitle_font.h"

namespace tessaview {

namespace {
constexpr int kDefaultPointSize = 12;
}

SubtitleFont FromFontSpec(const FontSpec& spec) {
    SubtitleFont result;
    QFont font(QString::fromStdString(spec.Name));
    // A stored size below 0 is a height in pixels, 0 the default size (as the font
    // records of the platform the file format comes from read them).
    if (spec.Size > 0) {
        font.setPointSize(spec.Size);
    } else if (spec.Size < 0 && spec.Size != INT32_MIN) {
        font.setPixelSize(-spec.Size);
    } else {
        font.setPointSize(kDefaultPointSize);
    }
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    result.font = font;
    const uint32_t bgr = static_cast<uint32_t>(spec.Color);
    result.color =
        QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
    result.charSet = spec.CharSet & 0xFF;
    return result;
}

FontSpec ToFontSpec(const SubtitleFont& font) {
    FontSpec spec;
    spec.Name = font.font.family().toStdString();
    spec.Size = font.font.pointSize() > 0 ? font.font.pointSize() : -font.font.pixelSize();
    spec.CharSet = font.charSet & 0xFF;
    const QColor rgb = font.color.toRgb();
    spec.Color = static_cast<int32_t>(static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8) |
                                      (static_cast<uint32_t>(rgb.blue()) << 16));
    return spec;
}

}  // namespace tessaview
