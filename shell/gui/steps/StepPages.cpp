#include "shell/gui/steps/StepPages.h"

#include "shell/gui/steps/CuttingStepPage.h"
#include "shell/gui/steps/DepthStepPage.h"
#include "shell/gui/steps/NcFileStepPage.h"
#include "shell/gui/steps/PictureEditPage.h"
#include "shell/gui/steps/ProgramStepPage.h"
#include "shell/gui/steps/ReferenceStepPage.h"
#include "shell/gui/steps/SizeStepPage.h"
#include "shell/gui/steps/ToolStepPage.h"

namespace calvoro {

std::vector<std::unique_ptr<StepPage>> MakeStepPages(StepHost& host) {
    std::vector<std::unique_ptr<StepPage>> steps;
    steps.push_back(std::make_unique<PictureEditPage>(host));
    steps.push_back(std::make_unique<SizeStepPage>(host));
    steps.push_back(std::make_unique<ReferenceStepPage>(host));
    steps.push_back(std::make_unique<DepthStepPage>(host));
    steps.push_back(std::make_unique<NcFileStepPage>(host));
    steps.push_back(std::make_unique<ToolStepPage>(host));
    steps.push_back(std::make_unique<CuttingStepPage>(host));
    steps.push_back(std::make_unique<ProgramStepPage>(host));
    return steps;
}

}  // namespace calvoro
