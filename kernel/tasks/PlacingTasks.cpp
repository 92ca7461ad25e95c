// The polyline and circle placing tasks.
#include "kernel/tasks/PlacingTasks.h"

#include "kernel/drawing/NotifyEdit.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/model/CADCoreExceptions.h"
#include "kernel/view/TQVViewport2D.h"

#include <cmath>
#include <vector>

namespace calvoro {

namespace {

constexpr TPoint2D kNoPoint{100000000.0, 100000000.0, 1.0};

bool IsCommand(int event, std::uint16_t key, std::uint16_t code) {
    return event == CADEvent::UserCommand && key == code;
}

}  // namespace

void PlaceFinishedObject(TCAD2DTaskState& state, std::unique_ptr<TObject2D> object) {
    TQVCmp2D* drawing = state.View().CADCmp2D();
    if (drawing == nullptr) return;
    EventLockGuard lock(state.CADPrg());
    const bool drawOnAdd = drawing->DrawOnAdd();
    drawing->SetDrawOnAdd(true);
    try {
        TObject2D* added = drawing->AddObject2D(-1, std::move(object));
        drawing->SetDrawOnAdd(drawOnAdd);
        NotifyEdit(*added, kNotifyEditCreated);
    } catch (...) {
        drawing->SetDrawOnAdd(drawOnAdd);
        throw;
    }
}

// ---- Polyline ----

const StateClass TQV2D_DrawPolyline::Class{"TQV2D_DrawPolyline", &CreateState<TQV2D_DrawPolyline>};

TQV2D_DrawPolyline::TQV2D_DrawPolyline(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    auto* p = dynamic_cast<TQV2D_DrawUnSizedPrimitiveParam*>(Param());
    if (p == nullptr || dynamic_cast<TPolyline2D*>(p->Primitive()) == nullptr)
        throw ECADCoreException("TQV2D_DrawPolyline: Invalid param");
    p->NextPointIndex = 0;
    Prompt(4);
    Prg2D().SetReferencePoint(kNoPoint);
}

TQV2D_DrawUnSizedPrimitiveParam& TQV2D_DrawPolyline::PolyParam() const {
    return static_cast<TQV2D_DrawUnSizedPrimitiveParam&>(*Param());
}

void TQV2D_DrawPolyline::ShowRubber(bool show) {
    if (show == shown_ || PolyParam().NextPointIndex == 0) return;
    View().DrawRubberObject2D(*PolyParam().Primitive(), false);
    shown_ = show;
}

// The snapped point, held orthogonal to the last fixed point when asked.
TPoint2D TQV2D_DrawPolyline::NewPoint() {
    TQV2D_DrawUnSizedPrimitiveParam& p = PolyParam();
    TPoint2D q = CartesianPoint(Prg2D().GetSnappedPoint());
    if (p.NextPointIndex > 0 && p.OrthoConstraint && CADPrg().UseOrto()) {
        const TPoint2D r = CartesianPoint(p.Primitive()->Points().Get(p.NextPointIndex - 1));
        if (std::fabs(q.X - r.X) > std::fabs(q.Y - r.Y))
            q.Y = r.Y;
        else
            q.X = r.X;
    }
    return q;
}

bool TQV2D_DrawPolyline::Finish(bool close, const StateClass*& next) {
    ShowRubber(false);
    TQV2D_DrawUnSizedPrimitiveParam& p = PolyParam();
    // The point under the cursor was never clicked: only the fixed ones count.
    std::vector<TPoint2D> points(p.Primitive()->Points().Points().begin(),
                                 p.Primitive()->Points().Points().begin() + p.NextPointIndex);
    if (close && points.size() >= 3) points.push_back(points.front());
    if (points.size() >= 2) {
        auto polyline = std::make_unique<TPolyline2D>(-1, points);
        polyline->SetLayer(p.Primitive()->Layer());
        PlaceFinishedObject(*this, std::move(polyline));
    }
    FreeParam();
    next = Default();
    return true;
}

bool TQV2D_DrawPolyline::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                     TShiftState /*shift*/) {
    TQV2D_DrawUnSizedPrimitiveParam& p = PolyParam();
    TPointsSet2D& points = p.Primitive()->Points();
    switch (event) {
        case CADEvent::MouseMove: {
            if (p.NextPointIndex == 0) return false;
            const TPoint2D q = NewPoint();
            ShowRubber(false);
            points.SetPoint(p.NextPointIndex, q);
            ShowRubber(true);
            return false;
        }
        case CADEvent::MouseDown: {
            if (button != TMouseButton::mbLeft) return false;
            const TPoint2D q = NewPoint();
            ShowRubber(false);
            Prg2D().SetReferencePoint(q);
            points.SetPoint(p.NextPointIndex, q);
            ++p.NextPointIndex;
            points.SetPoint(p.NextPointIndex, q);  // the segment that follows the cursor
            ShowRubber(true);
            return false;
        }
        case CADEvent::Repaint:
            shown_ = false;
            ShowRubber(true);
            return false;
        default:
            if (IsCommand(event, key, kCommandAccept)) return Finish(false, next);
            if (IsCommand(event, key, kCommandClosePolyline)) return Finish(true, next);
            if (IsCommand(event, key, kCommandCancel)) {
                ShowRubber(false);
                FreeParam();
                next = Default();
                return true;
            }
            return false;
    }
}

