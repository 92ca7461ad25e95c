// The picture's own edits, the job's first step: the crop's read-outs, flip,
// rotate, crop and grey, and Next; under the distance read-outs on their page.
#pragma once

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

class PictureEditPage : public StepPage {
public:
    explicit PictureEditPage(StepHost& host);
    void Build() override;
    void Connect() override;
};

}  // namespace calvoro
