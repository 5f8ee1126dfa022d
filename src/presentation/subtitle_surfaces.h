// The two subtitle surfaces as one: the main window's subtitle panel and the full-screen
// overlay, each a text label and a picture, written together with one font, one code page
// and one drawn VobSub picture.
#pragma once

#include "presentation/code_page_decoder.h"
#include "presentation/subtitle_display.h"
#include "presentation/subtitle_font.h"

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

class QRect;
class QWidget;

namespace tessaview {

class BitmapSurface;
class SubtitleLabel;
class VobSubLibrary;

class SubtitleSurfaces : public QObject, public SubtitleDisplay {
    Q_OBJECT
public:
    // Creates the panel's label and picture inside `panel`, filling it; the label in front.
    SubtitleSurfaces(VobSubLibrary& library, QWidget* panel);

    // The overlay's label and picture, made by the overlay window; written from now on.
    void AttachOverlay(SubtitleLabel* text, BitmapSurface* picture);

    // SubtitleDisplay.
    void ShowText(const std::string& text, const std::string& fileCodePage) override;
    void ShowSecondText(const std::string& text, const std::string& fileCodePage) override;
    void ShowPicture(std::optional<int32_t> milliseconds) override;
    void Invalidate() override;

    // No subtitle: both labels empty, both pictures black, the labels in front.
    void Clear();

    // The font's character set decides the code page of the cue bytes (see CodePageDecoder).
    void SetFont(const SubtitleFont& font);
    const SubtitleFont& Font() const { return font_; }

    // The V command. Hidden: both surfaces go empty at once. Shown again: `dueText` at once,
    // the picture at the next ShowPicture.
    void SetShown(bool shown, const std::string& dueText);
    bool Shown() const { return shown_; }

    // The second subtitle's line under the first on both surfaces (on), or no second line and
    // the first label filling each surface as before (off).
    void SetSecondShown(bool on);
    bool SecondShown() const { return secondShown_; }
    // The height the second line takes at the bottom of each surface: two lines of its font.
    int SecondLineHeight() const;
    // The overlay's surface fills `area` of its window (the overlay calls this at each resize).
    void LayOutOverlay(const QRect& area);

    SubtitleLabel* PanelText() const;
    SubtitleLabel* PanelSecondText() const;
    SubtitleLabel* OverlaySecondText() const;  // null until attached
    BitmapSurface* PanelPicture() const;
    SubtitleLabel* OverlayText() const;  // null until attached
    BitmapSurface* OverlayPicture() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One place a subtitle is shown; `second` is the second subtitle's line, below `text`.
    struct Surface {
        QPointer<SubtitleLabel> text;
        QPointer<BitmapSurface> picture;
        QPointer<SubtitleLabel> second{};
    };

    void setCaption(const std::string& text);
    void setSecondCaption(const std::string& text, bool decoderChanged = false);
    void layOut(const Surface& surface, const QRect& area) const;
    SubtitleFont secondFont() const;
    void showDecoded();
    void bringToFront(bool pictures);
    void drawDuePicture();
    void clearPictures();

    VobSubLibrary& library_;
    QWidget* panelArea_ = nullptr;  // the window's subtitle panel, which the panel's surface fills
    Surface panel_;
    Surface overlay_;
    SubtitleFont font_ = FromFontSpec(FontSpec{});
    std::string fileCodePage_;
    std::unique_ptr<CodePageDecoder> decoder_ = std::make_unique<CodePageDecoder>(font_.charSet);
    std::string caption_;  // the cue bytes the labels show; empty while hidden
    bool shown_ = true;
    std::string secondCodePage_;
    std::unique_ptr<CodePageDecoder> secondDecoder_ = std::make_unique<CodePageDecoder>(font_.charSet);
    std::string secondCaption_;  // the second subtitle's cue bytes; empty while hidden
    bool secondShown_ = false;
    int32_t LastBitmapIndex = -1;  // the VobSub picture drawn on both pictures; -1: none
};

}  // namespace tessaview
