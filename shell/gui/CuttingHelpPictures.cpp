#include "shell/gui/CuttingHelpPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace calvoro {

namespace {

const QColor kRelief(150, 150, 150);
const QColor kMark(200, 30, 30);
const QColor kTool(60, 90, 170);

// The relief seen from the side: a soft hill over the lower part.
double ReliefY(double x, int width, int height) {
    const double t = x / width;
    return height - 12.0 - 26.0 * std::exp(-std::pow((t - 0.5) * 3.0, 2.0));
}

QPainterPath ReliefPath(int width, int height, double lift = 0.0) {
    QPainterPath path;
    path.moveTo(0, ReliefY(0, width, height) - lift);
    for (int x = 2; x <= width; x += 2) path.lineTo(x, ReliefY(x, width, height) - lift);
    return path;
}

void DrawSide(QPainter& p, int width, int height) {
    QPainterPath solid = ReliefPath(width, height);
    solid.lineTo(width, height);
    solid.lineTo(0, height);
    solid.closeSubpath();
    p.fillPath(solid, kRelief);
}

// A ball cutter standing with its tip at (x, tipY).
void DrawBall(QPainter& p, double x, double tipY) {
    p.setPen(Qt::NoPen);
    p.setBrush(kTool);
    p.drawEllipse(QPointF(x, tipY - 6), 6, 6);
    p.drawRect(QRectF(x - 6, tipY - 30, 12, 24));
}

void Arrow(QPainter& p, QPointF from, QPointF to) {
    p.setPen(QPen(kMark, 1.5));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    if (length <= 0) return;
    const QPointF u = d / length, n(-u.y(), u.x());
    p.drawLine(to, to - 5 * u + 3 * n);
    p.drawLine(to, to - 5 * u - 3 * n);
    p.drawLine(from, from + 5 * u + 3 * n);
    p.drawLine(from, from + 5 * u - 3 * n);
}

// The raster seen from above: zig-zag lines along X, along Y, or both.
void DrawRaster(QPainter& p, int width, int height, bool alongX, bool alongY) {
    const QRectF work(20, 8, width - 40, height - 16);
    p.setPen(QPen(kRelief, 1));
    p.drawRect(work);
    p.setPen(QPen(kMark, 1));
    if (alongX)
        for (double y = work.top() + 6; y < work.bottom(); y += 8) p.drawLine(QPointF(work.left(), y), QPointF(work.right(), y));
    if (alongY)
        for (double x = work.left() + 6; x < work.right(); x += 8) p.drawLine(QPointF(x, work.top()), QPointF(x, work.bottom()));
    if (!alongX && !alongY) {
        p.drawLine(work.topLeft(), work.bottomRight());
        p.drawLine(work.topRight(), work.bottomLeft());
    }
}

}  // namespace

QPixmap CuttingHelpPicture(int resource, int width, int height) {
    if (resource < 101 || resource > 112 || resource == 110) return {};
    QPixmap picture(width, height);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double middle = width / 2.0;
    switch (resource) {
        case 101: {  // feed plane: the height of the rapid moves
            DrawSide(p, width, height);
            p.setPen(QPen(kMark, 1.5, Qt::DashLine));
            p.drawLine(QPointF(0, 14), QPointF(width, 14));
            DrawBall(p, width * 0.2, 14);
            break;
        }
        case 102: {  // step over: the distance between two raster lines
            DrawSide(p, width, height);
            DrawBall(p, middle - 14, ReliefY(middle - 14, width, height));
            DrawBall(p, middle + 14, ReliefY(middle + 14, width, height));
            Arrow(p, QPointF(middle - 14, 10), QPointF(middle + 14, 10));
            break;
        }
        case 103: {  // stock: material left above the relief
            DrawSide(p, width, height);
            p.setPen(QPen(kMark, 1.5));
            p.drawPath(ReliefPath(width, height, 6));
            break;
        }
        case 104:    // depth passes: the relief reached in several levels
        case 105: {  // Z step: the depth of each level
            DrawSide(p, width, height);
            p.setPen(QPen(kMark, 1, Qt::DashLine));
            for (int level = 0; level < 3; ++level) p.drawLine(QPointF(0, 18 + 12 * level), QPointF(width, 18 + 12 * level));
            if (resource == 105) Arrow(p, QPointF(width * 0.85, 18), QPointF(width * 0.85, 30));
            break;
        }
        case 106:
            DrawRaster(p, width, height, true, false);
            break;
        case 107:
            DrawRaster(p, width, height, false, true);
            break;
        case 108:
            DrawRaster(p, width, height, true, true);
            break;
        case 109:
            DrawRaster(p, width, height, false, false);
            break;
        case 111: {  // filter: the path as fewer, straight moves near the relief
            DrawSide(p, width, height);
            p.setPen(QPen(kMark, 1.5));
            QPolygonF moves;
            for (int x = 0; x <= width; x += width / 6) moves << QPointF(x, ReliefY(x, width, height) - 2);
            p.drawPolyline(moves);
            break;
        }
        case 112: {  // Z no cut: the level of the picked point stays as it is
            DrawSide(p, width, height);
            p.fillRect(QRectF(0, height - 18, width, 6), kMark);
            break;
        }
        default:
            break;
    }
    return picture;
}

}  // namespace calvoro
