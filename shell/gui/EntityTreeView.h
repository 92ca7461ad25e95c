// The entity tree of the drawing on screen: the kernel's tree model (one
// node per layer that holds entities, one per entity, captioned by kind in
// the user's language) mirrored into a tree widget, which follows every
// change of the drawing. Each node shows the small picture of its image
// index: 0 the drawing, 1 a layer, 2 to 10 the kinds of entity.
#pragma once

#include <QIcon>
#include <QObject>
#include <memory>

class QTreeWidget;

namespace calvoro {

class TEntityTree;
class TQVCmp2D;

class EntityTreeView : public QObject {
    Q_OBJECT
public:
    // Attaches a tree to the drawing, which must outlive this view; the
    // widget too.
    EntityTreeView(QTreeWidget* widget, TQVCmp2D& drawing);
    ~EntityTreeView() override;

    // Where an item keeps its node's image index.
    static constexpr int ImageRole = Qt::UserRole + 1;
    static constexpr int ImageCount = 11;
    // The picture of an image index; none outside 0 .. ImageCount - 1.
    static QIcon Image(int index);

    const TEntityTree& Tree() const { return *tree_; }
    // Fills the widget from the tree now (it is otherwise refilled once per
    // turn of the event loop, however many objects a command added).
    void Refresh();

private:
    QTreeWidget* widget_;
    TQVCmp2D& drawing_;
    std::unique_ptr<TEntityTree> tree_;
    bool refreshPending_ = false;
};

}  // namespace calvoro
