#pragma once

#include <QAbstractSpinBox>
#include <cstdint>

namespace vexlo {

// The timer's field of whole minutes: digits only, any number the settings
// file's integers can hold, so that what it shows is what is stored. An empty
// field counts as 0. The arrows step within 0 and that largest number. A
// value set from outside (a negative one from the file) shows as it is.
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
