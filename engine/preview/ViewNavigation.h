// What the mouse does in the 3D view. A left drag orbits the camera; with
// Shift, or while the pan command is active, it pans; with Ctrl it zooms by
// 1.1 per move. Each move is measured from the previous mouse position.
#pragma once

#include "engine/preview/OrthoCamera.h"

namespace calvoro {

class ViewNavigation {
public:
    static constexpr double kZoomStep = 1.1;

    void press(int x, int y);
    // Returns whether the camera changed.
    bool move(OrthoCamera& camera, int x, int y, bool leftHeld, bool shift, bool control, bool panMode);

private:
    int lastX_ = 0;
    int lastY_ = 0;
};

}  // namespace calvoro
