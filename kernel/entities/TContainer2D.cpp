// Containers: nested objects drawn, picked and streamed as one object.
#include "kernel/entities/TContainer2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/ClassRegistry.h"
#include "kernel/model/GraphicObjIterator.h"

#include <vector>

namespace calvoro {

const TGraphicObjectClass TContainer2D::Class{"TContainer2D", &TObject2D::Class, &ConstructFromStream<TContainer2D>};

namespace {

// The smallest record a nested object can have: class index, header, matrix.
constexpr std::size_t MinimumNestedRecord = 2 + 6 + 72;

// How deep the container being read lies; a crafted stream must not nest
// deep enough to exhaust the stack.
thread_local int readingDepth = 0;

class ReadingDepthGuard {
public:
    ReadingDepthGuard() {
        if (readingDepth >= TContainer2D::MaxNestingDepth) {
            throw ECADFileNotValid("TContainer2D.CreateFromStream: Containers nested too deeply.");
        }
        ++readingDepth;
    }
    ~ReadingDepthGuard() { --readingDepth; }
    ReadingDepthGuard(const ReadingDepthGuard&) = delete;
    ReadingDepthGuard& operator=(const ReadingDepthGuard&) = delete;
};

// Calls fn for every 2D object of the list, in list order.
template <class Fn>
void ForEach2D(TGraphicObjList& list, Fn&& fn) {
    const std::unique_ptr<TGraphicObjIterator> iterator = list.GetIterator();
    for (TGraphicObject* object = iterator->First(); object != nullptr; object = iterator->Next()) {
        if (auto* child = dynamic_cast<TObject2D*>(object)) fn(*child);
    }
}

}  // namespace

TContainer2D::TContainer2D(std::int32_t id) : TObject2D(id) {}

TContainer2D::TContainer2D(BinaryReader& reader, const VersionTag& version) : TObject2D(reader, version) {
    const ReadingDepthGuard depth;
    const std::int32_t count = reader.readInt32();
    if (count < 0) throw ECADFileNotValid("TContainer2D.CreateFromStream: Negative object count.");
    reader.requireAvailable(static_cast<std::uint64_t>(count), MinimumNestedRecord, "TContainer2D objects");
    for (std::int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TGraphicObject> child = ReadObjectWithClassIndex(reader, version);
        // Everything a container holds is drawn and picked as a 2D object.
        if (dynamic_cast<TObject2D*>(child.get()) == nullptr) {
            throw ECADFileNotValid("TContainer2D.CreateFromStream: " + std::string(child->ClassName()) +
                                   " is not a 2D object.");
        }
        child->RecalcBox();
        objects_.Add(std::move(child));
    }
    RecalcBox();
}

std::unique_ptr<TObject2D> TContainer2D::Clone() const {
    return CloneByAssign(*this, std::make_unique<TContainer2D>(ID()));
}

void TContainer2D::UpdateBox() {
    bool first = true;
    TRect2D box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    ForEach2D(objects_, [&](TObject2D& child) {
        box = first ? ReorderRect2D(child.Box()) : UnionRect2D(box, child.Box());
        first = false;
    });
    if (!first && HasTransform()) box = TransformBoundingBox2D(box, GetObjectMatrix());
    SetBox(box);
}

void TContainer2D::SaveToStream(BinaryWriter& writer) {
    TObject2D::SaveToStream(writer);
    writer.writeInt32(objects_.Count());
    const std::unique_ptr<TGraphicObjIterator> iterator = objects_.GetIterator();
    for (TGraphicObject* object = iterator->First(); object != nullptr; object = iterator->Next()) {
        WriteObjectWithClassIndex(writer, *object);
    }
}

void TContainer2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    const auto* other = dynamic_cast<const TContainer2D*>(&source);
    std::vector<std::unique_ptr<TObject2D>> copies;
    if (other != nullptr) {
        if (other->objects_.ExclusiveHeld()) {
            throw ECADListBlocked("TContainer2D.Assign: The list has an exclusive iterator.");
        }
        // Walking the source only counts an iterator on its list.
        ForEach2D(const_cast<TGraphicObjList&>(other->objects_),
                  [&](TObject2D& child) { copies.push_back(child.Clone()); });
        // The copies exist before anything here changes, so a refusal to
        // clear leaves this container as it was.
        objects_.Clear();
    }
    TObject2D::Assign(source);
    for (auto& copy : copies) objects_.Add(std::move(copy));
}

void TContainer2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int mode, const TRect2D& clipRect) {
    const TMatrix2D m = MultiplyMatrix2D(GetObjectMatrix(), matrix);
    const PenAttributes pen = canvas.Target().Pen();
    const BrushAttributes brush = canvas.Target().Brush();
    ForEach2D(objects_, [&](TObject2D& child) {
        canvas.Target().SetPen(pen);
        canvas.Target().SetBrush(brush);
        child.Draw(m, canvas, mode, clipRect);
    });
}

int TContainer2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    int result = TObject2D::HitTest(point, distance, aperture);
    if (result != kHitNearBox) return result;
    const TPoint2D local = HasTransform() ? WorldToObject(point) : point;
    double best = 2.0 * aperture;
    ForEach2D(objects_, [&](TObject2D& child) {
        double childDistance = kNoDistance;
        if (child.HitTest(local, childDistance, aperture) >= kHitInside && childDistance < best) {
            best = childDistance;
            result = child.ID();
        }
    });
    distance = best;
    return result;
}

void TContainer2D::DrawControlPoints(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int width) {
    if (objects_.Count() == 0) return;
    TObject2D::DrawControlPoints(matrix, canvas, width);
}

void TContainer2D::RelinkBlockSources(TGraphicObjIterator& blocks) {
    ForEach2D(objects_, [&](TObject2D& child) {
        if (auto* container = dynamic_cast<TContainer2D*>(&child)) {
            container->RelinkBlockSources(blocks);
        } else if (auto* block = dynamic_cast<TBlock2D*>(&child)) {
            block->UpdateReference(blocks);
        }
    });
    RecalcBox();
}

}  // namespace calvoro
