// The status bar.
#include "app/status_panels.h"

#include <QHBoxLayout>
#include <QLabel>

namespace tessaview {

StatusPanels::StatusPanels(QWidget* parent) : QWidget(parent) {
    setFixedHeight(BarHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (size_t i = 0; i < panels_.size(); ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("sbMainPanel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setFixedWidth(PanelWidths[i]);
        layout->addWidget(panels_[i]);
    }
    // The last panel's text ("Subtitle FrameRate:23.976fps") runs on past its 50 px.
    panels_.back()->setMinimumWidth(PanelWidths.back());
    panels_.back()->setMaximumWidth(QWIDGETSIZE_MAX);
    layout->setStretch(static_cast<int>(panels_.size()) - 1, 1);
}

void StatusPanels::SetText(int panel, const QString& text) {
    if (panels_[panel]->text() != text) panels_[panel]->setText(text);
}

QString StatusPanels::Text(int panel) const { return panels_[panel]->text(); }

}  // namespace tessaview
