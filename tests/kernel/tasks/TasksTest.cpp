// The interactive tasks driven by synthetic mouse and command input through
// the 2D program, on a viewport of one world unit a pixel.
#include "tests/kernel/view/ViewTestSupport.h"

#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/PixelConversion.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/ClassRegistry.h"
#include "kernel/tasks/QV2DTasks.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

std::vector<std::string> gCommands;

// An editing command run after a pick: records what it was given.
struct CommandState : TCADState {
    static const StateClass Class;
    CommandState(TCADPrg& p, ParamRef param, const StateClass*& next) : TCADState(p, std::move(param), next) {
        auto* picks = dynamic_cast<TQVD2D_SelectObjectsParam*>(Param());
        gCommands.push_back("command with " + std::to_string(picks != nullptr ? picks->PickedObjects().Count() : -1));
        next = &p.DefaultStateClass();
    }
    const StateClass& ClassType() const override { return Class; }
};
const StateClass CommandState::Class{"CommandState", &CreateState<CommandState>};

struct TaskHost : KernelHost {
    std::vector<std::string> calls;
    bool snapActive = false;
    void SetObjectSnapActive(bool active) override { snapActive = active; }
    void SetCutRectangleReady(bool ready) override { calls.push_back(ready ? "ready" : "not ready"); }
    // The rectangle's size, from the first corner to the second.
    void InfoCut(const TPoint2D& a, const TPoint2D& b) override {
        const auto units = [](double v) { return std::to_string(static_cast<int>(std::lround(v))); };
        calls.push_back("info " + units(b.X - a.X) + " x " + units(b.Y - a.Y));
    }
    void EnableCutSelection() override { calls.push_back("enable"); }
};

class TasksTest : public ProgramViewTest<TaskHost> {
protected:
    TasksTest() { gCommands.clear(); }

    std::unique_ptr<TQVD2D_SelectObjectsParam> Picks(const StateClass* after, bool withCallback) {
        auto param = std::make_unique<TQVD2D_SelectObjectsParam>(3, after);
        if (withCallback) {
            param->OnSelected = [this](TQVD2D_SelectObjectsParam&, TObject2D& o, bool selected, int) {
                selections.push_back((selected ? "+" : "-") + std::to_string(o.ID()));
            };
        }
        return param;
    }

    std::vector<std::string> selections;
};

}  // namespace

TEST_F(TasksTest, AZoomWindowIsPickedByClickMoveClick) {
    program->StartOperation(TCADPrgZoomArea::Class);
    EXPECT_EQ(Current(), "TCADPrgSelectArea");
    Down(20, 20);
    Up(20, 20);
    EXPECT_EQ(Current(), "TCADPrgDragSelectArea");
    Move(60, 40);
    Down(60, 40);
    EXPECT_EQ(Current(), "TCADIdleState");
    const TRect2D r = view->VisualRect();
    for (const auto& [got, want] : {std::pair{r.Left, 20}, {r.Right, 60}, {r.Bottom, 20}, {r.Top, 40}})
        EXPECT_NEAR(got, want, 1.0);
}

TEST_F(TasksTest, AZoomWindowIsAlsoPickedByPressDragAndRelease) {
    struct Row {
        const char* name;
        std::function<void()> gesture;
        bool zoomed;  // to (20, 20)-(60, 40); otherwise still waiting for the second corner
    };
    const std::vector<Row> rows = {
        {"press, drag, release", [this] { Down(20, 20), Move(60, 40), Up(60, 40); }, true},
        {"a release a few pixels off is a click", [this] { Down(20, 20), Move(22, 21), Up(22, 21); }, false},
        {"then a click takes the second corner", [this] { Down(20, 20), Up(21, 20), Move(60, 40), Down(60, 40); },
         true},
        {"only the first press's release counts", [this] { Down(20, 20), Up(20, 20), Move(60, 40), Up(60, 40); },
         false},
    };
    for (const Row& row : rows) {
        view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
        program->StartOperation(TCADPrgZoomArea::Class);
        row.gesture();
        EXPECT_EQ(Current(), row.zoomed ? "TCADIdleState" : "TCADPrgDragSelectArea") << row.name;
        const TRect2D r = view->VisualRect();
        const TRect2D want = row.zoomed ? MakeRect2D(20, 20, 60, 40) : MakeRect2D(0, 0, 200, 100);
        for (const auto& [got, expected] :
             {std::pair{r.Left, want.Left}, {r.Right, want.Right}, {r.Bottom, want.Bottom}, {r.Top, want.Top}})
            EXPECT_NEAR(got, expected, 1.0) << row.name;
        program->PostCommandEvent(kCommandCancel);
    }
}

