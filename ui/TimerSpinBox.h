#pragma once

#include <QAbstractSpinBox>
#include <cstdint>

namespace vexlo {

// A spin field without bounds whose value is its text read as an integer:
// text that is no integer counts as 0 and is kept as typed until changed.
// The arrows step from that value, held within the 32-bit range.
class TimerSpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TimerSpinBox(QWidget* parent = nullptr);

    std::int32_t Value() const;
    void SetValue(std::int32_t value);
    QString Text() const;
    void SetText(const QString& text);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    StepEnabled stepEnabled() const override;
};

}  // namespace vexlo
