// The synchronize dialog: one signed offset in milliseconds, changed only in fixed steps.
#pragma once

#include <QDialog>
#include <cstdint>

class QPushButton;
class QLabel;

namespace tessaview {

class SyncSpinEdit;  // a spin edit that cannot be typed into, without limits

class TfmSynchronize : public QDialog {
    Q_OBJECT
public:
    explicit TfmSynchronize(QWidget* mainWindow);

    // The current offset in milliseconds, read afresh from seSyn (0 when it is not a number).
    int32_t SyncOffset() const;

    SyncSpinEdit* seSyn = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* SpeedButton8 = nullptr;  // -10s
    QPushButton* SpeedButton1 = nullptr;  // -1s
    QPushButton* SpeedButton2 = nullptr;  // -100ms
    QPushButton* SpeedButton5 = nullptr;  // -10ms
    QPushButton* SpeedButton6 = nullptr;  // +10ms
    QPushButton* SpeedButton3 = nullptr;  // +100ms
    QPushButton* SpeedButton4 = nullptr;  // +1s
    QPushButton* SpeedButton7 = nullptr;  // +10s
    QPushButton* Button1 = nullptr;       // Reset
    QPushButton* BitBtn1 = nullptr;       // OK
    QPushButton* BitBtn2 = nullptr;       // Cancel
    // The second subtitle's own offset, in a row below the buttons while one is loaded.
    SyncSpinEdit* seSecondSyn = nullptr;
    QLabel* lbSecondSyn = nullptr;
    void ShowSecondRow(bool shown);

    // Adds a step button's step to seSyn (the value stops at the ends of the 32-bit range).
    void StepBy(int32_t step);
    void Button1Click();  // Reset: 0, stays open
    void BitBtn1Click();  // OK: closes, keeps the value
    void BitBtn2Click();  // Cancel: 0, then closes

    void reject() override;  // only OK and Cancel close the dialog

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* mainWindow_ = nullptr;
};

}  // namespace tessaview
