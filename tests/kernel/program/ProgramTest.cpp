// The interaction program driven by synthetic input: the order of its
// events, chains of states, pausing, failures and the event lock; and the 2D
// program's snap.
#include "tests/kernel/view/ViewTestSupport.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/program/TQVPrg2D.h"

#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

std::vector<std::string> gLog;

// A parameter that logs when it is freed.
struct LoggedParam : TCADPrgParam {
    explicit LoggedParam(const StateClass* after = nullptr) : TCADPrgParam(after) {}
    ~LoggedParam() override { gLog.push_back("param freed"); }
};

// What the test states do, set by each test.
struct Script {
    const StateClass* constructorNext = nullptr;  // named by the constructor
    bool constructorThrows = false;
    bool handled = false;  // HandleEvent's answer
    const StateClass* eventNext = nullptr;
    bool eventThrows = false;
    bool canBeSuspended = true;
    int onlyEvent = -1;  // the one event kind handled; -1 for all
};
Script gScript;

struct StepState : TCADState {
    static const StateClass Class;
    StepState(TCADPrg& p, ParamRef param, const StateClass*& next) : TCADState(p, std::move(param), next) {
        if (gScript.constructorThrows) throw std::runtime_error("refused");
        SetCanBeSuspended(gScript.canBeSuspended);
        next = gScript.constructorNext;
    }
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key, TShiftState) override {
        gLog.push_back("event " + std::to_string(event) + " button " + std::to_string(static_cast<int>(button)) +
                       " key " + std::to_string(key));
        if (gScript.eventThrows) throw std::runtime_error("broken");
        next = gScript.eventNext;
        return gScript.handled && (gScript.onlyEvent < 0 || gScript.onlyEvent == event);
    }
    void ResumeState(const StateClass* from, TCADPrgParam*) override {
        gLog.push_back(std::string("resume after ") + std::string(from != nullptr ? from->Name : "none"));
    }
};
const StateClass StepState::Class{"StepState", &CreateState<StepState>};

// A second class, so that chains can be told apart.
struct OtherState : StepState {
    static const StateClass Class;
    using StepState::StepState;
    const StateClass& ClassType() const override { return Class; }
};
const StateClass OtherState::Class{"OtherState", &CreateState<OtherState>};

class ProgramTest : public ViewTest {
protected:
    ProgramTest() {
        gLog.clear();
        gScript = Script{};
        program = std::make_unique<TQVPrg2D>(&host);
        program->SetViewport(view.get());
        auto name = [](const StateClass* c) { return std::string(c != nullptr ? c->Name : "none"); };
        program->SetOnStartOperation(
            [=](TCADPrg&, const StateClass* c, TCADPrgParam*) { gLog.push_back("start " + name(c)); });
        program->SetOnEndOperation(
            [=](TCADPrg&, const StateClass* c, TCADPrgParam*) { gLog.push_back("end " + name(c)); });
        program->SetOnStopOperation(
            [=](TCADPrg&, const StateClass* c, TCADPrgParam*) { gLog.push_back("stop " + name(c)); });
        program->SetOnEnterState(
            [=](TCADPrg&, TCADState& s) { gLog.push_back("enter " + std::string(s.ClassType().Name)); });
        program->SetOnIdle([](TCADPrg&) { gLog.push_back("idle"); });
        program->SetOnError([this](const std::string& m) { errors.push_back(m); });
        gLog.clear();
    }
    ~ProgramTest() override { program.reset(); }

