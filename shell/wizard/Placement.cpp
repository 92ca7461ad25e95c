#include "shell/wizard/Placement.h"

#include <cmath>

#include "shell/wizard/NumberText.h"

namespace calvoro {

namespace {

// The other side of a size typed with keep-ratio on: the typed side, stored as
// a float, over its pixel count times the other pixel count (whole counts,
// as the picture shows), in extended precision and stored as a float.
double FollowingSize(double typed, int typedPixels, int otherPixels) {
    const long double side = static_cast<float>(typed);
    return static_cast<float>(side / typedPixels * otherPixels);
}

}  // namespace

void CornerOrigin(const ImageInfo& info, int corner, float& x0, float& y0) {
    switch (corner) {
        case LowerLeft:
            x0 = 0;
            y0 = 0;
            break;
        case UpperLeft:
            x0 = 0;
            y0 = -info.SizeY;
            break;
        case UpperRight:
            x0 = -info.SizeX;
            y0 = -info.SizeY;
            break;
        case LowerRight:
            x0 = -info.SizeX;
            y0 = 0;
            break;
        case Centre:
            x0 = -info.SizeX / 2;
            y0 = -info.SizeY / 2;
            break;
        default:
            x0 = info.X0;
            y0 = info.Y0;
            break;
    }
}

void Placement::reset(const ImageInfo& info) {
    info_ = info;
    info_.X0 = 0;
    info_.Y0 = 0;
    checked_ = LowerLeft;
    originCorner_ = NoCorner;
    cornerCopy_ = NoCorner;
    angle_ = 0;
}

DrawingShift Placement::moveOriginTo(float x0, float y0) {
    const DrawingShift shift{static_cast<double>(x0) - info_.X0, static_cast<double>(y0) - info_.Y0};
    info_.X0 = x0;
    info_.Y0 = y0;
    return shift;
}

DrawingShift Placement::reapplyCheckedCorner() {
    float x0 = 0;
    float y0 = 0;
    CornerOrigin(info_, checked_, x0, y0);
    return moveOriginTo(x0, y0);
}

DrawingShift Placement::chooseCorner(int corner) {
    if (corner < LowerLeft || corner > Centre) return {};
    checked_ = corner;
    originCorner_ = corner;
    cornerCopy_ = corner;
    return reapplyCheckedCorner();
}

bool Placement::typedOrigin(std::string_view textX, std::string_view textY) {
    const auto x = ParseEditNumber(textX);
    const auto y = ParseEditNumber(textY);
    if (!x || !y) return false;
    return typedOrigin(*x, *y);
}

bool Placement::typedOrigin(double x, double y) {
    const auto x0 = static_cast<float>(-x);
    const auto y0 = static_cast<float>(-y);
    if (!std::isfinite(x0) || !std::isfinite(y0)) return false;
    info_.X0 = x0;
    info_.Y0 = y0;
    checked_ = NoCorner;
    return true;
}

DrawingShift Placement::pickedOrigin(double x, double y) {
    checked_ = NoCorner;
    return moveOriginTo(static_cast<float>(info_.X0 - x), static_cast<float>(info_.Y0 - y));
}

std::optional<DrawingShift> Placement::setSize(double width, double height) {
    const bool usable = std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0 &&
                        info_.PixelWidth >= 2 && info_.PixelHeight >= 2;
    if (!usable) return std::nullopt;
    const auto sizeX = static_cast<float>(width);
    const auto sizeY = static_cast<float>(height);
    const float scale = sizeX / static_cast<float>(info_.PixelWidth - 1);
    if (!(sizeX > 0) || !(sizeY > 0) || !(scale > 0) || !std::isfinite(sizeX) || !std::isfinite(sizeY)) {
        return std::nullopt;  // below the smallest or above the largest float
    }
    info_.SizeX = sizeX;
    info_.SizeY = sizeY;
    info_.Scale = scale;
    return reapplyCheckedCorner();
}

std::optional<DrawingShift> Placement::setWidthText(std::string_view text) {
    const auto width = ParseEditNumber(text);
    if (!width) return std::nullopt;
    // The other size follows the whole pixel counts, as the picture shows.
    const double height = keepRatio_ ? FollowingSize(*width, info_.PixelWidth, info_.PixelHeight) : info_.SizeY;
    return setSize(*width, height);
}

std::optional<DrawingShift> Placement::setHeightText(std::string_view text) {
    const auto height = ParseEditNumber(text);
    if (!height) return std::nullopt;
    const double width = keepRatio_ ? FollowingSize(*height, info_.PixelHeight, info_.PixelWidth) : info_.SizeX;
    return setSize(width, *height);
}

std::optional<DrawingShift> Placement::restoreSize(double width, double height, bool keepRatio) {
    auto shift = setSize(width, height);
    if (shift) keepRatio_ = keepRatio;
    return shift;
}

DrawingShift Placement::setKeepRatio(bool on) {
    keepRatio_ = on;
    if (!on || info_.PixelWidth < 2) return {};
    const double height = FollowingSize(info_.SizeX, info_.PixelWidth, info_.PixelHeight);
    return setSize(info_.SizeX, height).value_or(DrawingShift{});
}

void Placement::stepAnticlockwise() {
    angle_ += 90;
    if (angle_ >= 360) angle_ -= 360;
    if (originCorner_ >= LowerLeft && originCorner_ <= LowerRight) {
        originCorner_ = originCorner_ == LowerLeft ? LowerRight : originCorner_ - 1;
        checked_ = originCorner_;
    }
}

void Placement::stepClockwise() {
    angle_ -= 90;
    if (angle_ < 0) angle_ += 360;
    if (originCorner_ >= LowerLeft && originCorner_ <= LowerRight) {
        originCorner_ = originCorner_ == LowerRight ? LowerLeft : originCorner_ + 1;
        checked_ = originCorner_;
    }
}

DrawingShift Placement::pictureRotated() {
    info_ = RotatedImageInfo(info_);
    return reapplyCheckedCorner();
}

DrawingShift Placement::pictureCropped(const ImageInfo& info) {
    const float oldX0 = info_.X0;
    const float oldY0 = info_.Y0;
    info_ = info;
    info_.X0 = oldX0;
    info_.Y0 = oldY0;
    return chooseCorner(LowerLeft);
}

}  // namespace calvoro
