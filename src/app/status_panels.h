// The status bar sbMain: five text panels side by side.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QLabel;

namespace tessaview {

class StatusPanels : public QWidget {
    Q_OBJECT
public:
    static constexpr std::array<int, 5> PanelWidths = {100, 100, 100, 50, 50};
    static constexpr int BarHeight = 19;

    explicit StatusPanels(QWidget* parent = nullptr);

    void SetText(int panel, const QString& text);
    QString Text(int panel) const;
    QLabel* Panel(int panel) const { return panels_[panel]; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Arrange();

    std::array<QLabel*, 5> panels_{};
    std::array<int, 5> widths_ = PanelWidths;  // at least the given widths, wider for longer text
};

}  // namespace tessaview
