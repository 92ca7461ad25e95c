// The interaction program: runs interactive operations on a viewport as chains
// of state objects. Input from the viewport's window (mouse, double click,
// keys), repaints and user commands become numbered events for the current
// state; a state's constructor or event handler names the next state, and the
// chain ends when it reaches the default (idle) state class.
//
// Ownership: an operation's parameter object travels along its chain, owned
// by the current state. A nested zoom or pan started by PauseTask without a
// parameter of its own borrows the suspended operation's: it may read it but
// never frees it and never follows its after-state.
//
// No exception leaves the input methods: a failing state is stopped, the
// program returns to idle (or to the suspended operation) and the error is
// reported once through OnError.
#pragma once

#include "kernel/geometry/Point2D.h"
#include "kernel/view/ViewportInputHook.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace calvoro {

class TCADPrg;
class TCADState;
class TCADPrgParam;
class TGraphicObject;
class TQVViewport;

// An operation's parameter as it travels along a chain: owned by the state
// that holds it, or borrowed from a suspended operation.
class ParamRef {
public:
    ParamRef() = default;
    explicit ParamRef(std::unique_ptr<TCADPrgParam> owned);
    static ParamRef Borrow(TCADPrgParam* param);
    ParamRef(ParamRef&&) noexcept = default;
    ParamRef& operator=(ParamRef&&) noexcept = default;
    ~ParamRef();

    TCADPrgParam* get() const;
    bool Borrowed() const { return borrowed_ != nullptr; }
    explicit operator bool() const { return get() != nullptr; }
    // Frees an owned parameter, forgets a borrowed one.
    void Reset();

private:
    std::unique_ptr<TCADPrgParam> owned_;
    TCADPrgParam* borrowed_ = nullptr;
};

// A state class as operations name it: the class's name and how to build one.
struct StateClass {
    using Factory = std::unique_ptr<TCADState> (*)(TCADPrg& program, ParamRef param, const StateClass*& next);
    std::string_view Name;
    Factory Create;
};

template <class State>
std::unique_ptr<TCADState> CreateState(TCADPrg& program, ParamRef param, const StateClass*& next) {
    return std::make_unique<State>(program, std::move(param), next);
}

// Event kinds handed to TCADState::HandleEvent.
namespace CADEvent {
inline constexpr int MouseMove = 0;
inline constexpr int MouseDown = 1;
inline constexpr int MouseUp = 2;
inline constexpr int DoubleClick = 3;
inline constexpr int KeyDown = 4;
inline constexpr int KeyUp = 5;
inline constexpr int Repaint = 6;
inline constexpr int UserCommand = 7;
}  // namespace CADEvent

// User command codes.
inline constexpr std::uint16_t kCommandAccept = 1;
inline constexpr std::uint16_t kCommandCancel = 2;

class TCADPrgParam {
public:
    explicit TCADPrgParam(const StateClass* afterState = nullptr) : AfterState(afterState) {}
    virtual ~TCADPrgParam() = default;
    TCADPrgParam(const TCADPrgParam&) = delete;
    TCADPrgParam& operator=(const TCADPrgParam&) = delete;

    // The state to run once the operation's own work is done; none ends it.
    const StateClass* AfterState = nullptr;
    // An object the operation works on (not owned).
    TGraphicObject* UserObject = nullptr;
};

class TCADState {
public:
    // Stores the program and the parameter; the description starts empty
    // (announced by the program once the state is built) and no next state
    // is named.
    TCADState(TCADPrg& program, ParamRef param, const StateClass*& next);
    virtual ~TCADState() = default;
    TCADState(const TCADState&) = delete;
    TCADState& operator=(const TCADState&) = delete;

    virtual const StateClass& ClassType() const = 0;

    TCADPrg& CADPrg() const { return *program_; }
    TCADPrgParam* Param() const { return param_.get(); }
    bool ParamBorrowed() const { return param_.Borrowed(); }
    // Hands the parameter on (to the next state of the chain).
    ParamRef ReleaseParam() { return std::move(param_); }
    // Replaces the parameter; the old one is freed unless borrowed.
    void SetParam(ParamRef param) { param_ = std::move(param); }
    // Frees the parameter (forgets a borrowed one), so that no later state gets it.
    void FreeParam() { param_.Reset(); }
    // The parameter's after-state; none for a borrowed parameter, whose
    // after-state belongs to the suspended operation.
    const StateClass* ParamAfterState() const;

    bool CanBeSuspended() const { return canBeSuspended_; }
    void SetCanBeSuspended(bool can) { canBeSuspended_ = can; }
    const std::string& Description() const { return description_; }
    // Announced through the program's OnDescriptionChanged.
    void SetDescription(std::string description);

