#include "shell/gui/steps/NcFileStepPage.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include "shell/app/Pages.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/gui/WizardPagesView.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

NcFileStepPage::NcFileStepPage(StepHost& host) : StepPage(host, page::kNcFile) {}

void NcFileStepPage::Build() {
    WizardPagesUi& p = host_.Widgets();
    QWidget* page = Page();
    QFormLayout* form = FormOf(page);
    p.sbtNewNc = Button(page, "sbtNewNc", "NC file...");
    form->addRow(p.sbtNewNc);
    p.stxNcFileName = Named(new QLabel(page), "stxNcFileName");
    // The page sets the width and the name is shortened to it.
    p.stxNcFileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    form->addRow(p.stxNcFileName);
    p.cboPostName = Named(new QComboBox(page), "cboPostName");
    form->addRow(Named(new QLabel("Post Processor:", page), "lblPostName"), p.cboPostName);
    p.stxPstCommento = Named(new QLabel(page), "stxPstCommento");
    p.stxPstCommento->setWordWrap(true);
    form->addRow(p.stxPstCommento);
    p.sbtPrevB4 = Button(page, "sbtPrevB4", "Prev");
    p.sbtNextB4 = Button(page, "sbtNextB4", "Next");
    PrevNext(form, p.sbtPrevB4, p.sbtNextB4);
}

void NcFileStepPage::Connect() {
    const WizardPagesUi& p = host_.Widgets();
    OnClick(p.sbtNewNc, &WizardController::chooseNcFile);
    OnClick(p.sbtPrevB4, &WizardController::prevFromNcFile);
    OnClick(p.sbtNextB4, &WizardController::nextFromNcFile);
    connect(p.cboPostName, &QComboBox::textActivated, this, [this](const QString& name) {
        host_.Forward([&](WizardController& w) { w.choosePost(name.toStdString()); });
    });
    // An NC file saved from the NC page becomes the job's.
    connect(&host_.NcPages(), &NcPageWiring::ncFileChosen, this, [this](const QString& file) {
        if (WizardController* wizard = host_.Wizard()) wizard->ncFileSavedAs(file.toStdString());
    });
    // The NC file's name is shortened anew whenever its label's width changes.
    p.stxNcFileName->installEventFilter(this);
}

void NcFileStepPage::Start() {
    QComboBox* posts = host_.Widgets().cboPostName;
    posts->clear();
    posts->addItem(QString::fromStdString(host_.Wizard()->post().postName));
}

bool NcFileStepPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_.Widgets().stxNcFileName && event->type() == QEvent::Resize)
        host_.PagesView().ShortenNcFileName();
    return false;
}

}  // namespace calvoro
