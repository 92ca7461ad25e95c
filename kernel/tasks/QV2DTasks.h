// The kernel's ready-made interactive tasks: zoom to a window, pan by
// dragging, pick an area, place a new primitive click by click, pick one or
// two objects, pick a crop rectangle, and move the control points of a
// primitive. Each is a state of the interaction program with its parameter
// object; rubber bands and marks are drawn and erased in XOR pairs on the
// screen image, never by repainting the drawing.
#pragma once

#include "kernel/entities/TFrame2D.h"
#include "kernel/entities/TPrimitive2D.h"
#include "kernel/model/GraphicObjList.h"
#include "kernel/program/TQVPrg2D.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace calvoro {

class TQVViewport2D;

// The prompt of each task by index; empty unless the host fills them.
std::array<std::string, 16>& TaskPrompts();
// The world points of the picks of the two-object task, by pick.
std::array<TPoint2D, 2>& PickPoints();

// ---- Parameters ----

class TCADPrgSelectAreaParam : public TCADPrgParam {
public:
    // The caller's parameter is kept (and freed with this one when owned).
    TCADPrgSelectAreaParam(const StateClass* afterState, ParamRef callerParam);
    TFrame2D& AreaFrame() { return *areaFrame_; }
    TCADPrgParam* CallerParam() const { return callerParam_.get(); }
    bool CallerBorrowed() const { return callerParam_.Borrowed(); }
    ParamRef TakeCallerParam() { return std::move(callerParam_); }
    // The box of the frame's corners.
    TRect2D GetArea() const;

private:
    std::unique_ptr<TFrame2D> areaFrame_;
    ParamRef callerParam_;
};

class TCAD2DCommonParam : public TCADPrgParam {
public:
    using TCADPrgParam::TCADPrgParam;
};

class TQV2D_DrawUnSizedPrimitiveParam : public TCAD2DCommonParam {
public:
    TQV2D_DrawUnSizedPrimitiveParam(const StateClass* afterState, std::unique_ptr<TPrimitive2D> primitive,
                                    int nextPointIndex, bool orthoConstraint);
    // Owned until it is added to the drawing.
    TPrimitive2D* Primitive() const { return primitive_.get(); }
    std::unique_ptr<TPrimitive2D> TakePrimitive() { return std::move(primitive_); }
    std::uint16_t NextPointIndex = 0;
    bool OrthoConstraint = false;

private:
    std::unique_ptr<TPrimitive2D> primitive_;
};

class TQV2D_DrawSizedPrimitiveParam : public TQV2D_DrawUnSizedPrimitiveParam {
public:
    // PointCount is the number of control points the primitive holds now.
    TQV2D_DrawSizedPrimitiveParam(const StateClass* afterState, std::unique_ptr<TPrimitive2D> primitive,
                                  int nextPointIndex, bool orthoConstraint);
    std::uint16_t PointCount = 0;
    // Told the first control point and the one that follows the cursor, at
    // every move after the first click and at the click that fixes it, so a
    // read-out can measure the rubber figure.
    std::function<void(const TPoint2D& first, const TPoint2D& current)> OnRubber;
    // False for a pick of points that leaves the drawing as it was.
    bool AddToDrawing = true;
};

class TQVD2D_SelectObjectsParam : public TCAD2DCommonParam {
public:
    using SelectedEvent =
        std::function<void(TQVD2D_SelectObjectsParam& sender, TObject2D& object, bool selected, int hitCode)>;

    TQVD2D_SelectObjectsParam(int aperture, const StateClass* afterState);
    // The aperture square (XOR) around point.
    virtual void DrawAperture(TQVViewport2D& viewport, const TPoint2D& point);

    std::uint16_t Aperture = 0;
    bool PickOnMouseDown = false;
    int LastHitCode = 0;
    TPoint2D AperturePoint;
    // The objects picked, in order; the list does not own them.
    TGraphicObjList& PickedObjects() { return pickedObjects_; }
    SelectedEvent OnSelected;
    const TGraphicObjectClass* FilterClass;

private:
    TGraphicObjList pickedObjects_{false};
};

class TSCSelRettParam : public TCAD2DCommonParam {
public:
    explicit TSCSelRettParam(const StateClass* afterState);
    // The rectangle of the corners with the rubber pen (XOR).
    virtual void DrawRectangle(TQVViewport2D& viewport);
    TPoint2D Corner1{0.0, 0.0, 1.0};
    TPoint2D Corner2{0.0, 0.0, 1.0};
};

