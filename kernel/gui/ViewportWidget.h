// The window of a viewport: shows the viewport's screen image and hands the
// window's size, mouse, keys and hover to the viewport core (and through it to
// the interaction program). An expose of the window only shows the screen
// image again: the view is not redrawn and its XOR marks stay.
#pragma once

#include "kernel/view/TQVViewport.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace calvoro {

class QImageViewSurface;
class TQVViewport2D;

class ViewportWidget : public QWidget {
    Q_OBJECT
public:
    using WheelEvent = std::function<void(int steps, int x, int y)>;
    using ErrorEvent = std::function<void(const std::string& message)>;

    // A 2D viewport core over two QImages, owned by the widget.
    explicit ViewportWidget(QWidget* parent = nullptr);
    ~ViewportWidget() override;

    TQVViewport2D& Viewport() const { return *viewport_; }
    const QImage& ScreenImage() const;

    // The wheel, in steps of one notch (positive away from the user).
    void SetOnWheel(WheelEvent handler) { onWheel_ = std::move(handler); }
    // Failures of the handlers behind the window's events; never passed to Qt.
    void SetOnError(ErrorEvent handler) { onError_ = std::move(handler); }

    // Windows key numbers of a Qt key (letters and digits as their upper-case code).
    static std::uint16_t VirtualKeyOf(int qtKey);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    template <class F>
    void Guarded(F f);

    std::unique_ptr<TQVViewport2D> viewport_;
    QImageViewSurface* screen_ = nullptr;
    WheelEvent onWheel_;
    ErrorEvent onError_;
    int wheelRemainder_ = 0;
};

}  // namespace calvoro
