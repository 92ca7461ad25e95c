#include "shell/gui/ColorBox.h"

#include <QPixmap>
#include <QSignalBlocker>
#include <array>
#include <utility>

#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {
const std::array<std::pair<TColor, const char*>, 16> kStandardColors = {{
    {clBlack, "Black"}, {clMaroon, "Maroon"}, {clGreen, "Green"},   {clOlive, "Olive"},
    {clNavy, "Navy"},   {clPurple, "Purple"}, {clTeal, "Teal"},     {clGray, "Gray"},
    {clSilver, "Silver"}, {clRed, "Red"},     {clLime, "Lime"},     {clYellow, "Yellow"},
    {clBlue, "Blue"},   {clFuchsia, "Fuchsia"}, {clAqua, "Aqua"},   {clWhite, "White"},
}};

// The language file's numbers of the names above, then of "Custom".
constexpr int kFirstColorName = 1003;
constexpr int kCustomName = kFirstColorName + 16;

QString ColorName(int number, const char* design) {
    return QString::fromStdString(LangStringOr(std::to_string(number), design));
}

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

void ColorBox::NameColors() {
    for (int i = 0; i < static_cast<int>(kStandardColors.size()); ++i)
        setItemText(i, ColorName(kFirstColorName + i, kStandardColors[static_cast<std::size_t>(i)].second));
    if (customIndex_ >= 0) setItemText(customIndex_, ColorName(kCustomName, "Custom"));
}

void ColorBox::showEvent(QShowEvent* event) {
    NameColors();
    QComboBox::showEvent(event);
}

void ColorBox::showPopup() {
    NameColors();
    QComboBox::showPopup();
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
    setItemText(customIndex_, ColorName(kCustomName, "Custom"));
    setItemIcon(customIndex_, Swatch(color));
    setItemData(customIndex_, color);
    setCurrentIndex(customIndex_);
}

}  // namespace calvoro
