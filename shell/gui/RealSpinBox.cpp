#include "shell/gui/RealSpinBox.h"

#include <QLocale>

#include "kernel/platform/NumberReading.h"

namespace calvoro {

RealSpinBox::RealSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    setLocale(QLocale::c());
}

QValidator::State RealSpinBox::validate(QString& input, int&) const {
    if (const auto value = ReadNumber(input.toStdString()))
        return *value >= minimum() && *value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    // A text on its way to a number ("", "-", "1e", "2.") may still become
    // one; a letter or a comma never does.
    for (const QChar c : input)
        if (!c.isDigit() && !QStringLiteral("+-.eE \t").contains(c)) return QValidator::Invalid;
    return QValidator::Intermediate;
}

double RealSpinBox::valueFromText(const QString& text) const {
    return ReadNumber(text.toStdString()).value_or(value());
}

QString RealSpinBox::textFromValue(double value) const {
    return QLocale::c().toString(value, 'f', decimals());
}

}  // namespace calvoro
