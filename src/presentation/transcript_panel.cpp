// The transcript panel's widgets and what the user does in them.
#include "presentation/transcript_panel.h"

#include "presentation/transcript_model.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace tessaview {

TranscriptPanel::TranscriptPanel(QWidget* parent) : QWidget(parent), model_(new TranscriptModel(this)) {
    setObjectName("plTranscript");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    edFind = new QLineEdit(this);
    edFind->setObjectName("edFind");
    edFind->setPlaceholderText("Find");
    edFind->setClearButtonEnabled(true);
    edFind->installEventFilter(this);
    connect(edFind, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_->SetFilter(text);
        const int row = model_->RowOfLine(model_->CurrentLine());
        if (row >= 0) BringIntoView(row);
    });
    connect(edFind, &QLineEdit::returnPressed, this, [this] { emit FindRequested(true); });
    column->addWidget(edFind);

    lvTranscript = new QTableView(this);
    lvTranscript->setObjectName("lvTranscript");
    lvTranscript->setModel(model_);
    lvTranscript->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvTranscript->setSelectionMode(QAbstractItemView::SingleSelection);
    lvTranscript->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvTranscript->setTabKeyNavigation(false);
    lvTranscript->setShowGrid(false);
    lvTranscript->setWordWrap(false);
    lvTranscript->setTextElideMode(Qt::ElideRight);
    lvTranscript->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // One height for every row: the view then places 100,000 rows without measuring any.
    QHeaderView* rows = lvTranscript->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* columns = lvTranscript->horizontalHeader();
    columns->hide();
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->resizeSection(TranscriptModel::TimeColumn, fontMetrics().horizontalAdvance("-0:00:00") + 12);
    columns->setSectionResizeMode(TranscriptModel::TextColumn, QHeaderView::Stretch);
    lvTranscript->setColumnHidden(TranscriptModel::SecondTextColumn, true);
    lvTranscript->installEventFilter(this);
    connect(lvTranscript, &QTableView::clicked, this,
            [this](const QModelIndex& index) { emit LineChosen(model_->LineOfRow(index.row())); });
    // Only what the user does moves the slider through an action: the wheel, the bar, the keys.
    connect(lvTranscript->verticalScrollBar(), &QScrollBar::actionTriggered, this, [this] { userScrolled_.start(); });
    column->addWidget(lvTranscript, 1);

    pmTranscript = new QMenu(this);
    pmTranscript->setObjectName("pmTranscript");
    HeardNow1 = pmTranscript->addAction("Heard Now");
    HeardNow1->setObjectName("HeardNow1");
    connect(HeardNow1, &QAction::triggered, this, [this] {
        if (const int line = SelectedLine(); line >= 0) emit HeardNow(line);
    });
    lvTranscript->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvTranscript, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = lvTranscript->indexAt(at);
        if (!index.isValid()) return;
        lvTranscript->setCurrentIndex(index);
        pmTranscript->popup(lvTranscript->viewport()->mapToGlobal(at));
    });

    auto step = [this](const char* name, QKeySequence key, bool forward) {
        auto* action = new QAction(this);
        action->setObjectName(name);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, forward] { emit FindRequested(forward); });
        addAction(action);
    };
    step("FindNext1", QKeySequence(Qt::Key_F3), true);
    step("FindPrevious1", QKeySequence(Qt::SHIFT | Qt::Key_F3), false);
}

bool TranscriptPanel::UserScrolledLately() const {
    return userScrolled_.isValid() && userScrolled_.elapsed() < scrollHoldMs_;
}

void TranscriptPanel::BringIntoView(int row) {
    const QModelIndex index = model_->index(row, TranscriptModel::TextColumn);
    if (!lvTranscript->viewport()->rect().contains(lvTranscript->visualRect(index)))
        lvTranscript->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TranscriptPanel::ShowCurrentLine(int line) {
    model_->SetCurrentLine(line);
    const int row = model_->RowOfLine(line);
    if (row < 0 || UserScrolledLately() || !isVisible()) return;
    BringIntoView(row);
}

void TranscriptPanel::FocusFind() {
    edFind->setFocus(Qt::ShortcutFocusReason);
    edFind->selectAll();
}

int TranscriptPanel::SelectedLine() const {
    const QModelIndex current = lvTranscript->currentIndex();
    return current.isValid() ? model_->LineOfRow(current.row()) : -1;
}

void TranscriptPanel::ShowSecondColumn(bool shown) {
    if (lvTranscript->isColumnHidden(TranscriptModel::SecondTextColumn) != shown) return;
    lvTranscript->horizontalHeader()->setSectionResizeMode(TranscriptModel::SecondTextColumn, QHeaderView::Stretch);
    lvTranscript->setColumnHidden(TranscriptModel::SecondTextColumn, !shown);
}

void TranscriptPanel::SelectLine(int line) {
    const int row = model_->RowOfLine(line);
    if (row < 0) return;
    const QModelIndex index = model_->index(row, TranscriptModel::TextColumn);
    lvTranscript->setCurrentIndex(index);
    lvTranscript->scrollTo(index, QAbstractItemView::EnsureVisible);
}

void TranscriptPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) emit Shown();
}

bool TranscriptPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == edFind && key->key() == Qt::Key_Escape && !edFind->text().isEmpty()) {
        edFind->clear();
        return true;
    }
    if (watched == lvTranscript) {
        if (enter && lvTranscript->currentIndex().isValid()) {
            emit LineChosen(SelectedLine());
            return true;
        }
        userScrolled_.start();  // moving through the rows holds the list where the user is
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessaview
