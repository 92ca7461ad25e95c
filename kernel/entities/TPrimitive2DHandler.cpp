// Control points of the primitives.
#include "kernel/entities/TPrimitive2DHandler.h"

#include "kernel/draw/TransformedDrawing.h"
#include "kernel/entities/TPrimitive2D.h"
#include "kernel/geometry/PixelConversion.h"

namespace calvoro {

const std::shared_ptr<TPrimitive2DHandler>& TPrimitive2DHandler::Shared() {
    static const std::shared_ptr<TPrimitive2DHandler> handler = std::make_shared<TPrimitive2DHandler>();
    return handler;
}

void TPrimitive2DHandler::DrawControlPoints(const TObject2D& object, const TMatrix2D& matrix, int width,
                                            TDecorativeCanvas& canvas) {
    // Another class may have taken the handler over by Assign: it has no
    // control points of this kind.
    const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object);
    if (primitive == nullptr) return;
    const TMatrix2D m = object.HasTransform() ? MultiplyMatrix2D(object.GetObjectMatrix(), matrix) : matrix;
    for (const TPoint2D& p : primitive->Points().Points()) {
        const TPixelPoint pixel = Point2DToPoint(PointTimesMatrix2D(p, m));
        DrawControlPoint(canvas, pixel.X, pixel.Y, width);
    }
}

int TPrimitive2DHandler::HitControlPoints(const TObject2D& object, const TPoint2D& point, double& distance,
                                          double aperture) {
    const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object);
    if (primitive == nullptr) return kHitMiss;
    const bool transformed = object.HasTransform();
    const TMatrix2D m = object.GetObjectMatrix();
    int result = kHitMiss;
    int index = 0;
    for (const TPoint2D& p : primitive->Points().Points()) {
        double d = kNoDistance;
        if (IsNearPoint2D(point, transformed ? PointTimesMatrix2D(p, m) : p, aperture, d) && d <= distance) {
            result = index;
            distance = d;
        }
        ++index;
    }
    return result;
}

}  // namespace calvoro
