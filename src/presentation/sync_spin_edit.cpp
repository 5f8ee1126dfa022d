// The synchronize offset's spin edit: stepping only, every edit of the text refused.
#include "presentation/sync_spin_edit.h"

#include "subtitle/number_rules.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProxyStyle>
#include <QWheelEvent>
#include <algorithm>
#include <limits>

namespace tessaview {

namespace {

// Holding an arrow repeats the step after 400 ms, then every 100 ms.
class RepeatTimingStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_SpinBox_ClickAutoRepeatThreshold) return SyncSpinEdit::FirstRepeatMs;
        if (hint == SH_SpinBox_ClickAutoRepeatRate) return SyncSpinEdit::RepeatMs;
        if (hint == SH_SpinBox_KeyPressAutoRepeatRate) return SyncSpinEdit::RepeatMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Keys that move the cursor, select or copy leave the text as it is.
bool LeavesTextAlone(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) return true;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
            return true;
        default:
            return false;
    }
}

}  // namespace

SyncSpinEdit::SyncSpinEdit(QWidget* parent) : QSpinBox(parent) {
    auto* style = new RepeatTimingStyle;
    style->setParent(this);
    setStyle(style);
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    setSingleStep(1);
    setValue(0);
    setWrapping(false);
    setAccelerated(false);
    setKeyboardTracking(false);
    // The editor itself refuses typing, pasting, cutting and dropping; the arrows still step.
    lineEdit()->setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
}

int32_t SyncSpinEdit::TextValue() const {
    bool ok = false;
    const int value = text().trimmed().toInt(&ok);
    return ok ? value : 0;
}

void SyncSpinEdit::AddStep(int64_t step) {
    const int64_t sum = int64_t{TextValue()} + step;
    setValue(ClampToInt32(sum));
}

QString SyncSpinEdit::textFromValue(int value) const { return QString::number(value); }

int SyncSpinEdit::valueFromText(const QString& text) const {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

void SyncSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        QSpinBox::keyPressEvent(event);
        return;
    }
    if (LeavesTextAlone(event)) {
        QSpinBox::keyPressEvent(event);
        return;
    }
    // Anything else would change the text (a digit, Backspace, Delete, paste, cut, undo,
    // Page Up/Down): refused.
    event->accept();
    QApplication::beep();
}

void SyncSpinEdit::wheelEvent(QWheelEvent* event) { event->ignore(); }

}  // namespace tessaview
