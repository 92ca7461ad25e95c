// The interactive tasks.
#include "kernel/tasks/QV2DTasks.h"

#include "kernel/drawing/NotifyEdit.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/model/ClassRegistry.h"
#include "kernel/view/TQVViewport2D.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace calvoro {

namespace {

constexpr TPoint2D kNoPoint{100000000.0, 100000000.0, 1.0};

// A release this many pixels or more from its press ends a dragged zoom
// window; closer, it is the first click of click, move, click.
constexpr int kDragPixels = 5;

bool IsLeft(TMouseButton button) {
    return button == TMouseButton::mbLeft;
}

bool IsCommand(int event, std::uint16_t key, std::uint16_t code) {
    return event == CADEvent::UserCommand && key == code;
}

// A parameter of the class a state requires, or the state's refusal.
template <class P>
P& RequireParam(const TCADState& state, const char* message) {
    auto* param = dynamic_cast<P*>(state.Param());
    if (param == nullptr) throw ECADCoreException(message);
    return *param;
}

}  // namespace

std::array<std::string, 16>& TaskPrompts() {
    static std::array<std::string, 16> prompts;
    return prompts;
}

std::array<TPoint2D, 2>& PickPoints() {
    static std::array<TPoint2D, 2> points;
    return points;
}

// ---- Parameters ----

TCADPrgSelectAreaParam::TCADPrgSelectAreaParam(const StateClass* afterState, ParamRef callerParam)
    : TCADPrgParam(afterState),
      areaFrame_(std::make_unique<TFrame2D>(0, MakePoint2D(0.0, 0.0), MakePoint2D(0.0, 0.0))),
      callerParam_(std::move(callerParam)) {}

TRect2D TCADPrgSelectAreaParam::GetArea() const {
    TRect2D area;
    area.SetFirstCorner(areaFrame_->Points().Get(0));
    area.SetSecondCorner(areaFrame_->Points().Get(1));
    return ReorderRect2D(area);
}

TQV2D_DrawUnSizedPrimitiveParam::TQV2D_DrawUnSizedPrimitiveParam(const StateClass* afterState,
                                                                 std::unique_ptr<TPrimitive2D> primitive,
                                                                 int nextPointIndex, bool orthoConstraint)
    : TCAD2DCommonParam(afterState),
      NextPointIndex(static_cast<std::uint16_t>(nextPointIndex)),
      OrthoConstraint(orthoConstraint),
      primitive_(std::move(primitive)) {}

TQV2D_DrawSizedPrimitiveParam::TQV2D_DrawSizedPrimitiveParam(const StateClass* afterState,
                                                             std::unique_ptr<TPrimitive2D> primitive,
                                                             int nextPointIndex, bool orthoConstraint)
    : TQV2D_DrawUnSizedPrimitiveParam(afterState, std::move(primitive), nextPointIndex, orthoConstraint) {
    PointCount = Primitive() != nullptr ? static_cast<std::uint16_t>(Primitive()->Points().Count()) : 0;
}

TQVD2D_SelectObjectsParam::TQVD2D_SelectObjectsParam(int aperture, const StateClass* afterState)
    : TCAD2DCommonParam(afterState), Aperture(static_cast<std::uint16_t>(aperture)), FilterClass(&TObject2D::Class) {}

void TQVD2D_SelectObjectsParam::DrawAperture(TQVViewport2D& viewport, const TPoint2D& point) {
    if (viewport.ClientRect().IsEmpty()) return;
    Canvas& canvas = viewport.ScreenCanvas();
    canvas.SetClipRect(viewport.ClientRect());
    PenAttributes pen = viewport.RubberPen();
    pen.Style = TPenStyle::psSolid;
    canvas.SetPen(pen);
    const TPixelPoint c = viewport.WorldToPixel(point);
    const int a = Aperture;
    const TPixelPoint square[] = {
        {c.X - a, c.Y - a}, {c.X + a, c.Y - a}, {c.X + a, c.Y + a}, {c.X - a, c.Y + a}, {c.X - a, c.Y - a}};
    canvas.Polyline(square);
    viewport.ScreenChanged(TPixelRect{c.X - a - 2, c.Y - a - 2, c.X + a + 3, c.Y + a + 3});
}

