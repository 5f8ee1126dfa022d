// The synchronize offset's spin edit: no limits, not typeable, stepped by 1 with auto-repeat.
#pragma once

#include <QLineEdit>
#include <QSpinBox>
#include <cstdint>

namespace tessaview {

class SyncSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit SyncSpinEdit(QWidget* parent = nullptr);

    // The value as its text reads (0 when the text is not a number).
    int32_t TextValue() const;
    // Adds `step`, stopping at the ends of the 32-bit range instead of wrapping.
    void AddStep(int64_t step);
    // The text field inside, read-only for the user.
    QLineEdit* Editor() const { return lineEdit(); }

    static constexpr int FirstRepeatMs = 400;
    static constexpr int RepeatMs = 100;

protected:
    // Plain decimal digits whatever the locale (Qt groups the digits of INT_MIN otherwise).
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace tessaview
