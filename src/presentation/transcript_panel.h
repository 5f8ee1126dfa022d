// The transcript beside the picture: a find field over a list of every line with its start,
// the line on screen marked and kept in view while the movie plays.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QTableView;

namespace tessaview {

class TranscriptModel;

class TranscriptPanel : public QWidget {
    Q_OBJECT
public:
    explicit TranscriptPanel(QWidget* parent = nullptr);

    QLineEdit* edFind = nullptr;
    QTableView* lvTranscript = nullptr;
    // The rows' context menu, opened on the row the mouse is over, which becomes the current one.
    QMenu* pmTranscript = nullptr;
    QAction* HeardNow1 = nullptr;
    TranscriptModel& Model() { return *model_; }

    // Marks `line` as the one on screen (-1: none) and brings it into view, unless the user
    // scrolled the list within the last ScrollHoldMs.
    void ShowCurrentLine(int line);
    // The find field with the focus and its text selected.
    void FocusFind();
    // The line of the list's current row, or -1.
    int SelectedLine() const;
    // Makes `line`'s row the current one and brings it into view.
    void SelectLine(int line);
    // The second subtitle's column beside the text, sharing its width; hidden without one.
    void ShowSecondColumn(bool shown);

    static constexpr int DefaultScrollHoldMs = 4000;
    void SetScrollHoldMs(int ms) { scrollHoldMs_ = ms; }

signals:
    void LineChosen(int line);         // a click, or Enter, on a row
    void FindRequested(bool forward);  // Enter in the find field (forward), F3, Shift+F3
    void HeardNow(int line);           // Heard Now on the current row
    void Shown();                      // laid out and shown: the moment its width can be given

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TranscriptModel* model_ = nullptr;
    QElapsedTimer userScrolled_;  // since the user last scrolled or moved in the list
    int scrollHoldMs_ = DefaultScrollHoldMs;
    bool UserScrolledLately() const;
    void BringIntoView(int row);
};

}  // namespace tessaview
