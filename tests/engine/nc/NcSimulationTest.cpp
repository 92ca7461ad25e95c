// The simulation core of the NC page: where arcs have their centres, what
// Play draws and when it stops, and what a line that cannot be drawn does.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "engine/nc/NcSimulation.h"

using namespace calvoro;

namespace {

struct Played {
    std::vector<SimMove> moves;
    int linesRead = 0;
};

Played PlayAll(NcStepper& stepper, const std::vector<std::string>& lines, int from, int perTick = 1000) {
    Played played;
    stepper.startPlay(from);
    while (stepper.playing())
        played.linesRead += stepper.tick(
            int(lines.size()), [&](int i) { return std::string_view(lines[std::size_t(i)]); }, perTick,
            [&](const SimMove& move) { played.moves.push_back(move); });
    return played;
}

TEST(ArcCentre, ByRadiusTakesTheSmallerArcForAPositiveRadiusAndTheLargerForANegativeOne) {
    struct Case {
        float radius;
        int kind;
        SimPoint centre;
    };
    // A 6-unit chord from (0, 0) to (6, 0): the centres lie 4 units off it.
    // A radius shorter than half the chord puts the centre on the chord.
    const Case cases[] = {{5, 2, {3, -4}}, {-5, 2, {3, 4}}, {5, 3, {3, 4}}, {-5, 3, {3, -4}}, {2, 2, {3, 0}}};
    for (const Case& c : cases) {
        const SimPoint centre = ArcCentreFromRadius({0, 0}, {6, 0}, c.radius, c.kind);
        EXPECT_NEAR(centre.x, c.centre.x, 1e-5) << c.radius << " " << c.kind;
        EXPECT_NEAR(centre.y, c.centre.y, 1e-5) << c.radius << " " << c.kind;
        const SimArc arc = ArcThrough(centre, {0, 0}, {6, 0});
        double sweep = c.kind == 2 ? arc.startAngle - arc.endAngle : arc.endAngle - arc.startAngle;
        if (sweep < 0) sweep += 2 * std::numbers::pi;
        if (c.radius > 2) {
            EXPECT_LE(sweep, std::numbers::pi) << c.radius << " " << c.kind;
        } else if (c.radius < 0) {
            EXPECT_GT(sweep, std::numbers::pi) << c.radius << " " << c.kind;
        }
    }
    // An arc that starts where it ends has no centre by radius.
    EXPECT_THROW(ArcCentreFromRadius({2, 3}, {2, 3}, 5, 2), NcSimulationError);
}

TEST(ArcCentre, ByCentreWordsFollowsTheDefinitionsMode) {
    struct Case {
        int mode;
        SimPoint centre;
    };
    const Case cases[] = {{1, {2, 3}}, {2, {3, 4}}, {3, {-1, -2}}, {0, {2, 3}}, {7, {2, 3}}};
    for (const Case& c : cases) EXPECT_EQ(ArcCentreFromWords({1, 1}, 2, 3, c.mode), c.centre) << c.mode;
}

TEST(ArcNodes, RunInTheMovesDirectionAndCloseAFullCircle) {
    // A quarter from (1, 0) to (0, 1) around the origin: counter-clockwise it is
    // a quarter turn, clockwise three quarters.
    const SimArc quarter = ArcThrough({0, 0}, {1, 0}, {0, 1});
    for (int kind : {2, 3}) {
        const std::vector<SimNode> nodes = ArcNodes(quarter, kind, 7);
        ASSERT_EQ(nodes.size(), 51u);
        EXPECT_NEAR(nodes.front().x, 1, 1e-6);
        EXPECT_NEAR(nodes.back().y, 1, 1e-6);
        EXPECT_EQ(nodes[25].z, 7);
        const float expectedMiddleY = kind == 3 ? float(std::sin(std::numbers::pi / 4)) : -float(std::sin(std::numbers::pi / 4));
        EXPECT_NEAR(nodes[25].y, expectedMiddleY, 1e-5) << kind;
    }
    const SimArc circle = ArcThrough({0, 0}, {2, 0}, {2, 0});
    EXPECT_EQ(circle.startAngle, circle.endAngle);
    const std::vector<SimNode> nodes = ArcNodes(circle, 3, 0);
    EXPECT_NEAR(nodes[25].x, -2, 1e-5);
    EXPECT_NEAR(nodes.back().x, 2, 1e-5);
}

TEST(PathNodes, ColourRapidsFeedsAndCycles) {
    struct Case {
        int kind;
        float z, cycleR;
        std::vector<SimNode> nodes;
    };
    const Case cases[] = {{0, 3, 0, {{1, 2, 3, {1, 1, 0}}}},
                          {1, 3, 0, {{1, 2, 3, {0, 1, 1}}}},
                          {83, -4, 2, {{1, 2, 2, {1, 1, 0}}, {1, 2, -4, {0, 1, 1}}, {1, 2, 2, {0, 1, 1}}}}};
    for (const Case& c : cases) {
        const SimMove move{.kind = c.kind, .start = {}, .end = {1, 2}, .z = c.z, .cycleR = c.cycleR, .arc = {}};
        EXPECT_EQ(PathNodesOf(move), c.nodes) << c.kind;
    }
}

TEST(NcStepper, PlayFromTheLastLineOnlySetsTheStartPoint) {
    NcStepper stepper{PostSettings{}};
    const std::vector<std::string> lines{"G0 X0 Y0 Z5", "G1 X10 Y4"};
    const Played played = PlayAll(stepper, lines, 1);
    EXPECT_TRUE(played.moves.empty());
    EXPECT_EQ(played.linesRead, 1);
    EXPECT_TRUE(stepper.finished());
    EXPECT_EQ(stepper.start(), (SimPoint{10, 4}));
}

TEST(NcStepper, PlayDrawsFromTheFirstCoordinateLineOn) {
    NcStepper stepper{PostSettings{}};
    stepper.resetRun("5");
    const std::vector<std::string> lines{"(PROGRAM X99)", "G0 X1 Y1 Z5", "N10", "G1 X5 Y1 Z-1", "X5 Y3"};
    const Played played = PlayAll(stepper, lines, 0);
    ASSERT_EQ(played.moves.size(), 2u);
    EXPECT_EQ(played.moves[0].start, (SimPoint{1, 1}));
    EXPECT_EQ(played.moves[0].end, (SimPoint{5, 1}));
    EXPECT_EQ(played.moves[0].z, -1);
    EXPECT_EQ(played.moves[0].line, 3);
    EXPECT_EQ(played.moves[1].kind, 1);  // modal
    EXPECT_EQ(played.moves[1].z, -1);    // Z kept
    const SimExtents& extents = stepper.extents();
    EXPECT_EQ(std::vector<float>({extents.minX, extents.maxX, extents.minY, extents.maxY}),
              std::vector<float>({5, 5, 1, 3}));
}

TEST(NcStepper, StopTakesEffectAtTheNextTick) {
    NcStepper stepper{PostSettings{}};
    stepper.resetRun("5");
    const std::vector<std::string> lines(10, "G1 X1 Y1");
    stepper.startPlay(0);
    const auto line = [&](int i) { return std::string_view(lines[std::size_t(i)]); };
    EXPECT_EQ(stepper.tick(10, line, 3, [](const SimMove&) {}), 3);
    stepper.stop();
    EXPECT_EQ(stepper.tick(10, line, 3, [](const SimMove&) {}), 0);
    EXPECT_FALSE(stepper.playing());
    EXPECT_FALSE(stepper.finished());
    EXPECT_EQ(stepper.lineIndex(), 3);
}

TEST(NcStepper, LinesThatCannotBeDrawnThrowAndStopPlayPastTheLine) {
    struct Case {
        const char* feedPlane;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"5", {"G0 X2 Y2", "G1 X2 Y3", "G2 X2 Y3 R5", "G1 X9"}},  // radius arc onto its own start
        {"abc", {"G0 X0 Y0", "G1 X2 Y2", "G1 X9"}},               // no Z yet and a feed plane that is no number
    };
    for (const Case& c : cases) {
        NcStepper stepper{PostSettings{}};
        stepper.resetRun(c.feedPlane);
        EXPECT_THROW(PlayAll(stepper, c.lines, 0), NcSimulationError) << c.feedPlane;
        EXPECT_FALSE(stepper.playing());
        EXPECT_EQ(stepper.lineIndex(), int(c.lines.size()) - 1);
    }
}