TSCSelRettParam::TSCSelRettParam(const StateClass* afterState) : TCAD2DCommonParam(afterState) {}

void TSCSelRettParam::DrawRectangle(TQVViewport2D& viewport) {
    TFrame2D frame(-1, Corner2, Corner1);
    viewport.DrawRubberObject2D(frame, false);
}

TCAD2DEditPrimitiveParam::TCAD2DEditPrimitiveParam(TPrimitive2D& primitive, int aperture)
    : Aperture(static_cast<std::uint16_t>(aperture)), editedObject_(&primitive) {
    try {
        CADCoreFindClassByName(primitive.ClassName());
    } catch (const ECADObjClassNotFound&) {
        throw ECADCoreException("TCAD2DEditPrimitive: Only registered classes are allowed");
    }
    std::unique_ptr<TObject2D> copy = primitive.Clone();
    auto* copyPrimitive = dynamic_cast<TPrimitive2D*>(copy.get());
    if (copyPrimitive == nullptr) throw ECADCoreException("TCAD2DEditPrimitive: Only registered classes are allowed");
    copy.release();
    workCopy_.reset(copyPrimitive);
}

// ---- States ----

TCAD2DTaskState::TCAD2DTaskState(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCADState(program, std::move(param), next) {}

TQVPrg2D& TCAD2DTaskState::Prg2D() const {
    auto* program = dynamic_cast<TQVPrg2D*>(&CADPrg());
    if (program == nullptr) throw ECADCoreException("TCAD2DTaskState: The task needs a 2D program");
    return *program;
}

TQVViewport2D& TCAD2DTaskState::View() const {
    TQVViewport2D* viewport = Prg2D().Viewport2D();
    if (viewport == nullptr) throw ECADCoreException("TCAD2DTaskState: The task needs a 2D viewport");
    return *viewport;
}

void TCAD2DTaskState::Prompt(int index) {
    SetDescription(TaskPrompts()[static_cast<std::size_t>(index)]);
}

TCADPrgZoomState::TCADPrgZoomState(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    SetCanBeSuspended(false);
}

// Zoom to a window: click, move, click, or press, drag, release.

const StateClass TCADPrgZoomArea::Class{"TCADPrgZoomArea", &CreateState<TCADPrgZoomArea>};

TCADPrgZoomArea::TCADPrgZoomArea(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCADPrgZoomState(program, std::move(param), next) {
    SetParam(ParamRef(std::make_unique<TCADPrgSelectAreaParam>(&TCADPrgEndZoomArea::Class, ReleaseParam())));
    next = &TCADPrgSelectArea::Class;
}

const StateClass TCADPrgEndZoomArea::Class{"TCADPrgEndZoomArea", &CreateState<TCADPrgEndZoomArea>};

TCADPrgEndZoomArea::TCADPrgEndZoomArea(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCADPrgZoomState(program, std::move(param), next) {
    auto& areaParam = RequireParam<TCADPrgSelectAreaParam>(*this, "TCADPrgEndZoomArea: Invalid param");
    const TRect2D area = areaParam.GetArea();
    if (!IsSamePoint(area.FirstCorner(), area.SecondCorner())) View().ZoomWindow(area);
    // The caller's own after-state follows, with the caller's parameter; a
    // parameter borrowed from a suspended operation is not the zoom's to
    // follow, and the suspended operation simply resumes.
    const bool borrowed = areaParam.CallerBorrowed();
    ParamRef caller = areaParam.TakeCallerParam();
    next = Default();
    if (!borrowed && caller && caller.get()->AfterState != nullptr) next = caller.get()->AfterState;
    SetParam(std::move(caller));
}

// Pan by dragging.

const StateClass TCADPrgRealTimePan::Class{"TCADPrgRealTimePan", &CreateState<TCADPrgRealTimePan>};

TCADPrgRealTimePan::TCADPrgRealTimePan(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCADPrgZoomState(program, std::move(param), next) {
    Prompt(2);
    if (Prg2D().Host() != nullptr) Prg2D().Host()->SetObjectSnapActive(true);
    SavedVisualRect = View().VisualRect();
}

bool TCADPrgRealTimePan::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                     TShiftState /*shift*/) {
    TQVViewport2D& view = View();
    switch (event) {
        case CADEvent::MouseDown:
            if (IsLeft(button)) {
                Dragging = true;
                AnchorPoint = Prg2D().GetCurrentPoint();
            }
            return false;
        case CADEvent::MouseMove: {
            if (!Dragging) return false;
            const TPoint2D p = Prg2D().GetCurrentPoint();
            const double d = std::hypot(p.X - AnchorPoint.X, p.Y - AnchorPoint.Y);
            const TRect2D r = view.VisualRect();
            const double diagonal = std::hypot(r.Right - r.Left, r.Top - r.Bottom);
            if (0.0001 * diagonal <= d && d <= 2.0 * diagonal) {
                const TPoint2D s = view.WorldToScreen(p);
                view.PanView(AnchorPoint.X - p.X, AnchorPoint.Y - p.Y);
                AnchorPoint = CartesianPoint(view.ScreenToWorld(s));
            } else {
                AnchorPoint = p;
            }
            return false;
        }
        case CADEvent::MouseUp:
        case CADEvent::DoubleClick:
            if (event == CADEvent::DoubleClick || IsLeft(button)) {
                view.Repaint();
                Dragging = false;
            }
            return false;
        case CADEvent::UserCommand:
            if (key == kCommandCancel) {
                view.ZoomWindow(SavedVisualRect);
                next = Default();
                return true;
            }
            if (key == kCommandAccept) {
                next = ParamAfterState() != nullptr ? ParamAfterState() : Default();
                CADPrg().RequestRepaint();
                return true;
            }
            return false;
        default:
            return false;
    }
}

// Picking an area.

const StateClass TCADPrgSelectArea::Class{"TCADPrgSelectArea", &CreateState<TCADPrgSelectArea>};

TCADPrgSelectArea::TCADPrgSelectArea(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    RequireParam<TCADPrgSelectAreaParam>(*this, "TCADPrgSelectArea: Invalid param");
    Prompt(0);
}

TCADPrgSelectAreaParam& TCADPrgSelectArea::AreaParam() const {
    return static_cast<TCADPrgSelectAreaParam&>(*Param());
}

bool TCADPrgSelectArea::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                    TShiftState /*shift*/) {
    if (event == CADEvent::MouseDown && IsLeft(button)) {
        TFrame2D& frame = AreaParam().AreaFrame();
        const TPoint2D p = Prg2D().GetCurrentPoint();
        frame.Points().SetPoint(0, p);
        frame.Points().SetPoint(1, p);
        View().DrawRubberObject2D(frame, false);
        next = &TCADPrgDragSelectArea::Class;
        return true;
    }
    if (IsCommand(event, key, kCommandCancel)) {
        FreeParam();
        next = Default();
        return true;
    }
    return false;
}

const StateClass TCADPrgDragSelectArea::Class{"TCADPrgDragSelectArea", &CreateState<TCADPrgDragSelectArea>};

TCADPrgDragSelectArea::TCADPrgDragSelectArea(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    RequireParam<TCADPrgSelectAreaParam>(*this, "TCADPrgDragSelectArea: Invalid param");
    Prompt(1);
}

TCADPrgSelectAreaParam& TCADPrgDragSelectArea::AreaParam() const {
    return static_cast<TCADPrgSelectAreaParam&>(*Param());
}

void TCADPrgDragSelectArea::ToggleFrame() {
    View().DrawRubberObject2D(AreaParam().AreaFrame(), false);
    frameShown_ = !frameShown_;
}

// The frame goes before the area is handed on: a window that turns out to be
// a single point zooms nowhere and would leave it on the screen.
bool TCADPrgDragSelectArea::Complete(const StateClass*& next) {
    if (frameShown_) ToggleFrame();
    next = ParamAfterState() != nullptr ? ParamAfterState() : Default();
    return true;
}

bool TCADPrgDragSelectArea::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                        TShiftState /*shift*/) {
    switch (event) {
        case CADEvent::MouseMove:
            if (frameShown_) ToggleFrame();
            AreaParam().AreaFrame().Points().SetPoint(1, Prg2D().GetCurrentPoint());
            ToggleFrame();
            return false;
        case CADEvent::Repaint:
            frameShown_ = false;
            ToggleFrame();
            return false;
        case CADEvent::MouseDown:
            if (!IsLeft(button)) return false;
            return Complete(next);
        case CADEvent::MouseUp: {
            // Press, drag and release give the window in one gesture.
            if (!IsLeft(button) || !pressHeld_) return false;
            pressHeld_ = false;
            TFrame2D& frame = AreaParam().AreaFrame();
            const TPoint2D release = Prg2D().GetCurrentPoint();
            const TPixelPoint a = View().WorldToPixel(frame.Points().Get(0));
            const TPixelPoint b = View().WorldToPixel(release);
            if (std::max(std::abs(b.X - a.X), std::abs(b.Y - a.Y)) < kDragPixels) return false;
            if (frameShown_) ToggleFrame();
            frame.Points().SetPoint(1, release);
            return Complete(next);
        }
        default:
            if (IsCommand(event, key, kCommandCancel)) {
                FreeParam();
                next = Default();
                return true;
            }
            return false;
    }
}

// Placing a primitive click by click.

const StateClass TQV2D_DrawSizedPrimitive::Class{"TQV2D_DrawSizedPrimitive", &CreateState<TQV2D_DrawSizedPrimitive>};

TQV2D_DrawSizedPrimitive::TQV2D_DrawSizedPrimitive(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    auto& p = RequireParam<TQV2D_DrawSizedPrimitiveParam>(*this, "TQV2D_DrawSizedPrimitiveParam: Invalid param");
    if (p.Primitive() == nullptr) throw ECADCoreException("TQV2D_DrawSizedPrimitiveParam: Invalid param");
    Prompt(4);
    Prg2D().SetReferencePoint(kNoPoint);
}

TQV2D_DrawSizedPrimitiveParam& TQV2D_DrawSizedPrimitive::PrimitiveParam() const {
    return static_cast<TQV2D_DrawSizedPrimitiveParam&>(*Param());
}

void TQV2D_DrawSizedPrimitive::ShowPrimitive(bool show) {
    if (show == shown_) return;
    View().DrawRubberObject2D(*PrimitiveParam().Primitive(), true);
    shown_ = show;
}

void TQV2D_DrawSizedPrimitive::TellRubber() {
    TQV2D_DrawSizedPrimitiveParam& p = PrimitiveParam();
    if (!p.OnRubber) return;
    const TPrimitive2D& primitive = *p.Primitive();
    const auto world = [&](int i) {
        return CartesianPoint(PointTimesMatrix2D(primitive.Points().Get(i), primitive.GetObjectMatrix()));
    };
    p.OnRubber(world(0), world(p.NextPointIndex));
}

// The snapped point in the primitive's own coordinates, held orthogonal to
// the previous control point when both switches ask for it.
TPoint2D TQV2D_DrawSizedPrimitive::NewPoint(TPoint2D& world) {
    TQV2D_DrawSizedPrimitiveParam& p = PrimitiveParam();
    world = Prg2D().GetSnappedPoint();
    TPoint2D q = p.Primitive()->WorldToObject(world);
    if (p.NextPointIndex > 0 && p.OrthoConstraint && CADPrg().UseOrto()) {
        const TPoint2D r = CartesianPoint(p.Primitive()->Points().Get(p.NextPointIndex - 1));
        q = CartesianPoint(q);
        if (std::fabs(q.X - r.X) > std::fabs(q.Y - r.Y)) {
            q.Y = r.Y;
        } else {
            q.X = r.X;
        }
    }
    return q;
}

bool TQV2D_DrawSizedPrimitive::Finish(const StateClass*& next) {
    if (ParamAfterState() != nullptr) {
        next = ParamAfterState();
        return true;
    }
    TQVCmp2D* drawing = PrimitiveParam().AddToDrawing ? View().CADCmp2D() : nullptr;
    if (drawing != nullptr) {
        EventLockGuard lock(CADPrg());
        std::unique_ptr<TPrimitive2D> primitive = PrimitiveParam().TakePrimitive();
        const std::int32_t id = primitive->ID();
        const bool drawOnAdd = drawing->DrawOnAdd();
        drawing->SetDrawOnAdd(true);
        try {
            TObject2D* added = drawing->AddObject2D(id, std::move(primitive));
            drawing->SetDrawOnAdd(drawOnAdd);
            NotifyEdit(*added, kNotifyEditCreated);
        } catch (...) {
            drawing->SetDrawOnAdd(drawOnAdd);
            throw;
        }
    }
    FreeParam();
    next = Default();
    return true;
}

bool TQV2D_DrawSizedPrimitive::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                           TShiftState /*shift*/) {
    TQV2D_DrawSizedPrimitiveParam& p = PrimitiveParam();
    TPoint2D world;
    switch (event) {
        case CADEvent::MouseMove: {
            if (p.NextPointIndex == 0) return false;
            const TPoint2D q = NewPoint(world);
            ShowPrimitive(false);
            p.Primitive()->Points().SetPoint(p.NextPointIndex, q);
            ShowPrimitive(true);
            TellRubber();
            return false;
        }
        case CADEvent::MouseDown: {
            if (!IsLeft(button)) return false;
            ShowPrimitive(false);
            const TPoint2D q = NewPoint(world);
            Prg2D().SetReferencePoint(world);
            if (p.NextPointIndex == 0) {
                for (int i = 0; i < p.PointCount; ++i) p.Primitive()->Points().SetPoint(i, q);
            } else {
                p.Primitive()->Points().SetPoint(p.NextPointIndex, q);
            }
            TellRubber();
            ++p.NextPointIndex;
            if (p.NextPointIndex < p.PointCount) {
                p.Primitive()->Points().SetPoint(p.NextPointIndex, q);
                ShowPrimitive(true);
                return false;
            }
            return Finish(next);
        }
        case CADEvent::Repaint:
            shown_ = false;
            ShowPrimitive(true);
            return false;
        case CADEvent::UserCommand:
            // Accept before the first click places nothing: the primitive's
            // points are still where the host made it, not where the user
            // pointed. It cancels instead.
            if (key == kCommandAccept && p.NextPointIndex > 0) {
                ShowPrimitive(false);
                return Finish(next);
            }
            if (key == kCommandAccept || key == kCommandCancel) {
                ShowPrimitive(false);
                FreeParam();
                next = Default();
                return true;
            }
            return false;
        default:
            return false;
    }
}

