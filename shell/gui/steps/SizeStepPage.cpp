#include "shell/gui/steps/SizeStepPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/app/Pages.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/gui/WizardPagesView.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

namespace {

// A size edit with the unit of the work shown beside it.
QLineEdit* SizeEdit(QFormLayout* form, QWidget* page, const char* name, const char* labelName, const char* label,
                    const char* unitName, QLabel*& unit) {
    auto* edit = Named(new QLineEdit(page), name);
    InstallNumericKeys(edit, NumericKeys::PositiveOrEnter);
    unit = Named(new QLabel(page), unitName);
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    row->addWidget(unit);
    form->addRow(Named(new QLabel(QString::fromLatin1(label), page), labelName), row);
    return edit;
}

}  // namespace

SizeStepPage::SizeStepPage(StepHost& host) : StepPage(host, page::kSize) {}

void SizeStepPage::Build() {
    MainWindowUi& ui = host_.Ui();
    WizardPagesUi& p = host_.Widgets();
    QWidget* page = Page();
    // The size edits above the picture's facts, Next under them.
    auto* column = new QVBoxLayout(page);
    ui.treInfoRas = Named(new QTreeWidget(page), "treInfoRas");
    ui.treInfoRas->header()->hide();
    auto* form = new QFormLayout;
    column->addLayout(form);
    column->addWidget(ui.treInfoRas);
    p.txtVecLarg = SizeEdit(form, page, "txtVecLarg", "lblVecLarg", "Width:", "nol_lblUnita1", p.nol_lblUnita1);
    p.txtVecAlt = SizeEdit(form, page, "txtVecAlt", "lblVecAlt", "Height:", "nol_lblUnita2", p.nol_lblUnita2);
    p.chkRatio = Named(new QCheckBox("Keep ratio", page), "chkRatio");
    p.chkRatio->setChecked(true);
    form->addRow(p.chkRatio);
    p.sbtDimApply = Button(page, "sbtDimApply", "Apply");
    p.sbtModify = Button(page, "sbtModify", "Modify");
    form->addRow(p.sbtDimApply, p.sbtModify);
    p.sbtNextB1 = Button(page, "sbtNextB1", "Next");
    auto* foot = new QFormLayout;
    column->addLayout(foot);
    PrevNext(foot, nullptr, p.sbtNextB1);
}

void SizeStepPage::SizeTyped(QLineEdit* edit, const std::function<void(WizardController&)>& action) {
    host_.PagesView().SetTyping(edit);
    host_.Forward(action);
    host_.PagesView().SetTyping(nullptr);
}

void SizeStepPage::Connect() {
    const WizardPagesUi& p = host_.Widgets();
    OnClick(p.sbtModify, &WizardController::modify);
    OnClick(p.sbtDimApply, &WizardController::applySize);
    OnClick(p.sbtNextB1, &WizardController::nextFromSize);
    // textEdited, never textChanged: what the program writes into an edit
    // runs no handler of the user's.
    connect(p.txtVecLarg, &QLineEdit::textEdited, this, [this](const QString& text) {
        SizeTyped(host_.Widgets().txtVecLarg, [&](WizardController& w) { w.widthEdited(text.toStdString()); });
    });
    connect(p.txtVecAlt, &QLineEdit::textEdited, this, [this](const QString& text) {
        SizeTyped(host_.Widgets().txtVecAlt, [&](WizardController& w) { w.heightEdited(text.toStdString()); });
    });
    // Enter in a size edit, and leaving it, apply the size typed.
    for (QLineEdit* edit : {p.txtVecLarg, p.txtVecAlt})
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            if (host_.Widgets().sbtDimApply->isEnabled()) host_.Forward([](WizardController& w) { w.applySize(); });
        });
    // Before the controller hears of the new unit (its handler is connected later).
    connect(host_.Ui().cboUnits, &QComboBox::activated, this, [this] { ShowUnits(); });
    connect(p.chkRatio, &QCheckBox::clicked, this,
            [this](bool on) { host_.Forward([on](WizardController& w) { w.keepRatioClicked(on); }); });
}

void SizeStepPage::ShowUnits() {
    const WizardPagesUi& p = host_.Widgets();
    for (QLabel* label : {p.nol_lblUnita1, p.nol_lblUnita2}) label->setText(host_.Ui().cboUnits->currentText());
}

void SizeStepPage::JobOpened() {
    ShowUnits();
    host_.Widgets().chkRatio->setChecked(host_.Wizard()->placement().keepRatio());
}

}  // namespace calvoro
