// The 3D view's camera: orthographic, looking from its position at a target,
// with work Z up on the screen. The visible height of the view is
// 2 * kViewHalfHeight / sceneScale world units whatever the window's size, so
// resizing keeps the picture and a scale of 100 / (4.3 r) fits a sphere of
// radius r.
#pragma once

#include <array>

#include "engine/preview/PreviewTypes.h"

namespace calvoro {

class OrthoCamera {
public:
    static constexpr double kViewHalfHeight = 25.0;
    static constexpr double kMinimumScale = 0.001;
    // Standard views keep the camera at least this far from its target, so the
    // view direction is always defined.
    static constexpr double kMinimumDistance = 1.0;

    OrthoCamera();

    Vec3 position() const { return position_; }
    Vec3 target() const { return target_; }
    double sceneScale() const { return sceneScale_; }
    double depthOfView() const { return depthOfView_; }
    void place(Vec3 position, Vec3 target);
    void setViewport(int widthPixels, int heightPixels);

    // Moves the camera around its target: turn about the vertical through the
    // target, pitch up or down (never over the poles). Keeps the distance.
    void orbit(double turnDegrees, double pitchDegrees);
    // Moves camera and target by the world vector of a pixel displacement
    // (x right, y up on the screen).
    void pan(double dxPixels, double dyPixels);
    Vec3 screenToWorldVector(double dxPixels, double dyPixels) const;
    // Multiplies the scale; a result not above 0 becomes kMinimumScale.
    void zoom(double factor);
    void setSceneScale(double scale);

    void standardView(StandardView view);
    // Centres the view on the box and scales it to fit.
    void fitBox(Vec3 corner1, Vec3 corner2);

    // Column-major matrices for the renderer.
    std::array<float, 16> viewMatrix() const;
    std::array<float, 16> projectionMatrix() const;
    // The unit vectors of the screen's right, up and the viewing direction.
    Vec3 right() const;
    Vec3 up() const;
    Vec3 forward() const;

private:
    Vec3 position_;
    Vec3 target_;
    double sceneScale_ = 1.0;
    double depthOfView_ = 10000.0;
    int viewportWidth_ = 1;
    int viewportHeight_ = 1;
};

}  // namespace calvoro
