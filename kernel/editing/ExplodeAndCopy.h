// Whole-object operations of the drawing commands: a world copy of an object,
// exploding a composite (container, block instance, frame, polyline) into
// plain entities, and deleting the entities smaller than a limit. Each either
// finishes or leaves the drawing as it was.
#pragma once

#include "kernel/geometry/Matrix2D.h"

#include <cstdint>
#include <memory>

namespace calvoro {

class TObject2D;
class TQVCmp2D;

// A copy of object in world coordinates, with `outer` applied after the
// object's own transform: points, lines, frames, circles, arcs (with their
// angles), polylines and splines are rebuilt from their control points; any
// other class is cloned with the transform frozen into it, so nothing is left
// behind. The copy has no ID yet.
std::unique_ptr<TObject2D> WorldCopy(const TObject2D& object, const TMatrix2D& outer = IdentityMatrix2D);

// Adds a world copy of the object to the drawing (moved on by `outer`), on the
// object's layer; the copy, or none when the object is not in the drawing.
TObject2D* CopiaOggetto(TQVCmp2D& drawing, std::int32_t id, const TMatrix2D& outer = IdentityMatrix2D);

struct ExplodeCounts {
    int Lines = 0;
    int CirclesAndArcs = 0;
    int Polylines = 0;
    int Others = 0;  // members carried over as they are (texts, nested blocks ...)
};

// Replaces the composite `id` by its members in world coordinates: every
// member of a container or of a block's source (each on its own layer), the
// four sides of a frame, the N - 1 segments of a polyline of N points (on the
// composite's layer). The composite is deleted, and a source block no other
// instance uses goes with its last instance. Returns false, changing nothing,
// for an object that is none of these, a polyline of fewer than two points, an
// empty container or an unlinked block.
bool EsplodeBlocco(TQVCmp2D& drawing, std::int32_t id, ExplodeCounts& counts);

// Deletes every object except pictures whose box is narrower than limit and
// lower than limit (both strictly); the number deleted.
int DeleteSmallObjects(TQVCmp2D& drawing, double limit);

}  // namespace calvoro