// Picking one object.

TAperturePickState::TAperturePickState(TCADPrg& program, ParamRef param, const StateClass*& next,
                                       const char* invalidParamMessage)
    : TCAD2DTaskState(program, std::move(param), next) {
    RequireParam<TQVD2D_SelectObjectsParam>(*this, invalidParamMessage);
    Prompt(9);
    ShowAperture(true);
}

TQVD2D_SelectObjectsParam& TAperturePickState::SelectParam() const {
    return static_cast<TQVD2D_SelectObjectsParam&>(*Param());
}

void TAperturePickState::ShowAperture(bool show) {
    if (show == shown_) return;
    SelectParam().DrawAperture(View(), SelectParam().AperturePoint);
    shown_ = show;
}

bool TAperturePickState::CancelPick(const StateClass*& next) {
    ShowAperture(false);
    FreeParam();
    next = Default();
    return true;
}

const StateClass TQV2D_Select1Object::Class{"TQV2D_Select1Object", &CreateState<TQV2D_Select1Object>};

TQV2D_Select1Object::TQV2D_Select1Object(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TAperturePickState(program, std::move(param), next, "TQV2D_Select1Object: Invalid param") {}

bool TQV2D_Select1Object::Pick(bool onMouseDown, const StateClass*& next) {
    TQVD2D_SelectObjectsParam& p = SelectParam();
    const TPoint2D point = Prg2D().GetCurrentPoint();
    TObject2D* object = View().HitObjectAt(point, p.Aperture, p.LastHitCode, false);
    if (object == nullptr || p.LastHitCode < -99 || !object->InheritsFrom(*p.FilterClass)) return false;
    p.PickedObjects().Add(object);
    {
        EventLockGuard lock(CADPrg());
        if (p.OnSelected) p.OnSelected(p, *object, true, p.LastHitCode);
        if (onMouseDown) {
            View().Repaint();
            shown_ = false;
        }
    }
    if (ParamAfterState() != nullptr) {
        next = ParamAfterState();
    } else {
        FreeParam();
        next = Default();
    }
    return true;
}

bool TQV2D_Select1Object::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                      TShiftState /*shift*/) {
    switch (event) {
        case CADEvent::MouseMove:
            ShowAperture(false);
            SelectParam().AperturePoint = Prg2D().GetCurrentPoint();
            ShowAperture(true);
            return false;
        case CADEvent::Repaint:
            shown_ = false;
            ShowAperture(true);
            return false;
        case CADEvent::MouseUp:
            return IsLeft(button) && Pick(false, next);
        case CADEvent::MouseDown:
            return IsLeft(button) && SelectParam().PickOnMouseDown && Pick(true, next);
        default:
            if (IsCommand(event, key, kCommandCancel)) return CancelPick(next);
            return false;
    }
}