TEST(NcStepper, ReadsCshLinesUpperCasedAndTheirZNegated) {
    PostSettings csh;
    csh.dialect = PostDialect::Csh;
    NcStepper stepper{csh};
    stepper.resetRun("5");
    const std::optional<SimMove> move = stepper.step("g1 x5 y2 z1.5");
    ASSERT_TRUE(move);
    EXPECT_EQ(move->kind, 1);
    EXPECT_EQ(move->end, (SimPoint{5, 2}));
    EXPECT_EQ(move->z, -1.5f);
}

TEST(NcStepper, ArcsExtendTheExtentsByTheirWholeCircle) {
    PostSettings post;
    post.arcCenter = 2;
    NcStepper stepper{post};
    stepper.resetRun("0");
    stepper.setStart({0, 0});
    const std::optional<SimMove> arc = stepper.step("G3 X2 Y0 I1 J0");
    ASSERT_TRUE(arc && arc->arc);
    EXPECT_NEAR(arc->arc->centreX, 1, 1e-6);
    const SimExtents& extents = stepper.extents();
    EXPECT_EQ(std::vector<float>({extents.minX, extents.maxX, extents.minY, extents.maxY}),
              std::vector<float>({0, 2, -1, 1}));
}

bool Finite(const SimNode& node) {
    return std::isfinite(node.x) && std::isfinite(node.y) && std::isfinite(node.z);
}

