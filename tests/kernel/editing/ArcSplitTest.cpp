// Cutting arcs and circles: pieces follow the sweep across angle 0, ends do
// not cut, a circle's pieces start at its first cut; in the drawing the
// pieces lie on the world arc and keep the arc's layer and switches.
#include "kernel/editing/ArcSplit.h"
#include "kernel/editing/FilletCommands.h"

#include "EditingTestSupport.h"

using namespace calvoro;
using namespace calvoro::test;

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

}  // namespace
