#include "shell/gui/steps/ToolStepPage.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "engine/gui/ToolDialog.h"
#include "shell/app/Pages.h"
#include "shell/gui/Application.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/gui/steps/CuttingStepPage.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

ToolStepPage::ToolStepPage(StepHost& host) : StepPage(host, page::kTool) {}

void ToolStepPage::Build() {
    WizardPagesUi& p = host_.Widgets();
    QWidget* page = Page();
    QFormLayout* form = FormOf(page);
    p.sbtSelecTool = Button(page, "sbtSelecTool", "Tool library...");
    p.sbtEditTool = Button(page, "sbtEditTool", "Edit tool...");
    form->addRow(p.sbtSelecTool, p.sbtEditTool);
    ToolTableLabels& t = p.toolTable;
    t.name = Named(new QLabel(page), "nol_lblUtName");
    t.number = Named(new QLabel(page), "nol_lblToolN");
    t.speed = Named(new QLabel(page), "nol_lblSpeed");
    t.feedRate = Named(new QLabel(page), "nol_lblFeedrate");
    t.plunge = Named(new QLabel(page), "nol_lblPlunge");
    t.diameter = Named(new QLabel(page), "nol_lblToolDia");
    t.shapeValue = Named(new QLabel(page), "nol_lblVariaUt");
    t.flatValue = Named(new QLabel(page), "nol_lblFlat");
    t.picture = Named(new QLabel(page), "imgTool");
    for (QLabel* label :
         {t.name, t.number, t.speed, t.feedRate, t.plunge, t.diameter, t.shapeValue, t.flatValue, t.picture})
        form->addRow(label);
    p.sbtPrevB5 = Button(page, "sbtPrevB5", "Prev");
    p.sbtNextB5 = Button(page, "sbtNextB5", "Next");
    PrevNext(form, p.sbtPrevB5, p.sbtNextB5);
}

void ToolStepPage::Connect() {
    const WizardPagesUi& p = host_.Widgets();
    OnClick(p.sbtPrevB5, &WizardController::prevFromTool);
    connect(p.sbtSelecTool, &QPushButton::clicked, this, [this] { PickTool(false); });
    connect(p.sbtEditTool, &QPushButton::clicked, this, [this] { PickTool(true); });
    connect(p.sbtNextB5, &QPushButton::clicked, this, [this] {
        // Next takes the cutting values as typed on the next page along.
        const CuttingTexts typed = TypedCuttingTexts(host_.Ui(), host_.Widgets());
        host_.Forward([&typed](WizardController& w) {
            w.cuttingEdited(typed);
            w.nextFromTool();
        });
    });
    // A cutter chosen on the NC page is the job's too.
    connect(&host_.NcPages(), &NcPageWiring::toolChanged, this, [this] {
        if (WizardController* wizard = host_.Wizard()) wizard->setTool(host_.NcPages().Tools().currentTool());
    });
}

void ToolStepPage::Start() {
    NcPageWiring& nc = host_.NcPages();
    RunGuarded([&] { host_.Wizard()->setTool(nc.Tools().currentTool()); });
    ShowToolTable(host_.Widgets().toolTable, nc.Tools());
}

void ToolStepPage::JobOpened() {
    RunGuarded([this] {
        NcPageWiring& nc = host_.NcPages();
        const QSignalBlocker quiet(&nc);
        nc.Tools().setCurrentTool(host_.Wizard()->tool());
        ShowToolTable(host_.Widgets().toolTable, nc.Tools());
    });
}

void ToolStepPage::PickTool(bool editOnly) {
    if (!host_.Wizard() || host_.Working()) return;
    NcPageWiring& nc = host_.NcPages();
    if (nc.EditTools(editOnly, &host_.Widgets().toolTable)) {
        host_.Forward([&nc](WizardController& wizard) { wizard.setTool(nc.Tools().currentTool()); });
        nc.BuildCutter();
    }
}

}  // namespace calvoro
