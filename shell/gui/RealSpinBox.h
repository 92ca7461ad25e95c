// A spin edit for a real number (the polar arc's angles) that reads typed
// text as every other numeric edit does, with "." as the decimal separator
// whatever the machine's locale; QDoubleSpinBox alone reads by the locale,
// so "2,5" would be 2.5 on one machine and 25 or nothing on another.
#pragma once

#include <QDoubleSpinBox>

namespace calvoro {

class RealSpinBox : public QDoubleSpinBox {
public:
    explicit RealSpinBox(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& position) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;
};

}  // namespace calvoro
