#include "shell/gui/ColorBox.h"

#include <QPixmap>
#include <QSignalBlocker>
#include <array>
#include <utility>

namespace calvoro {

namespace {
const std::array<std::pair<TColor, const char*>, 16> kStandardColors = {{
    {clBlack, "Black"}, {clMaroon, "Maroon"}, {clGreen, "Green"},   {clOlive, "Olive"},
    {clNavy, "Navy"},   {clPurple, "Purple"}, {clTeal, "Teal"},     {clGray, "Gray"},
    {clSilver, "Silver"}, {clRed, "Red"},     {clLime, "Lime"},     {clYellow, "Yellow"},
    {clBlue, "Blue"},   {clFuchsia, "Fuchsia"}, {clAqua, "Aqua"},   {clWhite, "White"},
}};

QPixmap Swatch(TColor color) {
    QPixmap swatch(16, 12);
    swatch.fill(ToQColor(color));
    return swatch;
}
}  // namespace

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent) {
    for (const auto& [value, name] : kStandardColors) addItem(Swatch(value), name, value);
    connect(this, &QComboBox::activated, this, [this] { emit colorPicked(color()); });
}

TColor ColorBox::color() const {
    return currentIndex() < 0 ? clBlack : static_cast<TColor>(currentData().toInt());
}

void ColorBox::setColor(TColor color) {
    const QSignalBlocker blocker(this);
    const int index = findData(color);
    if (index >= 0 && index != customIndex_) {
        setCurrentIndex(index);
        return;
    }
    if (customIndex_ < 0) {
        addItem(QString());
        customIndex_ = count() - 1;
    }
    setItemText(customIndex_, QStringLiteral("Custom"));
    setItemIcon(customIndex_, Swatch(color));
    setItemData(customIndex_, color);
    setCurrentIndex(customIndex_);
}

}  // namespace calvoro
