// A text subtitle surface: black, opaque, centred, top-aligned, no word wrap, tabs expanded,
// "&" as mnemonic marker ("&&" draws one "&"); cue bytes decoded with the font's code page.
#pragma once

#include "presentation/code_page_decoder.h"
#include "presentation/subtitle_font.h"

#include <QString>
#include <QStringView>
#include <QTextLayout>
#include <QWidget>
#include <memory>
#include <string>

#include <vector>

namespace tessaview {

// One line as drawn: "&&" turned into "&", a single "&" dropped and the character after it
// marked for underlining.
struct MnemonicLine {
    QString text;
    std::vector<int> underlined;  // positions in `text`
    bool operator==(const MnemonicLine&) const = default;
};
MnemonicLine StripMnemonics(const QString& line);

// The part of a line that is laid out: the whole line, or its middle `maxChars` characters
// (never half a surrogate pair) when it is longer. Centred, that middle covers what the
// centred whole line would show in a panel narrower than `maxChars` narrowest glyphs.
QStringView VisibleMiddle(QStringView line, qsizetype maxChars);

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

    // The caption as drawn before "&" handling: decoded, line breaks as '\n'.
    const QString& DisplayText() const { return display_; }
    // Characters held in laid-out lines: bounded by what the panel can show, however long
    // the caption.
    qsizetype LaidOutCharacters() const;
    // Line `line` as laid out, kept across paints until the caption or the font changes; null
    // until a paint has shown it.
    const QTextLayout* LaidOutLine(size_t line) const {
        return line < layouts_.size() ? layouts_[line].get() : nullptr;
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void decode();
    QTextLayout& layoutOf(size_t line);

    std::string caption_;
    QString display_;
    std::vector<MnemonicLine> lines_;
    // Built at the first paint that shows the line, kept until the caption or font changes.
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    SubtitleFont font_;
    std::string fileCodePage_;
    std::unique_ptr<CodePageDecoder> decoder_ = std::make_unique<CodePageDecoder>(font_.charSet);
};

}  // namespace tessaview
