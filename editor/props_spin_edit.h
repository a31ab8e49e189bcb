#pragma once
// The number field of the properties panel. Unlike QSpinBox it keeps whatever
// integer the user has typed, inside its range or not, so the panel can apply
// each keystroke as it comes (a "0" typed on the way to "05", an empty field
// while retyping) instead of a value the box has quietly corrected.
#include <QAbstractSpinBox>

class TSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    void SetRange(int AMinValue, int AMaxValue);
    int MinValue() const { return FMinValue; }
    int MaxValue() const { return FMaxValue; }

    // The typed text as an integer, not limited to the range; the range
    // minimum when the text is no number (empty, a lone sign, too large).
    int Value() const;
    // Limits AValue to the range and shows it.
    void SetValue(int AValue);
    // No number shown: the field stands for several values that differ.
    void Clear();
    bool IsEmpty() const;

    void stepBy(int steps) override;

signals:
    // Every change of the text, typed or set.
    void Changed();

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    int FMinValue = 0;
    int FMaxValue = 100;
};
