// The text subtitle surface: decoding the cue bytes and reading their markup once per change,
// laying them out once per caption, font and size, and drawing the laid-out rows.
#include "presentation/subtitle_label.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

namespace tessaview {

namespace {

// Characters of a caption that are read and laid out: far more than any screen shows at the
// smallest font; beyond them a caption only costs time and memory.
constexpr qsizetype kMaxLaidOutCharacters = 8192;
// Text that does not fit is drawn smaller, but never below this many pixels.
constexpr int kMinPixelSize = 6;

// CR LF and a lone CR or LF each end a line.
QString NormaliseLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QTextLayout::FormatRange FormatOf(const StyledRun& run, qsizetype start) {
    QTextLayout::FormatRange range;
    range.start = static_cast<int>(start);
    range.length = static_cast<int>(run.text.size());
    // Only what the markup sets: the rest comes from the subtitle font.
    if (run.style.bold) range.format.setFontWeight(QFont::Bold);
    if (run.style.italic) range.format.setFontItalic(true);
    if (run.style.underline) range.format.setFontUnderline(true);
    if (run.style.color.isValid()) range.format.setForeground(run.style.color);
    return range;
}

}  // namespace

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
    if (charSetChanged) decoder_ = std::make_unique<CodePageDecoder>(font_.charSet, fileCodePage_);
    decode();
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
    QStringView read = display_;
    if (read.size() > kMaxLaidOutCharacters)
        read = read.first(kMaxLaidOutCharacters - (read[kMaxLaidOutCharacters - 1].isHighSurrogate() ? 1 : 0));
    lines_ = ParseMarkup(read);
    layouts_.clear();
    laidOut_ = false;
}

qsizetype SubtitleLabel::LaidOutCharacters() const {
    qsizetype count = 0;
    for (const auto& layout : layouts_) count += layout->text().size();
    return count;
}

void SubtitleLabel::layOut() {
    if (laidOut_ && laidOutSize_ == size()) return;
    laidOut_ = true;
    ++layOutCount_;
    laidOutSize_ = size();
    drawnFont_ = font_.font;
    const int fullSize = QFontInfo(font_.font).pixelSize();
    if (layOutWith(drawnFont_) || fullSize <= kMinPixelSize) return;
    // Too tall: the largest smaller pixel size that fits, found by halving the range, so a
    // caption is laid out a handful of times, not once per pixel.
    int fits = kMinPixelSize;
    int tooBig = fullSize;
    int lastTried = fullSize;
    while (tooBig - fits > 1) {
        const int middle = (fits + tooBig) / 2;
        drawnFont_.setPixelSize(middle);
        lastTried = middle;
        (layOutWith(drawnFont_) ? fits : tooBig) = middle;
    }
    drawnFont_.setPixelSize(fits);
    if (lastTried != fits) layOutWith(drawnFont_);  // at the smallest size, cut at the bottom
}

// Lays every line out with `font`, wrapped to the width and centred row by row; stops at the
// first row below the bottom edge. Returns whether all of the text fits.
bool SubtitleLabel::layOutWith(const QFont& font) {
    layouts_.clear();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);  // right-to-left rows too
    // Tab stops every eight average characters. Qt's own text drawing turns tabs into
    // blanks in centred text, so rows are laid out left-aligned and centred by hand.
    option.setTabStopDistance(std::max(1, QFontMetrics(font, this).averageCharWidth()) * 8.0);
    qreal y = 0;
    for (const StyledLine& line : lines_) {
        QString text;
        QList<QTextLayout::FormatRange> formats;
        for (const StyledRun& run : line) {
            if (run.style != TextStyle{}) formats.append(FormatOf(run, text.size()));
            text.append(run.text);
        }
        QTextLayout& layout = *layouts_.emplace_back(std::make_unique<QTextLayout>(text, font, this));
        layout.setTextOption(option);
        layout.setFormats(formats);
        layout.beginLayout();
        qsizetype laidOutTo = -1;  // an empty line laid out ends at 0
        while (y < height()) {
            QTextLine row = layout.createLine();
            if (!row.isValid()) break;
            row.setLineWidth(width());
            row.setPosition(QPointF((width() - qCeil(row.naturalTextWidth())) / 2, y));
            y += row.height();
            laidOutTo = row.textStart() + row.textLength();
        }
        layout.endLayout();
        if (laidOutTo < text.size()) return false;
    }
    return y <= height();
}

void SubtitleLabel::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (lines_.empty()) return;
    layOut();
    painter.setPen(font_.color);
    for (const auto& layout : layouts_) layout->draw(&painter, QPointF(0, 0));
}

}  // namespace tessaview