class TCAD2DEditPrimitiveParam : public TCAD2DCommonParam {
public:
    // The work copy is a new object of the primitive's class; a class the
    // registry does not hold is refused.
    TCAD2DEditPrimitiveParam(TPrimitive2D& primitive, int aperture);
    TPrimitive2D& WorkCopy() { return *workCopy_; }
    TPrimitive2D& EditedObject() { return *editedObject_; }
    int ActivePoint = -1;
    std::uint16_t Aperture = 0;
    TPoint2D AperturePoint;

private:
    std::unique_ptr<TPrimitive2D> workCopy_;
    TPrimitive2D* editedObject_;
};

// ---- States ----

// The base of the tasks: the 2D program and viewport, and the common exits.
class TCAD2DTaskState : public TCADState {
public:
    TCAD2DTaskState(TCADPrg& program, ParamRef param, const StateClass*& next);
    TQVPrg2D& Prg2D() const;
    // The viewport; a task without one is refused.
    TQVViewport2D& View() const;
    const StateClass* Default() const { return &CADPrg().DefaultStateClass(); }
    void Prompt(int index);
};

class TCADPrgZoomState : public TCAD2DTaskState {
public:
    // The zoom and pan family cannot be suspended.
    TCADPrgZoomState(TCADPrg& program, ParamRef param, const StateClass*& next);
};

class TCADPrgZoomArea : public TCADPrgZoomState {
public:
    static const StateClass Class;
    TCADPrgZoomArea(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

class TCADPrgEndZoomArea : public TCADPrgZoomState {
public:
    static const StateClass Class;
    TCADPrgEndZoomArea(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

class TCADPrgRealTimePan : public TCADPrgZoomState {
public:
    static const StateClass Class;
    TCADPrgRealTimePan(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;
    bool Dragging = false;
    TPoint2D AnchorPoint;
    TRect2D SavedVisualRect;
};

class TCADPrgSelectArea : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TCADPrgSelectArea(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    TCADPrgSelectAreaParam& AreaParam() const;
};

class TCADPrgDragSelectArea : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TCADPrgDragSelectArea(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    TCADPrgSelectAreaParam& AreaParam() const;
    void ToggleFrame();
    bool Complete(const StateClass*& next);
    bool frameShown_ = true;  // the state before left it drawn
    bool pressHeld_ = true;   // the press of the first corner is not yet released
};

class TQV2D_DrawSizedPrimitive : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TQV2D_DrawSizedPrimitive(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    TQV2D_DrawSizedPrimitiveParam& PrimitiveParam() const;
    TPoint2D NewPoint(TPoint2D& world);
    void ShowPrimitive(bool show);
    void TellRubber();
    bool Finish(const StateClass*& next);
    bool shown_ = false;
};

// What the one- and two-object picks share: the pick aperture that follows
// the cursor in XOR, and cancelling, which takes the aperture away and frees
// the pick's parameter.
class TAperturePickState : public TCAD2DTaskState {
protected:
    TAperturePickState(TCADPrg& program, ParamRef param, const StateClass*& next, const char* invalidParamMessage);
    TQVD2D_SelectObjectsParam& SelectParam() const;
    void ShowAperture(bool show);
    bool CancelPick(const StateClass*& next);
    bool shown_ = false;
};

class TQV2D_Select1Object : public TAperturePickState {
public:
    static const StateClass Class;
    TQV2D_Select1Object(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    bool Pick(bool onMouseDown, const StateClass*& next);
};

class TCAD2DSeleziona2Ogg : public TAperturePickState {
public:
    static const StateClass Class;
    TCAD2DSeleziona2Ogg(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;
    int PickedCount = 0;

private:
    bool Finish(const StateClass*& next);
};

class TSCSelRett : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TSCSelRett(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;
    bool FirstCornerSet = false;

private:
    TSCSelRettParam& RectParam() const;
    void ShowRectangle(bool show);
    bool shown_ = false;
};

class TCAD2DEditSelectedPrimitive : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TCAD2DEditSelectedPrimitive(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

class TQV2D_EditPrimitive : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TQV2D_EditPrimitive(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    bool HandleEvent(int event, TMouseButton button, const StateClass*& next, std::uint16_t key,
                     TShiftState shift) override;

private:
    TCAD2DEditPrimitiveParam& EditParam() const;
    void DrawApertureBox(const TPoint2D& p);
    void ShowWorkCopy(bool show);
    void PickControlPoint(const TPoint2D& p);
    bool apertureShown_ = false;
    bool copyShown_ = false;
};

}  // namespace calvoro
