// The geometry of the editing commands over a drawing built object by object,
// its stream compared before and after, and distances for the properties the
// commands must keep.
//
// Cutting arcs and circles: pieces follow the sweep across angle 0, ends do
// not cut, a circle's pieces start at its first cut; in the drawing the
// pieces lie on the world arc and keep the arc's layer and switches.
//
// The break over a table of crossing objects: every piece lies on its source,
// the pieces of a source run end to end from its start to its end and add up
// to its length (so they cover it exactly once), and the crossings come back
// as marks.
//
// Corner trim and tangent arc over tables of picked geometry: the kept ends,
// the corner, and the fillet's tangency to both sources.
//
// Every command that cannot be done changes nothing: the drawing's stream is
// the same, byte for byte, before and after, and the status says why.
//
// The tangent line: each of the four tangents is chosen by where the circles
// were picked, and the line touches both circles.
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/ArcSplit.h"
#include "kernel/editing/BreakCommand.h"
#include "kernel/editing/EditOutcome.h"
#include "kernel/editing/EditPick.h"
#include "kernel/editing/FilletCommands.h"
#include "kernel/editing/TangentLine.h"
#include "kernel/editing/WorldShapes.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "tests/kernel/view/ViewTestSupport.h"
#include "tests/support/Drawings.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

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
    // clang-format off
    std::int32_t AddLine(TPoint2D a, TPoint2D b, std::optional<TMatrix2D> m = {}) { return Add(std::make_unique<TLine2D>(-1, a, b), m); }
    std::int32_t AddArc(TPoint2D c, double r, double start, double end) { return Add(std::make_unique<TArco2D>(-1, c, P(c.X + r, c.Y), start, end)); }
    std::int32_t AddCircle(TPoint2D c, double r) { return Add(std::make_unique<TCerchio2D>(-1, c, P(c.X + r, c.Y))); }
    std::int32_t AddPolyline(std::vector<TPoint2D> points, std::optional<TMatrix2D> m = {}) { return Add(std::make_unique<TPolyline2D>(-1, points), m); }
    // clang-format on

    TObject2D& Object(std::int32_t id) { return dynamic_cast<TObject2D&>(*drawing.FindObject(id)); }
    WorldSegment Segment(std::int32_t id) { return *SegmentOf(Object(id)); }
    WorldArc Arc(std::int32_t id) { return *ArcOf(Object(id)); }
    std::vector<TObject2D*> All() { return ObjectsOf(drawing); }
    std::string Stream() { return StreamOf(drawing); }

    TQVCmp2D drawing;
};

// Objects and picks for the tables: each adds itself to the sketch it is given.
using Maker = std::function<std::int32_t(Sketch&)>;
using PickMaker = std::function<EditPick(Sketch&)>;
// clang-format off
inline Maker Line(TPoint2D a, TPoint2D b, std::optional<TMatrix2D> m = {}) { return [=](Sketch& s) { return s.AddLine(a, b, m); }; }
inline Maker Circle(TPoint2D c, double r) { return [=](Sketch& s) { return s.AddCircle(c, r); }; }
inline Maker Arc(TPoint2D c, double r, double start, double end) { return [=](Sketch& s) { return s.AddArc(c, r, start, end); }; }
inline Maker Poly(std::vector<TPoint2D> points, std::optional<TMatrix2D> m = {}) { return [=](Sketch& s) { return s.AddPolyline(points, m); }; }
// clang-format on
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