// Picking two objects.

const StateClass TCAD2DSeleziona2Ogg::Class{"TCAD2DSeleziona2Ogg", &CreateState<TCAD2DSeleziona2Ogg>};

TCAD2DSeleziona2Ogg::TCAD2DSeleziona2Ogg(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TAperturePickState(program, std::move(param), next, "TCAD2DSelectObject: Invalid param") {}

bool TCAD2DSeleziona2Ogg::Finish(const StateClass*& next) {
    {
        EventLockGuard lock(CADPrg());
        View().Repaint();
        shown_ = false;
    }
    if (ParamAfterState() != nullptr) {
        next = ParamAfterState();
    } else {
        FreeParam();
        next = Default();
    }
    return true;
}

bool TCAD2DSeleziona2Ogg::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                      TShiftState /*shift*/) {
    TQVD2D_SelectObjectsParam& p = SelectParam();
    switch (event) {
        case CADEvent::MouseMove:
            ShowAperture(false);
            p.AperturePoint = Prg2D().GetCurrentPoint();
            ShowAperture(true);
            return false;
        case CADEvent::Repaint:
            shown_ = false;
            ShowAperture(true);
            if (p.OnSelected) {
                EventLockGuard lock(CADPrg());
                auto picked = p.PickedObjects().GetIterator();
                for (TGraphicObject* o = picked->First(); o != nullptr; o = picked->Next()) {
                    p.OnSelected(p, static_cast<TObject2D&>(*o), true, kHitMiss);
                }
            }
            return false;
        case CADEvent::MouseUp: {
            if (!IsLeft(button)) return false;
            ShowAperture(false);
            const TPoint2D point = Prg2D().GetCurrentPoint();
            TObject2D* object = View().HitObjectAt(point, p.Aperture, p.LastHitCode, false);
            if (object != nullptr && p.LastHitCode >= -99 && object->InheritsFrom(*p.FilterClass)) {
                std::unique_ptr<TGraphicObjIterator> picked = p.PickedObjects().GetIterator();
                const bool alreadyPicked = picked->Search(object->ID()) != nullptr;
                picked.reset();
                // Two picks are all the task holds: a third new object is
                // ignored rather than stored past the two pick points.
                if (alreadyPicked || PickedCount < 2) {
                    bool selected = false;
                    if (alreadyPicked) {
                        p.PickedObjects().Delete(object->ID());
                        --PickedCount;
                    } else {
                        PickPoints()[static_cast<std::size_t>(PickedCount)] = point;
                        p.PickedObjects().Add(object);
                        ++PickedCount;
                        selected = true;
                    }
                    if (p.OnSelected) {
                        {
                            EventLockGuard lock(CADPrg());
                            p.OnSelected(p, *object, selected, p.LastHitCode);
                        }
                        if (PickedCount == 2) return Finish(next);
                    }
                }
            }
            if (PickedCount != 2) ShowAperture(true);
            return false;
        }
        default:
            if (IsCommand(event, key, kCommandAccept)) {
                ShowAperture(false);
                return Finish(next);
            }
            if (IsCommand(event, key, kCommandCancel)) return CancelPick(next);
            return false;
    }
}