    // Returns whether the state is done; next then names the state to follow
    // (none or the default class ends the operation).
    virtual bool HandleEvent(int /*event*/, TMouseButton /*button*/, const StateClass*& /*next*/, std::uint16_t /*key*/,
                             TShiftState /*shift*/) {
        return false;
    }
    // The operation is stopped from outside: frees the parameter.
    virtual void StopState() { FreeParam(); }
    // A nested operation of that class has ended and this state runs again.
    virtual void ResumeState(const StateClass* /*stateClass*/, TCADPrgParam* /*param*/) {}

private:
    TCADPrg* program_;
    ParamRef param_;
    bool canBeSuspended_ = true;
    std::string description_;
};

// The default state: nothing runs.
class TCADIdleState : public TCADState {
public:
    static const StateClass Class;
    // Refuses a parameter: one would be an object left over by an operation.
    TCADIdleState(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

class TCADPrg : public ViewportInputHook {
public:
    using StateEvent = std::function<void(TCADPrg& sender, TCADState& state)>;
    using OperationEvent = std::function<void(TCADPrg& sender, const StateClass* operation, TCADPrgParam* param)>;
    using NotifyEvent = std::function<void(TCADPrg& sender)>;
    using DescriptionEvent = std::function<void(TCADState& sender)>;
    using ErrorEvent = std::function<void(const std::string& message)>;

    TCADPrg();
    // Stops the current and the suspended state and leaves the viewport.
    ~TCADPrg() override;
    TCADPrg(const TCADPrg&) = delete;
    TCADPrg& operator=(const TCADPrg&) = delete;

    TQVViewport* Viewport() const { return viewport_; }
    // Takes over the viewport's input and its OnPaint (given back on detach).
    void SetViewport(TQVViewport* viewport);

    // Stops a running operation and starts this one; false without a
    // viewport or while an operation is suspended (the parameter is freed
    // then). An exception from a state's constructor returns the program to
    // idle and reaches the caller.
    bool StartOperation(const StateClass& stateClass, std::unique_ptr<TCADPrgParam> param = nullptr);
    void StopOperation();
    // Runs a nested operation (zoom, pan) and resumes the current one when it
    // ends. False when something is suspended already or the current state
    // cannot be suspended; from idle the operation simply starts (false too).
    bool PauseTask(const StateClass& stateClass, std::unique_ptr<TCADPrgParam> param = nullptr);
    // Hands an event to the current state; dropped while the event lock holds.
    void SendEvent(int event, TMouseButton button, std::uint16_t key, TShiftState shift);
    // A user command (kCommandAccept, kCommandCancel, ...), when a viewport is set.
    void PostCommandEvent(std::uint16_t code);
    // The view is repainted when the operation ends or resumes.
    void RequestRepaint();
    // The running state has brought the view up to date itself and drawn on
    // it what must stay in sight: the operation's end leaves the view alone.
    void KeepViewAtEnd() { keepViewAtEnd_ = true; }
    // Stops the current state after a failure and returns to idle (or resumes).
    void AbortOperation();

    bool OperationRunning() const { return running_; }
    bool OperationSuspended() const { return suspended_ != nullptr; }
    TCADState* CurrentState() const { return current_.get(); }
    TCADState* SuspendedState() const { return suspended_.get(); }
    const StateClass* OperationClass() const { return operationClass_; }
    // The class OnEndOperation reports for the running operation.
    void SetOperationClass(const StateClass* operation) { operationClass_ = operation; }
    const StateClass& DefaultStateClass() const { return *defaultClass_; }
    void SetDefaultStateClass(const StateClass& stateClass) { defaultClass_ = &stateClass; }

    bool UseSnap() const { return useSnap_; }
    void SetUseSnap(bool use) { useSnap_ = use; }
    bool UseOrto() const { return useOrto_; }
    void SetUseOrto(bool use) { useOrto_ = use; }
    double XSnap() const { return xSnap_; }
    void SetXSnap(double snap) { xSnap_ = snap; }
    double YSnap() const { return ySnap_; }
    void SetYSnap(double snap) { ySnap_ = snap; }
    std::int32_t CursorColor() const { return cursorColor_; }
    void SetCursorColor(std::int32_t color);
    bool ShowCursorCross() const { return showCursorCross_; }
    void SetShowCursorCross(bool show);
    bool RefreshAfterOperation() const { return refreshAfterOperation_; }
    void SetRefreshAfterOperation(bool refresh) { refreshAfterOperation_ = refresh; }
    bool EventLock() const { return eventLock_; }
    void SetEventLock(bool locked) { eventLock_ = locked; }
    std::uint16_t LastKey() const { return lastKey_; }

    // The world point of the mouse, and the cursor, in the 2D program.
    virtual TPoint2D GetCurrentPoint() const { return TPoint2D{}; }
    virtual void SetCurrentPoint(const TPoint2D& /*p*/) {}
    virtual void DrawCursor() {}
    virtual void EraseCursor() {}
    // The screen was copied afresh, which took the cross away.
    virtual void CursorWiped() {}

    void SetOnEnterState(StateEvent handler) { onEnterState_ = std::move(handler); }
    void SetOnExitState(StateEvent handler) { onExitState_ = std::move(handler); }
    void SetOnStartOperation(OperationEvent handler) { onStartOperation_ = std::move(handler); }
    void SetOnEndOperation(OperationEvent handler) { onEndOperation_ = std::move(handler); }
    void SetOnStopOperation(OperationEvent handler) { onStopOperation_ = std::move(handler); }
    void SetOnIdle(NotifyEvent handler) { onIdle_ = std::move(handler); }
    void SetOnDescriptionChanged(DescriptionEvent handler) { onDescriptionChanged_ = std::move(handler); }
    const DescriptionEvent& OnDescriptionChanged() const { return onDescriptionChanged_; }
    // Where failures of states go; without a handler they are written to the
    // standard error stream.
    void SetOnError(ErrorEvent handler) { onError_ = std::move(handler); }

    // The viewport's input.
    bool HookMouseMove(TShiftState shift, int& x, int& y) override;
    bool HookMouseDown(TMouseButton button, TShiftState shift, int& x, int& y) override;
    bool HookMouseUp(TMouseButton button, TShiftState shift, int& x, int& y) override;
    bool HookDoubleClick(TMouseButton button, TShiftState shift, int& x, int& y) override;
    bool HookKeyDown(std::uint16_t& key, TShiftState shift) override;
    bool HookKeyUp(std::uint16_t& key, TShiftState shift) override;
    void ViewportDestroyed() override;
    // The viewport's OnPaint while the program drives it.
    void RepaintHandler();

protected:
    // The handlers behind the hook; each returns whether the viewport must
    // still fire its own 2D mouse event.
    virtual bool MouseMoveHandler(TShiftState shift, int& x, int& y);
    virtual bool MouseDownHandler(TMouseButton button, TShiftState shift, int& x, int& y);
    virtual bool MouseUpHandler(TMouseButton button, TShiftState shift, int& x, int& y);
    void ReportError(const std::string& message);
    // Runs f; an exception stops the operation and is reported.
    template <class F>
    bool Guarded(F f);

private:
    void BuildChain(const StateClass& first, ParamRef param);
    void EndOperation(const StateClass* stateClass);
    void ViewRefresh();
    void EnsureIdleState();
    void AnnounceDescription(TCADState& state);

    TQVViewport* viewport_ = nullptr;
    bool running_ = false;
    bool useSnap_ = false;
    bool useOrto_ = false;
    double xSnap_ = 0.0;
    double ySnap_ = 0.0;
    bool repaintRequested_ = false;
    bool keepViewAtEnd_ = false;
    std::int32_t cursorColor_ = 0x808080;
    bool refreshAfterOperation_ = true;
    bool eventLock_ = false;
    bool showCursorCross_ = false;
    std::uint16_t lastKey_ = 0;
    const StateClass* defaultClass_;
    std::unique_ptr<TCADState> current_;
    std::unique_ptr<TCADState> suspended_;
    const StateClass* operationClass_ = nullptr;
    const StateClass* suspendedOperationClass_ = nullptr;
    std::function<void(TQVViewport&)> savedOnPaint_;
    StateEvent onEnterState_;
    StateEvent onExitState_;
    OperationEvent onStartOperation_;
    OperationEvent onEndOperation_;
    OperationEvent onStopOperation_;
    NotifyEvent onIdle_;
    DescriptionEvent onDescriptionChanged_;
    ErrorEvent onError_;
};

// Sets the program's event lock for a scope; events arriving meanwhile are
// dropped. The lock is given back as it was, also on an exception.
class EventLockGuard {
public:
    explicit EventLockGuard(TCADPrg& program) : program_(program), saved_(program.EventLock()) {
        program_.SetEventLock(true);
    }
    ~EventLockGuard() { program_.SetEventLock(saved_); }
    EventLockGuard(const EventLockGuard&) = delete;
    EventLockGuard& operator=(const EventLockGuard&) = delete;

private:
    TCADPrg& program_;
    bool saved_;
};

}  // namespace calvoro
