// The entity tree of the drawing on screen.
#include "shell/gui/EntityTreeView.h"

#include <QTimer>
#include <QTreeWidget>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/tree/TEntityTree.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

void AddChildren(QTreeWidgetItem* item, const EntityTreeNode& node) {
    for (const auto& child : node.Children) {
        auto* childItem = new QTreeWidgetItem(item, {QString::fromStdString(child->Caption)});
        childItem->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(child->Data));
        AddChildren(childItem, *child);
    }
}

}  // namespace

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
    AddChildren(rootItem, *root);
    widget_->expandAll();
}

}  // namespace calvoro
