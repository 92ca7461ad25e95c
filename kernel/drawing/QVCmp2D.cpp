// Streams, lookups, transforms and the extent of a 2D drawing.
#include "kernel/drawing/QVCmp2D.h"

#include "kernel/dxf/DXF2DExport.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/entities/TContainer2D.h"
#include "kernel/entities/TJustifiedVectText2D.h"
#include "kernel/entities/TOutline2D.h"
#include "kernel/entities/TPrimitive2D.h"
#include "kernel/entities/TObject2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/ClassRegistry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <typeinfo>

namespace calvoro {

namespace {

// The fewest bytes any stored 2D object takes: class index, header and matrix.
constexpr std::size_t kSmallestObjectEntry = 2 + 6 + 72;
constexpr std::uint16_t kObjectStreamEndMark = 0xFFFF;

constexpr const char* kClassNotFound = "Object class not found. Object not load";
constexpr const char* kSourceBlockNotFound = "Source block not found. The block will not be loaded";

// Whether every number the object stores is finite and every point it
// stores stands for a finite place: a weight of 0, or one so small that the
// coordinates divided by it overflow, makes a point at infinity. Its
// transform, its points, a text's sizes, and the same for every member of a
// container.
bool HoldsOnlyFinitePoints(TObject2D& object) {
    const auto finite = [](double value) { return std::isfinite(value); };
    for (const auto& row : object.GetObjectMatrix().M)
        if (!std::all_of(row.begin(), row.end(), finite)) return false;
    if (const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object)) {
        for (const TPoint2D& p : primitive->Points().Points()) {
            if (!finite(p.X) || !finite(p.Y) || !finite(p.W) || p.W == 0.0) return false;
            const TPoint2D c = CartesianPoint(p);
            if (!finite(c.X) || !finite(c.Y)) return false;
        }
    }
    if (const auto* text = dynamic_cast<const TJustifiedVectText2D*>(&object)) {
        if (!finite(text->Height()) || !finite(text->InterLine()) || !finite(text->CharSpacing())) return false;
    }
    if (auto* container = dynamic_cast<TContainer2D*>(&object)) {
        const auto members = container->Objects().GetIterator();
        for (TGraphicObject* member = members->First(); member != nullptr; member = members->Next()) {
            auto* member2D = dynamic_cast<TObject2D*>(member);
            if (member2D != nullptr && !HoldsOnlyFinitePoints(*member2D)) return false;
        }
    }
    return true;
}

// How far from the origin a block may carry a point into the drawing, and how
// large its composed transforms may grow: far beyond any real drawing, yet
// small enough that a distance, an angle or a scale the DXF export derives
// from two such numbers stays finite.
constexpr double kFarthestCoordinate = 1e150;

bool WithinReach(double value) {
    return std::fabs(value) <= kFarthestCoordinate;  // false for NaN too
}

bool WithinReach(const TPoint2D& p, const TMatrix2D& m) {
    const TPoint2D q = CartesianPoint(PointTimesMatrix2D(p, m));
    return WithinReach(q.X) && WithinReach(q.Y);
}

// Whether every point of the object, carried through its own transform and
// those of the containers around it, lands within reach: the points that are
// exported (a curve's profile, a text's placed corners) and the transform
// itself, which a block instance exports as its place and scales.
bool StaysWithinReach(TObject2D& object, const TMatrix2D& parent) {
    const TMatrix2D m = MultiplyMatrix2D(object.GetObjectMatrix(), parent);
    for (const auto& row : m.M)
        if (!std::all_of(row.begin(), row.end(), [](double value) { return WithinReach(value); })) return false;
    if (auto* primitive = dynamic_cast<TPrimitive2D*>(&object)) {
        for (const TPoint2D& p : primitive->Points().Points())
            if (!WithinReach(p, m)) return false;
    }
    if (auto* outline = dynamic_cast<TOutline2D*>(&object)) {
        const ProfileUse use(*outline);
        if (outline->HasProfilePoints())
            for (const TPoint2D& p : outline->GetProfilePoints().Points())
                if (!WithinReach(p, m)) return false;
    }
    if (const auto* text = dynamic_cast<const TJustifiedVectText2D*>(&object)) {
        const TRect2D placed = text->PlacedBox();
        const double baseline = placed.Top - text->Height();
        for (const TPoint2D& p : {MakePoint2D(placed.Left, baseline), MakePoint2D(placed.Right, baseline),
                                  MakePoint2D(0.0, text->Height()), MakePoint2D(1.0, 0.0)})
            if (!WithinReach(p, m)) return false;
    }
    if (auto* container = dynamic_cast<TContainer2D*>(&object)) {
        const auto members = container->Objects().GetIterator();
        for (TGraphicObject* member = members->First(); member != nullptr; member = members->Next()) {
            auto* member2D = dynamic_cast<TObject2D*>(member);
            if (member2D != nullptr && !StaysWithinReach(*member2D, m)) return false;
        }
    }
    return true;
}

// Why an object read from a stream (a source block, or an object of the
// drawing) cannot be kept, or none: it must stand for finite points, its
// transforms must keep them within reach, and the DXF export must be able to
// write it, so that a drawing holding whatever loads always draws and exports.
// The check before the export's own tells the user the likelier cause.
const char* RefusalOf(TObject2D& object) {
    if (!HoldsOnlyFinitePoints(object)) return "holds a coordinate that is not a finite number";
    if (!StaysWithinReach(object, IdentityMatrix2D)) return "places a point too far out to be drawn or exported";
    auto* block = dynamic_cast<TSourceBlock2D*>(&object);
    if (block != nullptr ? !TDXF2DExport::CanWriteBlock(*block) : !TDXF2DExport::CanWriteObject(object))
        return "has a shape the DXF export cannot write";
    return nullptr;
}

// The class of a stored class index, or none when the registry has no class
// there that can read it. An index past the registry cannot come from any
// class and raises ECADOutOfBound: the stream is damaged.
const TGraphicObjectClass* ReadableClass(std::uint16_t index) {
    try {
        const TGraphicObjectClass& objectClass = CADCoreFindClassByIndex(index);
        return objectClass.CreateFromStream != nullptr ? &objectClass : nullptr;
    } catch (const ECADObjClassNotFound&) {
        return nullptr;
    }
}

// Deletes, in one walk, every entry the predicate picks.
template <class Predicate>
void DeleteEvery(TGraphicObjList& list, Predicate picks) {
    const std::unique_ptr<TExclusiveGraphicObjIterator> walk = list.GetExclusiveIterator();
    const int count = walk->Count();
    TGraphicObject* object = walk->First();
    for (int visited = 0; visited < count && object != nullptr; ++visited) {
        if (picks(*object)) {
            walk->DeleteCurrent();
            object = walk->Current();
        } else {
            object = walk->Next();
        }
    }
}

}  // namespace

