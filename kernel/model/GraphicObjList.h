// The doubly linked list that holds a drawing's objects and source blocks (and,
// without owning them, the selections of the interactive tasks). Changes and
// walks are kept apart by the iterator counters: while an iterator lives, a
// change is refused with ECADListBlocked, never waited for. The lock only
// serialises node changes and the counters against the viewport's reader.
#pragma once

#include "kernel/model/CADCoreCriticalSection.h"
#include "kernel/model/GraphicObjIterator.h"
#include "kernel/model/ObjectSlot.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace calvoro {

class TGraphicObjList {
public:
    explicit TGraphicObjList(bool ownsObjects = true);
    // Never raises: live iterators are cut loose, and objects that refuse to be
    // freed are freed after all the others.
    ~TGraphicObjList();
    TGraphicObjList(const TGraphicObjList&) = delete;
    TGraphicObjList& operator=(const TGraphicObjList&) = delete;

    // Appends at the tail. The first form is for an owning list, the second for
    // a list that only refers to objects owned elsewhere.
    TGraphicObject* Add(std::unique_ptr<TGraphicObject> object);
    void Add(TGraphicObject* object);
    // Removes (and in an owning list frees) the object with that ID; true.
    bool Delete(std::int32_t id);
    // Removes every node. In an owning list the objects are freed; objects that
    // refuse stay in the list and the first refusal is raised.
    void Clear();

    std::unique_ptr<TGraphicObjIterator> GetIterator();
    std::unique_ptr<TExclusiveGraphicObjIterator> GetExclusiveIterator();
    std::unique_ptr<TGraphicObjIterator> GetPrivilegedIterator();

    int Count() const { return static_cast<int>(nodes_.size()); }
    // Changes with every addition, removal and clearing, so that a reader can
    // tell that what it learnt about the list still holds. No two lists, nor
    // two states of one list, ever share a revision.
    std::uint64_t Revision() const { return revision_; }
    bool OwnsObjects() const { return ownsObjects_; }
    bool HasIterators() const { return IteratorCount() > 0; }
    int IteratorCount() const;
    // An exclusive or privileged iterator lives.
    bool ExclusiveHeld() const;

private:
    static std::uint64_t NextRevision();
    friend class TGraphicObjIterator;
    friend class TExclusiveGraphicObjIterator;

    void AttachIterator(TGraphicObjIterator& iterator, IteratorKind kind);
    void DetachIterator(TGraphicObjIterator& iterator);
    // Unlinks a node; with freeObject the object of an owning list is freed
    // (after it has agreed), else it is handed back.
    std::unique_ptr<TGraphicObject> UnlinkNode(ObjectNodes::iterator node, bool freeObject);
    // Frees, pass after pass, every object that agrees; what is left refuses.
    void FreeDeletableObjects();

    mutable TCADCoreCriticalSection listLock_;
    ObjectNodes nodes_;
    bool ownsObjects_;
    int iteratorCount_ = 0;
    int exclusiveCount_ = 0;
    std::uint64_t revision_ = NextRevision();
    std::vector<TGraphicObjIterator*> liveIterators_;
};

}  // namespace calvoro
