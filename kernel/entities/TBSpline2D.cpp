// The uniform open B-spline entity.
#include "kernel/entities/TBSpline2D.h"

#include "kernel/entities/CurveLinearisation.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/model/CADCoreExceptions.h"

#include <algorithm>
#include <string>

namespace calvoro {

const TGraphicObjectClass TBSpline2D::Class{"TBSpline2D", &TCurve2D::Class, &ConstructFromStream<TBSpline2D>};

TBSpline2D::TBSpline2D(std::int32_t id, std::span<const TPoint2D> points)
    : TCurve2D(id, static_cast<int>(points.size()), DefaultSegmentCount) {
    PlacePoints(points, true);
}

TBSpline2D::TBSpline2D(BinaryReader& reader, const VersionTag& version) : TCurve2D(reader, version) {
    order_ = reader.readUInt8();
    // Order 0 has no basis at all. A spline of the default order with too
    // few points is the program's own (drawn as its polygon); any higher
    // order needs as many points as it has.
    if (order_ == 0 || order_ > std::max<int>(Points().Count(), DefaultOrder)) {
        throw ECADFileNotValid("TBSpline2D.CreateFromStream: Order " + std::to_string(order_) + " over " +
                               std::to_string(Points().Count()) + " control points.");
    }
}

std::unique_ptr<TObject2D> TBSpline2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TBSpline2D>(new TBSpline2D(ID())));
}

void TBSpline2D::SaveToStream(BinaryWriter& writer) {
    TCurve2D::SaveToStream(writer);
    writer.writeUInt8(order_);
}

bool TBSpline2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TBSpline2D::Class);
}

void TBSpline2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TCurve2D::Assign(source);
    if (const auto* other = dynamic_cast<const TBSpline2D*>(&source)) {
        order_ = other->order_;
        TakePoints(source, 0, other->Points().Count() - 1, true);
    }
}

void TBSpline2D::BuildCurvePoints(TRect2D& box) {
    box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    if (SegmentCount() == 0) return;
    const std::span<const TPoint2D> control = Points().Points();
    if (static_cast<int>(control.size()) < order_ || order_ == 0) {
        SetProfile(control, static_cast<int>(control.size()), box);
    } else {
        SetProfile(BSplineProfile(control, order_, SegmentCount()), SegmentCount() + 1, box);
    }
}

}  // namespace calvoro