TObject2D* TQVCmp2D::AddObject2D(std::int32_t id, std::unique_ptr<TObject2D> object) {
    return static_cast<TObject2D*>(AddObject(id, std::move(object)));
}

TObject2D* TQVCmp2D::GetObject2D(std::int32_t id) {
    TGraphicObject* object = FindObject(id);
    if (object == nullptr) return nullptr;
    return &dynamic_cast<TObject2D&>(*object);
}

TSourceBlock2D& TQVCmp2D::FindSourceBlock(std::string_view name) {
    const TBlockName wanted = MakeBlockName(name);
    const std::unique_ptr<TGraphicObjIterator> blocks = SourceBlockIterator();
    for (TGraphicObject* object = blocks->First(); object != nullptr; object = blocks->Next()) {
        auto* block = dynamic_cast<TSourceBlock2D*>(object);
        if (block != nullptr && block->Name() == wanted) return *block;
    }
    throw ECADListObjNotFound("TCADCmp2D.FindSourceBlock: Source block " + std::string(BlockNameText(wanted)) +
                              " not found");
}

void TQVCmp2D::DeleteSourceBlock(std::string_view name) {
    TSourceBlock2D& block = FindSourceBlock(name);
    if (block.ReferenceCount() > 0) {
        throw ECADCoreException("TCADCmp2D.DeleteSourceBlock: Remove the references before the source");
    }
    TQVCmp::DeleteSourceBlock(block.ID());
}