// The crop rectangle.

const StateClass TSCSelRett::Class{"TSCSelRett", &CreateState<TSCSelRett>};

TSCSelRett::TSCSelRett(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    RequireParam<TSCSelRettParam>(*this, "TCAD2DTransformObjects: Invalid param");
    Prompt(14);
    ShowRectangle(true);
}

TSCSelRettParam& TSCSelRett::RectParam() const {
    return static_cast<TSCSelRettParam&>(*Param());
}

void TSCSelRett::ShowRectangle(bool show) {
    if (show == shown_) return;
    RectParam().DrawRectangle(View());
    shown_ = show;
}

bool TSCSelRett::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                             TShiftState /*shift*/) {
    TSCSelRettParam& p = RectParam();
    KernelHost* host = Prg2D().Host();
    switch (event) {
        case CADEvent::MouseDown:
            if (!IsLeft(button)) return false;
            if (!FirstCornerSet) {
                View().Repaint();
                shown_ = false;
                FirstCornerSet = true;
                p.Corner1 = Prg2D().GetSnappedPoint();
                p.Corner2 = p.Corner1;
                Prompt(15);
                if (host != nullptr) host->SetCutRectangleReady(false);
            } else {
                FirstCornerSet = false;
                Prompt(14);
                if (host != nullptr) {
                    host->SetCutRectangleReady(true);
                    host->EnableCutSelection();
                }
            }
            return false;
        case CADEvent::MouseMove:
            if (!FirstCornerSet) return false;
            ShowRectangle(false);
            p.Corner2 = Prg2D().GetSnappedPoint();
            ShowRectangle(true);
            if (host != nullptr) host->InfoCut(p.Corner1, p.Corner2);
            return false;
        case CADEvent::Repaint:
            shown_ = false;
            return false;
        case CADEvent::UserCommand:
            if (key == kCommandCancel) {
                next = Default();
                return true;
            }
            if (key == kCommandAccept) {
                next = ParamAfterState() != nullptr ? ParamAfterState() : Default();
                CADPrg().RequestRepaint();
                return true;
            }
            return false;
        default:
            return false;
    }
}

