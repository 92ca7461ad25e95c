// The cutting parameters step: step over, feed plane, filter, stock, raster
// directions, depth cuts and Z step read as typed, every change handed to the
// wizard; the help picture and text beside the field that has the focus; the
// Z no-cut zone; Compute, Prev and Next. The caption of a field names it in
// the controller's messages.
#pragma once

#include <string>

#include "shell/gui/steps/StepPage.h"
#include "shell/wizard/CuttingValues.h"

namespace calvoro {

// The cutting values as typed on the page, for the steps that take them along.
CuttingTexts TypedCuttingTexts(const MainWindowUi& ui, const WizardPagesUi& pages);

class CuttingStepPage : public StepPage {
public:
    explicit CuttingStepPage(StepHost& host);
    void Build() override;
    void Connect() override;
    // The job's cutting values; the Z no-cut zone starts off.
    void JobOpened() override;

    CuttingTexts Read() const { return TypedCuttingTexts(host_.Ui(), host_.Widgets()); }
    std::string FieldCaption(CuttingField field) const;
    void ShowHelpPicture(int resource);

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace calvoro
