#include "shell/gui/ScreenCursors.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <array>
#include <optional>

namespace calvoro {

namespace {

constexpr int kSize = 32;
constexpr int kHot = 15;

std::array<std::optional<QCursor>, kScreenCursorCount>& Cursors() {
    static std::array<std::optional<QCursor>, kScreenCursorCount> cursors;
    return cursors;
}

int& Current() {
    static int current = 0;
    return current;
}

// A thin cross with its centre left open, and the snap mark in the lower right.
QCursor CrossCursor(int mark) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    for (const auto& [pen, width] : {std::pair{QColor(Qt::white), 3}, std::pair{QColor(Qt::black), 1}}) {
        painter.setPen(QPen(pen, width));
        painter.drawLine(kHot, 2, kHot, kHot - 3);
        painter.drawLine(kHot, kHot + 3, kHot, kSize - 3);
        painter.drawLine(2, kHot, kHot - 3, kHot);
        painter.drawLine(kHot + 3, kHot, kSize - 3, kHot);
    }
    painter.setPen(QPen(Qt::black, 1));
    const QRect box(kHot + 5, kHot + 5, 8, 8);
    switch (mark) {
        case 3: painter.drawRect(box); break;                                     // end point
        case 4: painter.drawPolygon(QPolygon({box.bottomLeft(), box.bottomRight(),
                                              QPoint(box.center().x(), box.top())})); break;  // mid point
        case 5: painter.drawEllipse(box); break;                                  // centre
        case 6: painter.drawLine(box.topLeft(), box.bottomRight());
                painter.drawLine(box.bottomLeft(), box.topRight()); break;        // point
        default: break;
    }
    return QCursor(pixmap, kHot, kHot);
}

}  // namespace

void InstallScreenCursors() {
    if (Cursors()[0]) return;
    Cursors()[0] = QCursor(Qt::OpenHandCursor);
    for (int number = 2; number <= kScreenCursorCount; ++number) Cursors()[number - 1] = CrossCursor(number);
}

QCursor ScreenCursor(int number) {
    InstallScreenCursors();
    if (number < 1 || number > kScreenCursorCount) return QCursor(Qt::ArrowCursor);
    return *Cursors()[static_cast<std::size_t>(number - 1)];
}

void SetScreenCursor(int number) {
    if (number < 1 || number > kScreenCursorCount) number = 0;
    if (number == Current()) return;
    if (number == 0)
        QGuiApplication::restoreOverrideCursor();
    else if (Current() == 0)
        QGuiApplication::setOverrideCursor(ScreenCursor(number));
    else
        QGuiApplication::changeOverrideCursor(ScreenCursor(number));
    Current() = number;
}

int CurrentScreenCursor() {
    return Current();
}

}  // namespace calvoro