    struct FakeHost : KernelHost {
        int mode = 0;
        bool active = false;
        ViewCursor cursor = ViewCursor::Pan;
        int ObjectSnapMode() const override { return mode; }
        bool ObjectSnapActive() const override { return active; }
        void SetViewCursor(ViewCursor shape) override { cursor = shape; }
    } host;
    std::unique_ptr<TQVPrg2D> program;
    std::vector<std::string> errors;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(ProgramTest, AChainThatNamesTheDefaultClassEndsAtOnce) {
    gScript.constructorNext = &TCADIdleState::Class;
    EXPECT_TRUE(program->StartOperation(StepState::Class, std::make_unique<LoggedParam>()));
    EXPECT_EQ(gLog, (Log{"start StepState", "enter StepState", "end StepState", "param freed", "start TCADIdleState",
                         "enter TCADIdleState", "idle"}));
    EXPECT_FALSE(program->OperationRunning());
}

TEST_F(ProgramTest, AnEventEndsTheStateOnlyWhenHandled) {
    struct Case {
        bool handled;
        const StateClass* next;
        const char* current;
    };
    const Case cases[] = {{false, &TCADIdleState::Class, "StepState"},
                          {true, nullptr, "TCADIdleState"},
                          {true, &TCADIdleState::Class, "TCADIdleState"},
                          {true, &OtherState::Class, "OtherState"}};
    for (const Case& c : cases) {
        gScript = Script{};
        program->StartOperation(StepState::Class);
        gScript.handled = c.handled;
        gScript.eventNext = c.next;
        program->PostCommandEvent(kCommandAccept);
        EXPECT_EQ(program->CurrentState()->ClassType().Name, c.current);
    }
}

TEST_F(ProgramTest, StartingAnotherOperationStopsTheRunningOne) {
    program->StartOperation(StepState::Class, std::make_unique<LoggedParam>());
    gLog.clear();
    program->StartOperation(OtherState::Class);
    EXPECT_EQ(gLog, (Log{"param freed", "start TCADIdleState", "enter TCADIdleState", "idle", "stop TCADIdleState",
                         "start OtherState", "enter OtherState"}));
}

TEST_F(ProgramTest, PausingIsRefusedWhereItCannotNest) {
    // From idle the task simply starts.
    EXPECT_FALSE(program->PauseTask(StepState::Class));
    EXPECT_TRUE(program->OperationRunning());
    // A state that cannot be suspended.
    gScript.canBeSuspended = false;
    program->StartOperation(StepState::Class);
    EXPECT_FALSE(program->PauseTask(OtherState::Class));
    EXPECT_EQ(program->CurrentState()->ClassType().Name, "StepState");
    // Something suspended already; a new operation is refused and its parameter freed.
    gScript.canBeSuspended = true;
    program->StartOperation(StepState::Class);
    EXPECT_TRUE(program->PauseTask(OtherState::Class));
    EXPECT_FALSE(program->PauseTask(OtherState::Class));
    gLog.clear();
    EXPECT_FALSE(program->StartOperation(StepState::Class, std::make_unique<LoggedParam>()));
    EXPECT_EQ(gLog, Log{"param freed"});
}

TEST_F(ProgramTest, TheEndOfANestedTaskResumesTheSuspendedOne) {
    program->StartOperation(StepState::Class, std::make_unique<LoggedParam>());
    ASSERT_TRUE(program->PauseTask(OtherState::Class));
    EXPECT_EQ(program->CurrentState()->Param(), program->SuspendedState()->Param()) << "borrowed";
    gLog.clear();
    gScript.handled = true;
    gScript.onlyEvent = CADEvent::UserCommand;
    program->PostCommandEvent(kCommandAccept);
    EXPECT_EQ(gLog,
              (Log{"event 7 button 0 key 1", "end StepState", "event 6 button 0 key 0", "resume after OtherState"}));
    EXPECT_EQ(program->CurrentState()->ClassType().Name, "StepState");
    EXPECT_FALSE(program->OperationSuspended());
    EXPECT_NE(program->CurrentState()->Param(), nullptr) << "the borrowed parameter is not freed";
}

TEST_F(ProgramTest, AFailingConstructorReturnsToIdleAndIsReportedOnce) {
    struct Case {
        const char* name;
        std::function<void()> run;
        bool rethrown;
    };
    const Case cases[] = {
        {"start", [&] { program->StartOperation(StepState::Class, std::make_unique<LoggedParam>()); }, true},
        {"event",
         [&] {
             gScript.constructorThrows = false;
             program->StartOperation(OtherState::Class, std::make_unique<LoggedParam>());
             gScript.constructorThrows = true;
             gScript.handled = true;
             gScript.eventNext = &StepState::Class;
             program->PostCommandEvent(kCommandAccept);
         },
         false},
        {"handler",
         [&] {
             gScript.constructorThrows = false;
             program->StartOperation(OtherState::Class, std::make_unique<LoggedParam>());
             gScript.eventThrows = true;
             program->PostCommandEvent(kCommandAccept);
         },
         false},
        {"nested",
         [&] {
             gScript.constructorThrows = false;
             program->StartOperation(OtherState::Class, std::make_unique<LoggedParam>());
             gScript.constructorThrows = true;
             program->PauseTask(StepState::Class);
         },
         true},
    };
    for (const Case& c : cases) {
        gScript = Script{};
        gScript.constructorThrows = true;
        errors.clear();
        gLog.clear();
        bool thrown = false;
        try {
            c.run();
        } catch (const std::runtime_error&) {
            thrown = true;
        }
        EXPECT_EQ(thrown, c.rethrown) << c.name;
        EXPECT_EQ(errors.size(), c.rethrown ? 0u : 1u) << c.name;
        EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "param freed"), std::string(c.name) == "nested" ? 0 : 1)
            << c.name;
        EXPECT_FALSE(program->OperationSuspended()) << c.name;
        // The program is usable again.
        gScript = Script{};
        program->StopOperation();
        EXPECT_TRUE(program->StartOperation(StepState::Class)) << c.name;
        program->StopOperation();
        EXPECT_FALSE(program->OperationRunning()) << c.name;
    }
}

