// Corner trim and tangent arc: the kept ends, the corner, the fillet's
// tangency over tables of picked geometry; refusals leave the drawing as it
// was, byte for byte.
#include "kernel/editing/FilletCommands.h"
#include "kernel/entities/TPunto2D.h"

#include "EditingTestSupport.h"

#include <functional>

using namespace calvoro;
using namespace calvoro::test;

namespace {

using Fillets = EditingTest;

// The single fillet arc among the added objects.
WorldArc FilletArcOf(Sketch& sketch, const EditOutcome& outcome, std::int32_t firstNewId) {
    std::optional<WorldArc> fillet;
    for (std::int32_t id : outcome.Added) {
        if (id >= firstNewId && sketch.Object(id).ClassType().Name == "TArco2D" &&
            sketch.Object(id).Layer() == sketch.drawing.CurrentLayer() && !fillet) {
            fillet = sketch.Arc(id);
        }
    }
    if (!fillet) throw std::runtime_error("no fillet arc added");
    return *fillet;
}

TEST_F(Fillets, CornerTrimOfAxisParallelLinesKeepsThePickedEndsWhateverTheSideAndOrientation) {
    // Horizontal and vertical lines crossing at corners no binary fraction
    // holds exactly, picked on every side, in both orientations and orders.
    for (const TPoint2D corner : {P(1.3, 3.7), P(0.1, -2.2), P(-7.77, 0.3), P(1000.3, 1234.567), P(0.7, 0.9)}) {
        for (int mask = 0; mask < 32; ++mask) {
            const bool pickRight = mask & 1, pickAbove = mask & 2, reverseH = mask & 4, reverseV = mask & 8,
                       verticalFirst = mask & 16;
            SCOPED_TRACE(::testing::Message() << corner << " case " << mask);
            Sketch sketch;
            const double x = corner.X, y = corner.Y;
            TPoint2D h0 = P(x - 4.17, y), h1 = P(x + 5.93, y), v0 = P(x, y - 4.81), v1 = P(x, y + 4.79);
            if (reverseH) std::swap(h0, h1);
            if (reverseV) std::swap(v0, v1);
            const std::int32_t h = sketch.AddLine(h0, h1);
            const std::int32_t v = sketch.AddLine(v0, v1);
            const TPoint2D hPick = P(pickRight ? x + 4.8 : x - 3.2, y);
            const TPoint2D vPick = P(x, pickAbove ? y + 4.0 : y - 3.4);
            const EditPick pick =
                verticalFirst ? EditPick::Two(v, vPick, h, hPick) : EditPick::Two(h, hPick, v, vPick);

            const EditOutcome outcome = CornerTrim(sketch.drawing, pick);
            ASSERT_TRUE(outcome.Done()) << outcome.Status;
            EXPECT_TRUE(outcome.Added.empty());
            for (const auto& [id, original0, original1, keptPoint] :
                 {std::tuple{h, h0, h1, hPick}, std::tuple{v, v0, v1, vPick}}) {
                const WorldSegment after = sketch.Segment(id);
                // The far end on the picked side stays where it was, exactly.
                const bool keepFirst = Distance(original0, keptPoint) < Distance(original1, keptPoint);
                EXPECT_EQ(keepFirst ? after.A : after.B, keepFirst ? original0 : original1);
                EXPECT_POINT_NEAR(keepFirst ? after.B : after.A, x, y, kNear);
            }
        }
    }
}

struct LinePair {
    const char* name;
    WorldSegment line1, line2;
    TPoint2D pick1, pick2;
    std::optional<TMatrix2D> transform1;  // line 1 is stored through this transform
};

// Lines that cross, that stop short of each other, at angles, and a mirrored one.
std::vector<LinePair> LinePairs() {
    return {
        {"crossing axis-parallel", {P(-2.87, 3.7), P(7.23, 3.7)}, {P(1.3, -1.11), P(1.3, 8.49)}, P(6.1, 3.7),
         P(1.3, 7.7), std::nullopt},
        {"stopping short", {P(2.1, 3.7), P(7.23, 3.7)}, {P(1.3, 4.4), P(1.3, 8.49)}, P(6.1, 3.7), P(1.3, 7.7),
         std::nullopt},
        {"sixty degrees", {P(0, 0), P(10, 0)}, {P(1, 1.7320508075688772), P(4, 6.928203230275509)}, P(8, 0),
         P(3, 5.196152422706632), std::nullopt},
        {"acute, reversed", {P(10, 0.1), P(-1, 0.1)}, {P(12, 3.1), P(1, 0.35)}, P(7, 0.1), P(9, 2.35),
         std::nullopt},
        // Stored at (2.1 .. 7.23) and mirrored across the Y axis into the world.
        {"mirrored", {P(-2.1, 3.7), P(-7.23, 3.7)}, {P(-1.3, 4.4), P(-1.3, 8.49)}, P(-6.1, 3.7), P(-1.3, 7.7),
         MirrorMatrix2D(kMirrorX)},
    };
}

std::int32_t AddStored(Sketch& sketch, const WorldSegment& world, const std::optional<TMatrix2D>& transform) {
    if (!transform) return sketch.AddLine(world.A, world.B);
    const TMatrix2D inverse = InvertMatrix2D(*transform);
    return sketch.AddLine(CartesianPoint(PointTimesMatrix2D(world.A, inverse)),
                          CartesianPoint(PointTimesMatrix2D(world.B, inverse)), transform);
}

TEST_F(Fillets, CornerTrimEndsBothLinesAtTheirCornerInTheWorld) {
    for (const LinePair& pair : LinePairs()) {
        SCOPED_TRACE(pair.name);
        Sketch sketch;
        const std::int32_t id1 = AddStored(sketch, pair.line1, pair.transform1);
        const std::int32_t id2 = sketch.AddLine(pair.line2.A, pair.line2.B);
        const EditOutcome outcome = CornerTrim(sketch.drawing, EditPick::Two(id1, pair.pick1, id2, pair.pick2));
        ASSERT_TRUE(outcome.Done()) << outcome.Status;
        const WorldSegment after1 = sketch.Segment(id1), after2 = sketch.Segment(id2);
        EXPECT_FALSE(sketch.Object(id1).HasTransform());
        // Both lines share an end, which lies on both original lines.
        const TPoint2D corner = Distance(after1.A, after2.A) < 1e-6 || Distance(after1.A, after2.B) < 1e-6 ? after1.A
                                                                                                          : after1.B;
        EXPECT_LT(std::min(Distance(corner, after2.A), Distance(corner, after2.B)), kNear);
        EXPECT_LT(LineDistance(pair.line1, corner), kNear);
        EXPECT_LT(LineDistance(pair.line2, corner), kNear);
        // And each still holds the point where it was picked.
        EXPECT_LT(SegmentDistance(after1, pair.pick1), kNear);
        EXPECT_LT(SegmentDistance(after2, pair.pick2), kNear);
    }
}

TEST_F(Fillets, TangentArcOnTwoLinesTouchesBothAndTheTrimmedEndsLieOnIt) {
    for (const LinePair& pair : LinePairs()) {
        for (const double radius : {0.25, 0.75}) {
            SCOPED_TRACE(std::string(pair.name) + " radius " + std::to_string(radius));
            Sketch sketch;
            const std::int32_t id1 = AddStored(sketch, pair.line1, pair.transform1);
            const std::int32_t id2 = sketch.AddLine(pair.line2.A, pair.line2.B);
            const EditOutcome outcome = TangentArc(sketch.drawing, EditPick::Two(id1, pair.pick1, id2, pair.pick2),
                                                   FilletParameters{radius, true});
            ASSERT_TRUE(outcome.Done()) << outcome.Status;
            ASSERT_EQ(outcome.Added.size(), 1u);
            const WorldArc fillet = sketch.Arc(outcome.Added[0]);
            EXPECT_NEAR(fillet.Radius, radius, kNear);
            EXPECT_NEAR(LineDistance(pair.line1, fillet.Centre), radius, kNear);
            EXPECT_NEAR(LineDistance(pair.line2, fillet.Centre), radius, kNear);
            EXPECT_LT(fillet.Sweep, std::numbers::pi);
            // Each arc end is an end of one of the trimmed lines.
            const WorldSegment after1 = sketch.Segment(id1), after2 = sketch.Segment(id2);
            for (const TPoint2D& end : {ArcStartPoint(fillet), ArcEndPoint(fillet)}) {
                const double nearest = std::min({Distance(end, after1.A), Distance(end, after1.B),
                                                 Distance(end, after2.A), Distance(end, after2.B)});
                EXPECT_LT(nearest, 1e-7) << end;
            }
            EXPECT_LT(SegmentDistance(after1, pair.pick1), kNear);
            EXPECT_LT(SegmentDistance(after2, pair.pick2), kNear);
        }
    }
}

TEST_F(Fillets, TangentArcWithoutTrimAddsAFullTangentCircleAndLeavesTheLines) {
    for (const LinePair& pair : LinePairs()) {
        SCOPED_TRACE(pair.name);
        Sketch sketch;
        const std::int32_t id1 = AddStored(sketch, pair.line1, pair.transform1);
        const std::int32_t id2 = sketch.AddLine(pair.line2.A, pair.line2.B);
        const WorldSegment before1 = sketch.Segment(id1), before2 = sketch.Segment(id2);
        const EditOutcome outcome = TangentArc(sketch.drawing, EditPick::Two(id1, pair.pick1, id2, pair.pick2),
                                               FilletParameters{0.5, false});
        ASSERT_TRUE(outcome.Done()) << outcome.Status;
        const WorldArc circle = sketch.Arc(outcome.Added.at(0));
        EXPECT_TRUE(circle.Full);
        EXPECT_NEAR(LineDistance(pair.line1, circle.Centre), 0.5, kNear);
        EXPECT_NEAR(LineDistance(pair.line2, circle.Centre), 0.5, kNear);
        EXPECT_EQ(sketch.Segment(id1).A, before1.A);
        EXPECT_EQ(sketch.Segment(id1).B, before1.B);
        EXPECT_EQ(sketch.Segment(id2).B, before2.B);
    }
}

// A line or arc with a fillet: the fillet arc keeps its distance from each
// source and its ends lie on what is left of them.
struct CurvedCase {
    const char* name;
    std::function<EditPick(Sketch&)> build;
    double radius;
    int sourcesLeft;  // objects besides the fillet arc afterwards
};

std::vector<CurvedCase> CurvedCases() {
    return {
        {"line below a circle it does not reach",
         [](Sketch& s) {
             const auto line = s.AddLine(P(-10, 0), P(10, 0));
             const auto circle = s.AddCircle(P(0, 4), 2);
             return EditPick::Two(line, P(6, 0), circle, P(2, 4));
         },
         1.5, 2},
        {"circle first, line second",
         [](Sketch& s) {
             const auto circle = s.AddCircle(P(0, 4), 2);
             const auto line = s.AddLine(P(10, 0), P(-10, 0));
             return EditPick::Two(circle, P(-2, 4), line, P(-6, 0));
         },
         1.5, 2},
        {"vertical line through an upper half arc",
         [](Sketch& s) {
             const auto line = s.AddLine(P(2, -8), P(2, 8));
             const auto arc = s.AddArc(P(0, 0), 5, 0, std::numbers::pi);
             return EditPick::Two(line, P(2, 7), arc, P(4, 3));
         },
         1.0, 3},
        {"line picked inside the circle",
         [](Sketch& s) {
             const auto line = s.AddLine(P(-8, 1), P(8, 1));
             const auto circle = s.AddCircle(P(0, 0), 5);
             return EditPick::Two(line, P(-1, 1), circle, P(0, 5));
         },
         1.0, 2},
        {"two circles, outside both",
         [](Sketch& s) {
             const auto c1 = s.AddCircle(P(0, 0), 3);
             const auto c2 = s.AddCircle(P(7, 0), 2);
             return EditPick::Two(c1, P(1.5, 2.598076211353316), c2, P(6, 1.7320508075688772));
         },
         1.5, 2},
        {"small circle inside a large one",
         [](Sketch& s) {
             const auto c1 = s.AddCircle(P(0, 0), 10);
             const auto c2 = s.AddCircle(P(5, 0), 2.5);
             return EditPick::Two(c1, P(0, 10), c2, P(5, 2.5));
         },
         1.5, 2},
        {"two arcs crossing 0 degrees",
         [](Sketch& s) {
             const auto a1 = s.AddArc(P(0, 0), 3, -1.0, 1.0);
             const auto a2 = s.AddArc(P(6, 1), 2.5, 2.0, 4.5);
             return EditPick::Two(a1, P(2.4, 1.8), a2, P(4, 2.5));
         },
         0.8, 4},
    };
}

void ExpectTangentTo(const TObject2D& source, const WorldArc& fillet) {
    if (const auto segment = SegmentOf(source)) {
        EXPECT_NEAR(LineDistance(*segment, fillet.Centre), fillet.Radius, kNear);
    } else {
        const WorldArc arc = *ArcOf(source);
        const double d = Distance(arc.Centre, fillet.Centre);
        EXPECT_NEAR(std::min(std::fabs(d - (arc.Radius + fillet.Radius)), std::fabs(d - std::fabs(arc.Radius - fillet.Radius))), 0.0,
                    kNear);
    }
}

// Distance from p to the nearest drawn point of what the object is now.
double DistanceToObject(TObject2D& object, const TPoint2D& p) {
    if (const auto segment = SegmentOf(object)) return SegmentDistance(*segment, p);
    const WorldArc arc = *ArcOf(object);
    if (!SweepOffset(arc, p)) return 1e9;
    return std::fabs(Distance(arc.Centre, p) - arc.Radius);
}

TEST_F(Fillets, TangentArcOnLinesArcsAndCirclesTouchesBothAndMeetsWhatIsLeft) {
    for (const CurvedCase& c : CurvedCases()) {
        SCOPED_TRACE(c.name);
        Sketch sketch;
        sketch.drawing.SetCurrentLayer(3);
        const EditPick pick = c.build(sketch);
        std::vector<std::unique_ptr<TObject2D>> sources;
        for (std::int32_t id : pick.Ids) sources.push_back(sketch.Object(id).Clone());
        const std::int32_t firstNew = sketch.drawing.NextObjectID();
        // The sources go to layer 0 so that the fillet is the only new object on layer 3.
        for (std::int32_t id : pick.Ids) sketch.Object(id).SetLayer(0);

        const EditOutcome outcome = TangentArc(sketch.drawing, pick, FilletParameters{c.radius, true});
        ASSERT_TRUE(outcome.Done()) << outcome.Status;
        const WorldArc fillet = FilletArcOf(sketch, outcome, firstNew);
        EXPECT_NEAR(fillet.Radius, c.radius, kNear);
        for (const auto& source : sources) ExpectTangentTo(*source, fillet);
        EXPECT_EQ(sketch.Count(), c.sourcesLeft + 1);
        // Both fillet ends lie on an object left in the drawing other than the fillet.
        for (const TPoint2D& end : {ArcStartPoint(fillet), ArcEndPoint(fillet)}) {
            double nearest = 1e9;
            for (TObject2D* object : sketch.All()) {
                if (object->Layer() != 3) nearest = std::min(nearest, DistanceToObject(*object, end));
            }
            EXPECT_LT(nearest, 1e-7) << end;
        }
    }
}

}  // namespace
