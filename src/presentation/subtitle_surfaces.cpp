// The two subtitle surfaces written as one: which half is in front, the caption decoded once
// for both labels, and each VobSub picture drawn once on both pictures, centred at the top.
#include "presentation/subtitle_surfaces.h"

#include "external/vobsub_library.h"
#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_label.h"

#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <climits>

namespace tessaview {

namespace {

const std::string kNoText;

// The second line is a step back from the first: smaller, and a softer colour.
constexpr double SecondFontScale = 0.8;
const QColor SecondColor(0xDC, 0xD8, 0xB4);  // light yellow-grey

// Each colour byte := colour x alpha div 256, in place (BGRA pixels).
void BlendOverBlack(uint8_t* bgra, size_t pixelCount) {
    // div 256 rather than 255: an opaque 255 becomes 254, as the drawn pictures always were.
    for (size_t i = 0; i < pixelCount; ++i, bgra += 4) {
        const unsigned alpha = bgra[3];
        bgra[0] = static_cast<uint8_t>((bgra[0] * alpha) >> 8);
        bgra[1] = static_cast<uint8_t>((bgra[1] * alpha) >> 8);
        bgra[2] = static_cast<uint8_t>((bgra[2] * alpha) >> 8);
    }
}

}  // namespace

SubtitleSurfaces::SubtitleSurfaces(VobSubLibrary& library, QWidget* panel) : library_(library), panelArea_(panel) {
    panel_.text = new SubtitleLabel(panel);
    panel_.text->setObjectName("lbSubtitle");
    panel_.text->SetTextFont(font_.font, font_.color);
    panel_.picture = new BitmapSurface(panel);
    panel_.picture->setObjectName("imSubtitle");
    panel_.picture->hide();
    panel_.second = new SubtitleLabel(panel);
    panel_.second->setObjectName("lbSecondSubtitle");
    panel_.second->hide();
    panel->installEventFilter(this);
}

void SubtitleSurfaces::AttachOverlay(SubtitleLabel* text, BitmapSurface* picture) {
    overlay_ = {text, picture};
    text->SetTextFont(font_.font, font_.color);
    text->SetText(decoder_->Decode(caption_));
    if (QWidget* window = text->parentWidget()) {
        overlay_.second = new SubtitleLabel(window);
        overlay_.second->setObjectName("lbSecondSub");
        const SubtitleFont small = secondFont();
        overlay_.second->SetTextFont(small.font, small.color);
        overlay_.second->setVisible(secondShown_);
        LayOutOverlay(window->rect());
    }
    // Its image is rebuilt at each new size (full screen): the picture must be drawn again.
    picture->installEventFilter(this);
}

void SubtitleSurfaces::ShowText(const std::string& text, const std::string& fileCodePage) {
    bringToFront(false);
    // The file's own code page travels with the text: the next load may bring another one.
    // A chosen character set does not read it.
    bool decoderChanged = false;
    if (fileCodePage != fileCodePage_) {
        fileCodePage_ = fileCodePage;
        if (font_.charSet == 1) {
            decoder_ = std::make_unique<CodePageDecoder>(font_.charSet, fileCodePage_);
            decoderChanged = true;
        }
    }
    const std::string& shown = shown_ ? text : kNoText;
    // The clock writes the text ten times a second: an unchanged one is not decoded again.
    if (shown == caption_ && !decoderChanged) return;
    caption_ = shown;
    showDecoded();
}

void SubtitleSurfaces::ShowSecondText(const std::string& text, const std::string& fileCodePage) {
    if (fileCodePage != secondCodePage_) {
        secondCodePage_ = fileCodePage;
        secondDecoder_ = std::make_unique<CodePageDecoder>(font_.charSet, secondCodePage_);
        setSecondCaption(shown_ ? text : kNoText, true);
        return;
    }
    setSecondCaption(shown_ ? text : kNoText);
}

void SubtitleSurfaces::SetSecondShown(bool on) {
    secondShown_ = on;
    if (!on) setSecondCaption(kNoText);
    for (const Surface* surface : {&panel_, &overlay_})
        if (surface->second) surface->second->setVisible(on);
    if (panelArea_) layOut(panel_, panelArea_->rect());
    if (overlay_.text && overlay_.text->parentWidget()) layOut(overlay_, overlay_.text->parentWidget()->rect());
}

int SubtitleSurfaces::SecondLineHeight() const { return 2 * QFontMetrics(secondFont().font).lineSpacing() + 4; }

void SubtitleSurfaces::LayOutOverlay(const QRect& area) { layOut(overlay_, area); }

void SubtitleSurfaces::layOut(const Surface& surface, const QRect& area) const {
    if (surface.picture) surface.picture->setGeometry(area);
    QRect first = area;
    if (secondShown_ && surface.second) {
        const int band = std::min(SecondLineHeight(), area.height() / 2);
        first.setBottom(area.bottom() - band);
        surface.second->setGeometry(QRect(area.left(), first.bottom() + 1, area.width(), band));
    }
    if (surface.text) surface.text->setGeometry(first);
}

SubtitleFont SubtitleSurfaces::secondFont() const {
    SubtitleFont small = font_;
    if (small.font.pointSizeF() > 0)
        small.font.setPointSizeF(small.font.pointSizeF() * SecondFontScale);
    else if (small.font.pixelSize() > 0)
        small.font.setPixelSize(std::max(1, static_cast<int>(small.font.pixelSize() * SecondFontScale + 0.5)));
    small.color = SecondColor;
    return small;
}

void SubtitleSurfaces::setSecondCaption(const std::string& text, bool decoderChanged) {
    if (text == secondCaption_ && !decoderChanged) return;
    secondCaption_ = text;
    const QString decoded = secondDecoder_->Decode(secondCaption_);
    for (const Surface* surface : {&panel_, &overlay_})
        if (surface->second) surface->second->SetText(decoded);
}

void SubtitleSurfaces::ShowPicture(std::optional<int32_t> milliseconds) {
    bringToFront(true);
    if (!milliseconds) return;
    if (!library_.GetFrame(*milliseconds)) {
        clearPictures();
    } else if (shown_) {
        drawDuePicture();
    }
}

void SubtitleSurfaces::Invalidate() { LastBitmapIndex = -1; }

void SubtitleSurfaces::Clear() {
    setCaption(kNoText);
    setSecondCaption(kNoText);
    clearPictures();
    bringToFront(false);
}

void SubtitleSurfaces::SetFont(const SubtitleFont& font) {
    const bool charSetChanged = font.charSet != font_.charSet;
    font_ = font;
    const SubtitleFont small = secondFont();
    for (const Surface* surface : {&panel_, &overlay_}) {
        if (surface->text) surface->text->SetTextFont(font_.font, font_.color);
        if (surface->second) surface->second->SetTextFont(small.font, small.color);
    }
    if (!charSetChanged) return;
    // A chosen character set reads the shown caption again.
    decoder_ = std::make_unique<CodePageDecoder>(font_.charSet, fileCodePage_);
    showDecoded();
    secondDecoder_ = std::make_unique<CodePageDecoder>(font_.charSet, secondCodePage_);
    setSecondCaption(std::string(secondCaption_), true);
}

void SubtitleSurfaces::SetShown(bool shown, const std::string& dueText) {
    shown_ = shown;
    setCaption(shown ? dueText : kNoText);
    if (!shown) setSecondCaption(kNoText);  // shown again at the next tick
    clearPictures();
}

void SubtitleSurfaces::setCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    showDecoded();
}

