// The drawing: the document of the 2D CAD kernel. It owns the drawing's
// objects, its source blocks (named block definitions, some of them from the
// block library) and its 256 layers; it hands out object IDs, puts new
// objects on the current layer, tells the entity tree and the attached
// viewports about them, and reads the block library. TQVCmp2D adds the
// stream formats and the operations on 2D objects.
#pragma once

#include "kernel/drawing/DrawingViewport.h"
#include "kernel/drawing/EntityTreeLink.h"
#include "kernel/model/GraphicObjList.h"
#include "kernel/model/Layers.h"
#include "kernel/model/VersionTag.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace calvoro {

class BinaryReader;
class BinaryWriter;

enum class TStreamType : std::uint8_t { stDrawing, stLibrary };

// The kind byte after the version tag of a block library file.
inline constexpr std::uint8_t kBlockLibraryKind = 2;

class TQVCmp {
public:
    using AddObjectEvent = std::function<void(TQVCmp& sender, TGraphicObject& object)>;
    // Told when a stream's version tag is not this drawing's; setting resume
    // accepts the stream all the same.
    using BadVersionEvent =
        std::function<void(TQVCmp& sender, TStreamType streamType, BinaryReader& stream, bool& resume)>;
    using ProgressEvent = std::function<void(TQVCmp& sender, std::uint8_t percent)>;
    // Where the stream loaders' messages go: a message box in the program.
    using MessageHandler = std::function<void(const std::string& message)>;

    // The tag a block library must start with.
    static constexpr VersionTag Version{"QV-002"};

    TQVCmp();
    // Never raises: objects go first, then the source blocks, circular
    // references among them included; attached viewports are told.
    virtual ~TQVCmp();
    TQVCmp(const TQVCmp&) = delete;
    TQVCmp& operator=(const TQVCmp&) = delete;

    // Adds an object: a negative ID takes the next free one, an ID at or past
    // it moves the next free ID beyond it. The object gets the drawing as its
    // owner and the current layer, its box is recalculated, and it is drawn
    // on the viewports (DrawOnAdd), announced and put in the entity tree.
    // While the object list has live iterators the add is refused with
    // ECADListBlocked before anything changes.
    TGraphicObject* AddObject(std::int32_t id, std::unique_ptr<TGraphicObject> object);
    // The same ID rule with the blocks' own counter; no drawing, event or node.
    TGraphicObject* AddSourceBlock(std::int32_t id, std::unique_ptr<TGraphicObject> block);
    // True; ECADListObjNotFound when there is no such object. A refusal
    // (live iterators) changes nothing, the entity tree included.
    bool DeleteObject(std::int32_t id);
    // Puts an object of the drawing on another layer; the entity tree files
    // it under that layer.
    void MoveObjectToLayer(TGraphicObject& object, std::uint8_t layer);
    TGraphicObject* FindObject(std::int32_t id);
    TGraphicObject* FindSourceBlockByID(std::int32_t id);
    // ECADListObjNotFound when missing; a block still referenced is refused
    // with ECADSourceBlockIsReferenced.
    void DeleteSourceBlock(std::int32_t id);
    // Every object freed; the next object ID is 0 again.
    void ClearObjects();
    // Every source block freed, blocks used by other blocks after them. Blocks
    // that use each other in a circle are left in place and reported with
    // ECADSourceBlockIsReferenced.
    void FreeSourceBlocks();

    int ObjectCount() const { return objects_->Count(); }
    int SourceBlockCount() const { return sourceBlocks_->Count(); }
    std::unique_ptr<TGraphicObjIterator> ObjectListIterator() { return objects_->GetIterator(); }
    std::unique_ptr<TGraphicObjIterator> SourceBlockIterator() { return sourceBlocks_->GetIterator(); }
    std::unique_ptr<TExclusiveGraphicObjIterator> ObjectListExclusiveIterator() {
        return objects_->GetExclusiveIterator();
    }
    std::unique_ptr<TExclusiveGraphicObjIterator> SourceBlockExclusiveIterator() {
        return sourceBlocks_->GetExclusiveIterator();
    }
    // Either list is held by an exclusive iterator (a viewport skips painting then).
    bool HasExclusiveIterators() const { return objects_->ExclusiveHeld() || sourceBlocks_->ExclusiveHeld(); }
    bool HasIterators() const { return objects_->HasIterators() || sourceBlocks_->HasIterators(); }
    // See TGraphicObjList::Revision.
    std::uint64_t ObjectListRevision() const { return objects_->Revision(); }

