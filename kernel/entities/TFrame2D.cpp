// The frame entity.
#include "kernel/entities/TFrame2D.h"

#include "kernel/entities/CurveLinearisation.h"
#include "kernel/entities/TEllipse2D.h"
#include "kernel/entities/TEllipseOpen2D.h"

namespace calvoro {

const TGraphicObjectClass TFrame2D::Class{"TFrame2D", &TCurve2D::Class, &ConstructFromStream<TFrame2D>};

TFrame2D::TFrame2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2) : TCurve2D(id, 2, DefaultSegmentCount) {
    const TPoint2D points[] = {p1, p2};
    PlacePoints(points, false);
}

TFrame2D::TFrame2D(BinaryReader& reader, const VersionTag& version) : TCurve2D(reader, version) {
    RequirePointCount({2});
}

std::unique_ptr<TObject2D> TFrame2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TFrame2D>(new TFrame2D(ID())));
}

bool TFrame2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TFrame2D::Class) || source.InheritsFrom(TEllipse2D::Class) ||
           source.InheritsFrom(TEllipseOpen2D::Class);
}

void TFrame2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TCurve2D::Assign(source);
    if (AcceptsPointsOf(source)) TakePoints(source, 0, 1, false);
}

void TFrame2D::BuildCurvePoints(TRect2D& box) {
    box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    if (SegmentCount() == 0) return;
    SetProfile(FrameProfile(Points().Get(0), Points().Get(1)), SegmentCount() + 1, box);
}

}  // namespace calvoro
