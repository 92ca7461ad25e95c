#include "shell/gui/steps/DepthStepPage.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "shell/app/Pages.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/View3D.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

DepthStepPage::DepthStepPage(StepHost& host) : StepPage(host, page::kDepth) {}

void DepthStepPage::Build() {
    MainWindowUi& ui = host_.Ui();
    WizardPagesUi& p = host_.Widgets();
    QWidget* page = Page();
    auto* form = new QFormLayout(page);
    ui.txtWhiteD = Edit(form, page, "txtWhiteD", "lblWhiteD", "Z of white:", NumericKeys::SignedOrEnter);
    ui.txtBlackD = Edit(form, page, "txtBlackD", "lblBlackD", "Z of black:", NumericKeys::SignedOrEnter);
    p.sbtProfApply = Button(page, "sbtProfApply", "Apply");
    form->addRow(p.sbtProfApply);
    auto* group = Named(new QGroupBox("Shading resolution:", page), "grpShRes");
    auto* column = new QVBoxLayout(group);
    p.rbtShResCoarse = Named(new QRadioButton("Coarse", group), "rbtShResCoarse");
    p.rbtShResMedium = Named(new QRadioButton("Medium", group), "rbtShResMedium");
    p.rbtShResFine = Named(new QRadioButton("Fine", group), "rbtShResFine");
    for (QRadioButton* button : {p.rbtShResCoarse, p.rbtShResMedium, p.rbtShResFine}) column->addWidget(button);
    p.rbtShResFine->setChecked(true);
    form->addRow(group);
    p.sbtPrevB3 = Button(page, "sbtPrevB3", "Prev");
    p.sbtNextB3 = Button(page, "sbtNextB3", "Next");
    PrevNext(form, p.sbtPrevB3, p.sbtNextB3);
}

void DepthStepPage::Connect() {
    const MainWindowUi& ui = host_.Ui();
    const WizardPagesUi& p = host_.Widgets();
    OnClick(p.sbtProfApply, &WizardController::applyDepth);
    OnClick(p.sbtPrevB3, &WizardController::prevFromDepth);
    OnClick(p.sbtNextB3, &WizardController::nextFromDepth);
    connect(ui.txtWhiteD, &QLineEdit::textEdited, this, [this](const QString& t) {
        host_.Forward([&](WizardController& w) { w.whiteDepthEdited(t.toStdString()); });
    });
    connect(ui.txtBlackD, &QLineEdit::textEdited, this, [this](const QString& t) {
        host_.Forward([&](WizardController& w) { w.blackDepthEdited(t.toStdString()); });
    });
    for (QLineEdit* edit : {ui.txtWhiteD, ui.txtBlackD})
        connect(edit, &QLineEdit::returnPressed, this,
                [this] { host_.Forward([](WizardController& w) { w.applyDepth(); }); });
    const std::pair<QRadioButton*, ShadingResolution> shading[] = {{p.rbtShResCoarse, ShadingResolution::Coarse},
                                                                   {p.rbtShResMedium, ShadingResolution::Medium},
                                                                   {p.rbtShResFine, ShadingResolution::Fine}};
    for (const auto& [button, resolution] : shading)
        connect(button, &QRadioButton::clicked, this, [this, resolution] {
            host_.View3d().setShadingResolution(resolution);
            host_.Forward([resolution](WizardController& w) { w.shadingClicked(resolution); });
        });
}

void DepthStepPage::JobOpened() {
    const MainWindowUi& ui = host_.Ui();
    ShowValue(ui.txtWhiteD, host_.Wizard()->reliefValues().WhiteZ);
    ShowValue(ui.txtBlackD, host_.Wizard()->reliefValues().BlackZ);
}

}  // namespace calvoro
