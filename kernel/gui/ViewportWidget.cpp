// The viewport's window.
#include "kernel/gui/ViewportWidget.h"

#include "kernel/gui/QImageViewSurface.h"
#include "kernel/view/TQVViewport2D.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <exception>
#include <iostream>

namespace calvoro {

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= Shift::Shift;
    if (modifiers & Qt::AltModifier) shift |= Shift::Alt;
    if (modifiers & Qt::ControlModifier) shift |= Shift::Ctrl;
    if (buttons & Qt::LeftButton) shift |= Shift::Left;
    if (buttons & Qt::RightButton) shift |= Shift::Right;
    if (buttons & Qt::MiddleButton) shift |= Shift::Middle;
    return shift;
}

TMouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return TMouseButton::mbLeft;
        case Qt::RightButton:
            return TMouseButton::mbRight;
        case Qt::MiddleButton:
            return TMouseButton::mbMiddle;
        default:
            return TMouseButton::mbNone;
    }
}

}  // namespace

ViewportWidget::ViewportWidget(QWidget* parent) : QWidget(parent) {
    auto screen = std::make_unique<QImageViewSurface>();
    screen_ = screen.get();
    viewport_ = std::make_unique<TQVViewport2D>(std::make_unique<QImageViewSurface>(), std::move(screen));
    viewport_->SetOnScreenChanged([this](const TPixelRect& r) { update(r.Left, r.Top, r.Width(), r.Height()); });
    // The widget paints every pixel itself from the screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

ViewportWidget::~ViewportWidget() = default;

const QImage& ViewportWidget::ScreenImage() const {
    return screen_->Image();
}

template <class F>
void ViewportWidget::Guarded(F f) {
    try {
        f();
    } catch (const std::exception& e) {
        if (onError_) {
            onError_(e.what());
        } else {
            std::cerr << e.what() << '\n';
        }
    } catch (...) {
        if (onError_) onError_("Unknown error");
    }
}

void ViewportWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect r = event->rect();
    painter.drawImage(r, screen_->Image(), r);
}

void ViewportWidget::resizeEvent(QResizeEvent* /*event*/) {
    Guarded([&] { viewport_->Resize(width(), height()); });
}

void ViewportWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Guarded([&] { viewport_->DeliverMouseMove(ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y()); });
}

void ViewportWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Guarded([&] {
        viewport_->DeliverMouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), p.x(),
                                    p.y());
    });
}

void ViewportWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Guarded([&] {
        viewport_->DeliverMouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), p.x(),
                                  p.y());
    });
}

void ViewportWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt sends this in place of the second press: the double click, then
    // the press, as the program expects them.
    const QPoint p = event->position().toPoint();
    Guarded([&] {
        viewport_->DeliverDoubleClick(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), p.x(),
                                      p.y());
    });
}

std::uint16_t ViewportWidget::VirtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Escape:
            return VirtualKey::Escape;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VirtualKey::Return;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Delete:
            return 46;
        default:
            if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
                return static_cast<std::uint16_t>(qtKey);
            }
            if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
                return static_cast<std::uint16_t>(112 + qtKey - Qt::Key_F1);
            return 0;
    }
}

void ViewportWidget::keyPressEvent(QKeyEvent* event) {
    const std::uint16_t key = VirtualKeyOf(event->key());
    Guarded([&] { viewport_->DeliverKeyDown(key, ShiftOf(event->modifiers(), {})); });
    QWidget::keyPressEvent(event);
}

void ViewportWidget::keyReleaseEvent(QKeyEvent* event) {
    const std::uint16_t key = VirtualKeyOf(event->key());
    Guarded([&] { viewport_->DeliverKeyUp(key, ShiftOf(event->modifiers(), {})); });
    QWidget::keyReleaseEvent(event);
}

void ViewportWidget::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / 120;
    wheelRemainder_ -= steps * 120;
    const QPoint p = event->position().toPoint();
    if (steps != 0 && onWheel_) Guarded([&] { onWheel_(steps, p.x(), p.y()); });
    event->accept();
}

void ViewportWidget::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    Guarded([&] { viewport_->MouseEnter(); });
}

void ViewportWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    Guarded([&] { viewport_->MouseLeave(); });
}

}  // namespace calvoro
