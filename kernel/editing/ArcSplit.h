// Cutting an arc or a circle at points on it. The points are ordered by how
// far along the sweep they lie, so an arc that runs across angle 0 is cut in
// the right order; points at either end of an arc, or within the tolerance of
// one, do not cut (they would leave a piece of no sweep, which reads as a full
// circle); a circle has no end of its own, so its pieces start at its first
// cut point.
#pragma once

#include "kernel/editing/WorldShapes.h"

#include <memory>
#include <span>
#include <vector>

namespace calvoro {

class TArco2D;

// Counter-clockwise from Start to End (radians, End > Start); a piece that
// goes all the way round has End = Start + 2 pi.
struct ArcPiece {
    double Start = 0.0;
    double End = 0.0;
};

// The pieces in order along the sweep; none when no point cuts the arc.
// Points further than the tolerance from the circle are ignored.
std::vector<ArcPiece> ArcSplitPieces(const WorldArc& arc, std::span<const TPoint2D> points);

// A world arc entity for one piece (ID -1, centre and radius of the arc).
std::unique_ptr<TArco2D> MakeArcPiece(const WorldArc& arc, const ArcPiece& piece);

}  // namespace calvoro