// Moving the control points of a picked primitive.

const StateClass TCAD2DEditSelectedPrimitive::Class{"TCAD2DEditSelectedPrimitive",
                                                    &CreateState<TCAD2DEditSelectedPrimitive>};

TCAD2DEditSelectedPrimitive::TCAD2DEditSelectedPrimitive(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    auto* select = dynamic_cast<TQVD2D_SelectObjectsParam*>(Param());
    if (select == nullptr) throw ECADCoreException("TCAD2DEditSelectedObjects: Invalid param");
    std::unique_ptr<TGraphicObjIterator> picked = select->PickedObjects().GetIterator();
    auto* primitive = dynamic_cast<TPrimitive2D*>(picked->First());
    picked.reset();
    if (primitive == nullptr) throw ECADCoreException("TCAD2DEditSelectedObjects: Invalid param");
    auto plain = std::make_unique<TCADPrgParam>();
    plain->UserObject = primitive;
    SetParam(ParamRef(std::move(plain)));
    CADPrg().SetOperationClass(&Class);
    next = &TQV2D_EditPrimitive::Class;
}

const StateClass TQV2D_EditPrimitive::Class{"TQV2D_EditPrimitive", &CreateState<TQV2D_EditPrimitive>};

TQV2D_EditPrimitive::TQV2D_EditPrimitive(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    auto* primitive = Param() != nullptr ? dynamic_cast<TPrimitive2D*>(Param()->UserObject) : nullptr;
    if (primitive == nullptr) throw ECADCoreException("TQV2D_EditPrimitive: Invalid param");
    Prompt(11);
    SetParam(ParamRef(std::make_unique<TCAD2DEditPrimitiveParam>(*primitive, 5)));
    View().Repaint();
    EditParam().AperturePoint = MakePoint2D(0.0, 0.0);
    DrawApertureBox(EditParam().AperturePoint);
    ShowWorkCopy(true);
    Prg2D().SetReferencePoint(kNoPoint);
}

