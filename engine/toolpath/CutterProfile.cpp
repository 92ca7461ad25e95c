#include "engine/toolpath/CutterProfile.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "engine/toolpath/ToolPathError.h"

namespace calvoro {

namespace {

std::string Quoted(ToolType type) {
    return "\"" + std::string(ToolTypeName(type)) + "\"";
}

// Height of a circular arc of radius r, lowest at distance 0: r - sqrt(r^2 - d^2).
// The clamp keeps rounding at the very end of the arc from producing a NaN.
double ArcHeight(double radius, double distance) {
    return radius - std::sqrt(std::max(0.0, radius * radius - distance * distance));
}

// Slope of that arc at distance d.
double ArcSlope(double radius, double distance) {
    return distance / std::sqrt(std::max(0.0, radius * radius - distance * distance));
}

}  // namespace

CutterProfile CutterProfile::FromTool(const ToolRecord& tool, double stockAllowance) {
    const ToolType type = tool.toolType;
    if (type == ToolType::Drill || type == ToolType::Undefined)
        throw ToolPathError("A cutter of type " + Quoted(type) +
                            " cannot machine a relief. Choose a flat, bull-nose, spherical or conical cutter.");
    const double diameter = tool.diameter;
    if (!(diameter > 0.0) || !std::isfinite(diameter))
        throw ToolPathError("The cutter diameter must be greater than 0.");
    if (!(stockAllowance >= 0.0) || !std::isfinite(stockAllowance))
        throw ToolPathError("The stock to leave must be 0 or more.");

    CutterProfile profile;
    const double radius = diameter / 2.0;
    const double stock = stockAllowance + 0.0;  // a typed "-0" must not flip signs of zero later
    profile.shape_ = type;
    profile.stock_ = stock;
    profile.outerRadius_ = radius + stock;

    switch (type) {
        case ToolType::Flat:
            profile.flatRadius_ = profile.outerRadius_;
            break;
        case ToolType::Spherical:
            profile.arcRadius_ = profile.outerRadius_;
            break;
        case ToolType::BullNose: {
            const double corner = tool.cornerRadius;
            if (!(corner >= 0.0) || corner > radius)
                throw ToolPathError(
                    "The corner radius of a bull-nose cutter must lie between 0 and half its diameter.");
            profile.arcRadius_ = corner;
            profile.flatRadius_ = radius + stock - corner;
            break;
        }
        case ToolType::ConicalFlat:
        case ToolType::ConicalSpherical: {
            const double angle = tool.taperAngle;
            if (!(angle > 0.0 && angle < 90.0))
                throw ToolPathError("The taper angle of a conical cutter must lie between 0 and 90 degrees.");
            const double tip = tool.flatDiameter;
            if (!(tip >= 0.0) || tip > diameter)
                throw ToolPathError("The tip diameter of a conical cutter must lie between 0 and its diameter.");
            const double radians = angle * std::numbers::pi / 180.0;
            profile.slope_ = std::tan(std::numbers::pi / 2.0 - radians);
            const double tipRadius = tip / 2.0 + stock;
            if (type == ToolType::ConicalFlat) {
                // A tip as wide as the cutter leaves no cone: a flat cutter.
                profile.flatRadius_ = std::min(tipRadius, profile.outerRadius_);
            } else {
                // The cone meets the spherical tip where their slopes agree.
                profile.arcRadius_ = tipRadius;
                profile.arcEndRadius_ = std::min(tipRadius * std::cos(radians), profile.outerRadius_);
                profile.arcEndHeight_ = ArcHeight(tipRadius, profile.arcEndRadius_);
            }
            break;
        }
        case ToolType::Drill:
        case ToolType::Undefined:
            break;
    }
    return profile;
}

double CutterProfile::height(double rho) const {
    switch (shape_) {
        case ToolType::Spherical:
            return ArcHeight(arcRadius_, rho);
        case ToolType::BullNose:
            return rho <= flatRadius_ ? 0.0 : ArcHeight(arcRadius_, rho - flatRadius_);
        case ToolType::ConicalFlat:
            return rho <= flatRadius_ ? 0.0 : slope_ * (rho - flatRadius_);
        case ToolType::ConicalSpherical:
            // Both pieces take their value at the joint from the arc, so the
            // profile cannot step down there by a rounding.
            return rho <= arcEndRadius_ ? ArcHeight(arcRadius_, rho) : arcEndHeight_ + slope_ * (rho - arcEndRadius_);
        default:
            return 0.0;
    }
}

double CutterProfile::slope(double rho) const {
    switch (shape_) {
        case ToolType::Spherical:
            return ArcSlope(arcRadius_, rho);
        case ToolType::BullNose:
            return rho < flatRadius_ ? 0.0 : ArcSlope(arcRadius_, rho - flatRadius_);
        case ToolType::ConicalFlat:
            return rho < flatRadius_ ? 0.0 : slope_;
        case ToolType::ConicalSpherical:
            return rho < arcEndRadius_ ? ArcSlope(arcRadius_, rho) : slope_;
        default:
            return 0.0;
    }
}

}  // namespace calvoro
