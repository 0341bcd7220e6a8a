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
    const std::int64_t next = std::clamp<std::int64_t>(std::int64_t{Value()} + steps,
                                                       std::numeric_limits<std::int32_t>::min(),
                                                       std::numeric_limits<std::int32_t>::max());
    SetValue(static_cast<std::int32_t>(next));
    lineEdit()->selectAll();
}

QValidator::State TimerSpinBox::validate(QString&, int&) const {
    return QValidator::Acceptable;  // any text may stand; it reads as 0 when no integer
}

void TimerSpinBox::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled TimerSpinBox::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

}  // namespace vexlo