TEST_F(TasksTest, AZoomWindowRefusedAsAPointLeavesNoFrameOnTheScreen) {
    program->StartOperation(TCADPrgZoomArea::Class);
    Screen().ClearCalls();
    Down(20, 20);
    Move(40, 30);
    Move(20, 20);
    Down(20, 20);
    EXPECT_EQ(Current(), "TCADIdleState");
    int xorStrokes = 0;
    for (const CanvasCall& call : Screen().Calls())
        if ((call.Op == CanvasOp::Polyline || call.Op == CanvasOp::LineTo) && call.Pen.Mode == TPenMode::pmXor)
            ++xorStrokes;
    EXPECT_GT(xorStrokes, 0);
    EXPECT_EQ(xorStrokes % 2, 0) << "every frame drawn was taken away again";
}

TEST_F(TasksTest, AZoomWindowOfOnePointOrCancelledChangesNothing) {
    const TRect2D before = view->VisualRect();
    program->StartOperation(TCADPrgZoomArea::Class);
    Down(20, 20);
    Down(20, 20);
    program->StartOperation(TCADPrgZoomArea::Class);
    program->PostCommandEvent(kCommandCancel);
    program->StartOperation(TCADPrgZoomArea::Class);
    Down(20, 20);
    program->PostCommandEvent(kCommandCancel);
    EXPECT_EQ(view->VisualRect(), before);
    EXPECT_EQ(Current(), "TCADIdleState");
}

TEST_F(TasksTest, PanMovesTheViewOnlyWithinItsThresholdsBothInclusive) {
    const double diagonal = std::hypot(200.0, 100.0);
    for (const auto& [distance, pans] : {std::pair{0.0001 * diagonal, true}, {2.0 * diagonal, true},
                                         {0.0001 * diagonal * 0.999, false}, {2.0 * diagonal * 1.001, false},
                                         {30.0, true}}) {
        view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
        program->SetMouseMoveFilter(nullptr);
        program->StartOperation(TCADPrgRealTimePan::Class);
        EXPECT_TRUE(host.snapActive);
        // The drag starts at the origin, so that the distance is exact.
        program->SetMouseButtonFilter(
            [](TQVPrg2D&, TCADState*, int, int, TPoint2D& p, TMouseButton) { p = MakePoint2D(0, 0); });
        Down(100, 50);
        program->SetMouseButtonFilter(nullptr);
        program->SetMouseMoveFilter(
            [&](TQVPrg2D&, TCADState*, int, int, TPoint2D& p) { p = MakePoint2D(distance, 0); });
        Move(0, 0);
        EXPECT_NEAR(-view->VisualRect().Left, pans ? distance : 0.0, 1e-9 * diagonal) << distance;
        EXPECT_NEAR(view->VisualRect().Right - view->VisualRect().Left, 200.0, 1e-9);
        program->PostCommandEvent(kCommandCancel);
        EXPECT_EQ(view->VisualRect(), MakeRect2D(0, 0, 200, 100)) << "cancel gives the view back";
    }
}

