// The uniform open B-spline entity: its control points are the control
// polygon, Order the order of the spline (3, quadratic, unless a record says
// otherwise). A spline with fewer control points than its order is drawn as
// its control polygon. The record after the curve's adds u8 Order.
#pragma once

#include "kernel/entities/TCurve2D.h"

#include <span>

namespace calvoro {

class TBSpline2D : public TCurve2D {
public:
    static const TGraphicObjectClass Class;
    static constexpr std::uint8_t DefaultOrder = 3;

    // A growable spline of order 3 over the points.
    TBSpline2D(std::int32_t id, std::span<const TPoint2D> points);
    // Refuses order 0, and an order above both the point count and the
    // default order.
    TBSpline2D(BinaryReader& reader, const VersionTag& version);

    const TGraphicObjectClass& ClassType() const override { return Class; }
    std::unique_ptr<TObject2D> Clone() const override;
    void SaveToStream(BinaryWriter& writer) override;
    // From another spline: its order and all its points; stays growable.
    void Assign(const TGraphicObject& source) override;

    std::uint8_t Order() const { return order_; }

protected:
    explicit TBSpline2D(std::int32_t id) : TCurve2D(id, 0, DefaultSegmentCount) {}
    bool AcceptsPointsOf(const TGraphicObject& source) const override;
    void BuildCurvePoints(TRect2D& box) override;

private:
    std::uint8_t order_ = DefaultOrder;
};

}  // namespace calvoro
