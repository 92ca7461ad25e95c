#include "engine/preview/ViewNavigation.h"

namespace calvoro {

void ViewNavigation::press(int x, int y) {
    lastX_ = x;
    lastY_ = y;
}

bool ViewNavigation::move(OrthoCamera& camera, int x, int y, bool leftHeld, bool shift, bool control, bool panMode) {
    // Displacements run from the new position back to the previous one.
    const int dx = lastX_ - x;
    const int dy = lastY_ - y;
    lastX_ = x;
    lastY_ = y;
    if (!leftHeld) return false;
    if (shift || panMode) {
        camera.pan(dx, -dy);
    } else if (control) {
        if (dy == 0) return false;
        camera.zoom(dy > 0 ? kZoomStep : 1.0 / kZoomStep);
    } else {
        camera.orbit(dx, dy);
    }
    return true;
}

}  // namespace calvoro
