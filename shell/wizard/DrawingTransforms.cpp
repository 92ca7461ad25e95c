#include "shell/wizard/DrawingTransforms.h"

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/editing/WorldShapes.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TBitmap2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/program/TCADPrg.h"
#include "kernel/view/TQVViewport.h"

namespace calvoro {

namespace {

// Calls visit for every object of the drawing that is not the picture.
void ForEachDrawnObject(TQVCmp2D& drawing, const std::function<void(TObject2D&)>& visit) {
    auto iterator = drawing.ObjectListIterator();
    for (TGraphicObject* object = iterator->First(); object != nullptr; object = iterator->Next()) {
        auto* object2D = dynamic_cast<TObject2D*>(object);
        if (object2D != nullptr && dynamic_cast<TBitmap2D*>(object2D) == nullptr) visit(*object2D);
    }
}

void TransformAllButPicture(TQVCmp2D& drawing, const TMatrix2D& m) {
    ForEachDrawnObject(drawing, [&](TObject2D& object) { object.ApplyTransform(m); });
    drawing.RepaintViewports();
}

}  // namespace

void MuoveTutto(TQVCmp2D& drawing, double dx, double dy) {
    TransformAllButPicture(drawing, TranslationMatrix2D(dx, dy));
}

void RuotaTutto(TQVCmp2D& drawing, double degrees) {
    TransformAllButPicture(drawing, RotationMatrix2D(degrees * std::numbers::pi / 180.0));
}

void ScalaTutto(TQVCmp2D& drawing, double sx, double sy) {
    const TMatrix2D scaling = ScalingMatrix2D(sx, sy);
    struct Replacement {
        std::int32_t id;
        std::uint8_t layer;
        std::vector<TPoint2D> outline;
    };
    std::vector<Replacement> replacements;
    ForEachDrawnObject(drawing, [&](TObject2D& object) {
        const bool round = dynamic_cast<TCerchio2D*>(&object) != nullptr || dynamic_cast<TArco2D*>(&object) != nullptr;
        if (round && sx != sy) {
            replacements.push_back({object.ID(), object.Layer(), WorldPolylineOf(object)});
        } else {
            object.ApplyTransform(scaling);
        }
    });
    for (Replacement& replacement : replacements) {
        drawing.DeleteObject(replacement.id);
        auto polyline = std::make_unique<TPolyline2D>(-1, replacement.outline);
        polyline->ApplyTransform(scaling);
        TGraphicObject* added = drawing.AddObject(-1, std::move(polyline));
        added->SetLayer(replacement.layer);
    }
    drawing.RepaintViewports();
}

void MirrorAll(TQVCmp2D& drawing, int axis, TCADPrg* program) {
    if (axis != kMirrorY && axis != kMirrorX && axis != kMirrorBoth) return;
    TransformAllButPicture(drawing, MirrorMatrix2D(axis));
    if (program != nullptr) program->PostCommandEvent(kCommandAccept);
}

void RimuoveTuttoTrasforma(TQVCmp2D& drawing) {
    {
        auto iterator = drawing.ObjectListIterator();
        for (TGraphicObject* object = iterator->First(); object != nullptr; object = iterator->Next()) {
            if (auto* object2D = dynamic_cast<TObject2D*>(object)) object2D->ClearTransforms();
        }
    }
    drawing.RepaintViewports();
}

void MoveAllKeepingView(TQVCmp2D& drawing, TQVViewport& view, double dx, double dy) {
    if (dx == 0.0 && dy == 0.0) return;
    const std::int32_t every[] = {-1};
    drawing.TransformObjects(every, TranslationMatrix2D(dx, dy));
    view.PanView(dx, dy);
}

}  // namespace calvoro
