// A small array of object references addressed by index, owning its objects
// unless told otherwise.
#pragma once

#include "kernel/model/ObjectSlot.h"

#include <memory>
#include <vector>

namespace calvoro {

class TIndexedObjectList {
public:
    explicit TIndexedObjectList(int count, bool ownsObjects = true);
    TIndexedObjectList(const TIndexedObjectList&) = delete;
    TIndexedObjectList& operator=(const TIndexedObjectList&) = delete;

    // Entries past the new count are dropped (freed in an owning list); new
    // entries are empty.
    void SetCount(int count);
    int Count() const { return static_cast<int>(items_.size()); }
    bool OwnsObjects() const { return ownsObjects_; }

    // None when the list is empty.
    TGraphicObject* GetObject(int index) const;
    // Stores the object, freeing (in an owning list) the one it replaces. On an
    // empty list nothing is stored. The first form is for an owning list, the
    // second for one that only refers to its objects.
    void SetObject(int index, std::unique_ptr<TGraphicObject> object);
    void SetObject(int index, TGraphicObject* object);

private:
    void CheckIndex(int index, const char* message) const;

    std::vector<ObjectSlot> items_;
    bool ownsObjects_;
};

}  // namespace calvoro