TEST_F(TasksTest, PlacingKeepsASegmentOrthogonalWhenAsked) {
    // The end keeps the start's X, the start's Y, or neither.
    for (const auto& [dx, dy, useOrto, keepX, keepY] :
         {std::tuple{3, -3, true, true, false}, {4, -3, true, false, true}, {4, -3, false, false, false}}) {
        drawing.ClearObjects();
        program->SetUseOrto(useOrto);
        auto line = std::make_unique<TLine2D>(500, MakePoint2D(0, 0), MakePoint2D(0, 0));
        program->StartOperation(TQV2D_DrawSizedPrimitive::Class,
                                std::make_unique<TQV2D_DrawSizedPrimitiveParam>(nullptr, std::move(line), 0, true));
        Click(50, 40);
        Move(50 + dx, 40 + dy);
        Click(50 + dx, 40 + dy);
        EXPECT_EQ(Current(), "TCADIdleState");
        auto* placed = dynamic_cast<TLine2D*>(drawing.FindObject(500));
        ASSERT_NE(placed, nullptr);
        const TPoint2D clickStart = CartesianPoint(view->ScreenToWorld(PointToPoint2D(Pixel(50, 40))));
        const TPoint2D clickEnd = CartesianPoint(view->ScreenToWorld(PointToPoint2D(Pixel(50 + dx, 40 + dy))));
        EXPECT_EQ(placed->Points().Get(0), clickStart);
        EXPECT_NEAR(placed->Points().Get(1).X, keepX ? clickStart.X : clickEnd.X, 1e-9) << dx << "," << dy;
        EXPECT_NEAR(placed->Points().Get(1).Y, keepY ? clickStart.Y : clickEnd.Y, 1e-9) << dx << "," << dy;
    }
}

TEST_F(TasksTest, PlacingEndsOnTheLastClickAndAcceptBeforeAnyClickPlacesNothing) {
    const std::tuple<const char*, std::function<void()>, bool> cases[] = {
        {"one click", [&] { Click(70, 30); }, true},
        {"accept first", [&] { program->PostCommandEvent(kCommandAccept); }, false},
        {"cancel", [&] { program->PostCommandEvent(kCommandCancel); }, false},
        {"stopped", [&] { program->StopOperation(); }, false},
        {"new operation", [&] { program->StartOperation(TCADPrgZoomArea::Class); }, false},
    };
    for (const auto& [name, input, added] : cases) {
        drawing.ClearObjects();
        program->StopOperation();
        program->SetUseSnap(true);
        program->StartOperation(TQV2D_DrawSizedPrimitive::Class,
                                std::make_unique<TQV2D_DrawSizedPrimitiveParam>(
                                    nullptr, std::make_unique<TPunto2D>(777, MakePoint2D(0, 0)), 0, false));
        input();
        auto* point = dynamic_cast<TPunto2D*>(drawing.FindObject(777));
        EXPECT_EQ(point != nullptr, added) << name;
        if (point != nullptr) {
            EXPECT_EQ(point->Points().Get(0), MakePoint2D(70, 30)) << "snapped to the grid";
        }
    }
}

TEST_F(TasksTest, TwoObjectPickUnpicksARepeatAndEndsOnTheSecondObject) {
    TLine2D* a = Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    TLine2D* b = Add<TLine2D>(MakePoint2D(10, 60), MakePoint2D(90, 60));
    program->StartOperation(TCAD2DSeleziona2Ogg::Class, Picks(&CommandState::Class, true));
    Click(20, 10);
    Click(30, 10);
    Click(110, 80);  // a miss changes nothing
    Click(40, 10);
    Click(50, 60);
    EXPECT_EQ(selections, (std::vector<std::string>{"+" + std::to_string(a->ID()), "-" + std::to_string(a->ID()),
                                                    "+" + std::to_string(a->ID()), "+" + std::to_string(b->ID())}));
    EXPECT_EQ(gCommands, std::vector<std::string>{"command with 2"});
    EXPECT_NEAR(PickPoints()[0].X, 40, 1.0);
    EXPECT_NEAR(PickPoints()[1].X, 50, 1.0);
    EXPECT_EQ(Current(), "TCADIdleState");
}

TEST_F(TasksTest, AThirdObjectIsIgnoredWhenNoCallbackEndsThePick) {
    for (int i = 0; i < 4; ++i) Add<TLine2D>(MakePoint2D(10, 10 + 20 * i), MakePoint2D(90, 10 + 20 * i));
    PickPoints() = {MakePoint2D(-1, -1), MakePoint2D(-1, -1)};
    program->StartOperation(TCAD2DSeleziona2Ogg::Class, Picks(&CommandState::Class, false));
    for (int i = 0; i < 4; ++i) Click(20 + i, 10 + 20 * i);
    EXPECT_EQ(Current(), "TCAD2DSeleziona2Ogg");
    EXPECT_NEAR(PickPoints()[1].X, 21, 1.0);
    program->PostCommandEvent(kCommandAccept);
    EXPECT_EQ(gCommands, std::vector<std::string>{"command with 2"});
}

