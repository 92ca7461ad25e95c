// What the 2D view shows and does as the mouse moves over it: the cursor
// read-out in the unit in use, the relief depth under the cursor, and the
// Ctrl-drag zoom and Shift-drag pan. No widgets here, so the rules are
// testable without a display; the window's view host feeds in the mouse.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/picture/ImageInfo.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "kernel/geometry/Rect2D.h"
#include "kernel/view/ViewportInputHook.h"
#include "shell/app/CommandCodes.h"

namespace calvoro {

// The depth of a point that lies outside the relief.
inline constexpr float kDepthOutside = 7777.0f;
// How far a Ctrl-drag must move, in pixels, before it zooms one step.
inline constexpr int kDragZoomPixels = 20;

// "X: %6.3f Y: %6.3f" in millimetres, four decimals in inches.
std::string CursorText(double x, double y, std::int32_t unitsFlag);

struct ReliefDepth {
    bool inside = false;
    float z = kDepthOutside;
    std::string text;  // " Z: <depth>" with the unit's decimals ("%0.3f", "%0.4f"), or " " + outsideText
};

// The relief depth at a work point. The point's pixel is found with the
// relief's offset and pixel size; the last column and row of the picture
// count as outside, and so does every pixel the height map in hand does not
// hold (no map yet, or one built for another picture), a pixel size that
// gives no finite position, and a depth that is not finite.
ReliefDepth DepthAt(double x, double y, const ReliefValues& relief, const ImageInfo& info, const HeightMap* map,
                    std::int32_t unitsFlag, std::string_view outsideText);

// The direction of (dx, dy) in degrees, in [0, 360): east 0, north 90,
// south 270.
double DirectionAngle(double dx, double dy);

// The measures of a line or distance from p1 to p2, as the read-outs show them.
struct SegmentMeasure {
    double dx = 0, dy = 0, length = 0, angle = 0;
};
SegmentMeasure MeasureSegment(const TPoint2D& p1, const TPoint2D& p2);

struct WorkBox;
// The 2D window that shows the work box with a margin of a twentieth of its
// width on every side (the whole view while the NC program is shown in 2D).
TRect2D WorkBoxWindow(const WorkBox& box);

// The Ctrl-drag zoom and Shift-drag pan of the left button.
class ViewDrag {
public:
    enum class Action { None, ZoomIn, ZoomOut, Pan };
    struct Step {
        Action action = Action::None;
        // For a pan, the pixel the drag came from and the one it is at; the
        // view moves by the world distance between them.
        int fromX = 0, fromY = 0, toX = 0, toY = 0;
    };

    // A button went down with no operation running. Returns whether it
    // starts a pan drag (Shift with the left button).
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    Step MouseMove(TShiftState shift, int x, int y);
    // The pan is over (button up or cancel).
    void EndPan() { panDragging_ = false; }
    bool PanDragging() const { return panDragging_; }

private:
    int lastX_ = 0;
    int lastY_ = 0;
    bool panDragging_ = false;
};

}  // namespace calvoro
