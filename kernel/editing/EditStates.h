// The editing commands as the states the two-object pick hands over to. Each
// runs once: it reads the picked objects and where they were picked, edits
// the drawing, puts its outcome on the host's status line (why, when it could
// not be done), repaints the view and only then marks where it cut, and
// returns to idle. A command that is not done leaves the drawing as it was.
#pragma once

#include "kernel/editing/EditOutcome.h"
#include "kernel/editing/EditPick.h"
#include "kernel/editing/FilletCommands.h"
#include "kernel/tasks/QV2DTasks.h"

namespace calvoro {

// The pick's parameter for the tangent arc: the radius and trim switch the
// main window holds when it starts the pick.
class TEditPickParam : public TQVD2D_SelectObjectsParam {
public:
    TEditPickParam(int aperture, const StateClass* afterState, const FilletParameters& fillet);
    FilletParameters Fillet;
};

class TEditCommandState : public TCAD2DTaskState {
protected:
    TEditCommandState(TCADPrg& program, ParamRef param, const StateClass*& next);
    // The pick in the order the objects were picked; an incomplete one has
    // fewer than two IDs and every command refuses it.
    EditPick Pick() const;
    void Finish(const EditOutcome& outcome, const StateClass*& next);
};

// Corner trim: both objects cut or extended to where they meet.
class TMyRaccordo : public TEditCommandState {
public:
    static const StateClass Class;
    TMyRaccordo(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

// The arc tangent to both objects, of the radius in a TEditPickParam, with or
// without cutting the objects back to it.
class TMyArcoTan2 : public TEditCommandState {
public:
    static const StateClass Class;
    TMyArcoTan2(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

// Both objects cut where they cross; the crossings are marked.
class TMyBreak : public TEditCommandState {
public:
    static const StateClass Class;
    TMyBreak(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

// The line tangent to two arcs or circles, nearest the pick points.
class TMyLineaTan2A : public TEditCommandState {
public:
    static const StateClass Class;
    TMyLineaTan2A(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

// The one-object arc and the perpendicular line: the pick itself is all the
// user sees (the window highlights it); the drawing is left as it is.
class TMyArcoTan1 : public TEditCommandState {
public:
    static const StateClass Class;
    TMyArcoTan1(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

class TMyLineaPer : public TEditCommandState {
public:
    static const StateClass Class;
    TMyLineaPer(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

}  // namespace calvoro
