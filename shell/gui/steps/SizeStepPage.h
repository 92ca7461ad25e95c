// The size step: the picture's facts, its width and height in the work's
// unit with or without its ratio kept, Apply, Modify and Next.
#pragma once

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

class SizeStepPage : public StepPage {
public:
    explicit SizeStepPage(StepHost& host);
    void Build() override;
    void Connect() override;
    void JobOpened() override;

private:
    // The unit of the work beside the size edits, as the settings page names it.
    void ShowUnits();
    // A size edit typed in: the controller hears it while the view leaves
    // that edit's text alone.
    void SizeTyped(QLineEdit* edit, const std::function<void(WizardController&)>& action);
};

}  // namespace calvoro
