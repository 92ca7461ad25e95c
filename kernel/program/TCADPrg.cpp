// The interaction program.
#include "kernel/program/TCADPrg.h"

#include "kernel/view/TQVViewport.h"

#include <exception>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace calvoro {

namespace {

TMouseButton ButtonFromShift(TShiftState shift) {
    if (shift & Shift::Left) return TMouseButton::mbLeft;
    if (shift & Shift::Right) return TMouseButton::mbRight;
    if (shift & Shift::Middle) return TMouseButton::mbMiddle;
    return TMouseButton::mbNone;
}

std::string MessageOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

}  // namespace

ParamRef::ParamRef(std::unique_ptr<TCADPrgParam> owned) : owned_(std::move(owned)) {}

ParamRef::~ParamRef() = default;

ParamRef ParamRef::Borrow(TCADPrgParam* param) {
    ParamRef ref;
    ref.borrowed_ = param;
    return ref;
}

TCADPrgParam* ParamRef::get() const {
    return owned_ ? owned_.get() : borrowed_;
}

void ParamRef::Reset() {
    owned_.reset();
    borrowed_ = nullptr;
}

TCADState::TCADState(TCADPrg& program, ParamRef param, const StateClass*& next)
    : program_(&program), param_(std::move(param)) {
    // The empty description is announced by the program once the state is
    // built: a listener must not meet a state that is still being made.
    next = nullptr;
}

const StateClass* TCADState::ParamAfterState() const {
    if (param_.Borrowed() || param_.get() == nullptr) return nullptr;
    return param_.get()->AfterState;
}

void TCADState::SetDescription(std::string description) {
    description_ = std::move(description);
    if (program_->OnDescriptionChanged()) program_->OnDescriptionChanged()(*this);
}

const StateClass TCADIdleState::Class{"TCADIdleState", &CreateState<TCADIdleState>};

