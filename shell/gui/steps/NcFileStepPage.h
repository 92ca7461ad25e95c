// The NC file step: the NC file's name (shortened to the label's width) and
// its choice, the post-processor and its comment, Prev and Next.
#pragma once

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

class NcFileStepPage : public StepPage {
public:
    explicit NcFileStepPage(StepHost& host);
    void Build() override;
    void Connect() override;
    // The post-processor the settings name.
    void Start() override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace calvoro
