// The indexed object list.
#include "kernel/model/IndexedObjectList.h"

#include "kernel/model/CADCoreExceptions.h"

#include <stdexcept>

namespace calvoro {

TIndexedObjectList::TIndexedObjectList(int count, bool ownsObjects) : ownsObjects_(ownsObjects) {
    SetCount(count);
}

void TIndexedObjectList::SetCount(int count) {
    if (count < 0) throw ECADOutOfBound("TIndexedObjectList.SetCount: Negative count.");
    items_.resize(static_cast<std::size_t>(count));
}

void TIndexedObjectList::CheckIndex(int index, const char* message) const {
    if (index < 0 || index >= Count()) throw ECADOutOfBound(message);
}

TGraphicObject* TIndexedObjectList::GetObject(int index) const {
    if (items_.empty()) return nullptr;
    CheckIndex(index, "TIndexedObjectList.GetObject: Index out of bounds.");
    return items_[static_cast<std::size_t>(index)].object;
}

void TIndexedObjectList::SetObject(int index, std::unique_ptr<TGraphicObject> object) {
    if (!ownsObjects_) throw std::logic_error("TIndexedObjectList.SetObject: this list does not own its objects");
    if (items_.empty()) return;
    CheckIndex(index, "TIndexedObjectList.SetObject: Index out of bounds.");
    ObjectSlot& slot = items_[static_cast<std::size_t>(index)];
    if (slot.object == object.get()) {
        // Stored there already: the slot keeps the one ownership it has.
        (void)object.release();
        return;
    }
    slot.object = object.get();
    slot.owned = std::move(object);
}

void TIndexedObjectList::SetObject(int index, TGraphicObject* object) {
    if (ownsObjects_) throw std::logic_error("TIndexedObjectList.SetObject: an owning list takes objects over");
    if (items_.empty()) return;
    CheckIndex(index, "TIndexedObjectList.SetObject: Index out of bounds.");
    items_[static_cast<std::size_t>(index)].object = object;
}

}  // namespace calvoro
