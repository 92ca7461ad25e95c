// World copies, exploding composites and deleting small entities.
#include "kernel/editing/ExplodeAndCopy.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/DrawingChange.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TBSpline2D.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TContainer2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/model/GraphicObjIterator.h"

#include <cmath>
#include <vector>

namespace calvoro {

namespace {

template <class T>
bool Is(const TObject2D& object) {
    return &object.ClassType() == &T::Class;
}

TPoint2D World(const TPoint2D& p, const TMatrix2D& m) {
    return CartesianPoint(PointTimesMatrix2D(p, m));
}

std::vector<TPoint2D> WorldPoints(const TPrimitive2D& primitive, const TMatrix2D& m) {
    std::vector<TPoint2D> points;
    for (const TPoint2D& p : primitive.Points().Points()) points.push_back(World(p, m));
    return points;
}

// A frame stays a frame only while the transform keeps its sides upright.
bool KeepsAxes(const TMatrix2D& m) {
    return m.M[0][1] == 0.0 && m.M[1][0] == 0.0 && m.M[0][2] == 0.0 && m.M[1][2] == 0.0;
}

std::unique_ptr<TObject2D> ClonedWithTransform(const TObject2D& object, const TMatrix2D& outer) {
    std::unique_ptr<TObject2D> copy = object.Clone();
    if (!(outer == IdentityMatrix2D)) copy->ApplyTransform(outer);
    copy->FreezeTransform();
    return copy;
}

// The four sides of a frame in world coordinates, going round from its first corner.
std::vector<std::unique_ptr<TObject2D>> FrameSides(const TFrame2D& frame, const TMatrix2D& m) {
    const TPoint2D a = CartesianPoint(frame.Points().Get(0));
    const TPoint2D c = CartesianPoint(frame.Points().Get(1));
    const TPoint2D corners[4] = {a, MakePoint2D(c.X, a.Y), c, MakePoint2D(a.X, c.Y)};
    std::vector<std::unique_ptr<TObject2D>> sides;
    for (int i = 0; i < 4; ++i)
        sides.push_back(std::make_unique<TLine2D>(-1, World(corners[i], m), World(corners[(i + 1) % 4], m)));
    return sides;
}

void Count(const TObject2D& member, ExplodeCounts& counts) {
    if (Is<TLine2D>(member))
        ++counts.Lines;
    else if (Is<TCerchio2D>(member) || Is<TArco2D>(member))
        ++counts.CirclesAndArcs;
    else if (Is<TPolyline2D>(member))
        ++counts.Polylines;
    else
        ++counts.Others;
}

// Every member of the list as a world copy standing for that member.
void CarryMembers(const TGraphicObjList& members, const TMatrix2D& outer, DrawingChange& change,
                  ExplodeCounts& counts) {
    auto it = const_cast<TGraphicObjList&>(members).GetIterator();
    for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next()) {
        auto* member = dynamic_cast<TObject2D*>(o);
        if (member == nullptr) continue;
        change.AddPiece(WorldCopy(*member, outer), *member);
        Count(*member, counts);
    }
}

}  // namespace

std::unique_ptr<TObject2D> WorldCopy(const TObject2D& object, const TMatrix2D& outer) {
    const TMatrix2D m = MultiplyMatrix2D(object.GetObjectMatrix(), outer);
    std::unique_ptr<TObject2D> copy;
    if (Is<TPunto2D>(object)) {
        copy = std::make_unique<TPunto2D>(-1, World(static_cast<const TPunto2D&>(object).Points().Get(0), m));
    } else if (Is<TLine2D>(object)) {
        const auto& line = static_cast<const TLine2D&>(object);
        copy = std::make_unique<TLine2D>(-1, World(line.Points().Get(0), m), World(line.Points().Get(1), m));
    } else if (Is<TFrame2D>(object) && KeepsAxes(m)) {
        const auto& frame = static_cast<const TFrame2D&>(object);
        copy = std::make_unique<TFrame2D>(-1, World(frame.Points().Get(0), m), World(frame.Points().Get(1), m));
    } else if (Is<TCerchio2D>(object)) {
        const auto& circle = static_cast<const TCerchio2D&>(object);
        copy = std::make_unique<TCerchio2D>(-1, World(circle.Points().Get(0), m), World(circle.Points().Get(1), m));
    } else if (Is<TArco2D>(object)) {
        // The arc as the world sees it runs counter-clockwise whatever the
        // transform (a mirror included), which is how a new arc is built.
        std::unique_ptr<TObject2D> moved = ClonedWithTransform(object, outer);
        const TArcData arc = static_cast<const TArco2D&>(*moved).GetArcData();
        copy = std::make_unique<TArco2D>(-1, arc.Centre, MakePoint2D(arc.Centre.X + arc.Radius, arc.Centre.Y),
                                         arc.StartAngle, arc.EndAngle);
    } else if (Is<TPolyline2D>(object)) {
        const std::vector<TPoint2D> points = WorldPoints(static_cast<const TPolyline2D&>(object), m);
        copy = std::make_unique<TPolyline2D>(-1, points);
    } else if (Is<TBSpline2D>(object)) {
        const std::vector<TPoint2D> points = WorldPoints(static_cast<const TBSpline2D&>(object), m);
        copy = std::make_unique<TBSpline2D>(-1, points);
    } else {
        return ClonedWithTransform(object, outer);
    }
    copy->SetLayer(object.Layer());
    return copy;
}