TCAD2DEditPrimitiveParam& TQV2D_EditPrimitive::EditParam() const {
    return static_cast<TCAD2DEditPrimitiveParam&>(*Param());
}

void TQV2D_EditPrimitive::DrawApertureBox(const TPoint2D& p) {
    TCAD2DEditPrimitiveParam& e = EditParam();
    TQVD2D_SelectObjectsParam square(e.Aperture, nullptr);
    if (apertureShown_) square.DrawAperture(View(), e.AperturePoint);
    e.AperturePoint = p;
    square.DrawAperture(View(), e.AperturePoint);
    apertureShown_ = true;
}

void TQV2D_EditPrimitive::ShowWorkCopy(bool show) {
    if (show == copyShown_) return;
    View().DrawRubberObject2D(EditParam().WorkCopy(), true);
    copyShown_ = show;
}

void TQV2D_EditPrimitive::PickControlPoint(const TPoint2D& p) {
    TCAD2DEditPrimitiveParam& e = EditParam();
    double distance = 0.0;
    const int code = e.WorkCopy().HitTest(p, distance, View().GetAperture(e.Aperture));
    e.ActivePoint = code >= 0 ? code : -1;
    if (e.ActivePoint >= 0) Prompt(12);
}

bool TQV2D_EditPrimitive::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                      TShiftState /*shift*/) {
    TCAD2DEditPrimitiveParam& e = EditParam();
    switch (event) {
        case CADEvent::MouseMove:
            DrawApertureBox(Prg2D().GetCurrentPoint());
            if (e.ActivePoint >= 0) {
                ShowWorkCopy(false);
                e.WorkCopy().Points().SetPoint(e.ActivePoint, e.WorkCopy().WorldToObject(Prg2D().GetSnappedPoint()));
                ShowWorkCopy(true);
            }
            DrawApertureBox(Prg2D().GetCurrentPoint());
            return false;
        case CADEvent::MouseDown:
            if (IsLeft(button)) PickControlPoint(Prg2D().GetCurrentPoint());
            return false;
        case CADEvent::MouseUp:
            if (IsLeft(button)) {
                e.ActivePoint = -1;
                Prompt(11);
            }
            return false;
        case CADEvent::DoubleClick:
            if (!IsLeft(button) || !e.WorkCopy().Points().Growable()) return false;
            PickControlPoint(Prg2D().GetCurrentPoint());
            if (e.ActivePoint >= 0) {
                ShowWorkCopy(false);
                e.WorkCopy().Points().Insert(e.ActivePoint, e.WorkCopy().WorldToObject(Prg2D().GetSnappedPoint()));
                ShowWorkCopy(true);
            }
            return false;
        case CADEvent::Repaint:
            apertureShown_ = false;
            copyShown_ = false;
            DrawApertureBox(Prg2D().GetCurrentPoint());
            ShowWorkCopy(true);
            return false;
        case CADEvent::UserCommand:
            if (key == kCommandAccept) {
                NotifyEdit(e.EditedObject(), kNotifyEditChanged);
                e.EditedObject().Assign(e.WorkCopy());
                {
                    EventLockGuard lock(CADPrg());
                    View().Repaint();
                }
                FreeParam();
                next = Default();
                return true;
            }
            if (key == kCommandCancel) {
                FreeParam();
                next = Default();
                return true;
            }
            return false;
        default:
            return false;
    }
}

}  // namespace calvoro
