// The point entity.
#include "kernel/entities/TPunto2D.h"

#include "kernel/draw/TransformedDrawing.h"

namespace calvoro {

const TGraphicObjectClass TPunto2D::Class{"TPunto2D", &TPrimitive2D::Class, &ConstructFromStream<TPunto2D>};

TPunto2D::TPunto2D(std::int32_t id, const TPoint2D& p) : TPrimitive2D(id, 1) {
    const TPoint2D points[] = {p};
    PlacePoints(points, false);
}

TPunto2D::TPunto2D(BinaryReader& reader, const VersionTag& version) : TPrimitive2D(reader, version) {
    RequirePointCount({1});
}

std::unique_ptr<TObject2D> TPunto2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TPunto2D>(new TPunto2D(ID())));
}

bool TPunto2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TPunto2D::Class);
}

void TPunto2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TPrimitive2D::Assign(source);
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 0, false);
}

void TPunto2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int /*mode*/, const TRect2D& clipRect) {
    DrawPoint2D(canvas, clipRect, Points().Get(0), DrawingMatrix(matrix));
}

int TPunto2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    return HitControlPolyline(point, distance, aperture);
}

}  // namespace calvoro
