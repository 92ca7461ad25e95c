// The drawing's objects, source blocks, viewports and block library.
#include "kernel/drawing/QVCmp.h"

#include "kernel/entities/TObject2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <algorithm>
#include <iostream>

namespace calvoro {

TQVCmp::TQVCmp() : sourceBlocks_(std::make_unique<TGraphicObjList>()), objects_(std::make_unique<TGraphicObjList>()) {}

TQVCmp::~TQVCmp() {
    // The objects go first: their block instances let go of the sources.
    objects_.reset();
    try {
        FreeSourceBlocks();
    } catch (const std::exception&) {
        // Blocks that use each other in a circle go with their list: a source
        // block that is freed cuts its instances loose, so none of them counts
        // down a block already gone.
    }
    sourceBlocks_.reset();
    for (DrawingViewport* viewport : viewports_) viewport->DrawingDestroyed();
}

TGraphicObject* TQVCmp::Place(TGraphicObjList& list, std::int32_t id, std::int32_t& nextID,
                              std::unique_ptr<TGraphicObject> object) {
    if (!object) throw std::invalid_argument("TCADCmp.AddObject: no object");
    // Refused before the counter, the object or the drawing change.
    if (list.HasIterators()) throw ECADListBlocked("TGraphicObjList.Add: The list has active iterators.");
    if (id < 0) {
        id = nextID++;
    } else if (id >= nextID) {
        nextID = id + 1;
    }
    object->SetOwner(this);
    object->SetLayer(currentLayer_);
    object->SetID(id);
    object->RecalcBox();
    return list.Add(std::move(object));
}

TGraphicObject* TQVCmp::AddObject(std::int32_t id, std::unique_ptr<TGraphicObject> object) {
    TGraphicObject* added = Place(*objects_, id, nextObjectID_, std::move(object));
    if (drawOnAdd_) {
        if (auto* object2D = dynamic_cast<TObject2D*>(added)) DrawObjectOnViewports(*object2D);
    }
    if (onAddObject_) onAddObject_(*this, *added);
    if (treeGeo_ != nullptr) treeGeo_->AddEntity(layers_, *added);
    return added;
}

TGraphicObject* TQVCmp::AddSourceBlock(std::int32_t id, std::unique_ptr<TGraphicObject> block) {
    return Place(*sourceBlocks_, id, nextBlockID_, std::move(block));
}

bool TQVCmp::DeleteObject(std::int32_t id) {
    TGraphicObject* object = FindObject(id);
    if (object == nullptr) throw ECADListObjNotFound("TCADCmp.DeleteObject: No object found");
    if (objects_->HasIterators()) throw ECADListBlocked("TGraphicObjList.Delete: The list has active iterators.");
    object->CheckDeletable();
    const std::uintptr_t treeItem = object->TreeItem();
    objects_->Delete(id);
    if (treeGeo_ != nullptr) treeGeo_->DeleteNode(treeItem);
    return true;
}

void TQVCmp::MoveObjectToLayer(TGraphicObject& object, std::uint8_t layer) {
    if (object.Layer() == layer) return;
    if (treeGeo_ != nullptr) treeGeo_->DeleteNode(object.TreeItem());
    object.SetTreeItem(0);
    object.SetLayer(layer);
    if (treeGeo_ != nullptr) treeGeo_->AddEntity(layers_, object);
}

TGraphicObject* TQVCmp::FindObject(std::int32_t id) {
    return objects_->GetIterator()->Search(id);
}

TGraphicObject* TQVCmp::FindSourceBlockByID(std::int32_t id) {
    return sourceBlocks_->GetIterator()->Search(id);
}

void TQVCmp::DeleteSourceBlock(std::int32_t id) {
    if (FindSourceBlockByID(id) == nullptr) {
        throw ECADListObjNotFound("TCADCmp.DeleteSourceBlock: No source block found");
    }
    sourceBlocks_->Delete(id);
}

void TQVCmp::ClearObjects() {
    objects_->Clear();
    nextObjectID_ = 0;
    if (treeGeo_ != nullptr) treeGeo_->Reset(layers_);
}

void TQVCmp::FreeSourceBlocks() {
    const std::unique_ptr<TExclusiveGraphicObjIterator> blocks = sourceBlocks_->GetExclusiveIterator();
    while (blocks->Count() > 0) {
        // One pass visits every block once. Deleting a block moves the walk to
        // the next one (to the previous one only when the last block goes,
        // which ends the pass anyway).
        const int count = blocks->Count();
        int deleted = 0;
        TGraphicObject* block = blocks->First();
        for (int visited = 0; visited < count && block != nullptr; ++visited) {
            try {
                blocks->DeleteCurrent();
                ++deleted;
                block = blocks->Current();
            } catch (const ECADSourceBlockIsReferenced&) {
                block = blocks->Next();  // used by a block not freed yet
            }
        }
        if (deleted == 0) {
            throw ECADSourceBlockIsReferenced(
                "TCADCmp.FreeSourceBlocks: CADCore Severe error\n\rThe drawing contains circular reference of source "
                "blocks. They will be not deleted !");
        }
    }
}

void TQVCmp::AddViewport(DrawingViewport* viewport) {
    if (viewport == nullptr) return;
    if (std::find(viewports_.begin(), viewports_.end(), viewport) == viewports_.end()) viewports_.push_back(viewport);
}

void TQVCmp::RemoveViewport(DrawingViewport* viewport) {
    viewports_.erase(std::remove(viewports_.begin(), viewports_.end(), viewport), viewports_.end());
}

void TQVCmp::RepaintViewports() {
    for (DrawingViewport* viewport : viewports_) viewport->Repaint();
}

void TQVCmp::RefreshViewports() {
    for (DrawingViewport* viewport : viewports_) viewport->Invalidate();
}

void TQVCmp::DrawObjectOnViewports(TObject2D& object) {
    for (DrawingViewport* viewport : viewports_) {
        viewport->DrawObjectOffscreen(object);
        viewport->Invalidate();
    }
}

void TQVCmp::LoadLibrary(BinaryReader& stream) {
    const VersionTag tag = VersionTag::Read(stream);
    bool accepted = tag.bytes() == Version.bytes();
    if (!accepted && onInvalidFileVersion_) onInvalidFileVersion_(*this, TStreamType::stLibrary, stream, accepted);
    if (!accepted) throw ECADFileNotValid("TCADCmp.LoadLibrary: Invalid stream version.");
    if (stream.readUInt8() != kBlockLibraryKind) throw ECADFileNotValid("TCADCmp.LoadLibrary: no blocks found");
    LoadBlocksFromStream(stream, tag);
}

void TQVCmp::SaveLibrary(BinaryWriter& stream) {
    Version.Write(stream);
    stream.writeUInt8(kBlockLibraryKind);
    SaveBlocksToStream(stream, true);
}

void TQVCmp::SetCurrentLayer(int layer) {
    if (layer < 0 || layer >= TLayers::Count) throw ECADOutOfBound("TCADCmp.SetCurrentLayer: Layer out of bound");
    currentLayer_ = static_cast<std::uint8_t>(layer);
}

void TQVCmp::ShowMessage(const std::string& message) const {
    if (messageHandler_) {
        messageHandler_(message);
    } else {
        std::cerr << message << '\n';
    }
}

}  // namespace calvoro
