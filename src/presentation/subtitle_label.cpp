// The text subtitle surface: decoding the cue bytes once per change and drawing them.
#include "presentation/subtitle_label.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStringTokenizer>
#include <QTextLayout>
#include <QtMath>

namespace tessaview {

namespace {

// Characters laid out per line. Even at one pixel a glyph this many cover any screen's width;
// beyond them a line only costs time and memory at every paint.
constexpr qsizetype kMaxLaidOutCharacters = 8192;
// Lines kept per caption: more than any screen holds at the smallest font.
constexpr size_t kMaxLines = 1024;

// CR LF and a lone CR or LF each end a line.
QString NormaliseLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

MnemonicLine StripMnemonics(const QString& line) {
    MnemonicLine result;
    result.text.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] != QLatin1Char('&')) {
            result.text.append(line[i]);
        } else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('&')) {
            result.text.append(QLatin1Char('&'));
            ++i;
        } else if (i + 1 < line.size()) {
            result.underlined.push_back(static_cast<int>(result.text.size()));
        }
    }
    return result;
}

QStringView VisibleMiddle(QStringView line, qsizetype maxChars) {
    if (line.size() <= maxChars) return line;
    qsizetype from = (line.size() - maxChars) / 2;
    qsizetype to = from + maxChars;
    if (line[from].isLowSurrogate()) ++from;
    if (line[to - 1].isHighSurrogate()) --to;
    return line.sliced(from, to - from);
}

SubtitleLabel::SubtitleLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_ = FromFontSpec(FontSpec{});
}

void SubtitleLabel::SetCaption(const std::string& text) {
    // The clock writes the caption ten times a second: an unchanged text costs nothing.
    if (text == caption_) return;
    caption_ = text;
    decode();
    update();
}

const std::string& SubtitleLabel::Caption() const { return caption_; }

void SubtitleLabel::SetSubtitleFont(const SubtitleFont& font) {
    const bool charSetChanged = font.charSet != font_.charSet;
    font_ = font;
    if (charSetChanged) {
        decoder_ = std::make_unique<CodePageDecoder>(font_.charSet, fileCodePage_);
        decode();
    }
    layouts_.clear();
    layouts_.resize(lines_.size());
    update();
}

void SubtitleLabel::SetFileCodePage(const std::string& codePage) {
    if (codePage == fileCodePage_) return;
    fileCodePage_ = codePage;
    if (font_.charSet != 1) return;
    decoder_ = std::make_unique<CodePageDecoder>(font_.charSet, fileCodePage_);
    decode();
    update();
}

const SubtitleFont& SubtitleLabel::GetSubtitleFont() const { return font_; }

void SubtitleLabel::decode() {
    display_ = NormaliseLineBreaks(decoder_->Decode(caption_));
    lines_.clear();
    layouts_.clear();
    if (display_.isEmpty()) return;
    for (const QStringView line : qTokenize(QStringView(display_), u'\n')) {
        if (lines_.size() == kMaxLines) break;
        lines_.push_back(StripMnemonics(VisibleMiddle(line, kMaxLaidOutCharacters).toString()));
    }
    layouts_.resize(lines_.size());
}

qsizetype SubtitleLabel::LaidOutCharacters() const {
    qsizetype count = 0;
    for (const auto& layout : layouts_)
        if (layout) count += layout->text().size();
    return count;
}

QTextLayout& SubtitleLabel::layoutOf(size_t index) {
    std::unique_ptr<QTextLayout>& layout = layouts_[index];
    if (layout) return *layout;
    const MnemonicLine& line = lines_[index];
    layout = std::make_unique<QTextLayout>(line.text, font_.font, this);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);  // right-to-left lines too
    // Tab stops every eight average characters. Qt's own text drawing turns tabs into
    // blanks in centred text, so each line is laid out here and centred by hand.
    const QFontMetrics metrics(font_.font, this);
    option.setTabStopDistance(std::max(1, metrics.averageCharWidth()) * 8.0);
    layout->setTextOption(option);
    QList<QTextLayout::FormatRange> underlines;
    for (int position : line.underlined) {
        QTextLayout::FormatRange range;
        range.start = position;
        range.length = 1;
        range.format.setFontUnderline(true);
        underlines.append(range);
    }
    layout->setFormats(underlines);
    layout->beginLayout();
    layout->createLine().setLineWidth(1e9);
    layout->endLayout();
    return *layout;
}

void SubtitleLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (lines_.empty()) return;
    painter.setPen(font_.color);
    const QFontMetrics metrics(font_.font, this);
    int y = 0;
    for (size_t i = 0; i < lines_.size() && y < height(); ++i) {
        if (!lines_[i].text.isEmpty()) {
            QTextLayout& layout = layoutOf(i);
            // A line wider than the label starts left of it and is cut at both edges.
            const int lineWidth = qCeil(layout.lineAt(0).naturalTextWidth());
            layout.draw(&painter, QPointF((width() - lineWidth) / 2, y));
        }
        y += metrics.height();
    }
}

}  // namespace tessaview
