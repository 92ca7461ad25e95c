// The entity tree as the drawing sees it: a node for each object added, under
// its layer's node, and the removal of an object's node when the object is
// deleted. The tree view implements it; a drawing without a tree has none.
#pragma once

#include <cstdint>

namespace calvoro {

class TGraphicObject;
class TLayers;

class EntityTreeLink {
public:
    virtual ~EntityTreeLink() = default;

    // Adds the object's node (and its layer's node when missing) and stores
    // the node in the object's tree item.
    virtual void AddEntity(TLayers& layers, TGraphicObject& entity) = 0;
    // Removes the node of that tree item; nothing when no node has it.
    virtual void DeleteNode(std::uintptr_t treeItem) = 0;
    // Every object of the drawing is gone: the tree empties and forgets the
    // layers' nodes, so that no layer keeps a node that no longer exists.
    virtual void Reset(TLayers& /*layers*/) {}
};

}  // namespace calvoro