void TQVCmp2D::TransformObjects(std::span<const std::int32_t> ids, const TMatrix2D& m) {
    if (ids.empty()) return;
    {
        const std::unique_ptr<TExclusiveGraphicObjIterator> objects = ObjectListExclusiveIterator();
        auto transform = [&m](TGraphicObject* object) {
            if (auto* object2D = dynamic_cast<TObject2D*>(object)) {
                object2D->ApplyTransform(m);
                object2D->FreezeTransform();
            }
        };
        if (ids.front() < 0) {
            for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next()) {
                transform(object);
            }
        } else {
            for (const std::int32_t id : ids) {
                if (TGraphicObject* object = objects->Search(id)) transform(object);
            }
        }
    }
    if (RepaintAfterTransform()) RepaintViewports();
}

void TQVCmp2D::GetDrawingBox(TRect2D& box) {
    if (ObjectCount() == 0) return;
    box = MakeRect2D(kNoBoxExtent, kNoBoxExtent, -kNoBoxExtent, -kNoBoxExtent);
    const std::unique_ptr<TGraphicObjIterator> objects = ObjectListIterator();
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (object2D == nullptr || !object2D->Visible() || !Layers().LayerByIndex(object2D->Layer()).Visible()) {
            continue;
        }
        object2D->RecalcBox();
        const TRect2D& b = object2D->Box();
        if (b.Left < box.Left) box.Left = b.Left;
        if (b.Bottom < box.Bottom) box.Bottom = b.Bottom;
        if (b.Right > box.Right) box.Right = b.Right;
        if (b.Top > box.Top) box.Top = b.Top;
    }
}

void TQVCmp2D::LoadBlocksFromStream(BinaryReader& stream, const VersionTag& version) {
    const std::int32_t count = stream.readInt32();
    if (count < 1) return;
    stream.requireAvailable(static_cast<std::uint64_t>(count), kSmallestObjectEntry,
                            "TCADCmp.LoadBlocksFromStream: Blocks");
    for (std::int32_t entry = 0; entry < count; ++entry) {
        const TGraphicObjectClass* objectClass = ReadableClass(stream.readUInt16());
        if (objectClass == nullptr) {
            // Without the class the rest of the stream cannot be read.
            ShowMessage(kClassNotFound);
            return;
        }
        std::unique_ptr<TGraphicObject> object = objectClass->CreateFromStream(stream, version);
        auto* block = dynamic_cast<TSourceBlock2D*>(object.get());
        if (block == nullptr) {
            ShowMessage("Not a source block. Object discarded.");
            continue;
        }
        if (const char* refusal = RefusalOf(*block)) {
            ShowMessage("The block \"" + std::string(BlockNameText(block->Name())) + "\" " + refusal +
                        ". The block will not be loaded");
            continue;
        }
        try {
            const std::unique_ptr<TGraphicObjIterator> blocks = SourceBlockIterator();
            block->RelinkBlockSources(*blocks);
        } catch (const ECADListObjNotFound&) {
            ShowMessage(kSourceBlockNotFound);
            continue;
        }
        AddSourceBlock(-1, std::move(object));
    }
}

