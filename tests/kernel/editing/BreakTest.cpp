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

double Deg(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// An object's world geometry: an arc, or the vertices of a line or polyline.
struct Shape {
    std::optional<WorldArc> Arc;
    std::vector<TPoint2D> Points;
};

Shape ShapeOf(TObject2D& object) {
    if (auto arc = ArcOf(object)) return Shape{arc, {}};
    if (object.InheritsFrom(TLine2D::Class)) {
        const WorldSegment segment = *SegmentOf(object);
        return Shape{std::nullopt, {segment.A, segment.B}};
    }
    return Shape{std::nullopt, WorldPolylineOf(object)};
}

double Length(const Shape& s) {
    if (s.Arc) return s.Arc->Radius * s.Arc->Sweep;
    double length = 0.0;
    for (std::size_t i = 0; i + 1 < s.Points.size(); ++i) length += Distance(s.Points[i], s.Points[i + 1]);
    return length;
}

TPoint2D StartOf(const Shape& s) {
    return s.Arc ? ArcStartPoint(*s.Arc) : s.Points.front();
}
TPoint2D EndOf(const Shape& s) {
    return s.Arc ? ArcEndPoint(*s.Arc) : s.Points.back();
}

double DistanceTo(const Shape& source, const TPoint2D& p) {
    if (source.Arc) {
        if (!SweepOffset(*source.Arc, p)) return 1e9;
        return std::fabs(Distance(source.Arc->Centre, p) - source.Arc->Radius);
    }
    double best = 1e9;
    for (std::size_t i = 0; i + 1 < source.Points.size(); ++i) {
        best = std::min(best, SegmentDistance(WorldSegment{source.Points[i], source.Points[i + 1]}, p));
    }
    return best;
}

// Vertices and the middle of every segment, or the ends and middle of an arc.
std::vector<TPoint2D> Samples(const Shape& s) {
    if (s.Arc) return {StartOf(s), PointOnArc(*s.Arc, s.Arc->Start + s.Arc->Sweep / 2), EndOf(s)};
    std::vector<TPoint2D> samples = s.Points;
    for (std::size_t i = 0; i + 1 < s.Points.size(); ++i) {
        samples.push_back(P((s.Points[i].X + s.Points[i + 1].X) / 2, (s.Points[i].Y + s.Points[i + 1].Y) / 2));
    }
    return samples;
}

struct BreakCase {
    const char* name;
    // Builds the two objects; the first goes on layer 1, the second on layer 2.
    std::function<std::pair<std::int32_t, std::int32_t>(Sketch&)> build;
    int pieces1, pieces2;  // 0: the object is not cut and stays as it was
    int marks;
};

std::vector<BreakCase> BreakCases() {
    return {
        {"two crossing lines",
         [](Sketch& s) { return std::pair{s.AddLine(P(0.1, 0.2), P(9.7, 3.3)), s.AddLine(P(4.4, -3), P(5.1, 7))}; },
         2, 2, 1},
        {"a line ending on another",
         [](Sketch& s) { return std::pair{s.AddLine(P(0, 0), P(10, 0)), s.AddLine(P(3.3, 0), P(3.3, 7))}; }, 2, 0,
         1},
        {"a full circle broken by a line",
         [](Sketch& s) { return std::pair{s.AddCircle(P(1.5, 1.5), 4), s.AddLine(P(-5, 2), P(8, 2.5))}; }, 2, 3, 2},
        {"a line tangent to a circle",
         [](Sketch& s) { return std::pair{s.AddLine(P(-5, 4), P(5, 4)), s.AddCircle(P(0, 0), 4)}; }, 2, 1, 1},
        {"a line across an arc once",
         [](Sketch& s) {
             return std::pair{s.AddLine(P(2, -8), P(2, 8)), s.AddArc(P(0, 0), 5, 0.0, std::numbers::pi)};
         },
         2, 2, 1},
        {"an arc across 0 degrees and a circle",
         [](Sketch& s) { return std::pair{s.AddArc(P(6, 0), 3, Deg(-100), Deg(100)), s.AddCircle(P(0, 0), 8)}; },
         3, 2, 2},
        {"two arcs that cross once",
         [](Sketch& s) {
             return std::pair{s.AddArc(P(0, 0), 5, 0.0, Deg(90)), s.AddArc(P(6, 0), 3, Deg(90), Deg(180))};
         },
         2, 2, 1},
        {"a polyline crossed twice by a line",
         [](Sketch& s) {
             return std::pair{s.AddPolyline({P(0, 0), P(2, 4), P(4, 0)}), s.AddLine(P(-1, 2.3), P(5, 1.9))};
         },
         3, 3, 2},
        {"a polyline crossed three times by a line",
         [](Sketch& s) {
             return std::pair{s.AddPolyline({P(0, 0), P(2, 4), P(4, 0), P(6, 4)}), s.AddLine(P(-1, 2.2), P(7, 1.7))};
         },
         4, 4, 3},
        {"a line through a vertex of a polyline",
         [](Sketch& s) {
             return std::pair{s.AddPolyline({P(0, 0), P(2, 4), P(4, 0)}), s.AddLine(P(2, -1), P(2, 6))};
         },
         2, 2, 1},
        {"a line within the gap of a polyline's vertex",
         [](Sketch& s) {
             return std::pair{s.AddPolyline({P(0, 0), P(2, 4), P(4, 0)}), s.AddLine(P(2.0002, -1), P(2.0002, 6))};
         },
         2, 2, 1},
        {"a mirrored polyline crossed by a line",
         [](Sketch& s) {
             // Stored as (0, 0) (2, -4) (4, 0): the mirror shows an arch over the X axis.
             return std::pair{s.AddPolyline({P(0, 0), P(2, -4), P(4, 0)}, MirrorMatrix2D(kMirrorY)),
                              s.AddLine(P(-1, 2), P(5, 2))};
         },
         3, 3, 2},
        {"a polygon crossed on its closing edge",
         [](Sketch& s) {
             return std::pair{s.Add(std::make_unique<TPolygon2D>(
                                  -1, std::vector<TPoint2D>{P(0, 0), P(4, 0), P(4, 4), P(0, 4)})),
                              s.AddLine(P(-1, 2), P(1, 2))};
         },
         2, 2, 1},
        {"a frame crossed by a line",
         [](Sketch& s) {
             return std::pair{s.Add(std::make_unique<TFrame2D>(-1, P(0, 0), P(4, 3))), s.AddLine(P(1.7, -1), P(2.2, 4))};
         },
         3, 3, 2},
        {"a polyline crossing another at one of its vertices",
         [](Sketch& s) {
             return std::pair{s.AddPolyline({P(0, 0), P(10, 0), P(10, 5)}), s.AddPolyline({P(3, -2), P(5, 0), P(6, 3)})};
         },
         2, 2, 1},
        {"two polylines",
         [](Sketch& s) {
             return std::pair{s.AddPolyline({P(0, 0), P(5, 5), P(10, 0)}), s.AddPolyline({P(0, 4), P(10, 4)})};
         },
         3, 3, 2},
    };
}

TEST_F(Breaks, EveryPieceLiesOnItsSourceAndThePiecesCoverItOnce) {
    for (const BreakCase& c : BreakCases()) {
        SCOPED_TRACE(c.name);
        Sketch sketch;
        const auto [id1, id2] = c.build(sketch);
        sketch.Object(id1).SetLayer(1);
        sketch.Object(id2).SetLayer(2);
        const Shape sources[] = {ShapeOf(sketch.Object(id1)), ShapeOf(sketch.Object(id2))};

        const EditOutcome outcome = BreakObjects(sketch.drawing, EditPick::Two(id1, P(0, 0), id2, P(0, 0)));
        ASSERT_TRUE(outcome.Done()) << outcome.Status;
        EXPECT_EQ(static_cast<int>(outcome.Marks.size()), c.marks);
        const int expected[] = {c.pieces1, c.pieces2};
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE(k == 0 ? "first object" : "second object");
            const std::int32_t id = k == 0 ? id1 : id2;
            std::vector<Shape> pieces;
            for (TObject2D* piece : sketch.AddedObjects(outcome)) {
                if (piece->Layer() == k + 1) pieces.push_back(ShapeOf(*piece));
            }
            ASSERT_EQ(static_cast<int>(pieces.size()), expected[k]);
            if (expected[k] == 0) {
                EXPECT_NE(sketch.drawing.FindObject(id), nullptr);
                continue;
            }
            EXPECT_EQ(sketch.drawing.FindObject(id), nullptr);
            const Shape& source = sources[k];
            double length = 0.0;
            TPoint2D from = StartOf(pieces.front());
            if (!(source.Arc && source.Arc->Full)) {
                EXPECT_LT(Distance(from, StartOf(source)), kNear);
            }
            for (const Shape& piece : pieces) {
                for (const TPoint2D& p : Samples(piece)) EXPECT_LT(DistanceTo(source, p), kNear) << p;
                EXPECT_LT(Distance(StartOf(piece), from), kNear);
                // No piece, nor any segment of one, is degenerate.
                EXPECT_GT(Length(piece), kPolylineCutGap / 2);
                for (std::size_t i = 0; i + 1 < piece.Points.size(); ++i) {
                    EXPECT_GT(Distance(piece.Points[i], piece.Points[i + 1]), kPolylineCutGap / 2);
                }
                from = EndOf(piece);
                length += Length(piece);
            }
            EXPECT_LT(Distance(from, source.Arc && source.Arc->Full ? StartOf(pieces.front()) : EndOf(source)),
                      kNear);
            EXPECT_NEAR(length, Length(source), 1e-9);
        }
        // Every mark is a crossing: on both sources.
        for (const TPoint2D& mark : outcome.Marks) {
            EXPECT_LT(DistanceTo(sources[0], mark), kNear);
            EXPECT_LT(DistanceTo(sources[1], mark), kNear);
        }
    }
}

TEST_F(Breaks, TheMirroredPolylineIsCutWhereItIsSeen) {
    Sketch sketch;
    const auto poly = sketch.AddPolyline({P(0, 0), P(2, -4), P(4, 0)}, MirrorMatrix2D(kMirrorY));
    const auto line = sketch.AddLine(P(-1, 2), P(5, 2));
    const EditOutcome outcome = BreakObjects(sketch.drawing, EditPick::Two(poly, P(1, 2), line, P(0, 2)));
    ASSERT_TRUE(outcome.Done()) << outcome.Status;
    ASSERT_EQ(outcome.Marks.size(), 2u);
    EXPECT_POINT_NEAR(outcome.Marks[0], 1, 2, kNear);
    EXPECT_POINT_NEAR(outcome.Marks[1], 3, 2, kNear);
    for (TObject2D* piece : sketch.AddedObjects(outcome)) EXPECT_FALSE(piece->HasTransform());
}

}  // namespace
