// The steps of the job wizard in the window, in the order of their pages.
// A new step is a page in shell/app/Pages.h, a StepPage of its own in this
// folder, and a line in StepPages.cpp.
#pragma once

#include <memory>
#include <vector>

#include "shell/gui/steps/StepPage.h"

namespace calvoro {

std::vector<std::unique_ptr<StepPage>> MakeStepPages(StepHost& host);

}  // namespace calvoro
