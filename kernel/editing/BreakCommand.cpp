// The break of two crossing objects.
#include "kernel/editing/BreakCommand.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/ArcSplit.h"
#include "kernel/editing/DrawingChange.h"
#include "kernel/editing/WorldShapes.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/PlaneGeometry.h"

#include <algorithm>
#include <set>

namespace calvoro {

namespace {

// Where a crossing lies on one object: the segment and the distance from its
// first point (lines and polylines), or the sweep offset (arcs).
struct Cut {
    int Segment = 0;
    double Along = 0.0;
    TPoint2D Point;
};

struct Path {
    enum class Kind { Line, Arc, Polyline };
    TObject2D* Object = nullptr;
    Kind Shape = Kind::Polyline;
    std::vector<TPoint2D> Points;  // the world vertices of a line or polyline
    WorldArc Arc;
    std::vector<Cut> Cuts;

    int SegmentCount() const { return Shape == Kind::Arc ? 0 : static_cast<int>(Points.size()) - 1; }
};

std::optional<Path> PathOf(TObject2D& object) {
    Path path;
    path.Object = &object;
    if (object.InheritsFrom(TLine2D::Class)) {
        const std::optional<WorldSegment> segment = SegmentOf(object);
        if (!segment) return std::nullopt;
        path.Shape = Path::Kind::Line;
        path.Points = {segment->A, segment->B};
        return path;
    }
    if (const std::optional<WorldArc> arc = ArcOf(object)) {
        path.Shape = Path::Kind::Arc;
        path.Arc = *arc;
        return path;
    }
    path.Points = WorldPolylineOf(object);
    if (path.Points.size() < 2) return std::nullopt;
    return path;
}

void AddMark(std::vector<TPoint2D>& marks, const TPoint2D& p) {
    for (const TPoint2D& mark : marks) {
        if (IsSamePoint(mark, p)) return;
    }
    marks.push_back(p);
}

// A segment of one path against the other path.
void CrossSegment(Path& path, int i, Path& other, std::vector<TPoint2D>& marks) {
    const TPoint2D& a = path.Points[i];
    const TPoint2D& b = path.Points[i + 1];
    if (other.Shape == Path::Kind::Arc) {
        for (const TPoint2D& x : SegmentCircleCrossings(a, b, other.Arc.Centre, other.Arc.Radius)) {
            const std::optional<double> offset = SweepOffset(other.Arc, x);
            if (!offset) continue;
            path.Cuts.push_back(Cut{i, PointDistance(a, x), x});
            other.Cuts.push_back(Cut{0, *offset, x});
            AddMark(marks, x);
        }
        return;
    }
    for (int j = 0; j < other.SegmentCount(); ++j) {
        const TPoint2D& c = other.Points[j];
        const std::optional<TPoint2D> x = SegmentIntersection(a, b, c, other.Points[j + 1]);
        if (!x) continue;
        path.Cuts.push_back(Cut{i, PointDistance(a, *x), *x});
        other.Cuts.push_back(Cut{j, PointDistance(c, *x), *x});
        AddMark(marks, *x);
    }
}

void CrossArcs(Path& path1, Path& path2, std::vector<TPoint2D>& marks) {
    const TCircleCircleIntersection meet =
        CircleCircleIntersection(path1.Arc.Radius, path1.Arc.Centre, path2.Arc.Radius, path2.Arc.Centre);
    for (int k = 0; k < meet.Count; ++k) {
        const TPoint2D& x = meet.Points[k];
        // Touching circles give their point twice.
        if (k == 1 && IsSamePoint(x, meet.Points[0])) break;
        const std::optional<double> offset1 = SweepOffset(path1.Arc, x);
        const std::optional<double> offset2 = SweepOffset(path2.Arc, x);
        if (!offset1 || !offset2) continue;
        path1.Cuts.push_back(Cut{0, *offset1, x});
        path2.Cuts.push_back(Cut{0, *offset2, x});
        AddMark(marks, x);
    }
}

std::vector<TPoint2D> Crossings(Path& path1, Path& path2) {
    std::vector<TPoint2D> marks;
    if (path1.Shape == Path::Kind::Arc && path2.Shape == Path::Kind::Arc) {
        CrossArcs(path1, path2, marks);
    } else if (path1.Shape == Path::Kind::Arc) {
        for (int j = 0; j < path2.SegmentCount(); ++j) CrossSegment(path2, j, path1, marks);
    } else {
        for (int i = 0; i < path1.SegmentCount(); ++i) CrossSegment(path1, i, path2, marks);
    }
    return marks;
}

bool CutLine(const Path& path, DrawingChange& change) {
    const TPoint2D& a = path.Points[0];
    const TPoint2D& b = path.Points[1];
    const double length = PointDistance(a, b);
    std::vector<Cut> cuts;
    for (const Cut& cut : path.Cuts) {
        if (cut.Along > GeomTolerance() && length - cut.Along > GeomTolerance()) cuts.push_back(cut);
    }
    if (cuts.empty()) return false;
    std::sort(cuts.begin(), cuts.end(), [](const Cut& x, const Cut& y) { return x.Along < y.Along; });
    // A crossing at a vertex of the other object is found on both its segments.
    cuts.erase(std::unique(cuts.begin(), cuts.end(),
                           [](const Cut& x, const Cut& y) { return y.Along - x.Along <= GeomTolerance(); }),
               cuts.end());
    TPoint2D from = a;
    for (const Cut& cut : cuts) {
        change.AddPiece(std::make_unique<TLine2D>(-1, from, cut.Point), *path.Object);
        from = cut.Point;
    }
    change.AddPiece(std::make_unique<TLine2D>(-1, from, b), *path.Object);
    change.Delete(*path.Object);
    return true;
}

bool CutArc(const Path& path, DrawingChange& change) {
    std::vector<TPoint2D> points;
    for (const Cut& cut : path.Cuts) points.push_back(cut.Point);
    const std::vector<ArcPiece> pieces = ArcSplitPieces(path.Arc, points);
    if (pieces.empty()) return false;
    for (const ArcPiece& piece : pieces) change.AddPiece(MakeArcPiece(path.Arc, piece), *path.Object);
    change.Delete(*path.Object);
    return true;
}

bool CutPolyline(const Path& path, DrawingChange& change) {
    const int last = static_cast<int>(path.Points.size()) - 1;
    std::set<int> atVertex;
    std::vector<Cut> inside;
    for (const Cut& cut : path.Cuts) {
        const double length = PointDistance(path.Points[cut.Segment], path.Points[cut.Segment + 1]);
        int vertex = -1;
        if (cut.Along <= kPolylineCutGap) {
            vertex = cut.Segment;
        } else if (length - cut.Along <= kPolylineCutGap) {
            vertex = cut.Segment + 1;
        }
        if (vertex < 0) {
            inside.push_back(cut);
        } else if (vertex > 0 && vertex < last) {
            atVertex.insert(vertex);
        }
    }
    std::sort(inside.begin(), inside.end(), [](const Cut& x, const Cut& y) {
        return x.Segment != y.Segment ? x.Segment < y.Segment : x.Along < y.Along;
    });
    inside.erase(std::unique(inside.begin(), inside.end(),
                             [](const Cut& x, const Cut& y) {
                                 return x.Segment == y.Segment && y.Along - x.Along <= kPolylineCutGap;
                             }),
                 inside.end());
    if (inside.empty() && atVertex.empty()) return false;

    std::vector<TPoint2D> piece{path.Points[0]};
    const auto finish = [&](const TPoint2D& next) {
        change.AddPiece(std::make_unique<TPolyline2D>(-1, piece), *path.Object);
        piece = {next};
    };
    auto cut = inside.begin();
    for (int v = 1; v <= last; ++v) {
        for (; cut != inside.end() && cut->Segment == v - 1; ++cut) {
            piece.push_back(cut->Point);
            finish(cut->Point);
        }
        piece.push_back(path.Points[v]);
        if (atVertex.count(v) != 0) finish(path.Points[v]);
    }
    change.AddPiece(std::make_unique<TPolyline2D>(-1, piece), *path.Object);
    change.Delete(*path.Object);
    return true;
}

bool CutPath(const Path& path, DrawingChange& change) {
    switch (path.Shape) {
        case Path::Kind::Line:
            return CutLine(path, change);
        case Path::Kind::Arc:
            return CutArc(path, change);
        case Path::Kind::Polyline:
            return CutPolyline(path, change);
    }
    return false;
}

}  // namespace

EditOutcome BreakObjects(TQVCmp2D& drawing, const EditPick& pick) {
    if (pick.Count < 2) return EditOutcome::Refused(EditStatus::NotTwoObjects);
    if (pick.Ids[0] == pick.Ids[1]) return EditOutcome::Refused(EditStatus::SameObject);
    std::optional<Path> paths[2];
    for (int i = 0; i < 2; ++i) {
        auto* object = dynamic_cast<TObject2D*>(drawing.FindObject(pick.Ids[i]));
        if (object == nullptr) return EditOutcome::Refused(EditStatus::NotTwoObjects);
        paths[i] = PathOf(*object);
        if (!paths[i]) return EditOutcome::Refused(EditStatus::WrongKinds);
    }
    EditOutcome outcome;
    outcome.Marks = Crossings(*paths[0], *paths[1]);
    DrawingChange change;
    const bool cut1 = CutPath(*paths[0], change);
    const bool cut2 = CutPath(*paths[1], change);
    if (!cut1 && !cut2) return EditOutcome::Refused(EditStatus::NoCrossing);
    return change.Apply(drawing, std::move(outcome));
}

}  // namespace calvoro
