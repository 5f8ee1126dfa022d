// The synchronize dialog: its controls at their places and the effect of each button.
#include "presentation/tfm_synchronize.h"

#include "presentation/dialog_placement.h"
#include "presentation/sync_spin_edit.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace tessaview {

namespace {

struct StepButton {
    QPushButton* TfmSynchronize::*member;
    const char* caption;
    QRect place;
    int32_t step;
};

constexpr int kWidth = 298;
constexpr int kHeight = 108;
constexpr int kSecondRowTop = 106;
constexpr int kSpeedButtonTop = 40;
constexpr int kSpeedButtonHeight = 22;

const StepButton kStepButtons[] = {
    {&TfmSynchronize::SpeedButton8, "-10s", {8, kSpeedButtonTop, 30, kSpeedButtonHeight}, -10000},
    {&TfmSynchronize::SpeedButton1, "-1s", {40, kSpeedButtonTop, 23, kSpeedButtonHeight}, -1000},
    {&TfmSynchronize::SpeedButton2, "-100ms", {64, kSpeedButtonTop, 41, kSpeedButtonHeight}, -100},
    {&TfmSynchronize::SpeedButton5, "-10ms", {108, kSpeedButtonTop, 37, kSpeedButtonHeight}, -10},
    {&TfmSynchronize::SpeedButton6, "+10ms", {148, kSpeedButtonTop, 37, kSpeedButtonHeight}, 10},
    {&TfmSynchronize::SpeedButton3, "+100ms", {187, kSpeedButtonTop, 41, kSpeedButtonHeight}, 100},
    {&TfmSynchronize::SpeedButton4, "+1s", {230, kSpeedButtonTop, 23, kSpeedButtonHeight}, 1000},
    {&TfmSynchronize::SpeedButton7, "+10s", {256, kSpeedButtonTop, 33, kSpeedButtonHeight}, 10000},
};

QPushButton* MakeButton(QWidget* parent, const char* caption, const QRect& place) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

// The step buttons are narrow ("+100ms" in 41 px): the pixel size, at most 11, at which the
// whole caption fits inside the button's frame.
int FittingPixelSize(QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(0, 0), button->size());
    option.text = button->text();
    const int room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    QFont font = button->font();
    int size = 11;
    for (; size > 7; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(button->text()) <= room) break;
    }
    return size;
}

}  // namespace

TfmSynchronize::TfmSynchronize(QWidget* mainWindow) : QDialog(mainWindow), mainWindow_(mainWindow) {
    setWindowTitle(QStringLiteral("Synchronize"));
    SetUpFixedDialog(this, kWidth, kHeight);

    seSyn = new SyncSpinEdit(this);
    seSyn->setGeometry(24, 8, 185, 22);
    Label1 = new QLabel(QStringLiteral("ms"), this);
    Label1->setGeometry(216, 11, 33, 13);

    int captionSize = 11;
    for (const StepButton& b : kStepButtons) {
        QPushButton* button = MakeButton(this, b.caption, b.place);
        captionSize = std::min(captionSize, FittingPixelSize(button));
        this->*b.member = button;
        const int32_t step = b.step;
        connect(button, &QPushButton::clicked, this, [this, step] { StepBy(step); });
    }
    // One size for the whole row, so that no caption is cut off and none looks out of place.
    for (const StepButton& b : kStepButtons) {
        QFont font = (this->*b.member)->font();
        font.setPixelSize(captionSize);
        (this->*b.member)->setFont(font);
    }
    Button1 = MakeButton(this, "Reset", {32, 72, 57, 25});
    BitBtn1 = MakeButton(this, "OK", {120, 72, 75, 25});
    BitBtn2 = MakeButton(this, "Cancel", {200, 72, 75, 25});
    BitBtn1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TfmSynchronize::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TfmSynchronize::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TfmSynchronize::BitBtn2Click);

    lbSecondSyn = new QLabel(QStringLiteral("Second subtitle"), this);
    lbSecondSyn->setObjectName("lbSecondSyn");
    lbSecondSyn->setGeometry(8, kSecondRowTop + 3, 92, 13);
    seSecondSyn = new SyncSpinEdit(this);
    seSecondSyn->setObjectName("seSecondSyn");
    seSecondSyn->setGeometry(104, kSecondRowTop, 105, 22);
    auto* unit = new QLabel(QStringLiteral("ms"), this);
    unit->setGeometry(216, kSecondRowTop + 3, 33, 13);
    ShowSecondRow(false);
}

void TfmSynchronize::ShowSecondRow(bool shown) {
    for (QWidget* row : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (row->geometry().top() >= kSecondRowTop) row->setVisible(shown);
    setFixedSize(kWidth, shown ? kSecondRowTop + 34 : kHeight);
}

int32_t TfmSynchronize::SyncOffset() const { return seSyn->TextValue(); }

void TfmSynchronize::StepBy(int32_t step) { seSyn->AddStep(step); }

void TfmSynchronize::Button1Click() { seSyn->setValue(0); }

void TfmSynchronize::BitBtn1Click() { accept(); }

void TfmSynchronize::BitBtn2Click() {
    seSyn->setValue(0);
    QDialog::reject();
}

// Escape and the window manager's close do nothing: the dialog has no close button.
void TfmSynchronize::reject() {}

void TfmSynchronize::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOver(this, mainWindow_);
}

void TfmSynchronize::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace tessaview
