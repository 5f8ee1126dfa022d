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
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c == u'<' || c == u'{' || c == u'\\' || c == u'\r' || c == u'\n';
    });
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
    folded_.clear();
    folded_.reserve(texts.size());
    for (const QString& text : texts) folded_.push_back(FoldForSearch(text));
    needle_.clear();
    lines_.resize(folded_.size());
    for (size_t i = 0; i < lines_.size(); ++i) lines_[i] = static_cast<int>(i);
}

const std::vector<int>& TranscriptFilter::Apply(const QString& needle) {
    const QString folded = FoldForSearch(needle);
    if (folded == needle_) return lines_;
    const bool narrower = !needle_.isEmpty() && folded.contains(needle_);
    std::vector<int> candidates;
    if (narrower) {
        candidates = std::move(lines_);
    } else {
        candidates.resize(folded_.size());
        for (size_t i = 0; i < candidates.size(); ++i) candidates[i] = static_cast<int>(i);
    }
    needle_ = folded;
    if (folded.isEmpty()) {
        lines_ = std::move(candidates);
        return lines_;
    }
    const QStringMatcher matcher(folded);
    lines_.clear();
    for (const int line : candidates)
        if (matcher.indexIn(folded_[static_cast<size_t>(line)]) >= 0) lines_.push_back(line);
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
