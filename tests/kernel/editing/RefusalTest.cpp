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

const Command kCornerTrim = [](TQVCmp2D& d, const EditPick& p) { return CornerTrim(d, p); };
const Command kBreak = [](TQVCmp2D& d, const EditPick& p) { return BreakObjects(d, p); };
const Command kTangentLine = [](TQVCmp2D& d, const EditPick& p) { return TangentLine(d, p); };
Command Fillet(double radius, bool trim = true) {
    return [=](TQVCmp2D& d, const EditPick& p) { return TangentArc(d, p, FilletParameters{radius, trim}); };
}

struct Refusal {
    const char* name;
    std::function<EditPick(Sketch&)> build;
    Command command;
    EditStatus expected;
};

EditPick TwoLines(Sketch& s, TPoint2D a0, TPoint2D a1, TPoint2D pick1, TPoint2D b0, TPoint2D b1, TPoint2D pick2) {
    const auto first = s.AddLine(a0, a1);
    const auto second = s.AddLine(b0, b1);
    return EditPick::Two(first, pick1, second, pick2);
}

EditPick TwoCircles(Sketch& s, TPoint2D c1, double r1, TPoint2D pick1, TPoint2D c2, double r2, TPoint2D pick2) {
    const auto first = s.AddCircle(c1, r1);
    const auto second = s.AddCircle(c2, r2);
    return EditPick::Two(first, pick1, second, pick2);
}

