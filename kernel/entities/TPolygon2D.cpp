// The closed polygon entity.
#include "kernel/entities/TPolygon2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/geometry/PixelConversion.h"

namespace calvoro {

const TGraphicObjectClass TPolygon2D::Class{"TPolygon2D", &TPolyline2D::Class, &ConstructFromStream<TPolygon2D>};

std::unique_ptr<TObject2D> TPolygon2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TPolygon2D>(new TPolygon2D(ID())));
}

void TPolygon2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int /*mode*/, const TRect2D& /*clipRect*/) {
    Points().DrawAsPolygon(canvas, RectToRect2D(canvas.Target().ClipRect()), Points().GetBox(), DrawingMatrix(matrix));
}

int TPolygon2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    const int result = TPolyline2D::HitTest(point, distance, aperture);
    if (result != kHitNearBox) return result;
    return HitFilledPolygon(Points().Points(), point, distance, aperture);
}

}  // namespace calvoro
