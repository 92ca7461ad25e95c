// Gathering an editing command's changes and putting them into the drawing.
#include "kernel/editing/DrawingChange.h"

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TPrimitive2D.h"

#include <cmath>

namespace calvoro {

namespace {

bool Finite(const TPoint2D& p) {
    return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.W);
}

// The drawing puts new objects on its current layer; a piece goes on its
// source's layer, and the entity tree files it there.
class CurrentLayerScope {
public:
    CurrentLayerScope(TQVCmp2D& drawing, int layer) : drawing_(drawing), saved_(drawing.CurrentLayer()) {
        drawing_.SetCurrentLayer(layer);
    }
    ~CurrentLayerScope() { drawing_.SetCurrentLayer(saved_); }
    CurrentLayerScope(const CurrentLayerScope&) = delete;
    CurrentLayerScope& operator=(const CurrentLayerScope&) = delete;

private:
    TQVCmp2D& drawing_;
    int saved_;
};

}  // namespace

void DrawingChange::Add(std::unique_ptr<TObject2D> object) {
    added_.push_back(NewObject{std::move(object), nullptr});
}

void DrawingChange::AddPiece(std::unique_ptr<TObject2D> object, const TObject2D& source) {
    added_.push_back(NewObject{std::move(object), &source});
}

void DrawingChange::Delete(const TObject2D& object) {
    deleted_.push_back(&object);
}

void DrawingChange::MoveEnds(TPrimitive2D& object, const TPoint2D& a, const TPoint2D& b) {
    moved_.push_back(Move{&object, a, b});
}

bool DrawingChange::AllFinite() const {
    for (const NewObject& added : added_) {
        const auto* primitive = dynamic_cast<const TPrimitive2D*>(added.Object.get());
        if (primitive == nullptr) continue;
        for (const TPoint2D& p : primitive->Points().Points()) {
            if (!Finite(p)) return false;
        }
    }
    for (const Move& move : moved_) {
        if (!Finite(move.A) || !Finite(move.B)) return false;
    }
    return true;
}

EditOutcome DrawingChange::Apply(TQVCmp2D& drawing, EditOutcome outcome) {
    if (!AllFinite()) return EditOutcome::Refused(EditStatus::OutOfRange);
    if (drawing.HasIterators()) return EditOutcome::Refused(EditStatus::DrawingBusy);
    outcome.Status = EditStatus::Done;

    for (const Move& move : moved_) {
        move.Object->ClearTransforms();
        move.Object->Points().SetPoint(0, move.A);
        move.Object->Points().SetPoint(1, move.B);
        outcome.Changed.push_back(move.Object->ID());
    }
    for (NewObject& added : added_) {
        TGraphicObject* placed = nullptr;
        if (added.Source != nullptr) {
            added.Object->SetVisible(added.Source->Visible());
            added.Object->SetEnabled(added.Source->Enabled());
            added.Object->SetMustSave(added.Source->MustSave());
            added.Object->SetUseLayerColor(added.Source->UseLayerColor());
            const CurrentLayerScope layer(drawing, added.Source->Layer());
            placed = drawing.AddObject(-1, std::move(added.Object));
        } else {
            placed = drawing.AddObject(-1, std::move(added.Object));
        }
        outcome.Added.push_back(placed->ID());
    }
    // Last, as the pieces read their sources.
    for (const TObject2D* object : deleted_) {
        const std::int32_t id = object->ID();
        drawing.DeleteObject(id);
        outcome.Deleted.push_back(id);
    }
    added_.clear();
    deleted_.clear();
    moved_.clear();
    return outcome;
}

}  // namespace calvoro
