// The status bar.
#include "app/status_panels.h"

#include <QLabel>

#include <algorithm>

namespace tessaview {

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
    setFixedHeight(BarHeight);
    // No layout: a narrow window cuts the panels off instead of being held wide by them.
    int left = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("sbMainPanel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setGeometry(left, 0, PanelWidths[i], BarHeight);
        left += PanelWidths[i];
    }
}

void StatusPanels::resizeEvent(QResizeEvent*) {
    // The last panel's text ("Subtitle FrameRate:23.976fps") runs on past its 50 px.
    QLabel* last = panels_.back();
    last->resize(std::max(PanelWidths.back(), width() - last->x()), BarHeight);
}

void StatusPanels::SetText(int panel, const QString& text) {
    if (panels_[panel]->text() != text) panels_[panel]->setText(text);
}

QString StatusPanels::Text(int panel) const { return panels_[panel]->text(); }

}  // namespace tessaview
