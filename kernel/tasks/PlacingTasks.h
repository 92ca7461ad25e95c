// Placing tasks the ready-made ones lack: a polyline of as many points as the
// user clicks, ended with Accept or closed back to its first point, and a
// shape of given size (a circle of a diameter, a line of a length and angle)
// dropped where the user clicks. Like the other
// tasks they draw their rubber figure in XOR on the screen image only.
#pragma once

#include "kernel/tasks/QV2DTasks.h"

#include <functional>

namespace calvoro {

// The user command that closes a polyline (Accept ends it open).
inline constexpr std::uint16_t kCommandClosePolyline = 3;

// Places the polyline of a TQV2D_DrawUnSizedPrimitiveParam: each click fixes a
// point, the next one follows the cursor. Accept keeps the fixed points (two
// at least), the close command adds the first point again after three or
// more; Cancel, or too few points, places nothing.
class TQV2D_DrawPolyline : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TQV2D_DrawPolyline(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    TQV2D_DrawUnSizedPrimitiveParam& PolyParam() const;
    TPoint2D NewPoint();
    void ShowRubber(bool show);
    bool Finish(bool close, const StateClass*& next);
    bool shown_ = false;
};

class TPlaceShapeParam : public TCAD2DCommonParam {
public:
    // The shape with its reference point (a centre, a start) at the point given.
    using ShapeAt = std::function<std::unique_ptr<TObject2D>(const TPoint2D& point)>;
    explicit TPlaceShapeParam(ShapeAt shape) : Shape(std::move(shape)) {}
    ShapeAt Shape;
};

// The parameter's shape follows the cursor; a click places it.
class TQV2D_PlaceShape : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TQV2D_PlaceShape(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    void ShowRubber(bool show);
    TPlaceShapeParam& ShapeParam() const;
    std::unique_ptr<TObject2D> rubber_;
    bool shown_ = false;
};

// The arc by three clicks: its centre, its start (which gives the radius),
// and a point in the direction of its end; it runs counter-clockwise from the
// start. The rubber figure is the circle, then the arc.
class TQV2D_DrawArc3 : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TQV2D_DrawArc3(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    std::unique_ptr<TObject2D> Figure(const TPoint2D& cursor) const;
    void ShowRubber(bool show);
    int clicks_ = 0;
    TPoint2D centre_;
    double radius_ = 0.0;
    double start_ = 0.0;
    std::unique_ptr<TObject2D> rubber_;
    bool shown_ = false;
};

// Adds a finished primitive to the drawing of the task's view, drawn at once.
void PlaceFinishedObject(TCAD2DTaskState& state, std::unique_ptr<TObject2D> object);

}  // namespace calvoro