TEST_F(TasksTest, OneObjectPickTakesAFilteredHitOnMouseDownWhenAsked) {
    Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    TPunto2D* point = Add<TPunto2D>(MakePoint2D(50, 50));
    auto param = Picks(&CommandState::Class, true);
    param->FilterClass = &TPunto2D::Class;
    param->PickOnMouseDown = true;
    program->StartOperation(TQV2D_Select1Object::Class, std::move(param));
    Down(50, 10);  // a line: filtered out
    EXPECT_TRUE(selections.empty());
    Down(50, 50);
    EXPECT_EQ(selections, std::vector<std::string>{"+" + std::to_string(point->ID())});
    EXPECT_EQ(gCommands, std::vector<std::string>{"command with 1"});
}

TEST_F(TasksTest, NestedZoomAndPanInsideAPickResumeItWithItsPicks) {
    TLine2D* a = Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    Add<TLine2D>(MakePoint2D(10, 60), MakePoint2D(90, 60));
    program->StartOperation(TCAD2DSeleziona2Ogg::Class, Picks(&CommandState::Class, true));
    Click(20, 10);
    const std::tuple<const char*, const StateClass*, std::function<void()>> cases[] = {
        {"zoom", &TCADPrgZoomArea::Class, [&] { Click(0, 0), Move(180, 90), Click(180, 90); }},
        {"zoom cancelled", &TCADPrgZoomArea::Class, [&] { program->PostCommandEvent(kCommandCancel); }},
        {"pan accepted", &TCADPrgRealTimePan::Class, [&] { program->PostCommandEvent(kCommandAccept); }},
        {"pan cancelled", &TCADPrgRealTimePan::Class, [&] { program->PostCommandEvent(kCommandCancel); }},
        {"pan stopped", &TCADPrgRealTimePan::Class, [&] { program->StopOperation(); }},
    };
    for (const auto& [name, task, input] : cases) {
        SCOPED_TRACE(name);
        view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
        ASSERT_TRUE(program->PauseTask(*task));
        EXPECT_FALSE(program->PauseTask(TCADPrgRealTimePan::Class));
        input();
        EXPECT_EQ(Current(), "TCAD2DSeleziona2Ogg");
        EXPECT_TRUE(gCommands.empty()) << "the command must not run inside the nested task";
        auto& picks = static_cast<TQVD2D_SelectObjectsParam&>(*program->CurrentState()->Param());
        EXPECT_EQ(picks.PickedObjects().Count(), 1);
    }
    view->ZoomWindow(MakeRect2D(0, 0, 200, 100));
    Click(30, 60);
    EXPECT_EQ(gCommands, std::vector<std::string>{"command with 2"});
    EXPECT_EQ(selections.front(), "+" + std::to_string(a->ID()));
}

TEST_F(TasksTest, DestroyingTheProgramWhileATaskIsSuspendedFreesEverythingOnce) {
    Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    program->StartOperation(TCAD2DSeleziona2Ogg::Class, Picks(&CommandState::Class, true));
    Click(20, 10);
    ASSERT_TRUE(program->PauseTask(TCADPrgRealTimePan::Class));
    program.reset();
    EXPECT_TRUE(gCommands.empty());
}

// Every move of the second corner reports the rectangle, so that its size
// shows live.
TEST_F(TasksTest, TheCropRectangleRunsClickAfterClick) {
    program->StartOperation(TSCSelRett::Class, std::make_unique<TSCSelRettParam>(nullptr));
    Move(5, 5);
    Click(10, 10);
    Move(30, 20);
    Move(50, 40);
    Click(50, 40);
    Click(60, 60);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"not ready", "info 20 x 10", "info 40 x 30", "ready", "enable", "not ready"}));
    EXPECT_EQ(Current(), "TSCSelRett");
    program->PostCommandEvent(kCommandAccept);
    EXPECT_EQ(Current(), "TCADIdleState");
}

