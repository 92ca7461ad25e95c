#include "kernel/editing/EditStates.h"

#include "kernel/editing/BreakCommand.h"
#include "kernel/editing/TangentLine.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/view/TQVViewport2D.h"

#include <cmath>

namespace calvoro {

TEditPickParam::TEditPickParam(int aperture, const StateClass* afterState, const FilletParameters& fillet)
    : TQVD2D_SelectObjectsParam(aperture, afterState), Fillet(fillet) {}

TEditCommandState::TEditCommandState(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {}

EditPick TEditCommandState::Pick() const {
    EditPick pick;
    auto* select = dynamic_cast<TQVD2D_SelectObjectsParam*>(Param());
    if (select == nullptr) return pick;
    auto picked = select->PickedObjects().GetIterator();
    for (TGraphicObject* o = picked->First(); o != nullptr && pick.Count < 2; o = picked->Next()) {
        pick.Ids[static_cast<std::size_t>(pick.Count)] = o->ID();
        pick.Points[static_cast<std::size_t>(pick.Count)] = PickPoints()[static_cast<std::size_t>(pick.Count)];
        ++pick.Count;
    }
    return pick;
}

void TEditCommandState::Finish(const EditOutcome& outcome, const StateClass*& next) {
    if (KernelHost* host = Prg2D().Host()) host->ShowStatusMessage(outcome.Message());
    if (outcome.Done()) {
        TQVViewport2D& view = View();
        {
            EventLockGuard lock(CADPrg());
            view.Repaint();
        }
        // Each mark is a small circle drawn once in XOR on the screen image:
        // the next repaint takes it away, and the drawing never holds it.
        const double w = std::abs(view.VisualRect().Right - view.VisualRect().Left) / 150.0;
        for (const TPoint2D& p : outcome.Marks) {
            TArco2D mark(-1, p, MakePoint2D(p.X + w, p.Y), 0.0, 0.0);
            view.DrawRubberObject2D(mark, false);
        }
        // The view is up to date and shows the marks: ending the operation
        // must not copy the plain picture over them.
        CADPrg().KeepViewAtEnd();
    }
    FreeParam();
    next = Default();
}

namespace {

TQVCmp2D* DrawingOf(TCAD2DTaskState& state) {
    return state.View().CADCmp2D();
}

}  // namespace

const StateClass TMyRaccordo::Class{"TMyRaccordo", &CreateState<TMyRaccordo>};

TMyRaccordo::TMyRaccordo(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TEditCommandState(program, std::move(param), next) {
    TQVCmp2D* drawing = DrawingOf(*this);
    Finish(drawing ? CornerTrim(*drawing, Pick()) : EditOutcome::Refused(EditStatus::NotTwoObjects), next);
}

const StateClass TMyArcoTan2::Class{"TMyArcoTan2", &CreateState<TMyArcoTan2>};

TMyArcoTan2::TMyArcoTan2(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TEditCommandState(program, std::move(param), next) {
    TQVCmp2D* drawing = DrawingOf(*this);
    auto* edit = dynamic_cast<TEditPickParam*>(Param());
    // Without the main window's radius there is no arc to build.
    const FilletParameters fillet = edit ? edit->Fillet : FilletParameters{};
    Finish(drawing ? TangentArc(*drawing, Pick(), fillet) : EditOutcome::Refused(EditStatus::NotTwoObjects), next);
}

const StateClass TMyBreak::Class{"TMyBreak", &CreateState<TMyBreak>};

TMyBreak::TMyBreak(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TEditCommandState(program, std::move(param), next) {
    TQVCmp2D* drawing = DrawingOf(*this);
    Finish(drawing ? BreakObjects(*drawing, Pick()) : EditOutcome::Refused(EditStatus::NotTwoObjects), next);
}

const StateClass TMyLineaTan2A::Class{"TMyLineaTan2A", &CreateState<TMyLineaTan2A>};

TMyLineaTan2A::TMyLineaTan2A(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TEditCommandState(program, std::move(param), next) {
    TQVCmp2D* drawing = DrawingOf(*this);
    Finish(drawing ? TangentLine(*drawing, Pick()) : EditOutcome::Refused(EditStatus::NotTwoObjects), next);
}

const StateClass TMyArcoTan1::Class{"TMyArcoTan1", &CreateState<TMyArcoTan1>};

TMyArcoTan1::TMyArcoTan1(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TEditCommandState(program, std::move(param), next) {
    FreeParam();
    next = Default();
}

const StateClass TMyLineaPer::Class{"TMyLineaPer", &CreateState<TMyLineaPer>};

TMyLineaPer::TMyLineaPer(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TEditCommandState(program, std::move(param), next) {
    FreeParam();
    next = Default();
}

}  // namespace calvoro
