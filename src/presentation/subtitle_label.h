// A text subtitle surface: black, opaque, lines centred from the top edge, tabs expanded; cue
// bytes decoded with the font's code page, markup drawn as styles, long lines wrapped, and the
// font made smaller when the text would not fit.
#pragma once

#include "presentation/code_page_decoder.h"
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_markup.h"

#include <QSize>
#include <QString>
#include <QTextLayout>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

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

    // The code page of the loaded subtitle file's cue bytes: the default character set (1)
    // decodes with it, a chosen one ignores it. Setting the same code page costs nothing.
    void SetFileCodePage(const std::string& codePage);

    // The caption decoded, markup still in, line breaks as '\n'.
    const QString& DisplayText() const { return display_; }
    // Characters held in laid-out lines: bounded however long the caption.
    qsizetype LaidOutCharacters() const;
    // How often the caption was laid out: once per caption, font and size, not at each paint.
    int LayOutCount() const { return layOutCount_; }
    // The font the caption was last laid out with: the subtitle font, or a smaller one.
    const QFont& DrawnFont() const { return drawnFont_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void decode();
    void layOut();
    bool layOutWith(const QFont& font);

    std::string caption_;
    QString display_;
    std::vector<StyledLine> lines_;
    // Built at the first paint after a change of caption, font or size, kept until the next.
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    QSize laidOutSize_;
    bool laidOut_ = false;
    int layOutCount_ = 0;
    QFont drawnFont_;
    SubtitleFont font_;
    std::string fileCodePage_;
    std::unique_ptr<CodePageDecoder> decoder_ = std::make_unique<CodePageDecoder>(font_.charSet);
};

}  // namespace tessaview
