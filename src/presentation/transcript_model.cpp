// The transcript's rows over the line texts and the filter.
#include "presentation/transcript_model.h"

#include <QColor>
#include <QFont>
#include <algorithm>

namespace tessaview {

TranscriptModel::TranscriptModel(QObject* parent) : QAbstractTableModel(parent) {}

void TranscriptModel::SetLines(std::vector<QString> texts, std::vector<QString> secondTexts) {
    beginResetModel();
    texts_ = std::move(texts);
    secondTexts_ = std::move(secondTexts);
    filter_.SetTexts(texts_);
    currentLine_ = -1;
    endResetModel();
}

void TranscriptModel::SetTimeText(std::function<QString(int line)> timeText) {
    timeText_ = std::move(timeText);
    TimesChanged();
}

void TranscriptModel::TimesChanged() {
    if (rowCount() > 0) emit dataChanged(index(0, TimeColumn), index(rowCount() - 1, TimeColumn), {Qt::DisplayRole});
}

void TranscriptModel::SetFilter(const QString& needle) {
    const std::vector<int> before = filter_.Lines();
    filter_.Apply(needle);
    if (filter_.Lines() == before) return;
    beginResetModel();
    endResetModel();
}

int TranscriptModel::LineOfRow(int row) const {
    const std::vector<int>& lines = filter_.Lines();
    return row >= 0 && static_cast<size_t>(row) < lines.size() ? lines[static_cast<size_t>(row)] : -1;
}

int TranscriptModel::RowOfLine(int line) const {
    const std::vector<int>& lines = filter_.Lines();
    const auto at = std::lower_bound(lines.begin(), lines.end(), line);
    return at != lines.end() && *at == line ? static_cast<int>(at - lines.begin()) : -1;
}

void TranscriptModel::SetCurrentLine(int line) {
    if (line == currentLine_) return;
    const int before = currentLine_;
    currentLine_ = line;
    emitRowChanged(before);
    emitRowChanged(line);
}

void TranscriptModel::emitRowChanged(int line) {
    const int row = RowOfLine(line);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, ColumnCount - 1),
                         {Qt::FontRole, Qt::BackgroundRole, Qt::ForegroundRole});
}

int TranscriptModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(filter_.Lines().size());
}

int TranscriptModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TranscriptModel::data(const QModelIndex& index, int role) const {
    const int line = LineOfRow(index.row());
    if (line < 0 || line >= LineCount()) return {};
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == TimeColumn) return timeText_ ? timeText_(line) : QString();
            if (index.column() == TextColumn) return texts_[static_cast<size_t>(line)];
            if (index.column() == SecondTextColumn && static_cast<size_t>(line) < secondTexts_.size())
                return secondTexts_[static_cast<size_t>(line)];
            return {};
        case Qt::ToolTipRole:
            return index.column() == TextColumn ? QVariant(texts_[static_cast<size_t>(line)]) : QVariant();
        case Qt::FontRole:
            if (line != currentLine_) return {};
            {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
        // Dark on a pale marker whatever the desktop's colours are.
        case Qt::BackgroundRole:
            return line == currentLine_ ? QVariant(QColor(255, 236, 160)) : QVariant();
        case Qt::ForegroundRole:
            return line == currentLine_ ? QVariant(QColor(Qt::black)) : QVariant();
        default:
            return {};
    }
}

}  // namespace tessaview
