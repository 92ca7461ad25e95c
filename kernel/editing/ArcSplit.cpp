// Cutting arcs and circles at points.
#include "kernel/editing/ArcSplit.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/geometry/GeomTolerance.h"
#include "kernel/geometry/PlaneGeometry.h"

#include <algorithm>
#include <cmath>

namespace calvoro {

std::vector<ArcPiece> ArcSplitPieces(const WorldArc& arc, std::span<const TPoint2D> points) {
    std::vector<ArcPiece> pieces;
    if (!(arc.Radius > GeomTolerance())) return pieces;
    const double slack = GeomTolerance() / arc.Radius;
    std::vector<double> cuts;
    for (const TPoint2D& p : points) {
        if (std::fabs(PointDistance(p, arc.Centre) - arc.Radius) > GeomTolerance()) continue;
        const std::optional<double> offset = SweepOffset(arc, p);
        if (!offset) continue;
        if (!arc.Full && (*offset <= slack || arc.Sweep - *offset <= slack)) continue;
        cuts.push_back(*offset);
    }
    std::sort(cuts.begin(), cuts.end());
    // Points closer together than the tolerance make one cut.
    cuts.erase(std::unique(cuts.begin(), cuts.end(), [slack](double a, double b) { return b - a <= slack; }),
               cuts.end());
    if (arc.Full && cuts.size() > 1 && kTwoPi - (cuts.back() - cuts.front()) <= slack) cuts.pop_back();
    if (cuts.empty()) return pieces;

    std::vector<double> bounds;
    if (arc.Full) {
        bounds = cuts;
        bounds.push_back(cuts.front() + kTwoPi);
    } else {
        bounds.push_back(0.0);
        bounds.insert(bounds.end(), cuts.begin(), cuts.end());
        bounds.push_back(arc.Sweep);
    }
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
        pieces.push_back(ArcPiece{arc.Start + bounds[i], arc.Start + bounds[i + 1]});
    }
    return pieces;
}

std::unique_ptr<TArco2D> MakeArcPiece(const WorldArc& arc, const ArcPiece& piece) {
    const TPoint2D radiusPoint = MakePoint2D(arc.Centre.X + arc.Radius, arc.Centre.Y);
    // Equal angles make the full turn; Start + 2 pi would land a rounding
    // error away and leave a sliver instead.
    const bool fullTurn = piece.End - piece.Start >= kTwoPi - 1e-9;
    return std::make_unique<TArco2D>(-1, arc.Centre, radiusPoint, piece.Start, fullTurn ? piece.Start : piece.End);
}

}  // namespace calvoro
