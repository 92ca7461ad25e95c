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

void PictureSlot::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureSlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), background_);
    if (picture_.isNull()) return;
    const QSize size = picture_.size().scaled(this->size() * 0.9, Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size), picture_);
}

}  // namespace calvoro
