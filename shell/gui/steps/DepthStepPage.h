// The depth step: the Z of white and of black, Apply, the 3D view's shading
// resolution, Prev and Next.
#pragma once

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

class DepthStepPage : public StepPage {
public:
    explicit DepthStepPage(StepHost& host);
    void Build() override;
    void Connect() override;
    void JobOpened() override;
};

}  // namespace calvoro
