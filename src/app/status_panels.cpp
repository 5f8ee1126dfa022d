// The status bar.
#include "app/status_panels.h"

#include <QLabel>

#include <algorithm>

namespace tessaview {

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
    setFixedHeight(BarHeight);
    // No layout: a narrow window cuts the panels off instead of being held wide by them.
    for (size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("sbMainPanel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    Arrange();
}

void StatusPanels::resizeEvent(QResizeEvent*) { Arrange(); }

void StatusPanels::Arrange() {
    int left = 0;
    for (size_t i = 0; i + 1 < panels_.size(); ++i) {
        panels_[i]->setGeometry(left, 0, widths_[i], BarHeight);
        left += widths_[i];
    }
    // The last panel's text ("Subtitle FrameRate:23.976fps") runs on past its 50 px.
    QLabel* last = panels_.back();
    last->setGeometry(left, 0, std::max(widths_.back(), width() - left), BarHeight);
}

void StatusPanels::SetText(int panel, const QString& text) {
    QLabel* label = panels_[panel];
    if (label->text() == text) return;
    label->setText(text);
    // A panel grows to show its whole text ("640*352" does not fit in 50 px) and does not
    // shrink back, so the panels beside it do not jump while the clock counts.
    const int wanted = label->sizeHint().width();
    if (wanted > widths_[panel]) {
        widths_[panel] = wanted;
        Arrange();
    }
}

QString StatusPanels::Text(int panel) const { return panels_[panel]->text(); }

}  // namespace tessaview
