// Every command that cannot be done changes nothing: the drawing's stream is
// the same, byte for byte, before and after, and the status says why.
#include "kernel/editing/BreakCommand.h"
#include "kernel/editing/FilletCommands.h"
#include "kernel/editing/TangentLine.h"
#include "kernel/entities/TPunto2D.h"

#include "EditingTestSupport.h"

#include <functional>
#include <limits>

using namespace calvoro;
using namespace calvoro::test;

namespace {

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

}  // namespace
