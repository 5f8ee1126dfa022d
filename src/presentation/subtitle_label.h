// A text subtitle surface: black, opaque, lines centred from the top edge, tabs expanded;
// markup drawn as styles, long lines wrapped, and the font made smaller when the text would
// not fit.
#pragma once

#include "presentation/subtitle_markup.h"

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>
#include <QTextLayout>
#include <QWidget>
#include <memory>
#include <vector>

namespace tessaview {

class SubtitleLabel : public QWidget {
    Q_OBJECT
public:
    explicit SubtitleLabel(QWidget* parent = nullptr);

    // The cue as decoded text, lines joined with CR LF. Setting the same text repaints nothing.
    void SetText(const QString& text);
    void SetTextFont(const QFont& font, const QColor& color);

    // The text as drawn: markup still in, line breaks as '\n'.
    const QString& DisplayText() const { return display_; }
    // Characters held in laid-out lines: bounded however long the text.
    qsizetype LaidOutCharacters() const;
    // How often the text was laid out: once per text, font and size, not at each paint.
    int LayOutCount() const { return layOutCount_; }
    // The font the text was last laid out with: the given one, or a smaller one.
    const QFont& DrawnFont() const { return drawnFont_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut();
    bool layOutWith(const QFont& font);

    QString text_;
    QString display_;
    std::vector<StyledLine> lines_;
    // Built at the first paint after a change of text, font or size, kept until the next.
    std::vector<std::unique_ptr<QTextLayout>> layouts_;
    QSize laidOutSize_;
    bool laidOut_ = false;
    int layOutCount_ = 0;
    QFont drawnFont_;
    QFont font_;
    QColor color_ = Qt::white;
};

}  // namespace tessaview
