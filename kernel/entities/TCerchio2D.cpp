// The circle entity.
#include "kernel/entities/TCerchio2D.h"

#include "kernel/entities/CurveLinearisation.h"
#include "kernel/entities/CurveParameters.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TEllipse2D.h"
#include "kernel/entities/TFrame2D.h"

namespace calvoro {

const TGraphicObjectClass TCerchio2D::Class{"TCerchio2D", &TCurve2D::Class, &ConstructFromStream<TCerchio2D>};

TCerchio2D::TCerchio2D(std::int32_t id, const TPoint2D& centre, const TPoint2D& onCircle)
    : TCurve2D(id, 2, DefaultSegmentCount) {
    const TPoint2D points[] = {centre, onCircle};
    PlacePoints(points, false);
}

TCerchio2D::TCerchio2D(BinaryReader& reader, const VersionTag& version) : TCurve2D(reader, version) {
    RequirePointCount({2});
}

std::unique_ptr<TObject2D> TCerchio2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TCerchio2D>(new TCerchio2D(ID())));
}

bool TCerchio2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TEllipse2D::Class) || source.InheritsFrom(TFrame2D::Class) ||
           source.InheritsFrom(TArco2D::Class) || source.InheritsFrom(TCerchio2D::Class);
}

void TCerchio2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TCurve2D::Assign(source);
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 1, false);
}

void TCerchio2D::BuildCurvePoints(TRect2D& box) {
    box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    if (SegmentCount() == 0) return;
    const TCircleParameters c = CircleParameters(Points());
    SetProfile(ConicProfile(c.CX, c.CY, c.R, c.R, SegmentCount()), SegmentCount() + 1, box);
}

}  // namespace calvoro
