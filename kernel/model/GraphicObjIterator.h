// Walking a TGraphicObjList. An iterator counts as live from its creation to
// its destruction, and while any iterator lives the list refuses to add,
// delete or clear: a walk never meets a freed node. Three kinds:
//   shared      any number at once; refused while an exclusive one lives;
//   exclusive   only on a list without iterators; keeps new shared ones out and
//               alone may unlink nodes, through DeleteCurrent/RemoveCurrent;
//   privileged  exclusive without the test for live iterators, for writing a
//               list to a stream while shared walks are open; read-only.
#pragma once

#include "kernel/model/ObjectSlot.h"

#include <cstdint>
#include <memory>

namespace calvoro {

class TGraphicObjList;

enum class IteratorKind { Shared, Exclusive, Privileged };

class TGraphicObjIterator {
public:
    virtual ~TGraphicObjIterator();
    TGraphicObjIterator(const TGraphicObjIterator&) = delete;
    TGraphicObjIterator& operator=(const TGraphicObjIterator&) = delete;

    // The head's object (it becomes the current one), or none for an empty list.
    TGraphicObject* First();
    // Moves to the next node; past the tail, and without a current node, none.
    TGraphicObject* Next();
    TGraphicObject* Current() const { return hasCurrent_ ? current_->object : nullptr; }
    // The list's count; 0 once the list is gone.
    int Count() const;
    // The first object with that ID becomes the current one; none leaves the
    // current node as it was.
    TGraphicObject* Search(std::int32_t id);

    // The list walked; none once the list has been destroyed under the iterator.
    TGraphicObjList* List() const { return list_; }
    IteratorKind Kind() const { return kind_; }

protected:
    TGraphicObjIterator(TGraphicObjList& list, IteratorKind kind);

    TGraphicObjList* list_;
    ObjectNodes::iterator current_{};
    bool hasCurrent_ = false;

private:
    friend class TGraphicObjList;
    void Detach();

    IteratorKind kind_;
};

class TExclusiveGraphicObjIterator : public TGraphicObjIterator {
public:
    // Unlink the current node and move to the next one (to the previous one
    // when the tail goes). DeleteCurrent frees the object in an owning list and
    // raises, changing nothing, when the object refuses to be freed;
    // RemoveCurrent never frees and hands the object back to the caller when
    // the list owned it. Both are refused while a privileged iterator lives.
    void DeleteCurrent();
    std::unique_ptr<TGraphicObject> RemoveCurrent();

private:
    friend class TGraphicObjList;
    explicit TExclusiveGraphicObjIterator(TGraphicObjList& list) : TGraphicObjIterator(list, IteratorKind::Exclusive) {}
    std::unique_ptr<TGraphicObject> UnlinkCurrent(bool freeObject, const char* refusal);
};

}  // namespace calvoro
