// The reference point step: the corner or centre of the work that is its
// origin, or an origin typed or picked with a click in the 2D view ("Select
// Pt."), Apply, Prev and Next.
#pragma once

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

class ReferenceStepPage : public StepPage {
public:
    explicit ReferenceStepPage(StepHost& host);
    void Build() override;
    void Connect() override;
    void PageShown() override { pickingOrigin_ = false; }

    // After "Select Pt." the next left click in the 2D view is the origin.
    bool PickingOrigin() const { return pickingOrigin_; }
    void OriginPicked(double x, double y);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;

    bool pickingOrigin_ = false;
};

}  // namespace calvoro