// An arc whose circle reaches beyond the numbers a position can hold (its
// centre, its nodes or the extents would be infinite) is refused like a word
// that is no number: the line draws nothing, the start point stays, and the
// lines after it are drawn, by Play and by Step alike.
TEST(NcStepper, AnArcBeyondTheNumbersIsRefusedAndTheSimulationGoesOn) {
    const std::string far = "3" + std::string(38, '0');  // 3e38, still a float
    struct Case {
        const char* name;
        int arcCenterMode;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"centre words, absolute", 1, {"G0 X" + far + " Y0 Z0", "G2 X0 Y0 I-" + far + " J0", "G1 X5 Y5"}},
        {"centre words, from the start", 2, {"G0 X" + far + " Y0 Z0", "G2 X0 Y0 I" + far + " J0", "G1 X5 Y5"}},
        {"radius between far points", 1, {"G0 X-" + far + " Y-" + far + " Z0", "G2 X" + far + " Y" + far + " R1", "G1 X5 Y5"}},
    };
    for (const Case& c : cases) {
        PostSettings post;
        post.arcCenter = c.arcCenterMode;
        for (const bool play : {true, false}) {
            NcStepper stepper{post};
            stepper.resetRun("0");
            std::vector<SimMove> moves;
            if (play) {
                moves = PlayAll(stepper, c.lines, 0).moves;
            } else {
                stepper.forgetStart();
                for (const std::string& line : c.lines)
                    if (const std::optional<SimMove> move = stepper.step(line)) moves.push_back(*move);
            }
            ASSERT_EQ(moves.size(), 1u) << c.name << (play ? " play" : " step");
            EXPECT_EQ(moves[0].line, 2) << c.name;
            EXPECT_EQ(moves[0].end, (SimPoint{5, 5})) << c.name;
            for (const SimNode& node : PathNodesOf(moves[0])) EXPECT_TRUE(Finite(node)) << c.name;
            const SimExtents& extents = stepper.extents();
            EXPECT_EQ(std::vector<float>({extents.minX, extents.maxX, extents.minY, extents.maxY}),
                      std::vector<float>({5, 5, 5, 5}))
                << c.name;
        }
    }
}

}  // namespace
