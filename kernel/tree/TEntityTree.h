// The entity tree: the drawing mirrored as a tree of one root, one node per
// layer that holds entities, and one node per entity under its layer, each
// captioned by its kind in the user's language. The drawing calls it as its
// EntityTreeLink when objects are added, deleted or cleared; a view shows the
// nodes and is told of every change.
#pragma once

#include "kernel/drawing/EntityTreeLink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace calvoro {

class TGraphicObject;
class TLayers;

struct EntityTreeNode {
    std::string Caption;
    // Root: 0; layer node: the layer number + 1; entity node: the entity's ID.
    std::int64_t Data = 0;
    int ImageIndex = 0;
    EntityTreeNode* Parent = nullptr;
    std::vector<std::unique_ptr<EntityTreeNode>> Children;
};

class TEntityTree : public EntityTreeLink {
public:
    // The caption text of a key of the language file ("twGeo00" ...); none
    // gives empty captions.
    using CaptionLookup = std::function<std::string(std::string_view key)>;
    using ChangeEvent = std::function<void()>;

    explicit TEntityTree(CaptionLookup captions = {});

    // The root, or none while the tree is empty.
    EntityTreeNode* Root() const { return root_.get(); }
    // The root, added when the tree has none.
    EntityTreeNode& EnsureRoot();
    // A layer node as the last child of the root.
    EntityTreeNode& AddLayer(std::string_view layerName, int layerNumber);
    // The entity's node as the last child of the layer node, stored as the
    // entity's tree item; none for a kind the tree does not show.
    EntityTreeNode* AddNode(EntityTreeNode& layerNode, TGraphicObject& entity);

    void AddEntity(TLayers& layers, TGraphicObject& entity) override;
    void DeleteNode(std::uintptr_t treeItem) override;
    void Reset(TLayers& layers) override;

    // Told after every change of the nodes.
    void SetOnChange(ChangeEvent handler) { onChange_ = std::move(handler); }

    static std::uintptr_t ItemOf(const EntityTreeNode& node) { return reinterpret_cast<std::uintptr_t>(&node); }

private:
    std::string Caption(std::string_view key) const;
    EntityTreeNode& Append(EntityTreeNode& parent, std::string caption, std::int64_t data, int image);
    void Forget(const EntityTreeNode& node);
    void Changed() const {
        if (onChange_) onChange_();
    }

    CaptionLookup captions_;
    std::unique_ptr<EntityTreeNode> root_;
    // The nodes alive, so that a stale tree item is recognised without being followed.
    std::unordered_set<const EntityTreeNode*> live_;
    ChangeEvent onChange_;
};

}  // namespace calvoro
