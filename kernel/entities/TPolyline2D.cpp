// The open polyline entity.
#include "kernel/entities/TPolyline2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/TransformedDrawing.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/geometry/PixelConversion.h"

namespace calvoro {

const TGraphicObjectClass TPolyline2D::Class{"TPolyline2D", &TOutline2D::Class, &ConstructFromStream<TPolyline2D>};

TPolyline2D::TPolyline2D(std::int32_t id, std::span<const TPoint2D> points)
    : TOutline2D(id, static_cast<int>(points.size())) {
    PlacePoints(points, true);
}

TPolyline2D::TPolyline2D(BinaryReader& reader, const VersionTag& version) : TOutline2D(reader, version) {}

std::unique_ptr<TObject2D> TPolyline2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TPolyline2D>(new TPolyline2D(ID())));
}

bool TPolyline2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TLine2D::Class) || source.InheritsFrom(TPolyline2D::Class);
}

void TPolyline2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TOutline2D::Assign(source);
    if (AcceptsPointsOf(source)) {
        const auto& other = dynamic_cast<const TPrimitive2D&>(source);
        TakePoints(source, 0, other.Points().Count() - 1, true);
    }
}

void TPolyline2D::Draw(const TMatrix2D& matrix, TDecorativeCanvas& canvas, int /*mode*/, const TRect2D& /*clipRect*/) {
    // Polylines clip to the canvas's own clip box, not to the one handed in.
    Points().DrawAsPolyline(canvas, RectToRect2D(canvas.Target().ClipRect()), Points().GetBox(), DrawingMatrix(matrix));
}

int TPolyline2D::HitTest(const TPoint2D& point, double& distance, double aperture) {
    return HitControlPolyline(point, distance, aperture);
}

}  // namespace calvoro
