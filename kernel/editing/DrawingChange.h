// The changes one editing command makes, gathered first and put into the
// drawing together at the end, so that a command that finds it cannot finish
// leaves the drawing as it was. New objects go in through the drawing's own
// add (IDs, entity tree, viewports); objects that replace a picked object (its
// pieces, a circle turned into arcs) keep that object's layer and switches.
#pragma once

#include "kernel/editing/EditOutcome.h"

#include <memory>
#include <vector>

namespace calvoro {

class TObject2D;
class TPrimitive2D;
class TQVCmp2D;

class DrawingChange {
public:
    // A new object on the drawing's current layer.
    void Add(std::unique_ptr<TObject2D> object);
    // A new object standing for part of `source`.
    void AddPiece(std::unique_ptr<TObject2D> object, const TObject2D& source);
    void Delete(const TObject2D& object);
    // A line, or a polyline of two points, gets new world end points; its
    // transforms are dropped first, so they do not apply twice.
    void MoveEnds(TPrimitive2D& object, const TPoint2D& a, const TPoint2D& b);

    bool Empty() const { return added_.empty() && deleted_.empty() && moved_.empty(); }

    // Puts everything into the drawing and reports it in `outcome` (whose
    // marks are kept). Refuses, changing nothing, while the drawing's objects
    // are being walked or when a coordinate is not finite.
    EditOutcome Apply(TQVCmp2D& drawing, EditOutcome outcome = {});

private:
    struct NewObject {
        std::unique_ptr<TObject2D> Object;
        const TObject2D* Source = nullptr;
    };
    struct Move {
        TPrimitive2D* Object = nullptr;
        TPoint2D A, B;
    };
    bool AllFinite() const;

    std::vector<NewObject> added_;
    std::vector<const TObject2D*> deleted_;
    std::vector<Move> moved_;
};

}  // namespace calvoro
