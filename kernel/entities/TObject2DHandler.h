// The control-point handler: one object that draws and picks the control
// points of a whole class of 2D objects (all primitives share one). Objects
// hold it through a shared pointer, so it lives as long as an object uses it.
#pragma once

#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Picking.h"
#include "kernel/geometry/Point2D.h"

namespace calvoro {

class TDecorativeCanvas;
class TObject2D;

class TObject2DHandler {
public:
    TObject2DHandler() = default;
    virtual ~TObject2DHandler() = default;
    TObject2DHandler(const TObject2DHandler&) = delete;
    TObject2DHandler& operator=(const TObject2DHandler&) = delete;

    // Matrix maps the object's world coordinates to pixels; Width is the side
    // of a control-point square in pixels.
    virtual void DrawControlPoints(const TObject2D& /*object*/, const TMatrix2D& /*matrix*/, int /*width*/,
                                   TDecorativeCanvas& /*canvas*/) {}
    // The index of the control point hit (>= 0), or kHitMiss. Distance holds
    // the best distance so far on entry and the distance of the point hit on
    // return.
    virtual int HitControlPoints(const TObject2D& /*object*/, const TPoint2D& /*point*/, double& /*distance*/,
                                 double /*aperture*/) {
        return kHitMiss;
    }
};

}  // namespace calvoro
