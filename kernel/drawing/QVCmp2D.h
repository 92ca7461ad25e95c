// The drawing of 2D objects: the stream formats of its objects and blocks,
// the source blocks looked up by name, transforms of many objects at once and
// the drawing's extent.
//
// Object stream: i32 N (the objects when writing began, those left out
// included), N entries of a 2-byte class index and the object's record, and a
// 0xFFFF end mark when fewer than N entries were written.
// Block stream: i32 N, then N entries of a class index and a source block's
// record; blocks used by a block come before it.
#pragma once

#include "kernel/drawing/QVCmp.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Rect2D.h"

#include <span>
#include <string_view>

namespace calvoro {

class TSourceBlock2D;

class TQVCmp2D : public TQVCmp {
public:
    // The box GetDrawingBox starts from: inverted, so that any object's box replaces it.
    static constexpr double kNoBoxExtent = 100000000.0;

    TQVCmp2D() = default;

    TObject2D* AddObject2D(std::int32_t id, std::unique_ptr<TObject2D> object);
    // None stays none; an object of another kind is refused with std::bad_cast.
    TObject2D* GetObject2D(std::int32_t id);

    // The block whose 13-byte name equals the name given (padded with zero
    // bytes); ECADListObjNotFound when none has it.
    TSourceBlock2D& FindSourceBlock(std::string_view name);
    // ECADCoreException while instances use the block; else the block goes.
    void DeleteSourceBlock(std::string_view name);
    using TQVCmp::DeleteSourceBlock;

    // The transform is applied to the listed objects (every 2D object when the
    // first ID is negative) and frozen into their stored matrices; IDs not
    // found are skipped, an empty list does nothing.
    void TransformObjects(std::span<const std::int32_t> ids, const TMatrix2D& m);
    // The union of the boxes of the visible objects on visible layers. A
    // drawing without objects leaves box as it is; one whose objects are all
    // hidden gives the inverted start box (1e8, 1e8)-(-1e8, -1e8).
    void GetDrawingBox(TRect2D& box);

    // The loaders report a class index that names no class (and end the
    // load) or a block whose source is missing (and skip it) through the
    // message handler; a class index of 512 or more raises ECADOutOfBound.
    // What was added before an error stays. A block or object that holds a
    // point that is not finite (a weight of 0 among them), that its
    // transforms carry too far out, or that the DXF export could not write is
    // reported too and left out: whatever loads draws and exports.
    void LoadBlocksFromStream(BinaryReader& stream, const VersionTag& version) override;
    void SaveBlocksToStream(BinaryWriter& stream, bool asLibrary) override;
    void LoadObjectsFromStream(BinaryReader& stream, const VersionTag& version) override;
    void SaveObjectsToStream(BinaryWriter& stream) override;
    void DeleteSavedSourceBlocks() override;
    void DeleteLibrarySourceBlocks() override;
};

}  // namespace calvoro
