// The entity tree of the drawing on screen.
#include "shell/gui/EntityTreeView.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidget>
#include <array>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/tree/TEntityTree.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

constexpr int kImageSize = 16;

// A few strokes on a 16-pixel square, one picture per image index.
void DrawImage(QPainter& p, int index) {
    const QPen ink(QColor(20, 20, 120), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen accent(QColor(190, 30, 30), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    switch (index) {
        case 0:  // the drawing: a sheet with a folded corner
            p.drawPolygon(QPolygonF({QPointF(3, 1.5), QPointF(10, 1.5), QPointF(13, 4.5), QPointF(13, 14.5),
                                     QPointF(3, 14.5)}));
            p.setPen(accent);
            p.drawLine(QPointF(5, 11), QPointF(11, 7));
            break;
        case 1:  // a layer: sheets lying on each other
            p.drawPolygon(QPolygonF({QPointF(1.5, 9), QPointF(8, 6), QPointF(14.5, 9), QPointF(8, 12)}));
            p.setPen(accent);
            p.drawPolyline(QPolygonF({QPointF(1.5, 6), QPointF(8, 3), QPointF(14.5, 6)}));
            break;
        case 2:  // point
            p.setPen(accent);
            p.drawLine(QPointF(4, 8), QPointF(12, 8));
            p.drawLine(QPointF(8, 4), QPointF(8, 12));
            break;
        case 3:  // line
            p.drawLine(QPointF(2.5, 13.5), QPointF(13.5, 2.5));
            break;
        case 4:  // frame
            p.drawRect(QRectF(2.5, 4.5, 11, 7));
            break;
        case 5:  // arc
            p.drawArc(QRectF(2.5, 4, 11, 11), 0, 180 * 16);
            p.setPen(accent);
            p.drawPoint(QPointF(8, 9.5));
            break;
        case 6:  // circle
            p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
            p.setPen(accent);
            p.drawPoint(QPointF(8, 8));
            break;
        case 7:  // ellipse and other curves
            p.drawEllipse(QPointF(8, 8), 6.5, 3.5);
            break;
        case 8:  // polyline
            p.drawPolyline(QPolygonF({QPointF(1.5, 13), QPointF(5, 4), QPointF(10, 11), QPointF(14.5, 3)}));
            break;
        case 9: {  // spline
            QPainterPath path(QPointF(1.5, 12));
            path.cubicTo(QPointF(5, 0), QPointF(10, 17), QPointF(14.5, 4));
            p.drawPath(path);
            break;
        }
        case 10:  // picture: a frame with a hill and the sun
            p.drawRect(QRectF(1.5, 2.5, 13, 11));
            p.setPen(accent);
            p.drawPolyline(QPolygonF({QPointF(2.5, 12), QPointF(6.5, 7), QPointF(9, 10), QPointF(11, 8),
                                      QPointF(13.5, 12)}));
            p.drawEllipse(QPointF(11, 5.5), 1.2, 1.2);
            break;
        default:
            break;
    }
}

void AddChildren(QTreeWidgetItem* item, const EntityTreeNode& node) {
    for (const auto& child : node.Children) {
        auto* childItem = new QTreeWidgetItem(item, {QString::fromStdString(child->Caption)});
        childItem->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(child->Data));
        childItem->setData(0, EntityTreeView::ImageRole, child->ImageIndex);
        childItem->setIcon(0, EntityTreeView::Image(child->ImageIndex));
        AddChildren(childItem, *child);
    }
}

}  // namespace

QIcon EntityTreeView::Image(int index) {
    if (index < 0 || index >= ImageCount) return {};
    static const std::array<QIcon, ImageCount> images = [] {
        std::array<QIcon, ImageCount> made;
        for (int i = 0; i < ImageCount; ++i) {
            QPixmap pixmap(kImageSize, kImageSize);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            DrawImage(painter, i);
            painter.end();
            made[static_cast<std::size_t>(i)] = QIcon(pixmap);
        }
        return made;
    }();
    return images[static_cast<std::size_t>(index)];
}

EntityTreeView::EntityTreeView(QTreeWidget* widget, TQVCmp2D& drawing)
    : widget_(widget),
      drawing_(drawing),
      tree_(std::make_unique<TEntityTree>([](std::string_view key) { return LangMainText(key); })) {
    // A picture or a DXF file adds thousands of objects in one go: the
    // widget is refilled once afterwards, not once per object.
    tree_->SetOnChange([this] {
        if (refreshPending_) return;
        refreshPending_ = true;
        QTimer::singleShot(0, this, [this] {
            if (refreshPending_) Refresh();
        });
    });
    drawing_.SetTreeGeo(tree_.get());
}

EntityTreeView::~EntityTreeView() {
    if (drawing_.TreeGeo() == tree_.get()) drawing_.SetTreeGeo(nullptr);
}

void EntityTreeView::Refresh() {
    refreshPending_ = false;
    widget_->clear();
    const EntityTreeNode* root = tree_->Root();
    if (root == nullptr) return;
    auto* rootItem = new QTreeWidgetItem(widget_, {QString::fromStdString(root->Caption)});
    rootItem->setData(0, ImageRole, root->ImageIndex);
    rootItem->setIcon(0, Image(root->ImageIndex));
    AddChildren(rootItem, *root);
    widget_->expandAll();
}

}  // namespace calvoro
