// The rational B-spline entity: a non-uniform rational B-spline of degree p
// over its control points, with its own knot vector and one weight per
// control point. The record after the curve's:
//   five bytes kept as they are, u32 Degree, u32 knot count N and N reals,
//   u32 weight count M and M reals.
// Degree, knots and weights are stored as read; a spline they do not define
// (see IsEvaluableRationalBSpline) is drawn as its control polygon.
#pragma once

#include "kernel/entities/TCurve2D.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace calvoro {

class TQVBSpline2D : public TCurve2D {
public:
    static const TGraphicObjectClass Class;

    // The spline over the points; the control points stay growable.
    TQVBSpline2D(std::int32_t id, std::span<const TPoint2D> points, std::uint32_t degree, std::vector<double> knots,
                 std::vector<double> weights);
    // Refuses counts that do not fit in the stream.
    TQVBSpline2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;

    void SaveToStream(BinaryWriter& writer) override;
    // From another rational spline: the five bytes, degree, knots, weights
    // and all control points.
    void Assign(const TGraphicObject& source) override;

    std::uint32_t Degree() const { return degree_; }
    const std::vector<double>& Knots() const { return knots_; }
    const std::vector<double>& Weights() const { return weights_; }
    std::size_t KnotCount() const { return knots_.size(); }
    std::size_t VectorCount() const { return static_cast<std::size_t>(Points().Count()); }
    const std::array<std::uint8_t, 5>& StoredBytes() const { return storedBytes_; }

protected:
    explicit TQVBSpline2D(std::int32_t id) : TCurve2D(id, 0, DefaultSegmentCount) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
    // With fewer control points than degree + 1, or data that define no
    // spline, the control polygon. Otherwise missing weights become 1 and
    // the profile has SegmentCount points (raised, with SegmentCount, to the
    // number of control points) from the start of the domain to its end.
    void BuildCurvePoints(TRect2D& box) override;

private:
    std::array<std::uint8_t, 5> storedBytes_{};
    std::uint32_t degree_ = 0;
    std::vector<double> knots_;
    std::vector<double> weights_;
};

}  // namespace calvoro
