// A drop-down of colours holding the colour values the settings file stores.
// It lists the sixteen standard colours by name; any other value (a system
// colour, a colour picked elsewhere) shows as one extra "Custom" entry, so a
// colour is never changed just by being shown.
#pragma once

#include <QColor>
#include <QComboBox>

#include "kernel/draw/Color.h"

namespace calvoro {

// The colour a stored value paints with (system colours get their fixed
// stand-ins).
QColor ToQColor(TColor color);

class ColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorBox(QWidget* parent = nullptr);

    TColor color() const;
    // Selects the value without telling anyone.
    void setColor(TColor color);
    // The colour names in the language in force (also done on every show).
    void NameColors();

protected:
    void showEvent(QShowEvent* event) override;
    void showPopup() override;

signals:
    // The user picked a colour.
    void colorPicked(TColor color);

private:
    int customIndex_ = -1;
};

}  // namespace calvoro
