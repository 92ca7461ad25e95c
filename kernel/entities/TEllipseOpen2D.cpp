// The open ellipse entity.
#include "kernel/entities/TEllipseOpen2D.h"

#include "kernel/entities/CurveLinearisation.h"
#include "kernel/entities/TEllipse2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/geometry/Transform2D.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

namespace calvoro {

const TGraphicObjectClass TEllipseOpen2D::Class{"TEllipseOpen2D", &TCurve2D::Class,
                                                &ConstructFromStream<TEllipseOpen2D>};

TEllipseOpen2D::TEllipseOpen2D(BinaryReader& reader, const VersionTag& version) : TCurve2D(reader, version) {
    RequirePointCount({2, 4});
    const TEllipseParameters e = EllipseParameters(Points());
    ReadArcEnds(reader, ends_, Points(), e.CX, e.CY, MakePoint2D(e.CX + e.RX, e.CY));
}

std::unique_ptr<TObject2D> TEllipseOpen2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TEllipseOpen2D>(new TEllipseOpen2D(ID())));
}

void TEllipseOpen2D::SaveToStream(BinaryWriter& writer) {
    TCurve2D::SaveToStream(writer);
    writer.writeUInt8(ends_.Direction);
}

bool TEllipseOpen2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TEllipseOpen2D::Class) || source.InheritsFrom(TEllipse2D::Class) ||
           source.InheritsFrom(TFrame2D::Class);
}

void TEllipseOpen2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TCurve2D::Assign(source);
    if (!AcceptsPointsOf(source)) return;
    const auto* other = dynamic_cast<const TEllipseOpen2D*>(&source);
    TakeArcCopy(Points(), ends_, dynamic_cast<const TPrimitive2D&>(source).Points(),
                other != nullptr ? &other->ends_ : nullptr);
}

void TEllipseOpen2D::BuildCurvePoints(TRect2D& box) {
    box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    const TEllipseParameters e = EllipseParameters(Points());
    ends_.FollowPoints(Points(), e.CX, e.CY);
    if (SegmentCount() == 0) return;
    SetProfile(
        ArcProfile(e.CX, e.CY, e.RX, e.RY, ends_.StartAngle, ends_.EndAngle, ends_.CounterClockwise(), SegmentCount()),
        SegmentCount() + 1, box);
    // The box of the whole ellipse, not of the arc.
    box = TransformBoundingBox2D(MakeRect2D(e.CX - e.RX, e.CY - e.RY, e.CX + e.RX, e.CY + e.RY), GetObjectMatrix());
}

}  // namespace calvoro