TCADIdleState::TCADIdleState(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCADState(program, std::move(param), next) {
    if (Param() != nullptr) throw std::runtime_error("TCADIdleState.Create: Non all objects were destroied");
    next = nullptr;
}

TCADPrg::TCADPrg() : defaultClass_(&TCADIdleState::Class) {
    EnsureIdleState();
}

TCADPrg::~TCADPrg() {
    // The nested state first: it may borrow the suspended state's parameter.
    if (current_) current_->StopState();
    current_.reset();
    if (suspended_) suspended_->StopState();
    suspended_.reset();
    SetViewport(nullptr);
}

void TCADPrg::AnnounceDescription(TCADState& state) {
    if (onDescriptionChanged_) onDescriptionChanged_(state);
}

void TCADPrg::EnsureIdleState() {
    if (current_) return;
    const StateClass* next = nullptr;
    current_ = defaultClass_->Create(*this, ParamRef(), next);
}

void TCADPrg::SetViewport(TQVViewport* viewport) {
    if (viewport == viewport_) return;
    if (viewport_ != nullptr) {
        viewport_->SetInputHook(nullptr);
        viewport_->SetOnPaint(std::move(savedOnPaint_));
        savedOnPaint_ = nullptr;
        if (showCursorCross_) EraseCursor();
    }
    viewport_ = viewport;
    if (viewport_ != nullptr) {
        viewport_->SetInputHook(this);
        savedOnPaint_ = viewport_->OnPaint();
        viewport_->SetOnPaint([this](TQVViewport&) { RepaintHandler(); });
        if (showCursorCross_) DrawCursor();
    }
}

void TCADPrg::ViewportDestroyed() {
    viewport_ = nullptr;
    savedOnPaint_ = nullptr;
}

void TCADPrg::BuildChain(const StateClass& first, ParamRef param) {
    const StateClass* next = &first;
    bool built = false;
    bool canBeSuspended = true;
    for (;;) {
        if (&first != defaultClass_ && next == defaultClass_) {
            if (onEndOperation_) onEndOperation_(*this, operationClass_, current_ ? current_->Param() : nullptr);
            EndOperation(current_ ? &current_->ClassType() : nullptr);
            return;
        }
        if (built) param = current_->ReleaseParam();
        // The old state goes before the new one is built, so a constructor
        // that fails leaves no state behind rather than a freed one.
        current_.reset();
        const StateClass* named = nullptr;
        current_ = next->Create(*this, std::move(param), named);
        AnnounceDescription(*current_);
        if (!built) canBeSuspended = current_->CanBeSuspended();
        built = true;
        current_->SetCanBeSuspended(canBeSuspended);
        if (onEnterState_) onEnterState_(*this, *current_);
        if (named == nullptr) return;
        next = named;
    }
}

bool TCADPrg::StartOperation(const StateClass& stateClass, std::unique_ptr<TCADPrgParam> param) {
    if (viewport_ == nullptr && &stateClass != defaultClass_) return false;
    if (suspended_) return false;
    StopOperation();
    running_ = &stateClass != defaultClass_;
    operationClass_ = &stateClass;
    if (onStartOperation_) onStartOperation_(*this, &stateClass, param.get());
    try {
        BuildChain(stateClass, ParamRef(std::move(param)));
    } catch (...) {
        AbortOperation();
        throw;
    }
    return true;
}

void TCADPrg::StopOperation() {
    if (!running_ || !current_) return;
    current_->StopState();
    EndOperation(&current_->ClassType());
    if (onStopOperation_) onStopOperation_(*this, operationClass_, nullptr);
}

bool TCADPrg::PauseTask(const StateClass& stateClass, std::unique_ptr<TCADPrgParam> param) {
    if (suspended_ || (current_ && !current_->CanBeSuspended())) return false;
    if (!running_) {
        StartOperation(stateClass, std::move(param));
        return false;
    }
    suspended_ = std::move(current_);
    suspendedOperationClass_ = operationClass_;
    ParamRef ref = param ? ParamRef(std::move(param)) : ParamRef::Borrow(suspended_->Param());
    try {
        BuildChain(stateClass, std::move(ref));
    } catch (...) {
        AbortOperation();
        throw;
    }
    return true;
}

void TCADPrg::SendEvent(int event, TMouseButton button, std::uint16_t key, TShiftState shift) {
    if (eventLock_ || !current_) return;
    try {
        const StateClass* next = nullptr;
        if (!current_->HandleEvent(event, button, next, key, shift)) return;
        if (onExitState_) onExitState_(*this, *current_);
        for (;;) {
            if (next == nullptr || next == defaultClass_) {
                if (onEndOperation_) onEndOperation_(*this, operationClass_, current_ ? current_->Param() : nullptr);
                EndOperation(current_ ? &current_->ClassType() : nullptr);
                return;
            }
            const bool canBeSuspended = current_->CanBeSuspended();
            ParamRef param = current_->ReleaseParam();
            current_.reset();
            const StateClass* named = nullptr;
            current_ = next->Create(*this, std::move(param), named);
            AnnounceDescription(*current_);
            current_->SetCanBeSuspended(canBeSuspended);
            if (onEnterState_) onEnterState_(*this, *current_);
            if (named == nullptr) return;
            next = named;
        }
    } catch (...) {
        const std::string message = MessageOf(std::current_exception());
        AbortOperation();
        ReportError(message);
    }
}

void TCADPrg::EndOperation(const StateClass* stateClass) {
    ParamRef ending = current_ ? current_->ReleaseParam() : ParamRef();
    current_.reset();
    if (suspended_) {
        current_ = std::move(suspended_);
        operationClass_ = suspendedOperationClass_;
        suspendedOperationClass_ = nullptr;
        TCADState* resumed = current_.get();
        current_->SetDescription(current_->Description());
        ViewRefresh();
        repaintRequested_ = false;
        // The nested operation's own parameter is freed when ending leaves
        // scope; a borrowed one is the resumed state's and stays. The refresh
        // may already have ended the resumed state.
        if (current_.get() == resumed) current_->ResumeState(stateClass, ending.get());
        return;
    }
    running_ = false;
    ending.Reset();
    operationClass_ = nullptr;
    ViewRefresh();
    repaintRequested_ = false;
    eventLock_ = false;
    StartOperation(*defaultClass_, nullptr);
    EnsureIdleState();
    if (defaultClass_ == &TCADIdleState::Class && onIdle_) onIdle_(*this);
}

void TCADPrg::ViewRefresh() {
    if (std::exchange(keepViewAtEnd_, false) || viewport_ == nullptr) return;
    if (showCursorCross_) EraseCursor();
    if (repaintRequested_) {
        viewport_->Repaint();
    } else if (refreshAfterOperation_) {
        viewport_->Invalidate();
    }
    if (showCursorCross_) DrawCursor();
}

void TCADPrg::AbortOperation() {
    eventLock_ = false;
    if (current_) {
        current_->StopState();
        EndOperation(&current_->ClassType());
    } else {
        EndOperation(nullptr);
    }
}

void TCADPrg::PostCommandEvent(std::uint16_t code) {
    if (viewport_ == nullptr) return;
    SendEvent(CADEvent::UserCommand, TMouseButton::mbNone, code, 0);
}

void TCADPrg::RequestRepaint() {
    repaintRequested_ = true;
}

void TCADPrg::SetCursorColor(std::int32_t color) {
    if (color == cursorColor_) return;
    // The cross is erased in the colour it was drawn with.
    if (showCursorCross_) EraseCursor();
    cursorColor_ = color;
    if (showCursorCross_) DrawCursor();
}

void TCADPrg::SetShowCursorCross(bool show) {
    if (show == showCursorCross_) return;
    showCursorCross_ = show;
    if (!show) EraseCursor();
}

void TCADPrg::ReportError(const std::string& message) {
    if (onError_) {
        onError_(message);
    } else {
        std::cerr << message << '\n';
    }
}

template <class F>
bool TCADPrg::Guarded(F f) {
    try {
        return f();
    } catch (...) {
        const std::string message = MessageOf(std::current_exception());
        AbortOperation();
        ReportError(message);
        return true;
    }
}

bool TCADPrg::MouseMoveHandler(TShiftState shift, int& /*x*/, int& /*y*/) {
    if (showCursorCross_) DrawCursor();
    if (current_) SendEvent(CADEvent::MouseMove, ButtonFromShift(shift), lastKey_, shift);
    return true;
}

bool TCADPrg::MouseDownHandler(TMouseButton button, TShiftState shift, int& /*x*/, int& /*y*/) {
    if (current_) SendEvent(CADEvent::MouseDown, button, lastKey_, shift);
    return true;
}

bool TCADPrg::MouseUpHandler(TMouseButton button, TShiftState shift, int& /*x*/, int& /*y*/) {
    if (current_) SendEvent(CADEvent::MouseUp, button, lastKey_, shift);
    return true;
}

bool TCADPrg::HookMouseMove(TShiftState shift, int& x, int& y) {
    return Guarded([&] { return MouseMoveHandler(shift, x, y); });
}

bool TCADPrg::HookMouseDown(TMouseButton button, TShiftState shift, int& x, int& y) {
    if (button == TMouseButton::mbMiddle) return true;
    return Guarded([&] { return MouseDownHandler(button, shift, x, y); });
}

bool TCADPrg::HookMouseUp(TMouseButton button, TShiftState shift, int& x, int& y) {
    if (button == TMouseButton::mbMiddle) return true;
    return Guarded([&] { return MouseUpHandler(button, shift, x, y); });
}

bool TCADPrg::HookDoubleClick(TMouseButton button, TShiftState shift, int& /*x*/, int& /*y*/) {
    if (button == TMouseButton::mbMiddle) return true;
    // The button of the double click is handed on, so that a task can tell a
    // left double click from a right one.
    return Guarded([&] {
        if (current_) SendEvent(CADEvent::DoubleClick, button, 0, shift);
        return true;
    });
}

bool TCADPrg::HookKeyDown(std::uint16_t& key, TShiftState shift) {
    return Guarded([&] {
        lastKey_ = key;
        if (current_) SendEvent(CADEvent::KeyDown, ButtonFromShift(shift), key, shift);
        return true;
    });
}

bool TCADPrg::HookKeyUp(std::uint16_t& key, TShiftState shift) {
    return Guarded([&] {
        if (current_) SendEvent(CADEvent::KeyUp, ButtonFromShift(shift), key, shift);
        lastKey_ = 0;
        return true;
    });
}

void TCADPrg::RepaintHandler() {
    Guarded([&] {
        // The screen image has just been copied afresh: the cross is gone.
        if (showCursorCross_) CursorWiped();
        if (current_) SendEvent(CADEvent::Repaint, TMouseButton::mbNone, 0, 0);
        if (savedOnPaint_ && viewport_ != nullptr) savedOnPaint_(*viewport_);
        if (showCursorCross_) DrawCursor();
        return true;
    });
}

}  // namespace calvoro