void TQVCmp2D::SaveBlocksToStream(BinaryWriter& stream, bool asLibrary) {
    const std::size_t countAt = stream.position();
    stream.writeInt32(SourceBlockCount());
    std::int32_t written = 0;
    {
        const std::unique_ptr<TGraphicObjIterator> blocks = SourceBlocks().GetPrivilegedIterator();
        for (TGraphicObject* object = blocks->First(); object != nullptr; object = blocks->Next()) {
            auto* block = dynamic_cast<TSourceBlock2D*>(object);
            if (block == nullptr || !block->MustSave() || block->FromLibrary() != asLibrary) continue;
            WriteObjectWithClassIndex(stream, *block);
            ++written;
        }
    }
    stream.patchInt32(countAt, written);
}

void TQVCmp2D::LoadObjectsFromStream(BinaryReader& stream, const VersionTag& version) {
    const std::unique_ptr<TExclusiveGraphicObjIterator> blocks = SourceBlockExclusiveIterator();
    std::int32_t remaining = stream.readInt32();
    const std::uint8_t increment = remaining < 1 ? 0 : static_cast<std::uint8_t>(100 / remaining);
    // Every entry takes bytes of the stream, so a count larger than the
    // stream only ends sooner, at the stream's end.
    while (remaining > 0) {
        const std::uint16_t index = stream.readUInt16();
        if (index == kObjectStreamEndMark) break;
        --remaining;
        const TGraphicObjectClass* objectClass = ReadableClass(index);
        if (objectClass == nullptr) {
            ShowMessage(kClassNotFound);
            return;
        }
        std::unique_ptr<TGraphicObject> object = objectClass->CreateFromStream(stream, version);
        ReportLoadProgress(increment);
        auto* object2D = dynamic_cast<TObject2D*>(object.get());
        if (object2D == nullptr) {
            ShowMessage("Not 2D Object. Object discarded.");
            continue;
        }
        try {
            if (auto* container = dynamic_cast<TContainer2D*>(object2D)) {
                container->RelinkBlockSources(*blocks);
            } else if (auto* instance = dynamic_cast<TBlock2D*>(object2D)) {
                instance->UpdateReference(*blocks);
            }
        } catch (const ECADListObjNotFound&) {
            ShowMessage(kSourceBlockNotFound);
            continue;
        }
        if (const char* refusal = RefusalOf(*object2D)) {
            ShowMessage(std::string("An object ") + refusal + ". Object discarded.");
            continue;
        }
        SetCurrentLayer(object2D->Layer());
        AddObject(-1, std::move(object));
    }
}

void TQVCmp2D::SaveObjectsToStream(BinaryWriter& stream) {
    const std::unique_ptr<TGraphicObjIterator> objects = Objects().GetPrivilegedIterator();
    const std::int32_t count = objects->Count();
    stream.writeInt32(count);
    std::int32_t remaining = count;
    const std::int32_t increment = count == 0 ? 0 : 100 / count;
    for (TGraphicObject* object = objects->First(); object != nullptr; object = objects->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (object2D == nullptr || !object2D->MustSave() || !Layers().LayerByIndex(object2D->Layer()).Storable()) {
            continue;
        }
        WriteObjectWithClassIndex(stream, *object2D);
        ReportSaveProgress(static_cast<std::uint8_t>(std::clamp(100 - increment * remaining, 0, 100)));
        --remaining;
    }
    if (remaining > 0) stream.writeUInt16(kObjectStreamEndMark);
}

void TQVCmp2D::DeleteSavedSourceBlocks() {
    DeleteEvery(SourceBlocks(), [](const TGraphicObject& object) {
        const auto* block = dynamic_cast<const TSourceBlock2D*>(&object);
        return block != nullptr && block->MustSave() && !block->FromLibrary();
    });
}

void TQVCmp2D::DeleteLibrarySourceBlocks() {
    DeleteEvery(SourceBlocks(), [](const TGraphicObject& object) {
        const auto* block = dynamic_cast<const TSourceBlock2D*>(&object);
        return block != nullptr && block->FromLibrary();
    });
}

}  // namespace calvoro
