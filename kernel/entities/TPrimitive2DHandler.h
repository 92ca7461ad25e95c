// The control-point handler that every primitive shares: a silver square at
// each control point, and the pick of the nearest control point.
#pragma once

#include "kernel/entities/TObject2DHandler.h"

#include <memory>

namespace calvoro {

class TPrimitive2DHandler : public TObject2DHandler {
public:
    // The one instance the primitives share.
    static const std::shared_ptr<TPrimitive2DHandler>& Shared();

    // A square of side Width at each control point, in index order.
    void DrawControlPoints(const TObject2D& object, const TMatrix2D& matrix, int width,
                           TDecorativeCanvas& canvas) override;
    // The control point (in world coordinates) nearest the point within the
    // square of half side Aperture, no farther than Distance on entry; ties
    // go to the later index.
    int HitControlPoints(const TObject2D& object, const TPoint2D& point, double& distance, double aperture) override;
};

}  // namespace calvoro
