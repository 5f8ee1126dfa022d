// The transcript's rows: one for each line of the subtitle (or each match while the user
// finds), its start time and its text; the line on screen drawn in bold.
#pragma once

#include "presentation/transcript_filter.h"

#include <QAbstractTableModel>
#include <functional>
#include <vector>

namespace tessaview {

class TranscriptModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The second text column holds the second subtitle's line at each line's start.
    enum Column { TimeColumn, TextColumn, SecondTextColumn, ColumnCount };

    explicit TranscriptModel(QObject* parent = nullptr);

    // Every line's text (one line, plain) in the subtitle's order; no filter, no line on screen.
    // `secondTexts`: the second subtitle's text at each line's start; none without one.
    void SetLines(std::vector<QString> texts, std::vector<QString> secondTexts = {});
    // Where a line's time comes from: asked only for the rows drawn.
    void SetTimeText(std::function<QString(int line)> timeText);
    // The times changed (a new synchronize value, frame rate or offset): the rows drawn again.
    void TimesChanged();
    // Shows only the lines that hold `needle` (letter case and accents aside).
    void SetFilter(const QString& needle);
    const QString& Filter() const { return filter_.Needle(); }

    int LineCount() const { return static_cast<int>(texts_.size()); }
    int LineOfRow(int row) const;
    int RowOfLine(int line) const;  // -1 when the filter hides it
    const std::vector<int>& Matches() const { return filter_.Lines(); }

    // The line on screen, or -1.
    void SetCurrentLine(int line);
    int CurrentLine() const { return currentLine_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<QString> texts_;
    std::vector<QString> secondTexts_;
    TranscriptFilter filter_;
    std::function<QString(int)> timeText_;
    int currentLine_ = -1;
    void emitRowChanged(int line);
};

}  // namespace tessaview
