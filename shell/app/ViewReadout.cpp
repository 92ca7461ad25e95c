// The 2D view's read-outs and drags.
#include "shell/app/ViewReadout.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "shell/app/Settings.h"
#include "shell/app/WorkBox.h"

namespace calvoro {

namespace {

// Fixed decimals, whatever the locale: a read-out keeps its trailing zeros, so
// that its digits stand still while the cursor moves.
std::string Fixed(double value, int decimals) {
    char buffer[400];  // the widest double in fixed notation with four decimals fits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("0");
}

// The same right-aligned in at least six characters.
std::string Fixed6(double value, int decimals) {
    std::string text = Fixed(value, decimals);
    if (text.size() < 6) text.insert(0, 6 - text.size(), ' ');
    return text;
}

// The pixel index of a work coordinate, or false when there is none.
bool PixelIndex(double coordinate, double offset, double pixelSize, int& index) {
    const double q = std::nearbyint((coordinate - offset) / pixelSize);
    if (!std::isfinite(q) || q < std::numeric_limits<int>::min() || q > std::numeric_limits<int>::max()) return false;
    index = static_cast<int>(q);
    return true;
}

}  // namespace

std::string CursorText(double x, double y, std::int32_t unitsFlag) {
    const int decimals = unitsFlag == 0 ? 3 : 4;
    return "X: " + Fixed6(x, decimals) + " Y: " + Fixed6(y, decimals);
}

ReliefDepth DepthAt(double x, double y, const ReliefValues& relief, const ImageInfo& info, const HeightMap* map,
                    std::int32_t unitsFlag, std::string_view outsideText) {
    ReliefDepth depth;
    depth.text.assign(1, ' ').append(outsideText);  // " " + a temporary draws a false GCC 12 -Wrestrict
    if (map == nullptr || map->empty()) return depth;
    int column = 0;
    int row = 0;
    if (!PixelIndex(x, relief.WorkOffsetX, relief.PixelSize, column) ||
        !PixelIndex(y, relief.WorkOffsetY, relief.CellSizeY(), row))
        return depth;
    const bool inPicture = column >= 0 && column <= info.PixelWidth - 2 && row >= 0 && row <= info.PixelHeight - 2;
    if (!inPicture || column >= map->width() || row >= map->height()) return depth;
    const float z = map->at(column, row);
    if (!std::isfinite(z)) return depth;
    depth.inside = true;
    depth.z = z;
    depth.text = " Z: " + Fixed(z, UnitSwitch(unitsFlag).decimals);
    return depth;
}

double DirectionAngle(double dx, double dy) {
    double angle = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    if (angle < 0.0) angle += 360.0;
    // A tiny negative angle rounds up to 360 itself.
    return angle >= 360.0 ? 0.0 : angle;
}

SegmentMeasure MeasureSegment(const TPoint2D& from, const TPoint2D& to) {
    const TPoint2D p1 = CartesianPoint(from);
    const TPoint2D p2 = CartesianPoint(to);
    SegmentMeasure m;
    m.dx = p2.X - p1.X;
    m.dy = p2.Y - p1.Y;
    m.length = std::hypot(m.dx, m.dy);
    m.angle = DirectionAngle(m.dx, m.dy);
    return m;
}

TRect2D WorkBoxWindow(const WorkBox& box) {
    const double minX = double(box.CentreX) - box.SizeX / 2.0, maxX = double(box.CentreX) + box.SizeX / 2.0;
    const double minY = double(box.CentreY) - box.SizeY / 2.0, maxY = double(box.CentreY) + box.SizeY / 2.0;
    const double margin = (maxX - minX) / 20.0;
    return MakeRect2D(minX - margin, minY - margin, maxX + margin, maxY + margin);
}

bool ViewDrag::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    lastX_ = x;
    lastY_ = y;
    if (button == TMouseButton::mbLeft && (shift & Shift::Shift) != 0) panDragging_ = true;
    return panDragging_;
}

ViewDrag::Step ViewDrag::MouseMove(TShiftState shift, int x, int y) {
    Step step;
    if ((shift & Shift::Left) == 0) return step;
    if ((shift & Shift::Shift) != 0) {
        step = {Action::Pan, lastX_, lastY_, x, y};
        lastX_ = x;
        lastY_ = y;
        return step;
    }
    if ((shift & Shift::Ctrl) == 0) return step;
    const double dx = static_cast<double>(x) - lastX_;
    const double dy = static_cast<double>(y) - lastY_;
    if (std::hypot(dx, dy) < kDragZoomPixels) return step;
    step.action = x >= lastX_ ? Action::ZoomOut : Action::ZoomIn;
    lastX_ = x;
    lastY_ = y;
    return step;
}

}  // namespace calvoro