TEST_F(ProgramTest, TheEventLockDropsEventsAndIsGivenBackOnAFailure) {
    program->StartOperation(StepState::Class);
    gLog.clear();
    {
        EventLockGuard lock(*program);
        program->PostCommandEvent(kCommandAccept);
        view->DeliverMouseDown(TMouseButton::mbLeft, 0, 10, 10);
    }
    EXPECT_TRUE(gLog.empty());
    try {
        EventLockGuard lock(*program);
        throw std::runtime_error("callback failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(program->EventLock());
}

TEST_F(ProgramTest, WindowInputBecomesNumberedEvents) {
    program->StartOperation(StepState::Class);
    gLog.clear();
    view->DeliverKeyDown(65, 0);
    view->DeliverMouseMove(Shift::Left, 5, 5);
    view->DeliverDoubleClick(TMouseButton::mbLeft, Shift::Left, 5, 5);
    view->DeliverMouseUp(TMouseButton::mbRight, 0, 5, 5);
    view->DeliverMouseDown(TMouseButton::mbMiddle, Shift::Middle, 5, 5);
    view->DeliverKeyUp(65, Shift::Right);
    view->DeliverMouseUp(TMouseButton::mbLeft, 0, 5, 5);
    view->Invalidate();
    EXPECT_EQ(gLog, (Log{"event 4 button 0 key 65", "event 0 button 1 key 65", "event 3 button 1 key 0",
                         "event 1 button 1 key 65", "event 2 button 2 key 65", "event 5 button 2 key 65",
                         "event 2 button 1 key 0", "event 6 button 0 key 0"}));
    // Without a viewport nothing arrives.
    gLog.clear();
    program->SetViewport(nullptr);
    view->DeliverMouseDown(TMouseButton::mbLeft, 0, 5, 5);
    program->PostCommandEvent(kCommandAccept);
    EXPECT_TRUE(gLog.empty());
}

TEST_F(ProgramTest, GridSnapRoundsHalvesToEven) {
    struct Case {
        double x, y, xSnap, ySnap;
        bool useSnap;
        double sx, sy;
    };
    const Case cases[] = {
        {15, 25, 10, 10, true, 20, 20},     {-15, -25, 10, 10, true, -20, -20}, {14.9, 35, 10, 10, true, 10, 40},
        {13, 13, 0, 10, true, 13, 10},      {13, 13, -5, 10, true, 13, 10},     {13, 13, 10, 10, false, 13, 13},
        {0.75, 0.25, 0.5, 0.5, true, 1, 0},
    };
    for (const Case& c : cases) {
        program->SetCurrentPoint(MakePoint2D(c.x, c.y));
        program->SetXSnap(c.xSnap);
        program->SetYSnap(c.ySnap);
        program->SetUseSnap(c.useSnap);
        const TPoint2D p = program->GetSnappedPoint();
        EXPECT_EQ(p.X, c.sx) << c.x;
        EXPECT_EQ(p.Y, c.sy) << c.y;
    }
}

TEST_F(ProgramTest, CurrentPointIsStoredCartesian) {
    program->SetCurrentPoint(TPoint2D{8, 4, 2});
    EXPECT_EQ(program->GetCurrentPoint(), (TPoint2D{4, 2, 1}));
}

TEST_F(ProgramTest, FiltersActBeforeTheTwoDEventsWhichOtherwiseCarryThePlainPoint) {
    std::vector<TPoint2D> seen;
    view->SetOnMouseDown2D([&](TQVViewport2D&, TMouseButton, TShiftState, int, int, double wx, double wy) {
        seen.push_back(MakePoint2D(wx, wy));
    });
    program->SetUseSnap(true);
    view->DeliverMouseDown(TMouseButton::mbLeft, 0, 23, 47);
    program->SetMouseButtonFilter([](TQVPrg2D&, TCADState*, int, int, TPoint2D& p, TMouseButton) { p.X = 1000; });
    view->DeliverMouseDown(TMouseButton::mbLeft, 0, 23, 47);
    ASSERT_EQ(seen.size(), 2u);
    const TPoint2D plain = view->ScreenToWorld(MakePoint2D(23, 47));
    EXPECT_EQ(seen[0].X, plain.X);
    EXPECT_EQ(seen[0].Y, plain.Y);
    EXPECT_EQ(seen[1].X, 1000);
    EXPECT_EQ(seen[1].Y, plain.Y);
}

TEST_F(ProgramTest, TheCursorCrossIsAnXorPairAndOffMeansNoDrawingAtAll) {
    int snaps = 0;
    program->SetSnapFilter([&](TQVPrg2D&, TCADState*, TPoint2D&, const TPoint2D&) { ++snaps; });
    Screen().ClearCalls();
    view->DeliverMouseMove(0, 20, 20);
    EXPECT_EQ(snaps, 0);
    EXPECT_TRUE(Screen().CallsOf(CanvasOp::LineTo).empty());
    program->SetShowCursorCross(true);
    view->DeliverMouseMove(0, 30, 30);
    program->SetCursorColor(clRed);
    program->SetShowCursorCross(false);
    // Drawn on the move, erased and drawn in the new colour, erased when
    // switched off: every cross drawn is erased in its own colour.
    std::map<TColor, int> linesByColour;
    for (const CanvasCall& line : Screen().CallsOf(CanvasOp::LineTo)) {
        EXPECT_EQ(line.Pen.Mode, TPenMode::pmXor);
        ++linesByColour[line.Pen.Color];
    }
    EXPECT_EQ(linesByColour, (std::map<TColor, int>{{0x808080 ^ 0xC0C0C0, 4}, {clRed ^ 0xC0C0C0, 4}}));
}

TEST_F(ProgramTest, ObjectSnapTakesTheCharacteristicPointOfEachKind) {
    struct Case {
        const char* name;
        std::function<void()> add;
        int mode;
        TPoint2D at;
        TPoint2D snapped;
        ViewCursor cursor;
    };
    auto line = [&] { Add<TLine2D>(MakePoint2D(10, 10), MakePoint2D(50, 10)); };
    auto circle = [&] { Add<TCerchio2D>(MakePoint2D(100, 50), MakePoint2D(100, 70)); };
    auto arc = [&] { Add<TArco2D>(MakePoint2D(150, 30), MakePoint2D(170, 50), 0.0, std::numbers::pi / 2); };
    auto polyline = [&] {
        const TPoint2D points[] = {MakePoint2D(10, 80), MakePoint2D(40, 80), MakePoint2D(40, 95)};
        Add<TPolyline2D>(std::span<const TPoint2D>(points));
    };
    auto point = [&] { Add<TPunto2D>(MakePoint2D(70, 30)); };
    auto frame = [&] { Add<TFrame2D>(MakePoint2D(120, 80), MakePoint2D(140, 95)); };
    const Case cases[] = {
        {"line end", line, 9, MakePoint2D(20, 11), MakePoint2D(10, 10), ViewCursor::EndPoint},
        {"line halfway: second end", line, 9, MakePoint2D(30, 11), MakePoint2D(50, 10), ViewCursor::EndPoint},
        {"line middle", line, 11, MakePoint2D(20, 11), MakePoint2D(30, 10), ViewCursor::MidPoint},
        {"line centre: nothing", line, 13, MakePoint2D(20, 11), MakePoint2D(20, 11), ViewCursor::Pan},
        {"line nearest", line, 17, MakePoint2D(28, 11), MakePoint2D(30, 10), ViewCursor::MidPoint},
        {"circle right", circle, 9, MakePoint2D(100, 70), MakePoint2D(120, 50), ViewCursor::EndPoint},
        {"circle left", circle, 11, MakePoint2D(100, 70), MakePoint2D(80, 50), ViewCursor::MidPoint},
        {"circle centre", circle, 13, MakePoint2D(100, 70), MakePoint2D(100, 50), ViewCursor::Centre},
        {"circle nearest", circle, 17, MakePoint2D(119, 51), MakePoint2D(120, 50), ViewCursor::EndPoint},
        {"arc centre", arc, 13, MakePoint2D(170, 30), MakePoint2D(150, 30), ViewCursor::Centre},
        {"arc start", arc, 9, MakePoint2D(177, 31), MakePoint2D(150 + 20 * std::sqrt(2.0), 30), ViewCursor::EndPoint},
        {"polyline vertex", polyline, 9, MakePoint2D(40, 81), MakePoint2D(40, 80), ViewCursor::EndPoint},
        {"polyline middle: nothing", polyline, 11, MakePoint2D(40, 81), MakePoint2D(40, 81), ViewCursor::Pan},
        {"polyline off a vertex", polyline, 9, MakePoint2D(25, 80), MakePoint2D(25, 80), ViewCursor::Cross},
        {"point", point, 15, MakePoint2D(71, 31), MakePoint2D(70, 30), ViewCursor::Point},
        {"point, end mode", point, 9, MakePoint2D(71, 31), MakePoint2D(71, 31), ViewCursor::Cross},
        {"frame corner", frame, 17, MakePoint2D(139, 94), MakePoint2D(140, 95), ViewCursor::EndPoint},
        {"nothing there", line, 17, MakePoint2D(100, 5), MakePoint2D(100, 5), ViewCursor::Cross},
    };
    host.active = true;
    for (const Case& c : cases) {
        drawing.ClearObjects();
        c.add();
        host.mode = c.mode;
        host.cursor = ViewCursor::Pan;
        TPoint2D p = c.at;
        program->ObjectSnap(p);
        EXPECT_NEAR(p.X, c.snapped.X, 1e-9) << c.name;
        EXPECT_NEAR(p.Y, c.snapped.Y, 1e-9) << c.name;
        EXPECT_EQ(host.cursor, c.cursor) << c.name;
    }
    // Object snap needs both the mode and the switch.
    host.active = false;
    program->SetUseSnap(false);
    program->SetCurrentPoint(MakePoint2D(139, 94));
    EXPECT_EQ(program->GetSnappedPoint(), MakePoint2D(139, 94));
}
