// The 2D view's place in the main window. Until the drawing's viewport sits
// in it, it shows the placed picture fitted to the slot over the view's
// background colour, so an opened picture can be seen at once.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace calvoro {

class PictureSlot : public QWidget {
    Q_OBJECT
public:
    explicit PictureSlot(QWidget* parent = nullptr);
    void setBackgroundColor(const QColor& color);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_{128, 128, 128};
    QImage picture_;
};

}  // namespace calvoro
