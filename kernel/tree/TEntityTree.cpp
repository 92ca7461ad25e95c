// The entity tree.
#include "kernel/tree/TEntityTree.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TBSpline2D.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TCurve2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TQVBSpline2D.h"
#include "kernel/model/Layers.h"

#include <algorithm>

namespace calvoro {

namespace {

struct KindRow {
    const TGraphicObjectClass* Class;
    std::string_view Key;
    int Image;
};

// The first row whose class the entity inherits from decides.
const KindRow* KindOf(const TGraphicObject& entity) {
    static const KindRow rows[] = {
        {&TPunto2D::Class, "twGeo20", 2},   {&TLine2D::Class, "twGeo30", 3},      {&TFrame2D::Class, "twGeo40", 4},
        {&TArco2D::Class, "twGeo50", 5},    {&TCerchio2D::Class, "twGeo60", 6},   {&TPolyline2D::Class, "twGeo80", 8},
        {&TBSpline2D::Class, "twGeo90", 9}, {&TQVBSpline2D::Class, "twGeo90", 9}, {&TCurve2D::Class, "twGeo70", 7},
        {&TBitmap2D::Class, "twGeoA0", 10},
    };
    for (const KindRow& row : rows) {
        if (entity.InheritsFrom(*row.Class)) return &row;
    }
    return nullptr;
}

}  // namespace

TEntityTree::TEntityTree(CaptionLookup captions) : captions_(std::move(captions)) {}

std::string TEntityTree::Caption(std::string_view key) const {
    return captions_ ? captions_(key) : std::string();
}

EntityTreeNode& TEntityTree::Append(EntityTreeNode& parent, std::string caption, std::int64_t data, int image) {
    auto node = std::make_unique<EntityTreeNode>();
    node->Caption = std::move(caption);
    node->Data = data;
    node->ImageIndex = image;
    node->Parent = &parent;
    live_.insert(node.get());
    parent.Children.push_back(std::move(node));
    return *parent.Children.back();
}

EntityTreeNode& TEntityTree::EnsureRoot() {
    if (!root_) {
        root_ = std::make_unique<EntityTreeNode>();
        root_->Caption = Caption("twGeo00");
        live_.insert(root_.get());
        Changed();
    }
    return *root_;
}

EntityTreeNode& TEntityTree::AddLayer(std::string_view layerName, int layerNumber) {
    EntityTreeNode& node = Append(EnsureRoot(), Caption("twGeo10") + std::string(layerName), layerNumber + 1, 1);
    Changed();
    return node;
}

EntityTreeNode* TEntityTree::AddNode(EntityTreeNode& layerNode, TGraphicObject& entity) {
    const KindRow* kind = KindOf(entity);
    if (kind == nullptr) return nullptr;
    EntityTreeNode& node = Append(layerNode, Caption(kind->Key), entity.ID(), kind->Image);
    entity.SetTreeItem(ItemOf(node));
    Changed();
    return &node;
}

void TEntityTree::AddEntity(TLayers& layers, TGraphicObject& entity) {
    TLayer& layer = layers.LayerByIndex(entity.Layer());
    auto* layerNode = reinterpret_cast<EntityTreeNode*>(layer.TreeNode());
    if (layerNode == nullptr || !live_.contains(layerNode)) {
        layerNode = &AddLayer(layer.Name(), layer.ID());
        layer.SetTreeNode(ItemOf(*layerNode));
    }
    AddNode(*layerNode, entity);
}

void TEntityTree::Forget(const EntityTreeNode& node) {
    for (const auto& child : node.Children) Forget(*child);
    live_.erase(&node);
}

void TEntityTree::DeleteNode(std::uintptr_t treeItem) {
    const auto* node = reinterpret_cast<const EntityTreeNode*>(treeItem);
    if (treeItem == 0 || !live_.contains(node)) return;
    Forget(*node);
    if (node == root_.get()) {
        root_.reset();
    } else {
        auto& siblings = node->Parent->Children;
        siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                    [node](const std::unique_ptr<EntityTreeNode>& n) { return n.get() == node; }));
    }
    Changed();
}

void TEntityTree::Reset(TLayers& layers) {
    root_.reset();
    live_.clear();
    for (int i = 0; i < TLayers::Count; ++i) layers.LayerByIndex(static_cast<std::uint8_t>(i)).SetTreeNode(0);
    Changed();
}

}  // namespace calvoro
