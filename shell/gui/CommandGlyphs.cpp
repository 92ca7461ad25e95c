// The command pictures: a few strokes on a 24-pixel square.
#include "shell/gui/CommandGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace calvoro {

namespace {

constexpr int kSize = 24;

void Cross(QPainter& p, QPointF c, double r) {
    p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
    p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
}

void Draw(QPainter& p, int index) {
    const QPen thin(QColor(20, 20, 120), 1.6, Qt::SolidLine, Qt::RoundCap);
    const QPen accent(QColor(190, 30, 30), 1.6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(thin);
    switch (index) {
        case 33:  // circle, centre and point
            p.drawEllipse(QPointF(12, 12), 8, 8);
            p.setPen(accent);
            p.drawPoint(QPointF(12, 12));
            p.drawLine(QPointF(12, 12), QPointF(20, 12));
            break;
        case 1:  // circle, centre and diameter
            p.drawEllipse(QPointF(12, 12), 8, 8);
            p.setPen(accent);
            p.drawLine(QPointF(4, 12), QPointF(20, 12));
            break;
        case 2:
        case 3:  // arcs
            p.drawArc(QRectF(4, 4, 16, 16), 0, 180 * 16);
            p.setPen(accent);
            p.drawPoint(QPointF(12, 12));
            if (index == 3) p.drawLine(QPointF(12, 12), QPointF(4, 12));
            break;
        case 32:  // arc tangent
            p.drawLine(QPointF(3, 20), QPointF(21, 20));
            p.setPen(accent);
            p.drawArc(QRectF(6, 6, 14, 14), 0, 360 * 16);
            break;
        case 6: {  // fillet
            QPainterPath path(QPointF(4, 20));
            path.lineTo(4, 11);
            path.quadTo(4, 4, 11, 4);
            path.lineTo(20, 4);
            p.drawPath(path);
            break;
        }
        case 7:  // trim to the corner
            p.drawLine(QPointF(4, 20), QPointF(4, 4));
            p.drawLine(QPointF(4, 4), QPointF(20, 4));
            p.setPen(accent);
            p.drawLine(QPointF(4, 4), QPointF(4, 1));
            p.drawLine(QPointF(1, 4), QPointF(4, 4));
            break;
        case 12:  // break
            p.drawLine(QPointF(3, 12), QPointF(10, 12));
            p.drawLine(QPointF(14, 12), QPointF(21, 12));
            p.setPen(accent);
            p.drawLine(QPointF(12, 5), QPointF(12, 19));
            break;
        case 8:  // extend
            p.drawLine(QPointF(3, 12), QPointF(14, 12));
            p.drawLine(QPointF(20, 4), QPointF(20, 20));
            p.setPen(accent);
            p.drawLine(QPointF(14, 12), QPointF(20, 12));
            break;
        case 9:  // change layer
            p.drawRect(QRectF(4, 4, 12, 8));
            p.setPen(accent);
            p.drawRect(QRectF(8, 12, 12, 8));
            break;
        case 11:  // move node
            p.drawLine(QPointF(3, 20), QPointF(12, 8));
            p.drawLine(QPointF(12, 8), QPointF(21, 18));
            p.setPen(accent);
            p.drawRect(QRectF(9, 5, 6, 6));
            break;
        case 24:  // explode
            p.drawRect(QRectF(7, 7, 10, 10));
            p.setPen(accent);
            for (QPointF d : {QPointF(-1, -1), QPointF(1, -1), QPointF(1, 1), QPointF(-1, 1)})
                p.drawLine(QPointF(12, 12) + 6 * d, QPointF(12, 12) + 10 * d);
            break;
        case 18:  // copy
            p.drawRect(QRectF(3, 3, 11, 11));
            p.setPen(accent);
            p.drawRect(QRectF(10, 10, 11, 11));
            break;
        case 13:  // translate
            p.drawRect(QRectF(3, 11, 8, 8));
            p.setPen(accent);
            p.drawLine(QPointF(11, 11), QPointF(20, 4));
            p.drawLine(QPointF(20, 4), QPointF(15, 5));
            p.drawLine(QPointF(20, 4), QPointF(19, 9));
            break;
        case 14:  // rotate
            p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 280 * 16);
            p.setPen(accent);
            p.drawLine(QPointF(19, 8), QPointF(20, 3));
            break;
        case 15:  // mirror
            p.drawPolygon(QPolygonF({QPointF(3, 18), QPointF(10, 18), QPointF(10, 6)}));
            p.setPen(accent);
            p.drawPolygon(QPolygonF({QPointF(21, 18), QPointF(14, 18), QPointF(14, 6)}));
            break;
        case 16:  // scale
            p.drawRect(QRectF(3, 11, 8, 8));
            p.setPen(accent);
            p.drawRect(QRectF(3, 3, 18, 16));
            break;
        case 17:  // offset
            p.drawLine(QPointF(3, 16), QPointF(21, 16));
            p.setPen(accent);
            p.drawLine(QPointF(3, 8), QPointF(21, 8));
            break;
        case 19:
        case 26:  // delete, delete small
            p.setPen(accent);
            Cross(p, QPointF(12, 12), index == 19 ? 8 : 4);
            break;
        case 21:  // undelete
            p.drawArc(QRectF(5, 5, 14, 14), 90 * 16, 270 * 16);
            p.setPen(accent);
            p.drawLine(QPointF(12, 5), QPointF(8, 2));
            break;
        case 27:  // line
            p.drawLine(QPointF(4, 20), QPointF(20, 4));
            break;
        case 34:  // polyline
            p.drawPolyline(QPolygonF({QPointF(3, 20), QPointF(8, 6), QPointF(15, 17), QPointF(21, 4)}));
            break;
        case 28:
        case 30:  // line by length and angle
            p.drawLine(QPointF(4, 20), QPointF(20, 6));
            p.setPen(accent);
            p.drawLine(QPointF(4, 20), QPointF(20, 20));
            p.drawArc(QRectF(-4, 12, 16, 16), 0, 40 * 16);
            break;
        case 29:  // line tangent to two arcs
            p.drawEllipse(QPointF(7, 14), 4, 4);
            p.drawEllipse(QPointF(17, 12), 5, 5);
            p.setPen(accent);
            p.drawLine(QPointF(7, 18), QPointF(17, 17));
            break;
        case 31:  // perpendicular line
            p.drawLine(QPointF(3, 20), QPointF(21, 20));
            p.setPen(accent);
            p.drawLine(QPointF(12, 20), QPointF(12, 4));
            break;
        case 38:  // grid of points
            p.setPen(QPen(QColor(20, 20, 120), 3, Qt::SolidLine, Qt::RoundCap));
            for (int x = 5; x <= 19; x += 7)
                for (int y = 5; y <= 19; y += 7) p.drawPoint(QPointF(x, y));
            break;
        default:
            p.drawRect(QRectF(5, 5, 14, 14));
            break;
    }
}

}  // namespace

QIcon CommandGlyph(int index) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Draw(painter, index);
    painter.end();
    return QIcon(pixmap);
}

QIcon SnapGlyph(bool on) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 120, 120), 2, Qt::SolidLine, Qt::RoundCap));
    for (int x = 5; x <= 19; x += 7)
        for (int y = 5; y <= 19; y += 7) p.drawPoint(QPointF(x, y));
    p.setPen(QPen(on ? QColor(190, 30, 30) : QColor(120, 120, 120), 1.6));
    p.drawEllipse(QPointF(12, 12), 4, 4);
    if (on) Cross(p, QPointF(12, 12), 2);
    p.end();
    return QIcon(pixmap);
}

}  // namespace calvoro
