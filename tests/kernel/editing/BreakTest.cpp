// The break over a table of crossing objects: every piece lies on its source,
// the pieces of a source run end to end from its start to its end and add up
// to its length (so they cover it exactly once), and the crossings come back
// as marks.
#include "kernel/editing/BreakCommand.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TPolygon2D.h"

#include "EditingTestSupport.h"

#include <functional>

using namespace calvoro;
using namespace calvoro::test;

namespace {

using Breaks = EditingTest;

// An object's world geometry: an arc, or the vertices of a line or polyline.
struct Shape {
    std::optional<WorldArc> Arc;
    std::vector<TPoint2D> Points;

    explicit Shape(TObject2D& object) : Arc(ArcOf(object)) {
        if (const auto segment = SegmentOf(object); segment && object.InheritsFrom(TLine2D::Class)) {
            Points = {segment->A, segment->B};
        } else if (!Arc) {
            Points = WorldPolylineOf(object);
        }
    }
    TPoint2D Start() const { return Arc ? ArcStartPoint(*Arc) : Points.front(); }
    TPoint2D End() const { return Arc ? ArcEndPoint(*Arc) : Points.back(); }
    double Length() const {
        double length = Arc ? Arc->Radius * Arc->Sweep : 0.0;
        for (std::size_t i = 0; i + 1 < Points.size(); ++i) length += Distance(Points[i], Points[i + 1]);
        return length;
    }
    double DistanceTo(const TPoint2D& p) const {
        if (Arc) return SweepOffset(*Arc, p) ? std::fabs(Distance(Arc->Centre, p) - Arc->Radius) : 1e9;
        double best = 1e9;
        for (std::size_t i = 0; i + 1 < Points.size(); ++i) {
            best = std::min(best, SegmentDistance(WorldSegment{Points[i], Points[i + 1]}, p));
        }
        return best;
    }
    // Vertices and segment middles, or the ends and middle of the arc.
    std::vector<TPoint2D> Samples() const {
        if (Arc) return {Start(), PointOnArc(*Arc, Arc->Start + Arc->Sweep / 2), End()};
        std::vector<TPoint2D> samples = Points;
        for (std::size_t i = 0; i + 1 < Points.size(); ++i) {
            samples.push_back(P((Points[i].X + Points[i + 1].X) / 2, (Points[i].Y + Points[i + 1].Y) / 2));
        }
        return samples;
    }
};

const Maker kSquare = [](Sketch& s) {
    return s.Add(std::make_unique<TPolygon2D>(-1, std::vector{P(0, 0), P(4, 0), P(4, 4), P(0, 4)}));
};
const Maker kFrame = [](Sketch& s) { return s.Add(std::make_unique<TFrame2D>(-1, P(0, 0), P(4, 3))); };

TEST_F(Breaks, EveryPieceLiesOnItsSourceAndThePiecesCoverItOnce) {
    const struct BreakCase {
        const char* name;
        Maker first, second;
        int pieces1, pieces2;  // 0: the object is not cut and stays
        int marks;
    } cases[] = {
        // clang-format off
        {"two crossing lines", Line(P(0.1, 0.2), P(9.7, 3.3)), Line(P(4.4, -3), P(5.1, 7)), 2, 2, 1},
        {"a line ending on another", Line(P(0, 0), P(10, 0)), Line(P(3.3, 0), P(3.3, 7)), 2, 0, 1},
        {"a full circle broken by a line", Circle(P(1.5, 1.5), 4), Line(P(-5, 2), P(8, 2.5)), 2, 3, 2},
        {"a line tangent to a circle", Line(P(-5, 4), P(5, 4)), Circle(P(0, 0), 4), 2, 1, 1},
        {"a line across an arc once", Line(P(2, -8), P(2, 8)), Arc(P(0, 0), 5, 0, std::numbers::pi), 2, 2, 1},
        {"an arc across 0 degrees and a circle", Arc(P(6, 0), 3, Deg(-100), Deg(100)), Circle(P(0, 0), 8), 3, 2, 2},
        {"two arcs that cross once", Arc(P(0, 0), 5, 0, Deg(90)), Arc(P(6, 0), 3, Deg(90), Deg(180)), 2, 2, 1},
        {"a polyline crossed twice by a line", Poly({P(0, 0), P(2, 4), P(4, 0)}), Line(P(-1, 2.3), P(5, 1.9)), 3, 3, 2},
        {"a polyline crossed three times", Poly({P(0, 0), P(2, 4), P(4, 0), P(6, 4)}), Line(P(-1, 2.2), P(7, 1.7)), 4, 4, 3},
        {"a line through a vertex", Poly({P(0, 0), P(2, 4), P(4, 0)}), Line(P(2, -1), P(2, 6)), 2, 2, 1},
        {"a line just beside a vertex", Poly({P(0, 0), P(2, 4), P(4, 0)}), Line(P(2.0002, -1), P(2.0002, 6)), 2, 2, 1},
        {"a polyline crossing another at its vertex", Poly({P(0, 0), P(10, 0), P(10, 5)}), Poly({P(3, -2), P(5, 0), P(6, 3)}), 2, 2, 1},
        // Stored as a dip below the X axis; the mirror shows an arch the line crosses twice.
        {"a mirrored polyline", Poly({P(0, 0), P(2, -4), P(4, 0)}, MirrorMatrix2D(kMirrorY)), Line(P(-1, 2), P(5, 2)), 3, 3, 2},
        {"a polygon crossed on its closing edge", kSquare, Line(P(-1, 2), P(1, 2)), 2, 2, 1},
        {"a frame crossed by a line", kFrame, Line(P(1.7, -1), P(2.2, 4)), 3, 3, 2},
        // clang-format on
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.name);
        Sketch sketch;
        const std::int32_t id1 = c.first(sketch), id2 = c.second(sketch);
        // The pieces keep their source's layer, which tells them apart.
        sketch.Object(id1).SetLayer(1);
        sketch.Object(id2).SetLayer(2);
        const Shape sources[] = {Shape(sketch.Object(id1)), Shape(sketch.Object(id2))};

        const EditOutcome outcome = BreakObjects(sketch.drawing, EditPick::Two(id1, P(0, 0), id2, P(0, 0)));
        ASSERT_TRUE(outcome.Done()) << outcome.Status;
        EXPECT_EQ(static_cast<int>(outcome.Marks.size()), c.marks);
        for (const TPoint2D& mark : outcome.Marks) {
            EXPECT_LT(sources[0].DistanceTo(mark), kNear);
            EXPECT_LT(sources[1].DistanceTo(mark), kNear);
        }
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE(k == 0 ? "first object" : "second object");
            std::vector<Shape> pieces;
            for (const std::int32_t id : outcome.Added) {
                if (sketch.Object(id).Layer() == k + 1) pieces.emplace_back(sketch.Object(id));
            }
            ASSERT_EQ(static_cast<int>(pieces.size()), c.pieces1 * (1 - k) + c.pieces2 * k);
            EXPECT_EQ(sketch.drawing.FindObject(k == 0 ? id1 : id2) == nullptr, !pieces.empty());
            if (pieces.empty()) continue;
            const Shape& source = sources[k];
            const bool closedCircle = source.Arc && source.Arc->Full;
            TPoint2D from = closedCircle ? pieces.front().Start() : source.Start();
            double length = 0.0;
            for (const Shape& piece : pieces) {
                for (const TPoint2D& p : piece.Samples()) EXPECT_LT(source.DistanceTo(p), kNear) << p;
                EXPECT_LT(Distance(piece.Start(), from), kNear);
                // No piece, nor any segment of one, is degenerate.
                for (std::size_t i = 0; i + 1 < piece.Points.size(); ++i) {
                    EXPECT_GT(Distance(piece.Points[i], piece.Points[i + 1]), kPolylineCutGap / 2);
                }
                EXPECT_GT(piece.Length(), kPolylineCutGap / 2);
                from = piece.End();
                length += piece.Length();
            }
            EXPECT_LT(Distance(from, closedCircle ? pieces.front().Start() : source.End()), kNear);
            EXPECT_NEAR(length, source.Length(), 1e-9);
        }
    }
}

}  // namespace
