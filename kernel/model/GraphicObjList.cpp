// The object list, its iterators and their refusals.
#include "kernel/model/GraphicObjList.h"

#include <atomic>

#include "kernel/model/CADCoreExceptions.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>

namespace calvoro {

TGraphicObjList::TGraphicObjList(bool ownsObjects) : ownsObjects_(ownsObjects) {}

TGraphicObjList::~TGraphicObjList() {
    std::lock_guard guard(listLock_);
    for (TGraphicObjIterator* iterator : liveIterators_) iterator->Detach();
    liveIterators_.clear();
    iteratorCount_ = 0;
    exclusiveCount_ = 0;
    if (ownsObjects_) FreeDeletableObjects();
    // Whatever still refuses goes with the list: nothing outside it can use
    // the objects any more.
    nodes_.clear();
}

namespace {
std::atomic<std::uint64_t> gListRevisions{0};
}  // namespace

std::uint64_t TGraphicObjList::NextRevision() {
    return gListRevisions.fetch_add(1, std::memory_order_relaxed) + 1;
}

TGraphicObject* TGraphicObjList::Add(std::unique_ptr<TGraphicObject> object) {
    if (!object) throw std::invalid_argument("TGraphicObjList.Add: no object");
    if (!ownsObjects_) throw std::logic_error("TGraphicObjList.Add: this list does not own its objects");
    std::lock_guard guard(listLock_);
    if (iteratorCount_ > 0) throw ECADListBlocked("TGraphicObjList.Add: The list has active iterators.");
    TGraphicObject* added = object.get();
    nodes_.push_back(ObjectSlot{added, std::move(object)});
    revision_ = NextRevision();
    return added;
}

void TGraphicObjList::Add(TGraphicObject* object) {
    if (object == nullptr) throw std::invalid_argument("TGraphicObjList.Add: no object");
    if (ownsObjects_) throw std::logic_error("TGraphicObjList.Add: an owning list takes objects over");
    std::lock_guard guard(listLock_);
    if (iteratorCount_ > 0) throw ECADListBlocked("TGraphicObjList.Add: The list has active iterators.");
    nodes_.push_back(ObjectSlot{object, nullptr});
    revision_ = NextRevision();
}

bool TGraphicObjList::Delete(std::int32_t id) {
    {
        std::lock_guard guard(listLock_);
        if (iteratorCount_ > 0) throw ECADListBlocked("TGraphicObjList.Delete: The list has active iterators.");
    }
    // The exclusive iterator keeps the list closed while the object goes.
    const std::unique_ptr<TExclusiveGraphicObjIterator> iterator = GetExclusiveIterator();
    if (iterator->Search(id) == nullptr) throw ECADListObjNotFound("TGraphicObjList.Delete: Object not found");
    iterator->DeleteCurrent();
    return true;
}

void TGraphicObjList::Clear() {
    std::lock_guard guard(listLock_);
    if (iteratorCount_ > 0) throw ECADListBlocked("TGraphicObjList.Clear: The list has active iterators.");
    revision_ = NextRevision();
    if (!ownsObjects_) {
        nodes_.clear();
        return;
    }
    FreeDeletableObjects();
    if (!nodes_.empty()) nodes_.front().object->CheckDeletable();  // raises the refusal
}

void TGraphicObjList::FreeDeletableObjects() {
    // Freeing one object can release another (a block instance lets go of its
    // source), so the passes go on while they free something.
    bool freedAny = true;
    while (freedAny && !nodes_.empty()) {
        freedAny = false;
        for (auto node = nodes_.begin(); node != nodes_.end();) {
            try {
                node->object->CheckDeletable();
            } catch (const ECADCoreException&) {
                ++node;  // refused for now; a later pass may free it
                continue;
            }
            node = nodes_.erase(node);
            freedAny = true;
        }
    }
}

std::unique_ptr<TGraphicObjIterator> TGraphicObjList::GetIterator() {
    return std::unique_ptr<TGraphicObjIterator>(new TGraphicObjIterator(*this, IteratorKind::Shared));
}

std::unique_ptr<TExclusiveGraphicObjIterator> TGraphicObjList::GetExclusiveIterator() {
    return std::unique_ptr<TExclusiveGraphicObjIterator>(new TExclusiveGraphicObjIterator(*this));
}

std::unique_ptr<TGraphicObjIterator> TGraphicObjList::GetPrivilegedIterator() {
    return std::unique_ptr<TGraphicObjIterator>(new TGraphicObjIterator(*this, IteratorKind::Privileged));
}

int TGraphicObjList::IteratorCount() const {
    std::lock_guard guard(listLock_);
    return iteratorCount_;
}

bool TGraphicObjList::ExclusiveHeld() const {
    std::lock_guard guard(listLock_);
    return exclusiveCount_ > 0;
}

void TGraphicObjList::AttachIterator(TGraphicObjIterator& iterator, IteratorKind kind) {
    std::lock_guard guard(listLock_);
    if (kind == IteratorKind::Shared && exclusiveCount_ > 0) {
        throw ECADListBlocked("TGraphicObjList.GetIterator: The list has exclusive iterator.");
    }
    if (kind == IteratorKind::Exclusive && iteratorCount_ >= 1) {
        throw ECADListBlocked("TGraphicObjList.GetExclusiveIterator: The list has active iterators.");
    }
    liveIterators_.push_back(&iterator);
    ++iteratorCount_;
    if (kind != IteratorKind::Shared) ++exclusiveCount_;
}

void TGraphicObjList::DetachIterator(TGraphicObjIterator& iterator) {
    std::lock_guard guard(listLock_);
    const auto found = std::find(liveIterators_.begin(), liveIterators_.end(), &iterator);
    if (found == liveIterators_.end()) return;
    liveIterators_.erase(found);
    if (iteratorCount_ > 0) --iteratorCount_;
    if (iterator.Kind() != IteratorKind::Shared && exclusiveCount_ > 0) --exclusiveCount_;
}

std::unique_ptr<TGraphicObject> TGraphicObjList::UnlinkNode(ObjectNodes::iterator node, bool freeObject) {
    std::lock_guard guard(listLock_);
    if (freeObject && node->owned) node->object->CheckDeletable();
    std::unique_ptr<TGraphicObject> kept = freeObject ? nullptr : std::move(node->owned);
    nodes_.erase(node);
    revision_ = NextRevision();
    return kept;
}

// Iterators.

TGraphicObjIterator::TGraphicObjIterator(TGraphicObjList& list, IteratorKind kind) : list_(&list), kind_(kind) {
    list.AttachIterator(*this, kind);
    First();
}

TGraphicObjIterator::~TGraphicObjIterator() {
    if (list_ != nullptr) list_->DetachIterator(*this);
}

void TGraphicObjIterator::Detach() {
    list_ = nullptr;
    hasCurrent_ = false;
}

TGraphicObject* TGraphicObjIterator::First() {
    hasCurrent_ = list_ != nullptr && !list_->nodes_.empty();
    if (hasCurrent_) current_ = list_->nodes_.begin();
    return Current();
}

TGraphicObject* TGraphicObjIterator::Next() {
    if (!hasCurrent_) return nullptr;
    ++current_;
    hasCurrent_ = current_ != list_->nodes_.end();
    return Current();
}

int TGraphicObjIterator::Count() const {
    return list_ != nullptr ? list_->Count() : 0;
}

TGraphicObject* TGraphicObjIterator::Search(std::int32_t id) {
    if (list_ == nullptr) return nullptr;
    for (auto node = list_->nodes_.begin(); node != list_->nodes_.end(); ++node) {
        if (node->object->ID() == id) {
            current_ = node;
            hasCurrent_ = true;
            return node->object;
        }
    }
    return nullptr;
}

void TExclusiveGraphicObjIterator::DeleteCurrent() {
    UnlinkCurrent(true, "TExclusiveGraphicObjIterator.DeleteCurrent: The list has active iterators.");
}

std::unique_ptr<TGraphicObject> TExclusiveGraphicObjIterator::RemoveCurrent() {
    return UnlinkCurrent(false, "TExclusiveGraphicObjIterator.RemoveCurrent: The list has active iterators.");
}

std::unique_ptr<TGraphicObject> TExclusiveGraphicObjIterator::UnlinkCurrent(bool freeObject, const char* refusal) {
    if (!hasCurrent_ || list_ == nullptr) return nullptr;
    std::lock_guard guard(list_->listLock_);
    // A privileged iterator may be walking the same list.
    if (list_->iteratorCount_ > 1) throw ECADListBlocked(refusal);
    const ObjectNodes::iterator node = current_;
    ObjectNodes::iterator following = std::next(node);
    bool hasFollowing = following != list_->nodes_.end();
    if (!hasFollowing && node != list_->nodes_.begin()) {
        following = std::prev(node);
        hasFollowing = true;
    }
    std::unique_ptr<TGraphicObject> kept = list_->UnlinkNode(node, freeObject);
    current_ = following;
    hasCurrent_ = hasFollowing;
    return kept;
}

}  // namespace calvoro