// ---- A shape of a given size ----

const StateClass TQV2D_PlaceShape::Class{"TQV2D_PlaceShape", &CreateState<TQV2D_PlaceShape>};

TQV2D_PlaceShape::TQV2D_PlaceShape(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    auto* p = dynamic_cast<TPlaceShapeParam*>(Param());
    if (p == nullptr || !p->Shape) throw ECADCoreException("TQV2D_PlaceShape: Invalid param");
    Prompt(4);
}

TPlaceShapeParam& TQV2D_PlaceShape::ShapeParam() const {
    return static_cast<TPlaceShapeParam&>(*Param());
}

void TQV2D_PlaceShape::ShowRubber(bool show) {
    if (show == shown_ || rubber_ == nullptr) return;
    View().DrawRubberObject2D(*rubber_, false);
    shown_ = show;
}

bool TQV2D_PlaceShape::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                   TShiftState /*shift*/) {
    switch (event) {
        case CADEvent::MouseMove:
            ShowRubber(false);
            rubber_ = ShapeParam().Shape(CartesianPoint(Prg2D().GetSnappedPoint()));
            ShowRubber(true);
            return false;
        case CADEvent::Repaint:
            shown_ = false;
            ShowRubber(true);
            return false;
        case CADEvent::MouseDown: {
            if (button != TMouseButton::mbLeft) return false;
            ShowRubber(false);
            if (auto shape = ShapeParam().Shape(CartesianPoint(Prg2D().GetSnappedPoint())))
                PlaceFinishedObject(*this, std::move(shape));
            FreeParam();
            next = Default();
            return true;
        }
        default:
            if (IsCommand(event, key, kCommandCancel) || IsCommand(event, key, kCommandAccept)) {
                ShowRubber(false);
                FreeParam();
                next = Default();
                return true;
            }
            return false;
    }
}

// ---- Arc by centre, start and end ----

const StateClass TQV2D_DrawArc3::Class{"TQV2D_DrawArc3", &CreateState<TQV2D_DrawArc3>};

TQV2D_DrawArc3::TQV2D_DrawArc3(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    Prompt(4);
}

std::unique_ptr<TObject2D> TQV2D_DrawArc3::Figure(const TPoint2D& cursor) const {
    if (clicks_ == 1) return std::make_unique<TCerchio2D>(-1, centre_, cursor);
    const double end = std::atan2(cursor.Y - centre_.Y, cursor.X - centre_.X);
    return std::make_unique<TArco2D>(-1, centre_, MakePoint2D(centre_.X + radius_, centre_.Y), start_, end);
}

void TQV2D_DrawArc3::ShowRubber(bool show) {
    if (show == shown_ || rubber_ == nullptr) return;
    View().DrawRubberObject2D(*rubber_, false);
    shown_ = show;
}

bool TQV2D_DrawArc3::HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                                 TShiftState /*shift*/) {
    switch (event) {
        case CADEvent::MouseMove:
            if (clicks_ == 0) return false;
            ShowRubber(false);
            rubber_ = Figure(CartesianPoint(Prg2D().GetSnappedPoint()));
            ShowRubber(true);
            return false;
        case CADEvent::Repaint:
            shown_ = false;
            ShowRubber(true);
            return false;
        case CADEvent::MouseDown: {
            if (button != TMouseButton::mbLeft) return false;
            const TPoint2D p = CartesianPoint(Prg2D().GetSnappedPoint());
            if (clicks_ == 0) {
                centre_ = p;
                Prg2D().SetReferencePoint(p);
            } else if (clicks_ == 1) {
                radius_ = std::hypot(p.X - centre_.X, p.Y - centre_.Y);
                if (!(radius_ > 0.0)) return false;  // the start cannot be the centre
                start_ = std::atan2(p.Y - centre_.Y, p.X - centre_.X);
            } else {
                if (p.X == centre_.X && p.Y == centre_.Y) return false;
                ShowRubber(false);
                PlaceFinishedObject(*this, Figure(p));
                FreeParam();
                next = Default();
                return true;
            }
            ++clicks_;
            return false;
        }
        default:
            if (IsCommand(event, key, kCommandCancel) || IsCommand(event, key, kCommandAccept)) {
                ShowRubber(false);
                FreeParam();
                next = Default();
                return true;
            }
            return false;
    }
}

}  // namespace calvoro
