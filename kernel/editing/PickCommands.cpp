// Delete, explode, change of layer and copy of a picked object. A command
// that changed the drawing asks for the view to be drawn again as the
// operation ends: the view otherwise keeps its old picture until the next
// zoom.
#include "kernel/editing/PickCommands.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/view/TQVViewport2D.h"

namespace calvoro {

TObject2D* FirstPicked(TCADPrgParam* param) {
    auto* select = dynamic_cast<TQVD2D_SelectObjectsParam*>(param);
    if (select == nullptr) return nullptr;
    auto picked = select->PickedObjects().GetIterator();
    return dynamic_cast<TObject2D*>(picked->First());
}

namespace {

// The vector of a copy, placed as a line, and the ID of the object to copy:
// an ID, not the object, so that a drawing emptied meanwhile copies nothing.
class TCopyVectorParam : public TQV2D_DrawSizedPrimitiveParam {
public:
    explicit TCopyVectorParam(std::int32_t sourceId)
        : TQV2D_DrawSizedPrimitiveParam(&TCopyPlaced::Class,
                                        std::make_unique<TLine2D>(-1, MakePoint2D(0.0, 0.0), MakePoint2D(0.0, 0.0)), 0,
                                        true),
          SourceId(sourceId) {}
    std::int32_t SourceId;
};

// The picked object's ID (-1 for none), read before the parameter goes.
std::int32_t PickedId(TCAD2DTaskState& state) {
    TObject2D* object = FirstPicked(state.Param());
    return object != nullptr ? object->ID() : -1;
}

}  // namespace

const StateClass TDeletePicked::Class{"TDeletePicked", &CreateState<TDeletePicked>};

TDeletePicked::TDeletePicked(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    const std::int32_t id = PickedId(*this);
    FreeParam();
    TQVCmp2D* drawing = View().CADCmp2D();
    if (drawing != nullptr && id >= 0 && drawing->FindObject(id) != nullptr) {
        drawing->DeleteObject(id);
        CADPrg().RequestRepaint();
    }
    next = Default();
}

const StateClass TExplodePicked::Class{"TExplodePicked", &CreateState<TExplodePicked>};

ExplodeCounts& TExplodePicked::LastCounts() {
    static ExplodeCounts counts;
    return counts;
}

TExplodePicked::TExplodePicked(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    const std::int32_t id = PickedId(*this);
    FreeParam();
    LastCounts() = {};
    TQVCmp2D* drawing = View().CADCmp2D();
    if (drawing != nullptr && id >= 0 && EsplodeBlocco(*drawing, id, LastCounts())) CADPrg().RequestRepaint();
    next = Default();
}

const StateClass TChangeLayerPicked::Class{"TChangeLayerPicked", &CreateState<TChangeLayerPicked>};

TChangeLayerPicked::TChangeLayerPicked(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    TObject2D* object = FirstPicked(Param());
    FreeParam();
    TQVCmp2D* drawing = View().CADCmp2D();
    if (drawing != nullptr && object != nullptr && object->Layer() != drawing->CurrentLayer()) {
        drawing->MoveObjectToLayer(*object, drawing->CurrentLayer());
        CADPrg().RequestRepaint();
    }
    next = Default();
}

const StateClass TCopyPicked::Class{"TCopyPicked", &CreateState<TCopyPicked>};

TCopyPicked::TCopyPicked(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    const std::int32_t id = PickedId(*this);
    if (id < 0) {
        FreeParam();
        next = Default();
        return;
    }
    SetParam(ParamRef(std::make_unique<TCopyVectorParam>(id)));
    next = &TQV2D_DrawSizedPrimitive::Class;
}

const StateClass TCopyPlaced::Class{"TCopyPlaced", &CreateState<TCopyPlaced>};

TCopyPlaced::TCopyPlaced(TCADPrg& program, ParamRef param, const StateClass*& next)
    : TCAD2DTaskState(program, std::move(param), next) {
    auto* vector = dynamic_cast<TCopyVectorParam*>(Param());
    TQVCmp2D* drawing = View().CADCmp2D();
    if (drawing != nullptr && vector != nullptr && vector->Primitive() != nullptr) {
        const TPoint2D from = CartesianPoint(vector->Primitive()->Points().Get(0));
        const TPoint2D to = CartesianPoint(vector->Primitive()->Points().Get(1));
        if (CopiaOggetto(*drawing, vector->SourceId, TranslationMatrix2D(to.X - from.X, to.Y - from.Y)) != nullptr)
            CADPrg().RequestRepaint();
    }
    FreeParam();
    next = Default();
}

}  // namespace calvoro
