// Folding, filtering and stepping through matches.
#include "presentation/transcript_filter.h"

#include "presentation/subtitle_markup.h"

#include <QStringMatcher>
#include <algorithm>

namespace tessaview {

namespace {

bool IsAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool HasMarkupOrBreak(QStringView text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c == u'<' || c == u'{' || c == u'\\' || c == u'\r' || c == u'\n'; });
}

}  // namespace

QString FoldForSearch(const QString& text) {
    // Most subtitle lines are ASCII: nothing to decompose there, and it is ten times faster.
    if (IsAscii(text)) return text.toLower();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) folded.append(c);
    return folded.toCaseFolded();
}

QString OneLinePlainText(const QString& cue) {
    if (!HasMarkupOrBreak(cue)) return cue;
    QString plain = PlainText(cue);
    plain.replace(u'\n', u' ');
    return plain;
}

void TranscriptFilter::SetTexts(const std::vector<QString>& texts) {
    qsizetype total = 0;
    for (const QString& text : texts) total += text.size() + 1;
    folded_.clear();
    folded_.reserve(total);
    starts_.clear();
    starts_.reserve(texts.size() + 1);
    for (const QString& text : texts) {
        starts_.push_back(folded_.size());
        if (IsAscii(text)) {
            // Lower-cased in place: no string of its own for each of 100,000 lines.
            const qsizetype at = folded_.size();
            folded_.resize(at + text.size());
            QChar* out = folded_.data() + at;
            for (const QChar c : text) *out++ = c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 32) : c;
        } else {
            folded_.append(FoldForSearch(text));
        }
        folded_.append(u'\n');
    }
    starts_.push_back(folded_.size());
    needle_.clear();
    lines_.resize(texts.size());
    for (size_t i = 0; i < lines_.size(); ++i) lines_[i] = static_cast<int>(i);
}

const std::vector<int>& TranscriptFilter::Apply(const QString& needle) {
    QString folded = FoldForSearch(needle);
    folded.remove(u'\n');
    if (folded == needle_) return lines_;
    const bool narrower = !needle_.isEmpty() && folded.contains(needle_);
    needle_ = folded;
    if (folded.isEmpty()) {
        lines_.resize(static_cast<size_t>(Count()));
        for (size_t i = 0; i < lines_.size(); ++i) lines_[i] = static_cast<int>(i);
        return lines_;
    }
    const QStringMatcher matcher(folded);
    std::vector<int> found;
    if (narrower) {
        const QStringView all(folded_);
        for (const int line : lines_) {
            const auto l = static_cast<size_t>(line);
            if (matcher.indexIn(all.sliced(starts_[l], starts_[l + 1] - starts_[l])) >= 0) found.push_back(line);
        }
    } else {
        // One sweep over the whole block; a match ends its line's search.
        for (qsizetype at = 0; (at = matcher.indexIn(folded_, at)) >= 0;) {
            const auto next = std::upper_bound(starts_.begin(), starts_.end(), at);
            found.push_back(static_cast<int>(next - starts_.begin() - 1));
            at = *next;
        }
    }
    lines_ = std::move(found);
    return lines_;
}

std::optional<size_t> StepMatch(const std::vector<int32_t>& keys, int32_t reference, bool forward) {
    std::optional<size_t> best;
    std::optional<size_t> wrap;
    for (size_t i = 0; i < keys.size(); ++i) {
        const int32_t key = keys[i];
        const bool beyond = forward ? key > reference : key < reference;
        const auto better = [&](const std::optional<size_t>& than) {
            return !than || (forward ? key < keys[*than] : key > keys[*than]);
        };
        if (beyond && better(best)) best = i;
        if (better(wrap)) wrap = i;
    }
    return best ? best : wrap;
}

}  // namespace tessaview
