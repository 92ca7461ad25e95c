#include "shell/gui/steps/ProgramStepPage.h"

#include <QLayout>
#include <QPushButton>

#include "engine/gui/NcPageController.h"
#include "shell/app/Pages.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

ProgramStepPage::ProgramStepPage(StepHost& host) : StepPage(host, page::kProgram) {}

void ProgramStepPage::Build() {
    WizardPagesUi& p = host_.Widgets();
    p.sbtPrevB7 = Button(Page(), "sbtPrevB7", "Prev");
    if (QLayout* layout = Page()->layout()) layout->addWidget(p.sbtPrevB7);
}

void ProgramStepPage::Connect() {
    QPushButton* prev = host_.Widgets().sbtPrevB7;
    OnClick(prev, &WizardController::prevFromProgram);
    // Play keeps the user on the NC page until it ends or is stopped.
    connect(&host_.NcPages().Controller(), &NcPageController::simulationRunning, prev,
            [prev](bool running) { prev->setEnabled(!running); });
}

}  // namespace calvoro
