// The subtitle font dialog: the toolkit's font chooser (face, size, style, effects) with the
// two things it lacks, a text colour and a Windows character set.
#pragma once

#include "platform/desktop.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QFontDialog;
class QPushButton;

namespace tessaview {

class SubtitleFontDialog : public QDialog {
    Q_OBJECT
public:
    SubtitleFontDialog(QWidget* parent, const FontChoice& current);

    FontChoice Choice() const;
    void SetColor(const QColor& color);
    void SetCharSet(int charSet);

    QFontDialog* fontPart = nullptr;
    QPushButton* colorButton = nullptr;
    QComboBox* charSetBox = nullptr;

private:
    QColor color_ = Qt::white;
    QFont given_;  // the font the dialog was opened with
    QFont shown_;  // the font it showed for it at first
};

// The Windows character sets offered (those whose text can be decoded here), as (number,
// name) pairs in display order.
struct CharSetName {
    int number;
    const char* name;
};
const std::vector<CharSetName>& CharSetNames();

}  // namespace tessaview
