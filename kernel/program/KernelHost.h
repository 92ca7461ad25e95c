// What the kernel's interaction needs from the program around it: the object
// snap switches, the crop rectangle's read-out and flags, and the shape of the
// mouse cursor over the view. The main window implements it; the kernel never
// sees the window itself. Every method has a neutral default, so a host
// implements only what it shows.
#pragma once

#include "kernel/geometry/Point2D.h"

#include <string_view>

namespace calvoro {

// The cursor shapes the object snap shows.
enum class ViewCursor { Pan = 1, Cross = 2, EndPoint = 3, MidPoint = 4, Centre = 5, Point = 6 };

class KernelHost {
public:
    virtual ~KernelHost() = default;

    // 0 for none, else one of 9, 11, 13, 15, 17 (end, mid, centre, point, nearest).
    virtual int ObjectSnapMode() const { return 0; }
    virtual bool ObjectSnapActive() const { return false; }
    virtual void SetObjectSnapActive(bool /*active*/) {}
    // A crop rectangle has been completed (true) or restarted (false).
    virtual void SetCutRectangleReady(bool /*ready*/) {}
    // The crop rectangle while it is dragged, for the size read-out.
    virtual void InfoCut(const TPoint2D& /*corner1*/, const TPoint2D& /*corner2*/) {}
    // The crop can now be applied.
    virtual void EnableCutSelection() {}
    virtual void SetViewCursor(ViewCursor /*shape*/) {}
    // A line for the status bar: what an editing command did not do, and why
    // (empty when it was done).
    virtual void ShowStatusMessage(std::string_view /*text*/) {}
};

}  // namespace calvoro
