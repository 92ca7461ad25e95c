#include "shell/gui/steps/PictureEditPage.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "shell/app/Pages.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

PictureEditPage::PictureEditPage(StepHost& host) : StepPage(host, page::kDistance) {}

void PictureEditPage::Build() {
    WizardPagesUi& p = host_.Widgets();
    QWidget* page = Page();
    // The distance read-outs stand on this page already: the form goes under them.
    QFormLayout* form = FormOf(page);
    p.txtCutDx = ReadOnly(form, page, "txtCutDx", "lblCutDx", "Selection X:");
    p.txtCutDy = ReadOnly(form, page, "txtCutDy", "lblCutDy", "Selection Y:");
    p.txtPixelW = ReadOnly(form, page, "txtPixelW", "lblPixelW", "Pixels X:");
    p.txtPixelH = ReadOnly(form, page, "txtPixelH", "lblPixelH", "Pixels Y:");
    p.sbtFlipH = Button(page, "sbtFlipH", "Flip H");
    p.sbtFlipV = Button(page, "sbtFlipV", "Flip V");
    p.sbtRotate = Button(page, "sbtRotate", "Rotate");
    p.sbtCutSel = Button(page, "sbtCutSel", "Crop");
    p.sbt2Gray = Button(page, "sbt2Gray", "Grey");
    for (QPushButton* button : {p.sbtFlipH, p.sbtFlipV, p.sbtRotate, p.sbtCutSel, p.sbt2Gray}) form->addRow(button);
    p.sbtNextB0 = Button(page, "sbtNextB0", "Next");
    PrevNext(form, nullptr, p.sbtNextB0);
}

void PictureEditPage::Connect() {
    const WizardPagesUi& p = host_.Widgets();
    OnClick(p.sbtNextB0, &WizardController::nextFromEdit);
    OnClick(p.sbtFlipH, &WizardController::flipHorizontal);
    OnClick(p.sbtFlipV, &WizardController::flipVertical);
    OnClick(p.sbtRotate, &WizardController::rotate);
    OnClick(p.sbtCutSel, &WizardController::crop);
    OnClick(p.sbt2Gray, &WizardController::convertToGrey);
}

}  // namespace calvoro
