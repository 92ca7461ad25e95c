// The editing commands run as the two-object pick's follow-up on the real
// viewport core: two objects are picked with synthetic mouse clicks, the
// command edits the drawing, the host's status line gets its outcome, and the
// program is idle again. A refusal leaves the drawing's stream byte for byte
// as it was.
#include "tests/kernel/view/ViewTestSupport.h"

#include "kernel/editing/EditStates.h"
#include "kernel/editing/WorldShapes.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TLine2D.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

struct StatusHost : KernelHost {
    std::vector<std::string> messages;
    void ShowStatusMessage(std::string_view text) override { messages.emplace_back(text); }
};

class EditStatesTest : public ProgramViewTest<StatusHost> {
protected:
    EditStatesTest() { view->SetOnPaint([this](TQVViewport&) { marksAtPaint = MarkCount(); }); }

    // The pick as the main window starts it: the second pick is reported
    // (for highlighting), which hands the two objects to the command.
    void Start(const StateClass& command, const FilletParameters& fillet) {
        auto param = std::make_unique<TEditPickParam>(3, &command, fillet);
        param->OnSelected = [](TQVD2D_SelectObjectsParam&, TObject2D&, bool, int) {};
        program->StartOperation(TCAD2DSeleziona2Ogg::Class, std::move(param));
    }
    std::size_t MarkCount() { return Screen().CallsOf(CanvasOp::Polyline).size(); }

    std::size_t marksAtPaint = 0;
};

TPoint2D P(double x, double y) {
    return MakePoint2D(x, y);
}

bool Near(const TPoint2D& a, const TPoint2D& b) {
    return std::hypot(a.X - b.X, a.Y - b.Y) < 1e-6;
}

// The segment's ends, in either order.
bool Ends(const TObject2D* o, const TPoint2D& a, const TPoint2D& b) {
    const auto s = SegmentOf(*o);
    return s && ((Near(s->A, a) && Near(s->B, b)) || (Near(s->A, b) && Near(s->B, a)));
}

double LineDistance(const WorldSegment& s, const TPoint2D& p) {
    const double dx = s.B.X - s.A.X, dy = s.B.Y - s.A.Y;
    return std::abs(dx * (p.Y - s.A.Y) - dy * (p.X - s.A.X)) / std::hypot(dx, dy);
}

}  // namespace

