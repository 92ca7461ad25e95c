// The Z no-cut zone of the cutting-parameter page: an area of the relief
// whose height lies within a tolerance of a level picked in the drawing is
// neither machined nor drawn. The pick runs in the 2D view; Esc gives it up
// and leaves the zone as it was.
#pragma once

#include <string_view>

#include "shell/wizard/WizardContext.h"

namespace calvoro {

class ZncStep {
public:
    explicit ZncStep(WizardContext& wizard) : w_(wizard) {}

    void zncCheckClicked(bool checked);
    void zncToleranceEdited(std::string_view text);
    void startZncPick();
    void zncPointPicked(double x, double y);
    void zncPickCancelled();
    void regenerateZnc();
    // Another picture: no level picked, the controls off.
    void reset();

private:
    WizardContext& w_;
};

}  // namespace calvoro
