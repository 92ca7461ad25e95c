// The segment entity.
#include "kernel/entities/TLine2D.h"

#include "kernel/draw/TransformedDrawing.h"

namespace calvoro {

const TGraphicObjectClass TLine2D::Class{"TLine2D", &TPrimitive2D::Class, &ConstructFromStream<TLine2D>};

TLine2D::TLine2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2) : TPrimitive2D(id, 2) {
    const TPoint2D points[] = {p1, p2};
    PlacePoints(points, false);
}

TLine2D::TLine2D(BinaryReader& reader, const VersionTag& version) : TPrimitive2D(reader, version) {
    RequirePointCount({2});
}

std::unique_ptr<TObject2D> TLine2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TLine2D>(new TLine2D(ID())));
}

bool TLine2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TLine2D::Class);
}

void TLine2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TPrimitive2D::Assign(source);
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 1, false);
}

void TLine2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int /*mode*/, const TRect2D& clipRect) {
    DrawLine2D(canvas, clipRect, Points().Get(0), Points().Get(1), DrawingMatrix(matrix));
}

int TLine2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    return HitControlPolyline(point, distance, aperture);
}

}  // namespace calvoro