TEST_F(EditStatesTest, EachCommandEditsThePickedObjectsOrRefusesAndChangesNothing) {
    using Objects = std::vector<TObject2D*>;
    // A horizontal and a vertical line at non-round coordinates, crossing at (50.6, 20.7).
    const auto cross = [this] {
        Add<TLine2D>(P(10.3, 20.7), P(90.3, 20.7));
        Add<TLine2D>(P(50.6, 5.2), P(50.6, 80.4));
    };
    const auto circles = [this] {
        Add<TCerchio2D>(P(50, 50), P(60, 50));
        Add<TCerchio2D>(P(130, 50), P(150, 50));
    };
    const auto parallel = [this] {
        Add<TLine2D>(P(10.3, 20.7), P(90.3, 20.7));
        Add<TLine2D>(P(10.3, 60.2), P(90.3, 60.2));
    };
    const auto nested = [this] {
        Add<TCerchio2D>(P(100, 50), P(140, 50));
        Add<TCerchio2D>(P(100, 50), P(110, 50));
    };
    const TPoint2D h = P(20, 20.7), v = P(50.6, 60);
    using S = EditStatus;
    // clang-format off
    // What is drawn, the two picks, the command and its fillet, the status,
    // and what the drawing holds after a command that is done.
    // A struct, not a tuple: the tuple's copies of the std::function
    // temporaries draw a false -Wmaybe-uninitialized from GCC 12 at -O2.
    struct Case {
        const char* name;
        std::function<void()> build;
        TPoint2D pick1, pick2;
        const StateClass* command;
        FilletParameters fillet;
        EditStatus status;
        std::function<void(const Objects&)> check;
    };
    const Case cases[] = {
        {"corner trim", cross, h, v, &TMyRaccordo::Class, {}, S::Done, [](const Objects& o) {
             ASSERT_EQ(o.size(), 2u);
             EXPECT_TRUE(Ends(o[0], P(10.3, 20.7), P(50.6, 20.7)));
             EXPECT_TRUE(Ends(o[1], P(50.6, 20.7), P(50.6, 80.4)));
         }},
        {"fillet", cross, h, v, &TMyArcoTan2::Class, {10.0, true}, S::Done, [](const Objects& o) {
             ASSERT_EQ(o.size(), 3u);
             const auto arc = ArcOf(*o[2]);
             ASSERT_TRUE(arc);
             EXPECT_NEAR(arc->Radius, 10.0, 1e-9);
             EXPECT_FALSE(arc->Full);
             EXPECT_NEAR(LineDistance(*SegmentOf(*o[0]), arc->Centre), 10.0, 1e-9);
             EXPECT_NEAR(LineDistance(*SegmentOf(*o[1]), arc->Centre), 10.0, 1e-9);
             EXPECT_TRUE(Ends(o[0], P(10.3, 20.7), P(40.6, 20.7)));
             EXPECT_TRUE(Ends(o[1], P(50.6, 30.7), P(50.6, 80.4)));
         }},
        {"tangent line", circles, P(50, 60), P(130, 70), &TMyLineaTan2A::Class, {}, S::Done, [](const Objects& o) {
             ASSERT_EQ(o.size(), 3u);
             const auto s = SegmentOf(*o[2]);
             ASSERT_TRUE(s);
             EXPECT_NEAR(LineDistance(*s, P(50, 50)), 10.0, 1e-6);
             EXPECT_NEAR(LineDistance(*s, P(130, 50)), 20.0, 1e-6);
             EXPECT_GT(s->A.Y, 50.0);
         }},
        {"zero radius", cross, h, v, &TMyArcoTan2::Class, {0.0, true}, S::BadRadius, {}},
        {"parallel lines", parallel, h, P(20, 60.2), &TMyRaccordo::Class, {}, S::Parallel, {}},
        {"circles one inside the other", nested, P(100, 90), P(100, 60), &TMyLineaTan2A::Class, {}, S::NoTangent, {}},
        {"break", cross, h, v, &TMyBreak::Class, {}, S::Done, [this](const Objects& o) {
             ASSERT_EQ(o.size(), 4u);
             // The crossing is marked after the last repaint, so it stays in sight.
             EXPECT_EQ(MarkCount(), marksAtPaint + 1);
             for (const TObject2D* piece : o) {
                 const auto s = SegmentOf(*piece);
                 EXPECT_TRUE(s && (Near(s->A, P(50.6, 20.7)) || Near(s->B, P(50.6, 20.7))));
             }
         }},
    };
    // clang-format on
    for (const auto& [name, build, pick1, pick2, command, fillet, status, check] : cases) {
        SCOPED_TRACE(name);
        for (TObject2D* o : ObjectsOf(drawing)) drawing.DeleteObject(o->ID());
        host.messages.clear();
        build();
        const std::string before = StreamOf(drawing);
        Start(*command, fillet);
        Click(pick1.X, pick1.Y);
        Click(pick2.X, pick2.Y);
        EXPECT_EQ(Current(), "TCADIdleState");
        EXPECT_EQ(host.messages, std::vector<std::string>{std::string(EditStatusText(status))});
        if (status == EditStatus::Done) {
            check(ObjectsOf(drawing));
        } else {
            EXPECT_EQ(StreamOf(drawing), before);
        }
    }
    // The next operation's end wipes the break's mark again.
    program->StartOperation(TCADPrgZoomArea::Class);
    program->PostCommandEvent(kCommandCancel);
    EXPECT_EQ(MarkCount(), marksAtPaint);
    EXPECT_TRUE(errors.empty());
}

TEST_F(EditStatesTest, TheOneObjectCommandsEndThePickAndLeaveTheDrawingAsItWas) {
    Add<TLine2D>(P(10.3, 20.7), P(90.3, 20.7));
    const std::string before = StreamOf(drawing);
    for (const StateClass* command : {&TMyArcoTan1::Class, &TMyLineaPer::Class}) {
        SCOPED_TRACE(command->Name);
        auto param = std::make_unique<TQVD2D_SelectObjectsParam>(3, command);
        int highlighted = 0;
        param->OnSelected = [&](TQVD2D_SelectObjectsParam&, TObject2D&, bool, int) { ++highlighted; };
        program->StartOperation(TQV2D_Select1Object::Class, std::move(param));
        Click(40, 20.7);
        EXPECT_EQ(highlighted, 1);
        EXPECT_EQ(Current(), "TCADIdleState");
        EXPECT_EQ(StreamOf(drawing), before);
    }
    EXPECT_TRUE(errors.empty());
}
