// Corner trim and tangent arc over tables of picked geometry: the kept ends,
// the corner, and the fillet's tangency to both sources.
#include "kernel/editing/FilletCommands.h"

#include "EditingTestSupport.h"

#include <functional>

using namespace calvoro;
using namespace calvoro::test;

namespace {

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
        {"sixty degrees",
         {P(0, 0), P(10, 0)},
         {P(1, 1.7320508075688772), P(4, 6.928203230275509)},
         P(8, 0),
         P(3, 5.196152422706632),
         false},
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

// Distance from p to what the object now draws.
double DistanceToObject(TObject2D& object, const TPoint2D& p) {
    if (const auto segment = SegmentOf(object)) return SegmentDistance(*segment, p);
    const WorldArc arc = *ArcOf(object);
    return SweepOffset(arc, p) ? std::fabs(Distance(arc.Centre, p) - arc.Radius) : 1e9;
}

TEST_F(Fillets, TangentArcOnLinesArcsAndCirclesTouchesBothAndMeetsWhatIsLeft) {
    struct CurvedCase {
        const char* name;
        PickMaker build;
        double radius;
        int sourcesLeft;  // objects besides the fillet arc afterwards
    };
    const CurvedCase cases[] = {
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
    for (const CurvedCase& c : cases) {
        SCOPED_TRACE(c.name);
        Sketch sketch;
        const EditPick pick = c.build(sketch);
        // The fillet is the only object on the current layer.
        sketch.drawing.SetCurrentLayer(3);
        std::vector<std::optional<WorldSegment>> lines;
        std::vector<std::optional<WorldArc>> circles;
        for (std::int32_t id : pick.Ids) {
            lines.push_back(SegmentOf(sketch.Object(id)));
            circles.push_back(ArcOf(sketch.Object(id)));
        }
        const EditOutcome outcome = TangentArc(sketch.drawing, pick, FilletParameters{c.radius, true});
        ASSERT_TRUE(outcome.Done()) << outcome.Status;
        EXPECT_EQ(static_cast<int>(sketch.drawing.ObjectCount()), c.sourcesLeft + 1);
        std::optional<WorldArc> fillet;
        for (TObject2D* object : sketch.All()) {
            if (object->Layer() == 3) fillet = ArcOf(*object);
        }
        ASSERT_TRUE(fillet.has_value());
        EXPECT_NEAR(fillet->Radius, c.radius, kNear);
        for (int k = 0; k < 2; ++k) {
            if (lines[k]) {
                EXPECT_NEAR(LineDistance(*lines[k], fillet->Centre), c.radius, kNear);
            }
            if (!circles[k]) continue;
            const double d = Distance(circles[k]->Centre, fillet->Centre), r = circles[k]->Radius;
            EXPECT_NEAR(std::min(std::fabs(d - r - c.radius), std::fabs(d - std::fabs(r - c.radius))), 0.0, kNear);
        }
        // Both ends of the fillet lie on what is left of the sources.
        for (const TPoint2D& end : {ArcStartPoint(*fillet), ArcEndPoint(*fillet)}) {
            double nearest = 1e9;
            for (TObject2D* object : sketch.All()) {
                if (object->Layer() != 3) nearest = std::min(nearest, DistanceToObject(*object, end));
            }
            EXPECT_LT(nearest, 1e-7) << end;
        }
    }
}

}  // namespace
