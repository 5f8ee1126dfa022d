// The overlay window: its look, its two surfaces and the font it reads at creation.
#include "presentation/tfm_sub.h"

#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_label.h"
#include "shell/settings/settings.h"

#include <QPalette>
#include <QResizeEvent>

namespace tessaview {

TfmSub::TfmSub(const std::string& programFolder, SubtitleLabel* lbSubtitle)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::Tool | Qt::WindowDoesNotAcceptFocus) {
    setWindowTitle(QStringLiteral("fmSub"));
    // Showing it must not take the focus from the main window or the full-screen picture.
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    imSub = new BitmapSurface(this);
    lbSub = new SubtitleLabel(this);
    resize(DesignWidth, DesignHeight);
    imSub->setGeometry(rect());
    lbSub->setGeometry(rect());
    FormCreate(programFolder, lbSubtitle);
}

void TfmSub::FormCreate(const std::string& programFolder, SubtitleLabel* lbSubtitle) {
    const FontSpec spec = ReadOverlayFont(programFolder);
    lbSub->SetSubtitleFont(FromFontSpec(spec));
    if (lbSubtitle != nullptr) lbSubtitle->SetSubtitleFont(lbSub->GetSubtitleFont());
}

void TfmSub::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    imSub->setGeometry(rect());
    lbSub->setGeometry(rect());
}

}  // namespace tessaview
