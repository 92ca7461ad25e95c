#include <QImage>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "shell/gui/View3D.h"

namespace calvoro {

namespace {

class ReliefTopWidget : public QWidget {
public:
    explicit ReliefTopWidget(QWidget* parent) : QWidget(parent) { setObjectName("GLViewPort"); }
    QColor background{128, 128, 128};
    QImage image;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), background);
        if (image.isNull()) return;
        const QSize size = image.size().scaled(this->size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size), image);
    }
};

class ReliefTopView : public View3D {
public:
    explicit ReliefTopView(QWidget* parent) : widget_(new ReliefTopWidget(parent)) {}
    QWidget* widget() override { return widget_; }
    void setBackgroundColor(const QColor& color) override {
        widget_->background = color;
        widget_->update();
    }
    void setRelief(std::shared_ptr<const HeightMap> shared, const ReliefValues& values) override {
        const HeightMap& map = *shared;
        QImage image(map.width(), map.height(), QImage::Format_Grayscale8);
        const float low = values.WhiteZ - values.DepthRange;
        for (int y = 0; y < map.height(); ++y) {
            uchar* line = image.scanLine(map.height() - 1 - y);
            for (int x = 0; x < map.width(); ++x) {
                // A flat relief (no depth range) is all white rather than NaN.
                const float t = values.DepthRange != 0 ? (map.at(x, y) - low) / values.DepthRange : 1.0f;
                line[x] = static_cast<uchar>(std::lround(255.0f * std::clamp(t, 0.0f, 1.0f)));
            }
        }
        widget_->image = image;
        widget_->update();
    }
    void setWorkBox(const WorkBox&) override {}
    void clearPath() override {}
    void setSurface(Surface) override {}
    void setToolVisible(bool) override {}
    void setAxesVisible(bool) override {}
    void standardView(Standard) override {}

private:
    ReliefTopWidget* widget_;
};

}  // namespace

std::unique_ptr<View3D> MakeReliefTopView(QWidget* parent) {
    return std::make_unique<ReliefTopView>(parent);
}

}  // namespace calvoro