    // Viewports join and leave the drawing; none is ignored.
    void AddViewport(DrawingViewport* viewport);
    void RemoveViewport(DrawingViewport* viewport);
    const std::vector<DrawingViewport*>& Viewports() const { return viewports_; }
    virtual void RepaintViewports();
    virtual void RefreshViewports();
    void DrawObjectOnViewports(TObject2D& object);

    // A block library: the version tag, the kind byte, then the blocks.
    // ECADFileNotValid for a stream cut short, a tag refused or another kind.
    void LoadLibrary(BinaryReader& stream);
    // Writes the library blocks as a library file: tag, kind and blocks.
    void SaveLibrary(BinaryWriter& stream);

    virtual void LoadBlocksFromStream(BinaryReader& stream, const VersionTag& version) = 0;
    virtual void SaveBlocksToStream(BinaryWriter& stream, bool asLibrary) = 0;
    virtual void LoadObjectsFromStream(BinaryReader& stream, const VersionTag& version) = 0;
    virtual void SaveObjectsToStream(BinaryWriter& stream) = 0;
    virtual void DeleteSavedSourceBlocks() = 0;
    virtual void DeleteLibrarySourceBlocks() = 0;

    TLayers& Layers() { return layers_; }
    const TLayers& Layers() const { return layers_; }
    std::uint8_t CurrentLayer() const { return currentLayer_; }
    // A layer outside 0 .. 255 is refused with ECADOutOfBound.
    void SetCurrentLayer(int layer);
    TColor DefaultLayersColor() const { return layers_.DefaultLayersColor(); }
    void SetDefaultLayersColor(TColor color) { layers_.SetDefaultLayersColor(color); }

    std::int32_t NextObjectID() const { return nextObjectID_; }
    std::int32_t NextBlockID() const { return nextBlockID_; }
    bool DrawOnAdd() const { return drawOnAdd_; }
    void SetDrawOnAdd(bool draw) { drawOnAdd_ = draw; }
    bool RepaintAfterTransform() const { return repaintAfterTransform_; }
    void SetRepaintAfterTransform(bool repaint) { repaintAfterTransform_ = repaint; }
    EntityTreeLink* TreeGeo() const { return treeGeo_; }
    void SetTreeGeo(EntityTreeLink* tree) { treeGeo_ = tree; }

    void SetOnAddObject(AddObjectEvent handler) { onAddObject_ = std::move(handler); }
    void SetOnInvalidFileVersion(BadVersionEvent handler) { onInvalidFileVersion_ = std::move(handler); }
    void SetOnLoadProgress(ProgressEvent handler) { onLoadProgress_ = std::move(handler); }
    void SetOnSaveProgress(ProgressEvent handler) { onSaveProgress_ = std::move(handler); }
    // Without a handler the messages go to the standard error stream.
    void SetMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }

protected:
    TGraphicObjList& Objects() { return *objects_; }
    TGraphicObjList& SourceBlocks() { return *sourceBlocks_; }
    void ShowMessage(const std::string& message) const;
    void ReportLoadProgress(std::uint8_t percent) {
        if (onLoadProgress_) onLoadProgress_(*this, percent);
    }
    void ReportSaveProgress(std::uint8_t percent) {
        if (onSaveProgress_) onSaveProgress_(*this, percent);
    }

private:
    // The ID rule, the owner, the current layer and the box, then the list;
    // a list with live iterators refuses before anything changes.
    TGraphicObject* Place(TGraphicObjList& list, std::int32_t id, std::int32_t& nextID,
                          std::unique_ptr<TGraphicObject> object);

    // The source blocks outlive the objects, whose block instances use them.
    std::unique_ptr<TGraphicObjList> sourceBlocks_;
    std::unique_ptr<TGraphicObjList> objects_;
    std::int32_t nextObjectID_ = 0;
    std::int32_t nextBlockID_ = 0;
    std::vector<DrawingViewport*> viewports_;
    TLayers layers_;
    std::uint8_t currentLayer_ = 0;
    EntityTreeLink* treeGeo_ = nullptr;
    bool drawOnAdd_ = false;
    bool repaintAfterTransform_ = true;
    AddObjectEvent onAddObject_;
    BadVersionEvent onInvalidFileVersion_;
    ProgressEvent onLoadProgress_;
    ProgressEvent onSaveProgress_;
    MessageHandler messageHandler_;
};

}  // namespace calvoro
