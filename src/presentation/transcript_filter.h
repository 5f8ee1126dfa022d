// Finding in the transcript: each line's text folded once (letter case and accents aside), the
// lines that hold what the user types, and the step from one match to the next.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessaview {

// `text` for comparing: compatibility-decomposed, combining marks dropped, case-folded; so
// "Éte" and "ete" fold alike, as do "ﬁ" and "fi".
QString FoldForSearch(const QString& text);

// A cue's text as a transcript row shows it: plain (markup dropped) on one line.
QString OneLinePlainText(const QString& cue);

// The lines whose folded text holds the folded needle, as plain text: no character has a
// meaning of its own.
class TranscriptFilter {
public:
    // Every line's text; the filter is empty afterwards.
    void SetTexts(const std::vector<QString>& texts);
    // The lines (ascending) that hold `needle`; every line for an empty needle. A needle that
    // extends the last one searches only the last one's lines.
    const std::vector<int>& Apply(const QString& needle);
    const std::vector<int>& Lines() const { return lines_; }
    const QString& Needle() const { return needle_; }
    int Count() const { return starts_.empty() ? 0 : static_cast<int>(starts_.size()) - 1; }

private:
    // Every line folded, one after the other with a line break after each (which no needle
    // holds): one block of memory, searched in one sweep.
    QString folded_;
    std::vector<qsizetype> starts_;  // where each line begins in folded_, then its end
    std::vector<int> lines_;
    QString needle_;  // folded
};

// Of `keys` (one for each match, in the list's order), the position of the next match after
// `reference`: forward the least key above it, else (wrapping) the least of all; backward the
// greatest key below it, else the greatest of all. Ties go to the first. Empty without keys.
std::optional<size_t> StepMatch(const std::vector<int32_t>& keys, int32_t reference, bool forward);

}  // namespace tessaview
