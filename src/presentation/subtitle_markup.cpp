// Reading the markup of cue text in one pass; every search for a closing mark is cached, so a
// cue full of unclosed "<" or "{\" still costs linear time.
#include "presentation/subtitle_markup.h"

namespace tessaview {

namespace {

class MarkupReader {
public:
    // With `plain`, the text and its line breaks are written there and no styles are worked out.
    explicit MarkupReader(QStringView cue, QString* plain = nullptr) : cue_(cue), plain_(plain) {}

    std::vector<StyledLine> Read() {
        if (cue_.isEmpty()) return {};
        if (!plain_) lines_.emplace_back();
        qsizetype i = 0;
        while (i < cue_.size()) {
            const QChar c = cue_[i];
            const QChar next = i + 1 < cue_.size() ? cue_[i + 1] : QChar();
            if (c == u'\r' || c == u'\n') {
                newLine();
                i += c == u'\r' && next == u'\n' ? 2 : 1;
            } else if (c == u'<' && (next.isLetter() || next == u'/') && closesOnLine(i, u'>', gt_)) {
                if (!plain_) applyTag(cue_.sliced(i + 1, gt_ - i - 1));
                i = gt_ + 1;
            } else if (c == u'{' && next == u'\\' && closesOnLine(i, u'}', brace_)) {
                i = brace_ + 1;  // a SubStation override block: positions, alignment, effects
            } else if (c == u'\\' && (next == u'N' || next == u'n')) {
                newLine();
                i += 2;
            } else if (c == u'\\' && next == u'h') {
                append(QChar(0x00A0));
                i += 2;
            } else {
                append(c);
                ++i;
            }
        }
        return std::move(lines_);
    }

private:
    // Whether `mark` follows `from` before the line ends; `cached` keeps the next `mark`.
    bool closesOnLine(qsizetype from, QChar mark, qsizetype& cached) {
        if (cached < from) {
            cached = cue_.indexOf(mark, from);
            if (cached < 0) cached = cue_.size();
        }
        if (lineEnd_ < from) {
            lineEnd_ = from;
            while (lineEnd_ < cue_.size() && cue_[lineEnd_] != u'\n' && cue_[lineEnd_] != u'\r') ++lineEnd_;
        }
        return cached < lineEnd_;
    }

    void applyTag(QStringView tag) {
        const bool closing = tag.startsWith(u'/');
        if (closing) tag = tag.sliced(1).trimmed();  // some files write "</ i>"
        qsizetype length = 0;
        while (length < tag.size() && tag[length].isLetter()) ++length;
        const QStringView name = tag.first(length);
        const int step = closing ? -1 : 1;
        const auto is = [&](QStringView known) { return name.compare(known, Qt::CaseInsensitive) == 0; };
        if (is(u"b")) {
            bold_ = std::max(0, bold_ + step);
        } else if (is(u"i")) {
            italic_ = std::max(0, italic_ + step);
        } else if (is(u"u")) {
            underline_ = std::max(0, underline_ + step);
        } else if (is(u"font") && closing) {
            if (!colors_.empty()) colors_.pop_back();
        } else if (is(u"font")) {
            // A font tag without a readable colour still pairs with its closing tag.
            const QColor color = FontColor(tag);
            colors_.push_back(color.isValid() ? color : style().color);
        }
    }

    // The value of color=... in a font tag: a name or #rrggbb, quoted or not.
    static QColor FontColor(QStringView tag) {
        qsizetype i = tag.indexOf(u"color", 0, Qt::CaseInsensitive);
        if (i < 0) return {};
        i += 5;
        while (i < tag.size() && tag[i].isSpace()) ++i;
        if (i >= tag.size() || tag[i] != u'=') return {};
        ++i;
        while (i < tag.size() && tag[i].isSpace()) ++i;
        QChar quote;
        if (i < tag.size() && (tag[i] == u'"' || tag[i] == u'\'')) quote = tag[i++];
        qsizetype end = i;
        while (end < tag.size() && (quote.isNull() ? !tag[end].isSpace() : tag[end] != quote)) ++end;
        const QStringView value = tag.sliced(i, end - i);
        QColor color = QColor::fromString(value);
        // Some files leave out the "#" of a six-digit colour.
        if (!color.isValid() && value.size() == 6) color = QColor::fromString(u'#' + value.toString());
        return color;
    }

    TextStyle style() const {
        return TextStyle{bold_ > 0, italic_ > 0, underline_ > 0, colors_.empty() ? QColor() : colors_.back()};
    }

    void newLine() {
        if (plain_)
            plain_->append(u'\n');
        else
            lines_.emplace_back();
    }

    void append(QChar c) {
        if (plain_) {
            plain_->append(c);
            return;
        }
        StyledLine& line = lines_.back();
        const TextStyle current = style();
        if (line.empty() || line.back().style != current) line.push_back(StyledRun{QString(), current});
        line.back().text.append(c);
    }

    QStringView cue_;
    QString* plain_ = nullptr;
    std::vector<StyledLine> lines_;
    int bold_ = 0;
    int italic_ = 0;
    int underline_ = 0;
    std::vector<QColor> colors_;
    qsizetype gt_ = -1;
    qsizetype brace_ = -1;
    qsizetype lineEnd_ = -1;
};

}  // namespace

std::vector<StyledLine> ParseMarkup(QStringView cue) { return MarkupReader(cue).Read(); }

QString PlainText(QStringView cue) {
    QString plain;
    plain.reserve(cue.size());
    MarkupReader(cue, &plain).Read();
    return plain;
}

}  // namespace tessaview