TEST_F(TasksTest, TheControlPointEditorCommitsOnlyOnAccept) {
    const TPoint2D corners[] = {MakePoint2D(20, 20), MakePoint2D(60, 20), MakePoint2D(60, 60)};
    auto* polyline = Add<TPolyline2D>(std::span<const TPoint2D>(corners));
    const std::vector<TPoint2D> original(polyline->Points().Points().begin(), polyline->Points().Points().end());
    for (const bool accept : {false, true}) {
        program->StartOperation(TQV2D_Select1Object::Class, Picks(&TCAD2DEditSelectedPrimitive::Class, false));
        Click(40, 20);
        ASSERT_EQ(Current(), "TQV2D_EditPrimitive");
        EXPECT_EQ(program->OperationClass(), &TCAD2DEditSelectedPrimitive::Class);
        Down(60, 60);
        Move(80, 80);
        Up(80, 80);
        const TPixelPoint vertex = Pixel(20, 20);
        view->DeliverDoubleClick(TMouseButton::mbLeft, Shift::Left, vertex.X, vertex.Y);
        program->PostCommandEvent(accept ? kCommandAccept : kCommandCancel);
        EXPECT_EQ(Current(), "TCADIdleState");
        const std::vector<TPoint2D> now(polyline->Points().Points().begin(), polyline->Points().Points().end());
        if (!accept) {
            EXPECT_EQ(now, original);
        } else {
            ASSERT_EQ(now.size(), 4u) << "the inserted point is copied too";
            EXPECT_NEAR(now[3].X, 80, 1.0);
            EXPECT_NEAR(now[3].Y, 80, 1.0);
        }
    }
}

TEST_F(TasksTest, AWrongParameterIsRefusedWithTheTasksMessage) {
    auto plain = [] { return std::make_unique<TCADPrgParam>(); };
    const std::tuple<const StateClass*, std::function<std::unique_ptr<TCADPrgParam>()>, const char*> cases[] = {
        {&TQV2D_DrawSizedPrimitive::Class, plain, "TQV2D_DrawSizedPrimitiveParam: Invalid param"},
        {&TQV2D_Select1Object::Class, plain, "TQV2D_Select1Object: Invalid param"},
        {&TCAD2DSeleziona2Ogg::Class, plain, "TCAD2DSelectObject: Invalid param"},
        {&TSCSelRett::Class, plain, "TCAD2DTransformObjects: Invalid param"},
        {&TQV2D_EditPrimitive::Class, [] { return nullptr; }, "TQV2D_EditPrimitive: Invalid param"},
        {&TQV2D_EditPrimitive::Class, plain, "TQV2D_EditPrimitive: Invalid param"},
        {&TCAD2DEditSelectedPrimitive::Class, [] { return std::make_unique<TQVD2D_SelectObjectsParam>(3, nullptr); },
         "TCAD2DEditSelectedObjects: Invalid param"},
    };
    for (const auto& [task, param, message] : cases) {
        try {
            program->StartOperation(*task, param());
            ADD_FAILURE() << message;
        } catch (const ECADCoreException& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_EQ(Current(), "TCADIdleState");
    }
}

TEST_F(TasksTest, TheEditorRefusesAnUnregisteredClass) {
    TLine2D* line = Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(90, 10));
    auto param = std::make_unique<TCADPrgParam>();
    param->UserObject = line;
    CADCoreClearClasses();
    try {
        program->StartOperation(TQV2D_EditPrimitive::Class, std::move(param));
        ADD_FAILURE();
    } catch (const ECADCoreException& e) {
        EXPECT_STREQ(e.what(), "TCAD2DEditPrimitive: Only registered classes are allowed");
    }
    InitializeEntityModule();
}

TEST_F(TasksTest, EachStateAnnouncesItsPromptOnceItIsBuilt) {
    std::vector<std::string> seen;
    program->SetOnDescriptionChanged(
        [&](TCADState& state) { seen.push_back(std::string(state.ClassType().Name) + ":" + state.Description()); });
    TaskPrompts()[0] = "first corner";
    TaskPrompts()[1] = "second corner";
    program->StartOperation(TCADPrgZoomArea::Class);
    Click(20, 20);
    TaskPrompts() = {};
    EXPECT_EQ(seen, (std::vector<std::string>{"TCADPrgZoomArea:", "TCADPrgSelectArea:first corner",
                                              "TCADPrgSelectArea:first corner", "TCADPrgDragSelectArea:second corner",
                                              "TCADPrgDragSelectArea:second corner"}));
}
