// Commands that work on one picked object, as after-states of the one-object
// pick: delete it, explode it into plain entities, put it on the current
// layer, or copy it by a vector the user then clicks (from a base point to
// where the copy goes).
#pragma once

#include "kernel/editing/ExplodeAndCopy.h"
#include "kernel/tasks/QV2DTasks.h"

namespace calvoro {

// The first object a pick parameter holds; none for another parameter.
TObject2D* FirstPicked(TCADPrgParam* param);

class TDeletePicked : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TDeletePicked(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

class TExplodePicked : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TExplodePicked(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
    // What the last explode gave (for the host's report).
    static ExplodeCounts& LastCounts();
};

// The picked object goes to the drawing's current layer.
class TChangeLayerPicked : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TChangeLayerPicked(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

// Hands over to placing a line from the base point to the target, whose
// after-state makes the copy.
class TCopyPicked : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TCopyPicked(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

class TCopyPlaced : public TCAD2DTaskState {
public:
    static const StateClass Class;
    TCopyPlaced(TCADPrg& program, ParamRef param, const StateClass*& next);
    const StateClass& ClassType() const override { return Class; }
};

}  // namespace calvoro
