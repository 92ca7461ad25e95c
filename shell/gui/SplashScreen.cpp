#include "shell/gui/SplashScreen.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include "shell/app/AppInfo.h"

namespace calvoro {

namespace {
QPixmap Logo() {
    QPixmap logo(420, 220);
    QPainter painter(&logo);
    QLinearGradient relief(0, 0, 420, 220);
    relief.setColorAt(0, QColor(20, 20, 20));
    relief.setColorAt(1, QColor(235, 235, 235));
    painter.fillRect(logo.rect(), relief);
    painter.setPen(QColor(255, 255, 255));
    QFont title = painter.font();
    title.setPointSize(32);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(2, 2, 416, 150), Qt::AlignCenter, QString::fromStdString(ProductName()));
    title.setPointSize(11);
    title.setBold(false);
    painter.setFont(title);
    painter.drawText(QRect(2, 140, 416, 60), Qt::AlignCenter,
                     QString::fromStdString("Version " + VersionText()));
    return logo;
}
}  // namespace

SplashScreen::SplashScreen() : QSplashScreen(Logo(), Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint) {
    setObjectName("SplashScreen");
    setWindowOpacity(120.0 / 255.0);
}

void SplashScreen::closeAfter(int milliseconds) {
    QTimer::singleShot(milliseconds, this, [this] {
        close();
        deleteLater();
    });
}

}  // namespace calvoro
