// The tangent line: each of the four tangents is chosen by where the circles
// were picked, and the line touches both circles.
#include "kernel/editing/TangentLine.h"

#include "EditingTestSupport.h"

using namespace calvoro;
using namespace calvoro::test;

namespace {

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
    const struct Setup {
        const char* name;
        TPoint2D c1;
        double r1;
        TPoint2D c2;
        double r2;
        bool arcs;  // picked as arcs, the second mirrored
    } setups[] = {
        {"apart", P(0.3, 0.1), 2.0, P(10.7, 1.3), 1.0, false},
        {"equal radii", P(0, 0), 1.5, P(6, 0), 1.5, false},
        {"arcs, one mirrored", P(0.3, 0.1), 2.0, P(10.7, 1.3), 1.0, true},
    };
    for (const Setup& setup : setups) {
        for (int mask = 0; mask < 4; ++mask) {
            const double side1 = mask & 1 ? 1.0 : -1.0, side2 = mask & 2 ? 1.0 : -1.0;
            SCOPED_TRACE(::testing::Message() << setup.name << " picks " << mask);
            Sketch sketch;
            // The mirrored arc is stored about the mirror image of its centre.
            const std::int32_t id1 =
                setup.arcs ? sketch.AddArc(setup.c1, setup.r1, 0, 1) : sketch.AddCircle(setup.c1, setup.r1);
            const std::int32_t id2 =
                setup.arcs ? sketch.Add(std::make_unique<TArco2D>(-1, P(setup.c2.X, -setup.c2.Y),
                                                                  P(setup.c2.X + setup.r2, -setup.c2.Y), 4, 5),
                                        MirrorMatrix2D(kMirrorY))
                           : sketch.AddCircle(setup.c2, setup.r2);
            const TPoint2D pick1 = P(setup.c1.X, setup.c1.Y + side1 * setup.r1);
            const TPoint2D pick2 = P(setup.c2.X, setup.c2.Y + side2 * setup.r2);
            const EditOutcome outcome = TangentLine(sketch.drawing, EditPick::Two(id1, pick1, id2, pick2));
            ASSERT_TRUE(outcome.Done()) << outcome.Status;
            ASSERT_EQ(outcome.Added.size(), 1u);
            const WorldSegment line = sketch.Segment(outcome.Added[0]);
            ExpectTouches(line, line.A, setup.c1, setup.r1);
            ExpectTouches(line, line.B, setup.c2, setup.r2);
            // It touches each circle on the half where it was picked, and
            // passes between the circles exactly when the halves differ.
            EXPECT_GT((line.A.Y - setup.c1.Y) * side1, 0.0);
            EXPECT_GT((line.B.Y - setup.c2.Y) * side2, 0.0);
            EXPECT_EQ(SideOf(line, setup.c1) * SideOf(line, setup.c2) < 0.0, side1 != side2);
        }
    }
}

TEST_F(TangentLines, CirclesHaveAsManyTangentsAsTheyLieApart) {
    const struct Case {
        const char* name;
        TPoint2D c2;
        std::size_t count;
    } cases[] = {{"apart", P(10, 0), 4},        {"touching from outside", P(3, 0), 2},
                 {"overlapping", P(2.5, 0), 2}, {"touching inside", P(1, 0), 0},
                 {"inside", P(0.5, 0), 0},      {"concentric", P(0, 0), 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<WorldSegment> tangents = CommonTangents(P(0, 0), 2.0, c.c2, 1.0);
        EXPECT_EQ(tangents.size(), c.count);
        for (const WorldSegment& t : tangents) {
            ExpectTouches(t, t.A, P(0, 0), 2.0);
            ExpectTouches(t, t.B, c.c2, 1.0);
        }
    }
}

}  // namespace
