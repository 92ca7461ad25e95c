// Shared helpers of the editing tests: a drawing built object by object, its
// stream for before-and-after comparisons, and distances for the properties
// the commands must keep.
#pragma once

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/EditOutcome.h"
#include "kernel/editing/EditPick.h"
#include "kernel/editing/WorldShapes.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/model/BinaryWriter.h"

#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace calvoro {

inline std::ostream& operator<<(std::ostream& out, EditStatus status) {
    return out << "\"" << EditStatusText(status) << "\"";
}

}  // namespace calvoro

namespace calvoro::test {

// Near enough for points computed through a few divisions.
inline constexpr double kNear = 1e-9;

inline TPoint2D P(double x, double y) {
    return MakePoint2D(x, y);
}
inline double Deg(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

class EditingTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeEntityModule(); }
};

struct Sketch {
    std::int32_t Add(std::unique_ptr<TObject2D> object, const std::optional<TMatrix2D>& transform = std::nullopt) {
        if (transform) object->SetObjectMatrix(*transform);
        return drawing.AddObject(-1, std::move(object))->ID();
    }
    std::int32_t AddLine(TPoint2D a, TPoint2D b, const std::optional<TMatrix2D>& transform = std::nullopt) {
        return Add(std::make_unique<TLine2D>(-1, a, b), transform);
    }
    std::int32_t AddArc(TPoint2D centre, double radius, double start, double end) {
        return Add(std::make_unique<TArco2D>(-1, centre, P(centre.X + radius, centre.Y), start, end));
    }
    std::int32_t AddCircle(TPoint2D centre, double radius) {
        return Add(std::make_unique<TCerchio2D>(-1, centre, P(centre.X + radius, centre.Y)));
    }
    std::int32_t AddPolyline(std::vector<TPoint2D> points, const std::optional<TMatrix2D>& transform = std::nullopt) {
        return Add(std::make_unique<TPolyline2D>(-1, points), transform);
    }

    TObject2D& Object(std::int32_t id) { return dynamic_cast<TObject2D&>(*drawing.FindObject(id)); }
    WorldSegment Segment(std::int32_t id) { return *SegmentOf(Object(id)); }
    WorldArc Arc(std::int32_t id) { return *ArcOf(Object(id)); }
    std::vector<TObject2D*> All() {
        std::vector<TObject2D*> objects;
        const auto it = drawing.ObjectListIterator();
        for (TGraphicObject* o = it->First(); o != nullptr; o = it->Next())
            objects.push_back(dynamic_cast<TObject2D*>(o));
        return objects;
    }
    std::string Stream() {
        BinaryWriter writer;
        drawing.SaveObjectsToStream(writer);
        return writer.takeBytes();
    }

    TQVCmp2D drawing;
};

// Objects and picks for the tables: each adds itself to the sketch it is given.
using Maker = std::function<std::int32_t(Sketch&)>;
using PickMaker = std::function<EditPick(Sketch&)>;
inline Maker Line(TPoint2D a, TPoint2D b, std::optional<TMatrix2D> transform = std::nullopt) {
    return [=](Sketch& s) { return s.AddLine(a, b, transform); };
}
inline Maker Circle(TPoint2D centre, double radius) {
    return [=](Sketch& s) { return s.AddCircle(centre, radius); };
}
inline Maker Arc(TPoint2D centre, double radius, double start, double end) {
    return [=](Sketch& s) { return s.AddArc(centre, radius, start, end); };
}
inline Maker Poly(std::vector<TPoint2D> points, std::optional<TMatrix2D> transform = std::nullopt) {
    return [=](Sketch& s) { return s.AddPolyline(points, transform); };
}
inline PickMaker Two(Maker first, TPoint2D pick1, Maker second, TPoint2D pick2) {
    return [=](Sketch& s) {
        const std::int32_t id1 = first(s);
        return EditPick::Two(id1, pick1, second(s), pick2);
    };
}

inline double Distance(const TPoint2D& a, const TPoint2D& b) {
    return std::hypot(a.X - b.X, a.Y - b.Y);
}
// From the infinite line through the segment.
inline double LineDistance(const WorldSegment& s, const TPoint2D& p) {
    return std::fabs((s.B.X - s.A.X) * (p.Y - s.A.Y) - (s.B.Y - s.A.Y) * (p.X - s.A.X)) / Distance(s.A, s.B);
}
inline double SegmentDistance(const WorldSegment& s, const TPoint2D& p) {
    return Distance(p, ClosestPointOnSegment(p, s.A, s.B));
}
inline TPoint2D ArcStartPoint(const WorldArc& arc) {
    return PointOnArc(arc, arc.Start);
}
inline TPoint2D ArcEndPoint(const WorldArc& arc) {
    return PointOnArc(arc, arc.Start + arc.Sweep);
}

}  // namespace calvoro::test
