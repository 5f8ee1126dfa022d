// The text subtitle surface: decoding the cue bytes once per change and drawing them.
#include "presentation/subtitle_label.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

namespace tessaview {

namespace {

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
        decoder_ = std::make_unique<CodePageDecoder>(font_.charSet);
        decode();
    }
    update();
}

const SubtitleFont& SubtitleLabel::GetSubtitleFont() const { return font_; }

void SubtitleLabel::decode() {
    display_ = NormaliseLineBreaks(decoder_->Decode(caption_));
    lines_.clear();
    if (display_.isEmpty()) return;
    for (const QString& line : display_.split(QLatin1Char('\n'))) lines_.push_back(StripMnemonics(line));
}

void SubtitleLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (lines_.empty()) return;
    painter.setPen(font_.color);
    const QFontMetrics metrics(font_.font, this);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);  // right-to-left lines too
    // Tab stops every eight average characters. Qt's own text drawing turns tabs into
    // blanks in centred text, so each line is laid out here and centred by hand.
    option.setTabStopDistance(std::max(1, metrics.averageCharWidth()) * 8.0);
    int y = 0;
    for (const MnemonicLine& line : lines_) {
        if (y >= height()) break;
        if (!line.text.isEmpty()) {
            QTextLayout layout(line.text, font_.font, this);
            layout.setTextOption(option);
            QList<QTextLayout::FormatRange> underlines;
            for (int position : line.underlined) {
                QTextLayout::FormatRange range;
                range.start = position;
                range.length = 1;
                range.format.setFontUnderline(true);
                underlines.append(range);
            }
            layout.setFormats(underlines);
            layout.beginLayout();
            QTextLine textLine = layout.createLine();
            textLine.setLineWidth(1e9);
            layout.endLayout();
            // A line wider than the label starts left of it and is cut at both edges.
            const int lineWidth = qCeil(textLine.naturalTextWidth());
            const int x = (width() - lineWidth) / 2;
            layout.draw(&painter, QPointF(x, y));
        }
        y += metrics.height();
    }
}

}  // namespace tessaview