void SubtitleSurfaces::showDecoded() {
    const QString decoded = decoder_->Decode(caption_);
    for (const Surface* surface : {&panel_, &overlay_})
        if (surface->text) surface->text->SetText(decoded);
}

void SubtitleSurfaces::bringToFront(bool pictures) {
    for (const Surface* surface : {&panel_, &overlay_}) {
        if (surface->text) surface->text->setVisible(!pictures);
        if (surface->picture) surface->picture->setVisible(pictures);
    }
}

void SubtitleSurfaces::drawDuePicture() {
    // The index test comes first and touches no pixels: most ticks end here.
    if (library_.GetCurrentIndex() == LastBitmapIndex) return;
    LastBitmapIndex = library_.GetCurrentIndex();

    uint8_t* BitmapData = nullptr;
    VobSubRect BitmapRect;
    library_.GetDataPointer(&BitmapData, &BitmapRect);
    const int64_t w = int64_t{BitmapRect.right} - BitmapRect.left;
    const int64_t h = int64_t{BitmapRect.bottom} - BitmapRect.top;

    for (const Surface* surface : {&panel_, &overlay_})
        if (surface->picture) surface->picture->Clear();
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
    for (const Surface* surface : {&panel_, &overlay_}) {
        if (!surface->picture) continue;
        // Division truncates toward zero; a picture wider than its surface gets a negative x.
        // Offsets far outside a surface cannot show anything; keep them within int.
        const int64_t x = (surface->picture->width() - w) / 2;
        surface->picture->DrawPicture(picture, static_cast<int>(std::clamp<int64_t>(x, INT32_MIN / 2, INT32_MAX / 2)));
    }
}

void SubtitleSurfaces::clearPictures() {
    for (const Surface* surface : {&panel_, &overlay_})
        if (surface->picture) surface->picture->Clear();
    LastBitmapIndex = -1;
}

SubtitleLabel* SubtitleSurfaces::PanelText() const { return panel_.text; }
BitmapSurface* SubtitleSurfaces::PanelPicture() const { return panel_.picture; }
SubtitleLabel* SubtitleSurfaces::OverlayText() const { return overlay_.text; }
BitmapSurface* SubtitleSurfaces::OverlayPicture() const { return overlay_.picture; }
SubtitleLabel* SubtitleSurfaces::PanelSecondText() const { return panel_.second; }
SubtitleLabel* SubtitleSurfaces::OverlaySecondText() const { return overlay_.second; }

bool SubtitleSurfaces::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Resize) return QObject::eventFilter(watched, event);
    if (watched == panelArea_) {
        // The panel's surface fills it; its picture's image starts afresh at the new size.
        layOut(panel_, panelArea_->rect());
        Invalidate();
    } else if (watched == overlay_.picture) {
        Invalidate();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessaview
