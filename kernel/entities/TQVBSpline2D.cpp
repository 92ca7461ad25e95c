// The rational B-spline entity.
#include "kernel/entities/TQVBSpline2D.h"

#include "kernel/entities/RationalBSplineMath.h"
#include "kernel/model/BinaryReader.h"
#include "kernel/model/BinaryWriter.h"

#include <algorithm>

namespace calvoro {

namespace {

std::vector<double> ReadReals(BinaryReader& reader, const char* what) {
    const std::uint32_t count = reader.readUInt32();
    reader.requireAvailable(count, sizeof(double), what);
    std::vector<double> values(count);
    for (double& value : values) value = reader.readFloat64();
    return values;
}

void WriteReals(BinaryWriter& writer, const std::vector<double>& values) {
    writer.writeUInt32(static_cast<std::uint32_t>(values.size()));
    for (const double value : values) writer.writeFloat64(value);
}

}  // namespace

const TGraphicObjectClass TQVBSpline2D::Class{"TQVBSpline2D", &TCurve2D::Class, &ConstructFromStream<TQVBSpline2D>};

TQVBSpline2D::TQVBSpline2D(std::int32_t id, std::span<const TPoint2D> points, std::uint32_t degree,
                           std::vector<double> knots, std::vector<double> weights)
    : TCurve2D(id, static_cast<int>(points.size()), DefaultSegmentCount),
      degree_(degree),
      knots_(std::move(knots)),
      weights_(std::move(weights)) {
    PlacePoints(points, true);
}

TQVBSpline2D::TQVBSpline2D(BinaryReader& reader, const VersionTag& version) : TCurve2D(reader, version) {
    for (std::uint8_t& byte : storedBytes_) byte = reader.readUInt8();
    degree_ = reader.readUInt32();
    knots_ = ReadReals(reader, "TQVBSpline2D knots");
    weights_ = ReadReals(reader, "TQVBSpline2D weights");
}

std::unique_ptr<TObject2D> TQVBSpline2D::Clone() const {
    return CloneByAssign(*this, std::unique_ptr<TQVBSpline2D>(new TQVBSpline2D(ID())));
}

void TQVBSpline2D::SaveToStream(BinaryWriter& writer) {
    TCurve2D::SaveToStream(writer);
    for (const std::uint8_t byte : storedBytes_) writer.writeUInt8(byte);
    writer.writeUInt32(degree_);
    WriteReals(writer, knots_);
    WriteReals(writer, weights_);
}

bool TQVBSpline2D::AcceptsPointsOf(const TGraphicObject& source) const {
    return source.InheritsFrom(TQVBSpline2D::Class);
}

void TQVBSpline2D::Assign(const TGraphicObject& source) {
    if (&source == this) return;
    const auto* other = dynamic_cast<const TQVBSpline2D*>(&source);
    if (other != nullptr) {
        // Before the points arrive, so that the box they bring is built with them.
        storedBytes_ = other->storedBytes_;
        degree_ = other->degree_;
        knots_ = other->knots_;
        weights_ = other->weights_;
    }
    TCurve2D::Assign(source);
    if (other != nullptr) TakePoints(source, 0, other->Points().Count() - 1, true);
}

void TQVBSpline2D::BuildCurvePoints(TRect2D& box) {
    box = MakeRect2D(0.0, 0.0, 0.0, 0.0);
    if (SegmentCount() == 0) return;
    const std::span<const TPoint2D> control = Points().Points();
    const int controlCount = static_cast<int>(control.size());
    if (static_cast<std::uint64_t>(controlCount) > degree_ && weights_.size() < control.size()) {
        weights_.resize(control.size(), 1.0);
    }
    const RationalBSplineData spline{static_cast<int>(std::min<std::uint32_t>(degree_, kMaxRationalBSplineDegree + 1)),
                                     knots_, control, weights_};
    if (static_cast<std::uint64_t>(controlCount) <= degree_ || !IsEvaluableRationalBSpline(spline)) {
        SetProfile(control, controlCount, box);
        return;
    }
    if (controlCount > SegmentCount()) SetSegmentCount(static_cast<std::uint16_t>(controlCount));
    const int count = std::max<int>(SegmentCount(), 2);
    SetProfile(RationalBSplineProfile(spline, count), count, box);
}

}  // namespace calvoro
