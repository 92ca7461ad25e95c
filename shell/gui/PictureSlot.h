// The 2D view's place in the main window: the drawing's viewport sits in it,
// over the view's background colour.
#pragma once

#include <QColor>
#include <QWidget>

namespace calvoro {

class PictureSlot : public QWidget {
    Q_OBJECT
public:
    explicit PictureSlot(QWidget* parent = nullptr);
    void setBackgroundColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor background_{128, 128, 128};
};

}  // namespace calvoro
