#include "engine/gui/ToolPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace calvoro {

QPixmap ToolPicture(ToolType type, int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    painter.setPen(QPen(QColor(40, 40, 40), 0.6));
    painter.setBrush(QColor(170, 180, 195));
    painter.drawRect(QRectF(6, 0.5, 4, 6));  // the shank
    QPainterPath cutter;
    switch (type) {
        case ToolType::Flat:
            cutter.addRect(QRectF(4, 6.5, 8, 9));
            break;
        case ToolType::BullNose:
            // One outline: square at the shank, rounded at the two tip corners.
            cutter.moveTo(4, 6.5);
            cutter.lineTo(12, 6.5);
            cutter.lineTo(12, 13);
            cutter.arcTo(QRectF(7, 10.5, 5, 5), 0, -90);
            cutter.lineTo(6.5, 15.5);
            cutter.arcTo(QRectF(4, 10.5, 5, 5), 270, -90);
            cutter.closeSubpath();
            break;
        case ToolType::Spherical:
            cutter.moveTo(4, 6.5);
            cutter.lineTo(12, 6.5);
            cutter.lineTo(12, 11.5);
            cutter.arcTo(QRectF(4, 7.5, 8, 8), 0, -180);
            cutter.closeSubpath();
            break;
        case ToolType::ConicalFlat:
            cutter.moveTo(4, 6.5);
            cutter.lineTo(12, 6.5);
            cutter.lineTo(9, 15.5);
            cutter.lineTo(7, 15.5);
            cutter.closeSubpath();
            break;
        case ToolType::Drill:
            cutter.moveTo(5, 6.5);
            cutter.lineTo(11, 6.5);
            cutter.lineTo(11, 12.5);
            cutter.lineTo(8, 15.5);
            cutter.lineTo(5, 12.5);
            cutter.closeSubpath();
            break;
        case ToolType::ConicalSpherical:
            cutter.moveTo(4, 6.5);
            cutter.lineTo(12, 6.5);
            cutter.lineTo(9.4, 13.8);
            cutter.arcTo(QRectF(6.5, 12.5, 3, 3), 0, -180);
            cutter.closeSubpath();
            break;
        case ToolType::Undefined:
            painter.drawText(QRectF(3, 6, 10, 10), Qt::AlignCenter, "?");
            return picture;
    }
    painter.drawPath(cutter);
    return picture;
}

}  // namespace calvoro
