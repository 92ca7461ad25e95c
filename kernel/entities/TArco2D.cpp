// The circular arc entity and the arc queries of the object snap.
#include "kernel/entities/TArco2D.h"

#include "kernel/entities/CurveLinearisation.h"
#include "kernel/entities/TEllipse2D.h"
#include "kernel/entities/TFrame2D.h"
#include "kernel/geometry/PlaneGeometry.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <cmath>

namespace calvoro {

const TGraphicObjectClass TArco2D::Class{"TArco2D", &TCurve2D::Class, &ConstructFromStream<TArco2D>};

namespace {
// Angles no arc has: the first SetStartAngle / SetEndAngle always places its point.
constexpr double UnsetAngle = 999.123;
}  // namespace

TArco2D::TArco2D(std::int32_t id, const TPoint2D& p1, const TPoint2D& p2, double startAngle, double endAngle)
    : TCurve2D(id, 4, DefaultSegmentCount) {
    const TPoint2D origin = MakePoint2D(0.0, 0.0);
    const TPoint2D points[] = {p1, p2, origin, origin};
    Points().DisableEvents(true);
    for (int i = 0; i < 4; ++i) Points().Put(i, points[i]);
    ends_ = TArcEnds{UnsetAngle, UnsetAngle, 1};
    SetStartAngle(startAngle);
    SetEndAngle(endAngle);
    Points().DisableEvents(false);
    Points().SetGrowable(false);
    RecalcBox();
}

TArco2D::TArco2D(BinaryReader& reader, const VersionTag& version) : TCurve2D(reader, version) {
    RequirePointCount({2, 4});
    const TCircleParameters c = CircleParameters(Points());
    ReadArcEnds(reader, ends_, Points(), c.CX, c.CY, MakePoint2D(c.CX + c.R, c.CY));
}

std::unique_ptr<TObject2D> TArco2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TArco2D>(new TArco2D(ID())));
}

void TArco2D::SaveToStream(BinaryWriter& writer) {
    TCurve2D::SaveToStream(writer);
    writer.writeUInt8(ends_.Direction);
}

bool TArco2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TArco2D::Class) || source.InheritsFrom(TEllipse2D::Class) ||
           source.InheritsFrom(TFrame2D::Class);
}

void TArco2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    TCurve2D::Assign(source);
    if (!AcceptsPointsOf(source)) return;
    const auto* other = dynamic_cast<const TArco2D*>(&source);
    TakeArcCopy(Points(), ends_, dynamic_cast<const TPrimitive2D&>(source).Points(),
                other != nullptr ? &other->ends_ : nullptr);
}

void TArco2D::PutEnd(int index, double angle) {
    const TCircleParameters c = CircleParameters(Points());
    Points().SetPoint(index, MakePoint2D(c.CX + c.R * std::cos(angle), c.CY + c.R * std::sin(angle)));
}

void TArco2D::SetStartAngle(double angle) {
    if (angle == ends_.StartAngle) return;
    ends_.StartAngle = angle;
    PutEnd(2, angle);
}

void TArco2D::SetEndAngle(double angle) {
    if (angle == ends_.EndAngle) return;
    ends_.EndAngle = angle;
    PutEnd(3, angle);
}

void TArco2D::BuildCurvePoints(TRect2D& box) {
    box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    const TCircleParameters c = CircleParameters(Points());
    ends_.FollowPoints(Points(), c.CX, c.CY);
    if (SegmentCount() == 0) return;
    SetProfile(
        ArcProfile(c.CX, c.CY, c.R, c.R, ends_.StartAngle, ends_.EndAngle, ends_.CounterClockwise(), SegmentCount()),
        SegmentCount() + 1, box);
}

TArcData TArco2D::GetArcData() const {
    const TCircleParameters c = CircleParameters(Points());
    // The drawn ends, on the circle.
    const double ySign = ends_.CounterClockwise() ? 1.0 : -1.0;
    const auto onCircle = [&](double a) {
        return MakePoint2D(c.CX + c.R * std::cos(a), c.CY + ySign * c.R * std::sin(a));
    };
    TPoint2D centre = MakePoint2D(c.CX, c.CY);
    TPoint2D radiusPoint = CartesianPoint(Points().Get(1));
    TPoint2D start = onCircle(ends_.StartAngle);
    TPoint2D end = onCircle(ends_.EndAngle);
    bool counterClockwise = ends_.CounterClockwise();
    if (HasTransform()) {
        const TMatrix2D m = GetObjectMatrix();
        centre = CartesianPoint(PointTimesMatrix2D(centre, m));
        radiusPoint = CartesianPoint(PointTimesMatrix2D(radiusPoint, m));
        start = CartesianPoint(PointTimesMatrix2D(start, m));
        end = CartesianPoint(PointTimesMatrix2D(end, m));
        // A mirror turns the arc's direction round; a scale, even an uneven
        // one, does not.
        const double determinant = m.M[0][0] * m.M[1][1] - m.M[0][1] * m.M[1][0];
        if (determinant < 0.0) counterClockwise = !counterClockwise;
    }
    TArcData data;
    data.Centre = centre;
    data.Radius = PointDistance2D(centre, radiusPoint);
    const double startAngle = std::atan2(start.Y - centre.Y, start.X - centre.X);
    const double endAngle = std::atan2(end.Y - centre.Y, end.X - centre.X);
    data.StartAngle = counterClockwise ? startAngle : endAngle;
    data.EndAngle = counterClockwise ? endAngle : startAngle;
    data.Sweep = SweepAngle(1, data.StartAngle, data.EndAngle);
    data.StartPoint = MakePoint2D(centre.X + data.Radius * std::cos(data.StartAngle),
                                  centre.Y + data.Radius * std::sin(data.StartAngle));
    data.EndPoint =
        MakePoint2D(centre.X + data.Radius * std::cos(data.EndAngle), centre.Y + data.Radius * std::sin(data.EndAngle));
    return data;
}

TPoint2D TArco2D::ArcPointAt(double f) const {
    const TArcData data = GetArcData();
    if (std::fabs(f) <= 1e-14) return data.StartPoint;
    if (std::fabs(f - 1.0) <= 1e-14) return data.EndPoint;
    const double a = data.StartAngle + f * data.Sweep;
    return MakePoint2D(data.Centre.X + data.Radius * std::cos(a), data.Centre.Y + data.Radius * std::sin(a));
}

}  // namespace calvoro