TObject2D* CopiaOggetto(TQVCmp2D& drawing, std::int32_t id, const TMatrix2D& outer) {
    auto* object = dynamic_cast<TObject2D*>(drawing.FindObject(id));
    if (object == nullptr) return nullptr;
    DrawingChange change;
    change.AddPiece(WorldCopy(*object, outer), *object);
    const EditOutcome outcome = change.Apply(drawing);
    if (!outcome.Done() || outcome.Added.empty()) return nullptr;
    return dynamic_cast<TObject2D*>(drawing.FindObject(outcome.Added.front()));
}

bool EsplodeBlocco(TQVCmp2D& drawing, std::int32_t id, ExplodeCounts& counts) {
    auto* object = dynamic_cast<TObject2D*>(drawing.FindObject(id));
    if (object == nullptr) return false;
    ExplodeCounts found;
    DrawingChange change;
    TSourceBlock2D* source = nullptr;
    if (Is<TContainer2D>(*object)) {
        const auto& container = static_cast<const TContainer2D&>(*object);
        if (container.Objects().Count() == 0) return false;
        CarryMembers(container.Objects(), object->GetObjectMatrix(), change, found);
    } else if (Is<TBlock2D>(*object)) {
        source = static_cast<const TBlock2D&>(*object).SourceBlock();
        if (source == nullptr || source->Objects().Count() == 0) return false;
        // The members sit in the source's coordinates, which the source's own
        // transform and then the instance's carry to the world.
        CarryMembers(source->Objects(), MultiplyMatrix2D(source->GetObjectMatrix(), object->GetObjectMatrix()), change,
                     found);
    } else if (Is<TFrame2D>(*object)) {
        for (auto& side : FrameSides(static_cast<const TFrame2D&>(*object), object->GetObjectMatrix()))
            change.AddPiece(std::move(side), *object);
        found.Lines += 4;
    } else if (Is<TPolyline2D>(*object)) {
        const std::vector<TPoint2D> points =
            WorldPoints(static_cast<const TPolyline2D&>(*object), object->GetObjectMatrix());
        if (points.size() < 2) return false;
        for (std::size_t i = 1; i < points.size(); ++i) {
            change.AddPiece(std::make_unique<TLine2D>(-1, points[i - 1], points[i]), *object);
            ++found.Lines;
        }
    } else {
        return false;
    }
    change.Delete(*object);
    if (!change.Apply(drawing).Done()) return false;
    // A block of the library stays for the next insert.
    if (source != nullptr && source->ReferenceCount() == 0 && !source->FromLibrary())
        drawing.DeleteSourceBlock(source->ID());
    counts.Lines += found.Lines;
    counts.CirclesAndArcs += found.CirclesAndArcs;
    counts.Polylines += found.Polylines;
    counts.Others += found.Others;
    return true;
}

int DeleteSmallObjects(TQVCmp2D& drawing, double limit) {
    std::vector<std::int32_t> small;
    {
        auto it = drawing.ObjectListIterator();
        for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next()) {
            auto* object = dynamic_cast<TObject2D*>(o);
            if (object == nullptr || object->InheritsFrom(TBitmap2D::Class)) continue;
            const TRect2D& box = object->Box();
            if (std::fabs(box.Right - box.Left) < limit && std::fabs(box.Top - box.Bottom) < limit)
                small.push_back(object->ID());
        }
    }
    for (std::int32_t id : small) drawing.DeleteObject(id);
    return static_cast<int>(small.size());
}

}  // namespace calvoro
