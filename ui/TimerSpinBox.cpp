#include "TimerSpinBox.h"

#include <QLineEdit>
#include <algorithm>
#include <limits>

#include "SettingsStore.h"

namespace vexlo {

TimerSpinBox::TimerSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    SetValue(0);
}

std::int32_t TimerSpinBox::Value() const {
    return ParseSettingsInteger(lineEdit()->text().toStdString()).value_or(0);
}

void TimerSpinBox::SetValue(std::int32_t value) {
    lineEdit()->setText(QString::number(value));
}

QString TimerSpinBox::Text() const {
    return lineEdit()->text();
}

void TimerSpinBox::SetText(const QString& text) {
    lineEdit()->setText(text);
}

void TimerSpinBox::stepBy(int steps) {
    const std::int64_t next = std::clamp<std::int64_t>(std::int64_t{Value()} + steps, 0,
                                                       std::numeric_limits<std::int32_t>::max());
    SetValue(static_cast<std::int32_t>(next));
    lineEdit()->selectAll();
}

QValidator::State TimerSpinBox::validate(QString& input, int&) const {
    if (input.isEmpty()) {
        return QValidator::Intermediate;
    }
    for (const QChar c : input) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return QValidator::Invalid;
        }
    }
    // Leading zeros may stand while typing; a number beyond what the file
    // holds may not, since it would be stored as another.
    return ParseSettingsInteger(input.toStdString()) ? QValidator::Acceptable : QValidator::Invalid;
}

void TimerSpinBox::fixup(QString& input) const {
    if (input.isEmpty()) {
        input = QStringLiteral("0");
    }
}

QAbstractSpinBox::StepEnabled TimerSpinBox::stepEnabled() const {
    const std::int32_t value = Value();
    StepEnabled enabled = StepNone;
    if (value > 0) {
        enabled |= StepDownEnabled;
    }
    if (value < std::numeric_limits<std::int32_t>::max()) {
        enabled |= StepUpEnabled;
    }
    return enabled;
}

}  // namespace vexlo
