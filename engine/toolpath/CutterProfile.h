// The shape of a cutter as the depth computation sees it: the height of the
// cutter surface above its tip at a distance rho from its axis, for the five
// shapes that can machine a relief. The stock allowance S grows the shape
// outward: the outer radius becomes R + S, the ball and the tips of the
// conical shapes grow by S, the flat part of a bull-nose grows by S while its
// corner keeps its radius. Tip heights computed with the grown shape are then
// raised by S, so the cutter stays at least S clear of the relief everywhere.
#pragma once

#include "engine/tools/ToolRecord.h"

namespace calvoro {

class CutterProfile {
public:
    // Checks the cutter and builds its profile; throws ToolPathError with a
    // message for the user when the cutter cannot machine a relief (drills,
    // undefined shapes, impossible dimensions) or the stock is negative.
    static CutterProfile FromTool(const ToolRecord& tool, double stockAllowance);

    ToolType shape() const { return shape_; }
    double outerRadius() const { return outerRadius_; }  // R + S, work units
    double stockAllowance() const { return stock_; }

    // Height above the tip at distance rho (0 <= rho <= outerRadius()). Never
    // decreases with rho, also in floating point, which the depth computation
    // relies on.
    double height(double rho) const;

    // How fast height grows at rho: its slope from the right, which at a joint
    // of two pieces is the steeper one, as the profile only ever gets steeper
    // outward. Infinite where a ball or corner arc stands vertical.
    double slope(double rho) const;

private:
    CutterProfile() = default;

    ToolType shape_ = ToolType::Flat;
    double stock_ = 0.0;
    double outerRadius_ = 0.0;
    double flatRadius_ = 0.0;    // no height change up to here
    double arcRadius_ = 0.0;     // ball, bull-nose corner or spherical tip
    double arcEndRadius_ = 0.0;  // conical spherical: where the cone takes over
    double arcEndHeight_ = 0.0;
    double slope_ = 0.0;  // cone rise per unit of radius
};

}  // namespace calvoro
