// The way back from the NC program page to the cutting parameters: its Prev
// button, under the NC page, off while a simulation plays.
#pragma once

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

class ProgramStepPage : public StepPage {
public:
    explicit ProgramStepPage(StepHost& host);
    // The NC page must already stand on the page.
    void Build() override;
    void Connect() override;
};

}  // namespace calvoro