namespace {

using ArcSplits = EditingTest;

TEST_F(ArcSplits, PiecesFollowTheSweepAndEndsDoNotCut) {
    const WorldArc across0{P(2.5, -1.25), 3.0, Deg(350), Deg(30), false};
    const WorldArc circle{P(2.5, -1.25), 3.0, 0.0, kTwoPi, true};
    struct SplitCase {
        const char* name;
        WorldArc arc;
        std::vector<double> pointDegrees;
        double offCircle;                   // how far the points lie outside the circle
        std::vector<double> boundsDegrees;  // expected piece ends, first start to last end
    } const cases[] = {
        {"across 0 degrees, given out of order", across0, {10, 355}, 0.0, {350, 355, 370, 380}},
        {"at the start and the end", across0, {350, 20}, 0.0, {}},
        {"within the tolerance of the start", across0, {350 + 1e-6}, 0.0, {}},
        {"off the sweep", across0, {90, 200}, 0.0, {}},
        {"the same point twice", across0, {5, 5}, 0.0, {350, 365, 380}},
        {"off the circle", across0, {5}, 0.1, {}},
        {"a circle once", circle, {90}, 0.0, {90, 450}},
        {"a circle at 0 and 180 degrees", circle, {180, 0}, 0.0, {0, 180, 360}},
        {"a circle twice, neither at 0", circle, {200, 30}, 0.0, {30, 200, 390}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TPoint2D> points;
        for (double degrees : c.pointDegrees) {
            points.push_back(PointOnArc(WorldArc{c.arc.Centre, c.arc.Radius + c.offCircle}, Deg(degrees)));
        }
        const std::vector<ArcPiece> pieces = ArcSplitPieces(c.arc, points);
        ASSERT_EQ(pieces.size(), c.boundsDegrees.empty() ? 0 : c.boundsDegrees.size() - 1);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_NEAR(pieces[i].Start, Deg(c.boundsDegrees[i]), 1e-12);
            EXPECT_NEAR(pieces[i].End, Deg(c.boundsDegrees[i + 1]), 1e-12);
            if (i > 0) {
                EXPECT_EQ(pieces[i].Start, pieces[i - 1].End);  // neighbours meet exactly
            }
            // The entity draws what the piece stands for, a full turn included.
            EXPECT_NEAR(MakeArcPiece(c.arc, pieces[i])->GetArcData().Sweep, pieces[i].End - pieces[i].Start, 1e-9);
        }
    }
}

TEST_F(ArcSplits, PiecesOfAMirroredArcLieOnItInTheWorldAndKeepItsLayerAndSwitches) {
    Sketch sketch;
    sketch.drawing.SetCurrentLayer(5);
    // The upper half of a circle about (4, 1), mirrored into the lower half about (4, -1).
    const std::int32_t id =
        sketch.Add(std::make_unique<TArco2D>(-1, P(4, 1), P(6, 1), 0.0, std::numbers::pi), MirrorMatrix2D(kMirrorY));
    sketch.Object(id).SetUseLayerColor(false);
    sketch.drawing.SetCurrentLayer(1);
    const WorldArc world = sketch.Arc(id);
    const TPoint2D at[] = {P(4, -3), P(4 + std::sqrt(2.0), -1 - std::sqrt(2.0))};

    const EditOutcome outcome = SplitArc(sketch.drawing, id, at);
    ASSERT_TRUE(outcome.Done()) << outcome.Status;
    EXPECT_EQ(outcome.Deleted, std::vector<std::int32_t>{id});
    ASSERT_EQ(outcome.Added.size(), 3u);
    double sweep = 0.0;
    TPoint2D from = ArcStartPoint(world);
    for (const std::int32_t piece : outcome.Added) {
        EXPECT_EQ(sketch.Object(piece).Layer(), 5);
        EXPECT_FALSE(sketch.Object(piece).UseLayerColor());
        const WorldArc arc = sketch.Arc(piece);
        EXPECT_POINT_NEAR(arc.Centre, 4, -1, 1e-12);
        EXPECT_LT(Distance(ArcStartPoint(arc), from), 1e-12);
        EXPECT_TRUE(SweepOffset(world, PointOnArc(arc, arc.Start + arc.Sweep / 2)).has_value());
        from = ArcEndPoint(arc);
        sweep += arc.Sweep;
    }
    EXPECT_LT(Distance(from, ArcEndPoint(world)), 1e-12);
    EXPECT_NEAR(sweep, world.Sweep, 1e-12);
    EXPECT_EQ(sketch.drawing.CurrentLayer(), 1);
}

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

using Fillets = EditingTest;

TEST_F(Fillets, CornerTrimOfAxisParallelLinesKeepsThePickedEndsWhateverTheSideAndOrientation) {
    // Corners no binary fraction holds exactly; every side, orientation and order.
    for (const TPoint2D corner : {P(1.3, 3.7), P(0.1, -2.2), P(-7.77, 0.3), P(1000.3, 1234.567), P(0.7, 0.9)}) {
        for (int mask = 0; mask < 32; ++mask) {
            SCOPED_TRACE(::testing::Message() << corner << " case " << mask);
            Sketch sketch;
            const double x = corner.X, y = corner.Y;
            TPoint2D h0 = P(x - 4.17, y), h1 = P(x + 5.93, y), v0 = P(x, y - 4.81), v1 = P(x, y + 4.79);
            if (mask & 4) std::swap(h0, h1);
            if (mask & 8) std::swap(v0, v1);
            const std::int32_t h = sketch.AddLine(h0, h1), v = sketch.AddLine(v0, v1);
            const TPoint2D hPick = P(mask & 1 ? x + 4.8 : x - 3.2, y), vPick = P(x, mask & 2 ? y + 4.0 : y - 3.4);
            const EditOutcome outcome = CornerTrim(
                sketch.drawing, mask & 16 ? EditPick::Two(v, vPick, h, hPick) : EditPick::Two(h, hPick, v, vPick));
            ASSERT_TRUE(outcome.Done()) << outcome.Status;
            EXPECT_TRUE(outcome.Added.empty());
            for (const auto& [id, end0, end1, picked] : {std::tuple{h, h0, h1, hPick}, std::tuple{v, v0, v1, vPick}}) {
                const WorldSegment after = sketch.Segment(id);
                // The far end on the picked side stays where it was, exactly.
                const bool keepFirst = Distance(end0, picked) < Distance(end1, picked);
                EXPECT_EQ(keepFirst ? after.A : after.B, keepFirst ? end0 : end1);
                EXPECT_POINT_NEAR(keepFirst ? after.B : after.A, x, y, kNear);
            }
        }
    }
}

TEST_F(Fillets, TwoLinesMeetAtTheCornerOrAtATangentArcAndKeepWhereTheyWerePicked) {
    struct LinePair {
        const char* name;
        WorldSegment line1, line2;
        TPoint2D pick1, pick2;
        bool mirrored;  // line 1 stored mirrored across the Y axis, line 2 a polyline of two points
    };
    const LinePair pairs[] = {
        {"crossing", {P(-2.87, 3.7), P(7.23, 3.7)}, {P(1.3, -1.11), P(1.3, 8.49)}, P(6.1, 3.7), P(1.3, 7.7), false},
        {"stopping short", {P(2.1, 3.7), P(7.23, 3.7)}, {P(1.3, 4.4), P(1.3, 8.49)}, P(6.1, 3.7), P(1.3, 7.7), false},
        {"sixty degrees", {P(0, 0), P(10, 0)}, {P(1, std::sqrt(3.0)), P(4, 4 * std::sqrt(3.0))}, P(8, 0),
         P(3, 3 * std::sqrt(3.0)), false},
        {"acute", {P(10, 0.1), P(-1, 0.1)}, {P(12, 3.1), P(1, 0.35)}, P(7, 0.1), P(9, 2.35), false},
        {"mirrored", {P(-2.1, 3.7), P(-7.23, 3.7)}, {P(-1.3, 4.4), P(-1.3, 8.49)}, P(-6.1, 3.7), P(-1.3, 7.7), true},
    };
    for (const LinePair& pair : pairs) {
        for (const double radius : {0.0, 0.25, 0.75}) {
            for (const bool trim : {true, false}) {
                if (radius == 0.0 && !trim) continue;
                SCOPED_TRACE(::testing::Message() << pair.name << " radius " << radius << " trim " << trim);
                Sketch sketch;
                const std::int32_t id1 =
                    pair.mirrored ? sketch.AddLine(P(-pair.line1.A.X, pair.line1.A.Y),
                                                   P(-pair.line1.B.X, pair.line1.B.Y), MirrorMatrix2D(kMirrorX))
                                  : sketch.AddLine(pair.line1.A, pair.line1.B);
                const std::int32_t id2 = pair.mirrored ? sketch.AddPolyline({pair.line2.A, pair.line2.B})
                                                       : sketch.AddLine(pair.line2.A, pair.line2.B);
                const EditPick pick = EditPick::Two(id1, pair.pick1, id2, pair.pick2);
                const EditOutcome outcome =
                    radius == 0.0 ? CornerTrim(sketch.drawing, pick) : TangentArc(sketch.drawing, pick, {radius, trim});
                ASSERT_TRUE(outcome.Done()) << outcome.Status;
                const WorldSegment after1 = sketch.Segment(id1), after2 = sketch.Segment(id2);
                EXPECT_FALSE(trim && sketch.Object(id1).HasTransform());
                EXPECT_EQ(sketch.Object(id2).ClassType().Name, pair.mirrored ? "TPolyline2D" : "TLine2D");
                EXPECT_LT(SegmentDistance(after1, pair.pick1), kNear);
                EXPECT_LT(SegmentDistance(after2, pair.pick2), kNear);
                std::optional<WorldArc> fillet;
                if (radius > 0.0) {
                    ASSERT_EQ(outcome.Added.size(), 1u);
                    fillet = sketch.Arc(outcome.Added[0]);
                    EXPECT_NEAR(fillet->Radius, radius, kNear);
                    EXPECT_NEAR(LineDistance(pair.line1, fillet->Centre), radius, kNear);
                    EXPECT_NEAR(LineDistance(pair.line2, fillet->Centre), radius, kNear);
                    EXPECT_EQ(fillet->Full, !trim);
                    EXPECT_LT(fillet->Sweep, trim ? std::numbers::pi : 7.0);
                }
                // Each line keeps one of its ends exactly; the other ends on the corner or on the fillet.
                std::vector<TPoint2D> corners;
                for (const auto& [after, before, other] :
                     {std::tuple{after1, pair.line1, pair.line2}, std::tuple{after2, pair.line2, pair.line1}}) {
                    const bool keptA = after.A == before.A || after.A == before.B;
                    const bool keptB = after.B == before.A || after.B == before.B;
                    EXPECT_TRUE(trim ? keptA || keptB : keptA && keptB);
                    const auto nearness = [&](const TPoint2D& p) {
                        return fillet ? Distance(p, fillet->Centre) : LineDistance(other, p);
                    };
                    corners.push_back(nearness(after.A) < nearness(after.B) ? after.A : after.B);
                }
                if (!trim) continue;
                if (!fillet) {
                    EXPECT_LT(Distance(corners[0], corners[1]), kNear);
                    EXPECT_LT(LineDistance(pair.line1, corners[0]), kNear);
                    EXPECT_LT(LineDistance(pair.line2, corners[0]), kNear);
                    continue;
                }
                for (const TPoint2D& end : {ArcStartPoint(*fillet), ArcEndPoint(*fillet)}) {
                    EXPECT_LT(std::min(Distance(end, corners[0]), Distance(end, corners[1])), 1e-7) << end;
                }
            }
        }
    }
}

TEST_F(Fillets, TangentArcOnLinesArcsAndCirclesTouchesBothAndMeetsWhatIsLeft) {
    // The picks, the radius, and how many objects besides the fillet are left.
    const std::tuple<const char*, PickMaker, double, int> cases[] = {
        // clang-format off
        {"line below a circle it does not reach", Two(Line(P(-10, 0), P(10, 0)), P(6, 0), Circle(P(0, 4), 2), P(2, 4)), 1.5, 2},
        {"circle first, line second", Two(Circle(P(0, 4), 2), P(-2, 4), Line(P(10, 0), P(-10, 0)), P(-6, 0)), 1.5, 2},
        {"vertical line through a half arc", Two(Line(P(2, -8), P(2, 8)), P(2, 7), Arc(P(0, 0), 5, 0, std::numbers::pi), P(4, 3)), 1.0, 3},
        {"line picked inside the circle", Two(Line(P(-8, 1), P(8, 1)), P(-1, 1), Circle(P(0, 0), 5), P(0, 5)), 1.0, 2},
        {"two circles, outside both", Two(Circle(P(0, 0), 3), P(1.5, 2.6), Circle(P(7, 0), 2), P(6, 1.7)), 1.5, 2},
        {"small circle inside a large one", Two(Circle(P(0, 0), 10), P(0, 10), Circle(P(5, 0), 2.5), P(5, 2.5)), 1.5, 2},
        {"two arcs, one across 0 degrees", Two(Arc(P(0, 0), 3, -1, 1), P(2.4, 1.8), Arc(P(6, 1), 2.5, 2, 4.5), P(4, 2.5)), 0.8, 4},
        // clang-format on
    };
    for (const auto& [name, build, radius, sourcesLeft] : cases) {
        SCOPED_TRACE(name);
        Sketch sketch;
        const EditPick pick = build(sketch);
        // The fillet is the only object on the current layer.
        sketch.drawing.SetCurrentLayer(3);
        std::vector<std::optional<WorldSegment>> lines;
        std::vector<std::optional<WorldArc>> circles;
        for (std::int32_t id : pick.Ids) {
            lines.push_back(SegmentOf(sketch.Object(id)));
            circles.push_back(ArcOf(sketch.Object(id)));
        }
        const EditOutcome outcome = TangentArc(sketch.drawing, pick, FilletParameters{radius, true});
        ASSERT_TRUE(outcome.Done()) << outcome.Status;
        EXPECT_EQ(static_cast<int>(sketch.drawing.ObjectCount()), sourcesLeft + 1);
        std::optional<WorldArc> fillet;
        for (TObject2D* object : sketch.All()) {
            if (object->Layer() == 3) fillet = ArcOf(*object);
        }
        ASSERT_TRUE(fillet.has_value());
        EXPECT_NEAR(fillet->Radius, radius, kNear);
        for (int k = 0; k < 2; ++k) {
            if (lines[k]) {
                EXPECT_NEAR(LineDistance(*lines[k], fillet->Centre), radius, kNear);
            }
            if (!circles[k]) continue;
            const double d = Distance(circles[k]->Centre, fillet->Centre), r = circles[k]->Radius;
            EXPECT_NEAR(std::min(std::fabs(d - r - radius), std::fabs(d - std::fabs(r - radius))), 0.0, kNear);
        }
        // Both ends of the fillet lie on what is left of the sources.
        for (const TPoint2D& end : {ArcStartPoint(*fillet), ArcEndPoint(*fillet)}) {
            double nearest = 1e9;
            for (TObject2D* object : sketch.All()) {
                if (object->Layer() != 3) nearest = std::min(nearest, Shape(*object).DistanceTo(end));
            }
            EXPECT_LT(nearest, 1e-7) << end;
        }
    }
}

using Refusals = EditingTest;
using Command = std::function<EditOutcome(TQVCmp2D&, const EditPick&)>;
using S = EditStatus;

const Command kTrim = [](TQVCmp2D& d, const EditPick& p) { return CornerTrim(d, p); };
const Command kBreak = [](TQVCmp2D& d, const EditPick& p) { return BreakObjects(d, p); };
const Command kTangent = [](TQVCmp2D& d, const EditPick& p) { return TangentLine(d, p); };
Command Fillet(double radius, bool trim = true) {
    return [=](TQVCmp2D& d, const EditPick& p) { return TangentArc(d, p, FilletParameters{radius, trim}); };
}

PickMaker Lines(TPoint2D a0, TPoint2D a1, TPoint2D pa, TPoint2D b0, TPoint2D b1, TPoint2D pb) {
    return Two(Line(a0, a1), pa, Line(b0, b1), pb);
}
PickMaker Circles(TPoint2D c1, double r1, TPoint2D p1, TPoint2D c2, double r2, TPoint2D p2) {
    return Two(Circle(c1, r1), p1, Circle(c2, r2), p2);
}
// The line (-10, 0)-(10, 0) picked at (6, 0) and the object `second` picked at p.
PickMaker LineAnd(Maker second, TPoint2D p) {
    return Two(Line(P(-10, 0), P(10, 0)), P(6, 0), second, p);
}
const auto kCrossing = Lines(P(0, 0), P(10, 0), P(8, 0), P(5, -5), P(5, 5), P(5, 4));
const Maker kPoint = [](Sketch& s) { return s.Add(std::make_unique<TPunto2D>(-1, P(5, 5))); };
const Maker kUpperHalf = Arc(P(0, 0), 5, 0, std::numbers::pi);
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST_F(Refusals, LeaveTheDrawingByteIdenticalAndSayWhy) {
    const struct Refusal {
        const char* name;
        PickMaker build;
        Command command;
        EditStatus expected;
    } refusals[] = {
        // clang-format off
        {"one object picked", [](Sketch& s) { auto p = kCrossing(s); p.Count = 1; return p; }, kTrim, S::NotTwoObjects},
        {"an object gone", [](Sketch& s) { auto p = kCrossing(s); p.Ids[1] = 99; return p; }, kBreak, S::NotTwoObjects},
        {"one line twice", [](Sketch& s) { auto p = kCrossing(s); p.Ids[1] = p.Ids[0]; return p; }, kTrim, S::SameObject},
        {"parallel lines", Lines(P(0, 0), P(10, 0), P(5, 0), P(0, 1), P(10, 1), P(5, 1)), kTrim, S::Parallel},
        {"a broken line's pieces", Lines(P(0, .3), P(4.1, .3), P(1, .3), P(4.1, .3), P(9, .3), P(8, .3)), kTrim, S::Parallel},
        {"1e-12 off collinear", Lines(P(0, 0), P(10, 0), P(1, 0), P(11, 1e-11), P(20, 1.9e-11), P(15, 0)), Fillet(1), S::Parallel},
        {"picked on the other line", Lines(P(0, 0), P(10, 0), P(8, 0), P(5, -5), P(5, 5), P(5, 0)), kTrim, S::PickAtCorner},
        {"a line of no length", Lines(P(0, 0), P(10, 0), P(8, 0), P(3, 3), P(3, 3), P(3, 3)), kTrim, S::NoLength},
        {"a polyline of three points", LineAnd(Poly({P(5, -5), P(5, 5), P(8, 8)}), P(5, 4)), kTrim, S::PolylineNotSegment},
        {"a point", LineAnd(kPoint, P(5, 5)), kTrim, S::WrongKinds},
        {"trim of two circles", Circles(P(0, 0), 3, P(3, 0), P(5, 0), 3, P(2, 0)), kTrim, S::WrongKinds},
        {"trim of a line that misses the circle", LineAnd(Circle(P(0, 5), 2), P(0, 3)), kTrim, S::NoCorner},
        {"a radius of zero", kCrossing, Fillet(0), S::BadRadius},
        {"a negative radius", kCrossing, Fillet(-1), S::BadRadius},
        {"a radius that is not a number", kCrossing, Fillet(kNaN, false), S::BadRadius},
        {"a radius longer than the lines", Lines(P(0, 0), P(1, 0), P(.8, 0), P(0, .5), P(0, 1.5), P(0, 1.2)), Fillet(100), S::RadiusTooLarge},
        {"a radius beyond the circle picked inside", Two(Line(P(-8, 1), P(8, 1)), P(.5, 1), Circle(P(0, 0), 2), P(0, 2)), Fillet(3), S::RadiusTooLarge},
        {"a line too far from the circle", LineAnd(Circle(P(0, 10), 1), P(0, 9)), Fillet(1), S::NoFillet},
        {"concentric circles", Circles(P(0, 0), 10, P(0, 10), P(0, 0), 1, P(0, 1)), Fillet(2), S::NoFillet},
        {"nested circles", Circles(P(0, 0), 10, P(0, 10), P(1, 0), 1, P(1, 1)), Fillet(2), S::NoFillet},
        {"a corner out of range", Lines(P(0, 0), P(1e300, 0), P(5e299, 0), P(0, 1e305), P(1e300, 1e305 - 1e296), P(5e299, 1e305 - 5e295)), kTrim, S::OutOfRange},
        {"lines apart", Lines(P(0, 0), P(10, 0), P(8, 0), P(5, 1), P(5, 5), P(5, 4)), kBreak, S::NoCrossing},
        {"lines sharing an end", Lines(P(0, 0), P(10, 0), P(8, 0), P(10, 0), P(10, 5), P(10, 4)), kBreak, S::NoCrossing},
        {"a line across an arc's circle off the arc", Two(Line(P(-9, -1), P(9, -1)), P(6, -1), kUpperHalf, P(0, 5)), kBreak, S::NoCrossing},
        {"a line inside a circle", Two(Line(P(-1, 0), P(1, .5)), P(0, .25), Circle(P(0, 0), 5), P(0, 5)), kBreak, S::NoCrossing},
        {"concentric circles", Circles(P(0, 0), 10, P(0, 10), P(0, 0), 1, P(0, 1)), kBreak, S::NoCrossing},
        {"a point", LineAnd(kPoint, P(5, 5)), kBreak, S::WrongKinds},
        {"a tangent line to a line", kCrossing, kTangent, S::WrongKinds},
        {"a tangent line to nested circles", Circles(P(0, 0), 10, P(0, 10), P(2, 0), 1, P(2, 1)), kTangent, S::NoTangent},
        {"a tangent line to concentric circles", Circles(P(0, 0), 10, P(0, 10), P(0, 0), 1, P(0, 1)), kTangent, S::NoTangent},
        // clang-format on
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        Sketch sketch;
        sketch.Object(sketch.AddLine(P(-50, -50), P(-40, -45), MirrorMatrix2D(kMirrorY))).SetLayer(4);
        const EditPick pick = refusal.build(sketch);
        const std::string before = sketch.Stream();
        const EditOutcome outcome = refusal.command(sketch.drawing, pick);
        EXPECT_EQ(outcome.Status, refusal.expected);
        EXPECT_FALSE(outcome.Message().empty());
        EXPECT_TRUE(outcome.Added.empty() && outcome.Deleted.empty() && outcome.Changed.empty());
        EXPECT_EQ(sketch.Stream(), before);
    }
}

TEST_F(Refusals, ADrawingBeingWalkedIsLeftAlone) {
    // Circles the fillet, the break and the tangent line all work on.
    for (const Command& command : {Fillet(0.5), kBreak, kTangent}) {
        Sketch sketch;
        const EditPick pick = Circles(P(0, 0), 3, P(0, 3), P(4, 0), 2, P(4, 2))(sketch);
        const std::string before = sketch.Stream();
        const auto walk = sketch.drawing.ObjectListIterator();
        EXPECT_EQ(command(sketch.drawing, pick).Status, S::DrawingBusy);
        EXPECT_EQ(sketch.Stream(), before);
    }
}

using TangentLines = EditingTest;

// The line touches the circle at `end`: the end lies on the circle, and the
// circle's centre lies a radius from the line.
void ExpectTouches(const WorldSegment& line, const TPoint2D& end, const TPoint2D& centre, double radius) {
    EXPECT_NEAR(LineDistance(line, centre), radius, kNear);
    EXPECT_NEAR(Distance(end, centre), radius, kNear);
}

double SideOf(const WorldSegment& line, const TPoint2D& p) {
    return (line.B.X - line.A.X) * (p.Y - line.A.Y) - (line.B.Y - line.A.Y) * (p.X - line.A.X);
}

TEST_F(TangentLines, EachOfTheFourTangentsIsChosenByThePicks) {
    // Circles apart, of equal radii, and picked as arcs (the second mirrored).
    for (const auto& [c1, r1, c2, r2, arcs] : {std::tuple{P(0.3, 0.1), 2.0, P(10.7, 1.3), 1.0, false},
                                                {P(0, 0), 1.5, P(6, 0), 1.5, false},
                                                {P(0.3, 0.1), 2.0, P(10.7, 1.3), 1.0, true}}) {
        for (int mask = 0; mask < 4; ++mask) {
            const double side1 = mask & 1 ? 1.0 : -1.0, side2 = mask & 2 ? 1.0 : -1.0;
            SCOPED_TRACE(::testing::Message() << c1 << c2 << (arcs ? " arcs" : "") << " picks " << mask);
            Sketch sketch;
            // The mirrored arc is stored about the mirror image of its centre.
            const std::int32_t id1 =
                arcs ? sketch.AddArc(c1, r1, 0, 1) : sketch.AddCircle(c1, r1);
            const std::int32_t id2 =
                arcs ? sketch.Add(std::make_unique<TArco2D>(-1, P(c2.X, -c2.Y),
                                                                  P(c2.X + r2, -c2.Y), 4, 5),
                                        MirrorMatrix2D(kMirrorY))
                           : sketch.AddCircle(c2, r2);
            const TPoint2D pick1 = P(c1.X, c1.Y + side1 * r1);
            const TPoint2D pick2 = P(c2.X, c2.Y + side2 * r2);
            const EditOutcome outcome = TangentLine(sketch.drawing, EditPick::Two(id1, pick1, id2, pick2));
            ASSERT_TRUE(outcome.Done()) << outcome.Status;
            ASSERT_EQ(outcome.Added.size(), 1u);
            const WorldSegment line = sketch.Segment(outcome.Added[0]);
            ExpectTouches(line, line.A, c1, r1);
            ExpectTouches(line, line.B, c2, r2);
            // It touches each circle on the half where it was picked, and
            // passes between the circles exactly when the halves differ.
            EXPECT_GT((line.A.Y - c1.Y) * side1, 0.0);
            EXPECT_GT((line.B.Y - c2.Y) * side2, 0.0);
            EXPECT_EQ(SideOf(line, c1) * SideOf(line, c2) < 0.0, side1 != side2);
        }
    }
}

TEST_F(TangentLines, CirclesHaveAsManyTangentsAsTheyLieApart) {
    // Apart, touching from outside, overlapping, touching inside, inside, concentric.
    for (const auto& [centre, count] : {std::pair{P(10, 0), 4u}, {P(3, 0), 2u}, {P(2.5, 0), 2u}, {P(1, 0), 0u},
                                        {P(0.5, 0), 0u}, {P(0, 0), 0u}}) {
        SCOPED_TRACE(centre);
        const std::vector<WorldSegment> tangents = CommonTangents(P(0, 0), 2.0, centre, 1.0);
        EXPECT_EQ(tangents.size(), count);
        for (const WorldSegment& t : tangents) {
            ExpectTouches(t, t.A, P(0, 0), 2.0);
            ExpectTouches(t, t.B, centre, 1.0);
        }
    }
}

}  // namespace