EditPick CrossingLines(Sketch& s) {
    return TwoLines(s, P(0, 0), P(10, 0), P(8, 0), P(5, -5), P(5, 5), P(5, 4));
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<Refusal> Refusals_() {
    using S = EditStatus;
    return {
        {"one object picked", [](Sketch& s) { EditPick p = CrossingLines(s); p.Count = 1; return p; }, kCornerTrim,
         S::NotTwoObjects},
        {"an object no longer there", [](Sketch& s) { EditPick p = CrossingLines(s); p.Ids[1] = 99; return p; },
         kBreak, S::NotTwoObjects},
        {"the same line twice", [](Sketch& s) { EditPick p = CrossingLines(s); p.Ids[1] = p.Ids[0]; return p; },
         kCornerTrim, S::SameObject},
        {"parallel lines", [](Sketch& s) { return TwoLines(s, P(0, 0), P(10, 0), P(5, 0), P(0, 1), P(10, 1), P(5, 1)); },
         kCornerTrim, S::Parallel},
        {"the two pieces of a broken line",
         [](Sketch& s) { return TwoLines(s, P(0, 0.3), P(4.1, 0.3), P(1, 0.3), P(4.1, 0.3), P(9, 0.3), P(8, 0.3)); },
         kCornerTrim, S::Parallel},
        {"lines 1e-12 off collinear",
         [](Sketch& s) { return TwoLines(s, P(0, 0), P(10, 0), P(1, 0), P(11, 1e-11), P(20, 1e-11 + 9e-12), P(15, 0)); },
         Fillet(1.0), S::Parallel},
        {"a line picked on the other line",
         [](Sketch& s) { return TwoLines(s, P(0, 0), P(10, 0), P(8, 0), P(5, -5), P(5, 5), P(5, 0)); }, kCornerTrim,
         S::PickAtCorner},
        {"a line of no length",
         [](Sketch& s) { return TwoLines(s, P(0, 0), P(10, 0), P(8, 0), P(3, 3), P(3, 3), P(3, 3)); }, kCornerTrim,
         S::NoLength},
        {"a polyline of three points",
         [](Sketch& s) {
             const auto line = s.AddLine(P(0, 0), P(10, 0));
             const auto poly = s.AddPolyline({P(5, -5), P(5, 5), P(8, 8)});
             return EditPick::Two(line, P(8, 0), poly, P(5, 4));
         },
         kCornerTrim, S::PolylineNotSegment},
        {"a point", [](Sketch& s) {
             const auto line = s.AddLine(P(0, 0), P(10, 0));
             const auto point = s.Add(std::make_unique<TPunto2D>(-1, P(5, 5)));
             return EditPick::Two(line, P(8, 0), point, P(5, 5));
         },
         kCornerTrim, S::WrongKinds},
        {"corner trim of two circles",
         [](Sketch& s) { return TwoCircles(s, P(0, 0), 3, P(3, 0), P(5, 0), 3, P(2, 0)); }, kCornerTrim,
         S::WrongKinds},
        {"corner trim of a line that misses the circle",
         [](Sketch& s) {
             const auto line = s.AddLine(P(-10, 0), P(10, 0));
             const auto circle = s.AddCircle(P(0, 5), 2);
             return EditPick::Two(line, P(6, 0), circle, P(0, 3));
         },
         kCornerTrim, S::NoCorner},
        {"a radius of zero", CrossingLines, Fillet(0.0), S::BadRadius},
        {"a negative radius", CrossingLines, Fillet(-1.0), S::BadRadius},
        {"a radius that is not a number", CrossingLines, Fillet(kNaN, false), S::BadRadius},
        {"a radius longer than the lines",
         [](Sketch& s) { return TwoLines(s, P(0, 0), P(1, 0), P(0.8, 0), P(0, 0.5), P(0, 1.5), P(0, 1.2)); },
         Fillet(100.0), S::RadiusTooLarge},
        {"a radius larger than the circle picked inside",
         [](Sketch& s) {
             const auto line = s.AddLine(P(-8, 1), P(8, 1));
             const auto circle = s.AddCircle(P(0, 0), 2);
             return EditPick::Two(line, P(0.5, 1), circle, P(0, 2));
         },
         Fillet(3.0), S::RadiusTooLarge},
        {"a line too far from the circle for the radius",
         [](Sketch& s) {
             const auto line = s.AddLine(P(-10, 0), P(10, 0));
             const auto circle = s.AddCircle(P(0, 10), 1);
             return EditPick::Two(line, P(6, 0), circle, P(0, 9));
         },
         Fillet(1.0), S::NoFillet},
        {"concentric circles",
         [](Sketch& s) { return TwoCircles(s, P(0, 0), 10, P(0, 10), P(0, 0), 1, P(0, 1)); }, Fillet(2.0),
         S::NoFillet},
        {"nested circles",
         [](Sketch& s) { return TwoCircles(s, P(0, 0), 10, P(0, 10), P(1, 0), 1, P(1, 1)); }, Fillet(2.0),
         S::NoFillet},
        {"a corner beyond the range of numbers",
         [](Sketch& s) {
             return TwoLines(s, P(0, 0), P(1e300, 0), P(5e299, 0), P(0, 1e305), P(1e300, 1e305 - 1e296),
                             P(5e299, 1e305 - 5e295));
         },
         kCornerTrim, S::OutOfRange},
        {"lines that do not cross",
         [](Sketch& s) { return TwoLines(s, P(0, 0), P(10, 0), P(8, 0), P(5, 1), P(5, 5), P(5, 4)); }, kBreak,
         S::NoCrossing},
        {"lines that share an end",
         [](Sketch& s) { return TwoLines(s, P(0, 0), P(10, 0), P(8, 0), P(10, 0), P(10, 5), P(10, 4)); }, kBreak,
         S::NoCrossing},
        {"a line across the circle of an arc but not the arc",
         [](Sketch& s) {
             const auto line = s.AddLine(P(-10, -1), P(10, -1));
             const auto arc = s.AddArc(P(0, 0), 5, 0.0, std::numbers::pi);
             return EditPick::Two(line, P(8, -1), arc, P(0, 5));
         },
         kBreak, S::NoCrossing},
        {"a line inside a circle",
         [](Sketch& s) {
             const auto line = s.AddLine(P(-1, 0), P(1, 0.5));
             const auto circle = s.AddCircle(P(0, 0), 5);
             return EditPick::Two(line, P(0, 0.25), circle, P(0, 5));
         },
         kBreak, S::NoCrossing},
        {"a line ending on an arc",
         [](Sketch& s) {
             const auto line = s.AddLine(P(0, 0), P(0, 5));
             const auto arc = s.AddArc(P(0, 0), 5, 0.0, std::numbers::pi);
             return EditPick::Two(line, P(0, 2), arc, P(3, 4));
         },
         kBreak, S::Done},
        {"arcs of two concentric circles",
         [](Sketch& s) { return TwoCircles(s, P(0, 0), 10, P(0, 10), P(0, 0), 1, P(0, 1)); }, kBreak,
         S::NoCrossing},
        {"a point with a line", [](Sketch& s) {
             const auto line = s.AddLine(P(0, 0), P(10, 0));
             const auto point = s.Add(std::make_unique<TPunto2D>(-1, P(5, 0)));
             return EditPick::Two(line, P(8, 0), point, P(5, 0));
         },
         kBreak, S::WrongKinds},
        {"a tangent line to a line", CrossingLines, kTangentLine, S::WrongKinds},
        {"a tangent line to nested circles",
         [](Sketch& s) { return TwoCircles(s, P(0, 0), 10, P(0, 10), P(2, 0), 1, P(2, 1)); }, kTangentLine,
         S::NoTangent},
        {"a tangent line to concentric circles",
         [](Sketch& s) { return TwoCircles(s, P(0, 0), 10, P(0, 10), P(0, 0), 1, P(0, 1)); }, kTangentLine,
         S::NoTangent},
    };
}

TEST_F(Refusals, LeaveTheDrawingByteIdenticalAndSayWhy) {
    for (const Refusal& refusal : Refusals_()) {
        SCOPED_TRACE(refusal.name);
        Sketch sketch;
        sketch.Object(sketch.AddLine(P(-50, -50), P(-40, -45), MirrorMatrix2D(kMirrorY))).SetLayer(4);
        const EditPick pick = refusal.build(sketch);
        const std::string before = sketch.Stream();
        const std::int32_t nextId = sketch.drawing.NextObjectID();
        const EditOutcome outcome = refusal.command(sketch.drawing, pick);
        EXPECT_EQ(outcome.Status, refusal.expected);
        if (refusal.expected == EditStatus::Done) continue;
        EXPECT_FALSE(EditStatusText(outcome.Status).empty());
        EXPECT_TRUE(outcome.Added.empty() && outcome.Deleted.empty() && outcome.Changed.empty());
        EXPECT_EQ(sketch.Stream(), before);
        EXPECT_EQ(sketch.drawing.NextObjectID(), nextId);
    }
}

TEST_F(Refusals, ADrawingBeingWalkedIsLeftAlone) {
    const std::vector<Command> commands = {kCornerTrim, Fillet(0.5), kBreak};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(i);
        Sketch sketch;
        const EditPick pick = CrossingLines(sketch);
        const std::string before = sketch.Stream();
        {
            const auto walk = sketch.drawing.ObjectListIterator();
            EXPECT_EQ(commands[i](sketch.drawing, pick).Status, EditStatus::DrawingBusy);
        }
        EXPECT_EQ(sketch.Stream(), before);
        EXPECT_TRUE(commands[i](sketch.drawing, pick).Done());
    }
}

}  // namespace
