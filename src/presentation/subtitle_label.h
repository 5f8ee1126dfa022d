// A text subtitle surface: black, opaque, centred, top-aligned, no word wrap, tabs expanded,
// "&" as mnemonic marker ("&&" draws one "&"); cue bytes decoded with the font's code page.
#pragma once

#include "presentation/subtitle_font.h"

#include <QWidget>
#include <string>

namespace tessaview {

class SubtitleLabel : public QWidget {
    Q_OBJECT
public:
    explicit SubtitleLabel(QWidget* parent = nullptr);

    // Cue text as stored (8-bit, lines joined with CR LF). Setting the same text repaints nothing.
    void SetCaption(const std::string& text);
    const std::string& Caption() const;

    void SetSubtitleFont(const SubtitleFont& font);
    const SubtitleFont& GetSubtitleFont() const;
};

}  // namespace tessaview
