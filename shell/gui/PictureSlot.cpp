#include "shell/gui/PictureSlot.h"

#include <QPainter>

namespace calvoro {

PictureSlot::PictureSlot(QWidget* parent) : QWidget(parent) {
    setObjectName("pnlVistaGrafica");
    setMinimumSize(200, 200);
}

void PictureSlot::setBackgroundColor(const QColor& color) {
    background_ = color;
    update();
}

void PictureSlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
}

}  // namespace calvoro
