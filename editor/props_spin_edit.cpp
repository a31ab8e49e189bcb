#include "editor/props_spin_edit.h"

#include <QLineEdit>
#include <algorithm>
#include <cstdint>

TSpinEdit::TSpinEdit(QWidget* parent)
    : QAbstractSpinBox(parent)
{
    // The base class holds no value of its own here; without tracking it
    // leaves the text alone and we read it ourselves.
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::Changed);
    lineEdit()->setText(QStringLiteral("0"));
}

void TSpinEdit::SetRange(int AMinValue, int AMaxValue)
{
    FMinValue = AMinValue;
    FMaxValue = std::max(AMinValue, AMaxValue);
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const int v = lineEdit()->text().toInt(&ok);
    return ok ? v : FMinValue;
}

void TSpinEdit::SetValue(int AValue)
{
    const QString t = QString::number(std::clamp(AValue, FMinValue, FMaxValue));
    if (lineEdit()->text() != t)
        lineEdit()->setText(t);
}

void TSpinEdit::Clear()
{
    lineEdit()->clear();
}

bool TSpinEdit::IsEmpty() const
{
    return lineEdit()->text().isEmpty();
}

void TSpinEdit::stepBy(int steps)
{
    // 64 bits: a typed value near the 32-bit limit plus a step must not wrap.
    const int64_t v = static_cast<int64_t>(Value()) + steps;
    SetValue(static_cast<int>(std::clamp<int64_t>(v, FMinValue, FMaxValue)));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    StepEnabled e = StepNone;
    if (Value() < FMaxValue)
        e |= StepUpEnabled;
    if (Value() > FMinValue)
        e |= StepDownEnabled;
    return e;
}

QValidator::State TSpinEdit::validate(QString& input, int&) const
{
    // Digits with an optional leading minus; the empty text and a lone sign
    // are allowed on the way to a number.
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c.isDigit() && c.unicode() < 128)
            continue;
        if (c == u'-' && i == 0)
            continue;
        return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}
