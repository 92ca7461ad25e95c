#include "engine/preview/OrthoCamera.h"

#include <algorithm>
#include <numbers>

#include "kernel/geometry/GeomTolerance.h"

namespace calvoro {

namespace {

constexpr double kDegrees = std::numbers::pi / 180.0;
// Orbiting stops just short of looking straight down or up, where "up on the
// screen" would be undefined; the top view itself sits inside this limit.
constexpr double kPitchLimit = 89.999 * kDegrees;
// 1 / sqrt(3) as the iso view has always placed the camera.
constexpr double kIsoFactor = 0.57735026;

}  // namespace

OrthoCamera::OrthoCamera() : position_{100.0, -100.0, 100.0} {}

void OrthoCamera::place(Vec3 position, Vec3 target) {
    position_ = position;
    target_ = target;
}

void OrthoCamera::setViewport(int widthPixels, int heightPixels) {
    viewportWidth_ = std::max(widthPixels, 1);
    viewportHeight_ = std::max(heightPixels, 1);
}

void OrthoCamera::orbit(double turnDegrees, double pitchDegrees) {
    const Vec3 offset = position_ - target_;
    const double distance = Length(offset);
    if (distance == 0.0) return;
    const double turn = std::atan2(offset.y, offset.x) + turnDegrees * kDegrees;
    const double pitch = std::clamp(std::asin(std::clamp(offset.z / distance, -1.0, 1.0)) + pitchDegrees * kDegrees,
                                    -kPitchLimit, kPitchLimit);
    const double horizontal = distance * std::cos(pitch);
    position_ = target_ + Vec3{horizontal * std::cos(turn), horizontal * std::sin(turn), distance * std::sin(pitch)};
}

Vec3 OrthoCamera::screenToWorldVector(double dxPixels, double dyPixels) const {
    const double worldPerPixel = 2.0 * kViewHalfHeight / sceneScale_ / viewportHeight_;
    return (right() * dxPixels + up() * dyPixels) * worldPerPixel;
}

void OrthoCamera::pan(double dxPixels, double dyPixels) {
    const Vec3 shift = screenToWorldVector(dxPixels, dyPixels);
    position_ = position_ + shift;
    target_ = target_ + shift;
}

void OrthoCamera::zoom(double factor) {
    setSceneScale(sceneScale_ * factor);
}

void OrthoCamera::setSceneScale(double scale) {
    sceneScale_ = scale > 0.0 && std::isfinite(scale) ? scale : kMinimumScale;
}

void OrthoCamera::standardView(StandardView view) {
    // Measured from the target: a camera standing on the world origin must not
    // collapse every view onto its target.
    const double d = std::max(Length(position_ - target_), kMinimumDistance);
    const Vec3 t = target_;
    switch (view) {
        case StandardView::Top:
            position_ = {t.x, t.y - 0.0001 * d, t.z + d};
            break;
        case StandardView::Front:
            position_ = {t.x, t.y - d, t.z};
            break;
        case StandardView::Side:
            position_ = {t.x + d, t.y, t.z};
            break;
        case StandardView::Iso: {
            const double k = kIsoFactor * d;
            position_ = {t.x + k, t.y - k, t.z + k};
            break;
        }
    }
}

void OrthoCamera::fitBox(Vec3 corner1, Vec3 corner2) {
    const Vec3 low{std::min(corner1.x, corner2.x), std::min(corner1.y, corner2.y), std::min(corner1.z, corner2.z)};
    const Vec3 high{std::max(corner1.x, corner2.x), std::max(corner1.y, corner2.y), std::max(corner1.z, corner2.z)};
    const Vec3 diagonal = high - low;
    const double size = Length(diagonal);
    const Vec3 centre = low + diagonal * 0.5;

    Vec3 direction = Normalized(position_ - target_);
    if (Length(direction) == 0.0) direction = Normalized(Vec3{1.0, -1.0, 1.0});
    target_ = centre;
    position_ = centre + direction * std::max(2.0 * size, kMinimumDistance);
    if (IsSameValue(position_.x, target_.x) && IsSameValue(position_.y, target_.y)) position_.y -= 0.0001;
    if (size > 0.0) {
        setSceneScale(100.0 / (4.3 * Length(centre - low)));
        depthOfView_ = 100.0 * size;
    }
}

Vec3 OrthoCamera::forward() const {
    const Vec3 direction = Normalized(target_ - position_);
    return Length(direction) == 0.0 ? Vec3{0.0, 0.0, -1.0} : direction;
}

Vec3 OrthoCamera::right() const {
    const Vec3 f = forward();
    Vec3 r = Normalized(Cross(f, Vec3{0.0, 0.0, 1.0}));
    // Straight down or up: keep work X to the right.
    if (Length(r) == 0.0) r = {1.0, 0.0, 0.0};
    return r;
}

Vec3 OrthoCamera::up() const {
    return Cross(right(), forward());
}

std::array<float, 16> OrthoCamera::viewMatrix() const {
    const Vec3 r = right();
    const Vec3 u = up();
    const Vec3 f = forward();
    const Vec3 p = position_;
    return {static_cast<float>(r.x),        static_cast<float>(u.x),        static_cast<float>(-f.x),      0.0f,
            static_cast<float>(r.y),        static_cast<float>(u.y),        static_cast<float>(-f.y),      0.0f,
            static_cast<float>(r.z),        static_cast<float>(u.z),        static_cast<float>(-f.z),      0.0f,
            static_cast<float>(-Dot(r, p)), static_cast<float>(-Dot(u, p)), static_cast<float>(Dot(f, p)), 1.0f};
}

std::array<float, 16> OrthoCamera::projectionMatrix() const {
    const double halfHeight = kViewHalfHeight / sceneScale_;
    const double halfWidth = halfHeight * viewportWidth_ / viewportHeight_;
    // Everything within the depth of view in front of and behind the camera
    // is drawn, so panning into the relief never cuts it open.
    const double near = -depthOfView_;
    const double far = depthOfView_;
    return {static_cast<float>(1.0 / halfWidth),
            0.0f,
            0.0f,
            0.0f,
            0.0f,
            static_cast<float>(1.0 / halfHeight),
            0.0f,
            0.0f,
            0.0f,
            0.0f,
            static_cast<float>(-2.0 / (far - near)),
            0.0f,
            0.0f,
            0.0f,
            static_cast<float>(-(far + near) / (far - near)),
            1.0f};
}

}  // namespace calvoro
