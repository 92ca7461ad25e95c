// The cutter step: the cutter from the tool library or edited, its table,
// Prev and Next. The tool library itself belongs to the NC page.
#pragma once

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

class ToolStepPage : public StepPage {
public:
    explicit ToolStepPage(StepHost& host);
    void Build() override;
    void Connect() override;
    // The cutter of the tool library into the controller and the table.
    void Start() override;
    // The job's cutter in the tool library and the table.
    void JobOpened() override;

private:
    void PickTool(bool editOnly);
};

}  // namespace calvoro
