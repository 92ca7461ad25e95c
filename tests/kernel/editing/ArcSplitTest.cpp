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

double Deg(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

struct SplitCase {
    const char* name;
    WorldArc arc;
    std::vector<double> pointDegrees;
    double offCircle;  // how far the points lie outside the circle
    std::vector<double> boundsDegrees;  // expected piece ends, first start to last end
};

std::vector<SplitCase> SplitCases() {
    const TPoint2D c = P(2.5, -1.25);
    const WorldArc across0{c, 3.0, Deg(350), Deg(30), false};
    const WorldArc circle{c, 3.0, 0.0, kTwoPi, true};
    return {
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
}

TEST_F(ArcSplits, PiecesFollowTheSweepAndCoverItOnce) {
    for (const SplitCase& c : SplitCases()) {
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
            // Neighbours meet exactly.
            if (i > 0) {
                EXPECT_EQ(pieces[i].Start, pieces[i - 1].End);
            }
        }
        if (!pieces.empty() && !c.arc.Full) {
            EXPECT_EQ(pieces.front().Start, c.arc.Start);
            EXPECT_EQ(pieces.back().End, c.arc.Start + c.arc.Sweep);
        }
        // Each piece as an entity draws what it stands for, a full turn included.
        for (const ArcPiece& piece : pieces) {
            const TArcData made = MakeArcPiece(c.arc, piece)->GetArcData();
            EXPECT_NEAR(made.Sweep, piece.End - piece.Start, 1e-9);
            EXPECT_POINT_NEAR(made.StartPoint, c.arc.Centre.X + 3.0 * std::cos(piece.Start),
                              c.arc.Centre.Y + 3.0 * std::sin(piece.Start), 1e-12);
        }
    }
}

TEST_F(ArcSplits, PiecesOfAMirroredArcLieOnItInTheWorldAndKeepItsLayerAndSwitches) {
    Sketch sketch;
    sketch.drawing.SetCurrentLayer(5);
    // Stored as the upper half of a circle about (4, 1); the mirror shows the lower half about (4, -1).
    const std::int32_t id = sketch.Add(
        std::make_unique<TArco2D>(-1, P(4, 1), P(6, 1), 0.0, std::numbers::pi), MirrorMatrix2D(kMirrorY));
    sketch.Object(id).SetUseLayerColor(false);
    sketch.Object(id).SetEnabled(false);
    sketch.drawing.SetCurrentLayer(1);
    const WorldArc world = sketch.Arc(id);
    EXPECT_POINT_NEAR(world.Centre, 4, -1, 1e-12);
    const TPoint2D at[] = {P(4, -3), P(4 + std::sqrt(2.0), -1 - std::sqrt(2.0))};

    const EditOutcome outcome = SplitArc(sketch.drawing, id, at);
    ASSERT_TRUE(outcome.Done()) << outcome.Status;
    EXPECT_EQ(outcome.Deleted, std::vector<std::int32_t>{id});
    ASSERT_EQ(outcome.Added.size(), 3u);
    double sweep = 0.0;
    TPoint2D from = ArcStartPoint(world);
    for (TObject2D* piece : sketch.AddedObjects(outcome)) {
        EXPECT_EQ(piece->Layer(), 5);
        EXPECT_FALSE(piece->UseLayerColor());
        EXPECT_FALSE(piece->Enabled());
        const WorldArc arc = *ArcOf(*piece);
        EXPECT_POINT_NEAR(arc.Centre, 4, -1, 1e-12);
        EXPECT_LT(Distance(ArcStartPoint(arc), from), 1e-12);
        // Every piece lies within the source's sweep.
        EXPECT_TRUE(SweepOffset(world, PointOnArc(arc, arc.Start + arc.Sweep / 2)).has_value());
        from = ArcEndPoint(arc);
        sweep += arc.Sweep;
    }
    EXPECT_LT(Distance(from, ArcEndPoint(world)), 1e-12);
    EXPECT_NEAR(sweep, world.Sweep, 1e-12);
    EXPECT_EQ(sketch.drawing.CurrentLayer(), 1);
}

}  // namespace
