// The text subtitle surface: reading the markup once per change, laying the text out once per
// text, font and size, and drawing the laid-out rows.
#include "presentation/subtitle_label.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

namespace tessaview {

namespace {

// Characters of a text that are read and laid out: far more than any screen shows at the
// smallest font; beyond them a text only costs time and memory.
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

SubtitleLabel::SubtitleLabel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void SubtitleLabel::SetText(const QString& text) {
    // The clock writes the text ten times a second: an unchanged one costs nothing.
    if (text == text_) return;
    text_ = text;
    display_ = NormaliseLineBreaks(text);
    QStringView read = display_;
    if (read.size() > kMaxLaidOutCharacters)
        read = read.first(kMaxLaidOutCharacters - (read[kMaxLaidOutCharacters - 1].isHighSurrogate() ? 1 : 0));
    lines_ = ParseMarkup(read);
    layouts_.clear();
    laidOut_ = false;
    update();
}

void SubtitleLabel::SetTextFont(const QFont& font, const QColor& color) {
    font_ = font;
    color_ = color;
    layouts_.clear();
    laidOut_ = false;
    update();
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
    drawnFont_ = font_;
    const int fullSize = QFontInfo(font_).pixelSize();
    if (layOutWith(drawnFont_) || fullSize <= kMinPixelSize) return;
    // Too tall: the largest smaller pixel size that fits, found by halving the range, so a
    // text is laid out a handful of times, not once per pixel.
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
    painter.setPen(color_);
    for (const auto& layout : layouts_) layout->draw(&painter, QPointF(0, 0));
}

}  // namespace tessaview
