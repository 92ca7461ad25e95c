// The closed ellipse entity.
#include "kernel/entities/TEllipse2D.h"

#include "kernel/entities/CurveLinearisation.h"
#include "kernel/entities/CurveParameters.h"
#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TFrame2D.h"

namespace calvoro {

const TGraphicObjectClass TEllipse2D::Class{"TEllipse2D", &TCurve2D::Class, &ConstructFromStream<TEllipse2D>};

TEllipse2D::TEllipse2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2) : TCurve2D(id, 2, DefaultSegmentCount) {
    const TPoint2D points[] = {p1, p2};
    PlacePoints(points, false);
}

TEllipse2D::TEllipse2D(BinaryReader& reader, const VersionTag& version) : TCurve2D(reader, version) {
    RequirePointCount({2});
}

std::unique_ptr<TObject2D> TEllipse2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TEllipse2D>(new TEllipse2D(ID())));
}

bool TEllipse2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TEllipse2D::Class) || source.InheritsFrom(TFrame2D::Class) ||
           source.InheritsFrom(TArco2D::Class);
}

void TEllipse2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TCurve2D::Assign(source);
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 1, false);
}

void TEllipse2D::BuildCurvePoints(TRect2D& box) {
    box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    if (SegmentCount() == 0) return;
    const TEllipseParameters e = EllipseParameters(Points());
    SetProfile(ConicProfile(e.CX, e.CY, e.RX, e.RY, SegmentCount()), SegmentCount() + 1, box);
}

}  // namespace calvoro
