#include "shell/gui/steps/CuttingStepPage.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <utility>

#include "shell/app/Pages.h"
#include "shell/gui/CuttingHelpPictures.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

using namespace step_widgets;

namespace {
// The help texts beside the cutting parameters take the place of pictures
// 101 .. 112; their messages follow one another from here.
constexpr int kFirstHelpMessage = 960;
constexpr int kFirstHelpPicture = 101;
}  // namespace

CuttingStepPage::CuttingStepPage(StepHost& host) : StepPage(host, page::kCutting) {}

void CuttingStepPage::Build() {
    MainWindowUi& ui = host_.Ui();
    WizardPagesUi& p = host_.Widgets();
    QWidget* page = Page();
    auto* form = new QFormLayout(page);
    ui.txtIncXY = Edit(form, page, "txtIncXY", "lblIncXY", "Step over:", NumericKeys::Positive);
    ui.txtFeedPlane = Edit(form, page, "txtFeedPlane", "lblFeedPlane", "Feed plane:", NumericKeys::Signed);
    ui.txtFilter = Edit(form, page, "txtFilter", "lblFilter", "Filter:", NumericKeys::Positive);
    // Made here so that Tab reaches it after the filter; it stands in the Z no-cut group below.
    ui.btnZNC = Named(new QPushButton("Pick Z point", page), "btnZNC");
    p.txtStock = Edit(form, page, "txtStock", "lblStock", "Stock to leave:", NumericKeys::Positive);
    p.chkOrizzontale = Named(new QCheckBox(QString::fromUtf8("0°"), page), "chkOrizzontale");
    p.chkVerticale = Named(new QCheckBox(QString::fromUtf8("90°"), page), "chkVerticale");
    p.chkOrizzontale->setChecked(true);
    form->addRow(p.chkOrizzontale, p.chkVerticale);
    p.sedPass_Z = Named(new QSpinBox(page), "sedPass_Z");
    p.sedPass_Z->setRange(1, 99);
    form->addRow(Named(new QLabel("N. depth cuts:", page), "lblPass_Z"), p.sedPass_Z);
    p.txtAspor_Z = Edit(form, page, "txtAspor_Z", "lblAspor_Z", "Z step:", NumericKeys::Positive);
    p.txtAspor_Z->setText("0");
    p.imgCutPar = Named(new QLabel(page), "imgCutPar");
    p.imgCutPar->setFixedSize(200, 80);
    form->addRow(p.imgCutPar);
    p.lblCutParHelp = Named(new QLabel(page), "lblCutParHelp");
    p.lblCutParHelp->setWordWrap(true);
    // Room for the longest help text, so that the buttons below stay where
    // the pointer left them whichever field is explained.
    p.lblCutParHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    p.lblCutParHelp->setMinimumHeight(3 * p.lblCutParHelp->fontMetrics().lineSpacing());
    form->addRow(p.lblCutParHelp);

    p.grpZNC = Named(new QGroupBox("Z no cut", page), "grpZNC");
    auto* zone = new QFormLayout(p.grpZNC);
    p.chkCutColor = Named(new QCheckBox("On", p.grpZNC), "chkCutColor");
    zone->addRow(p.chkCutColor);
    ui.btnZNC->setParent(p.grpZNC);
    zone->addRow(ui.btnZNC);
    p.txtFiltroZNC = Named(new QLineEdit("0", p.grpZNC), "txtFiltroZNC");
    InstallNumericKeys(p.txtFiltroZNC, NumericKeys::Positive);
    p.lblZNC = Named(new QLabel("Tolerance:", p.grpZNC), "lblZNC");
    zone->addRow(p.lblZNC, p.txtFiltroZNC);
    p.sbtZNCRegen = Button(p.grpZNC, "sbtZNCRegen", "Redraw");
    zone->addRow(p.sbtZNCRegen);
    form->addRow(p.grpZNC);

    p.sbtNcCalc = Button(page, "sbtNcCalc", "Compute");
    form->addRow(p.sbtNcCalc);
    p.sbtPrevB6 = Button(page, "sbtPrevB6", "Prev");
    p.sbtNextB6 = Button(page, "sbtNextB6", "Next");
    PrevNext(form, p.sbtPrevB6, p.sbtNextB6);
    for (QWidget* widget : {static_cast<QWidget*>(ui.btnZNC), static_cast<QWidget*>(p.txtFiltroZNC),
                            static_cast<QWidget*>(p.lblZNC), static_cast<QWidget*>(p.sbtZNCRegen)})
        widget->setEnabled(false);
}

void CuttingStepPage::Connect() {
    const MainWindowUi& ui = host_.Ui();
    const WizardPagesUi& p = host_.Widgets();
    OnClick(p.sbtPrevB6, &WizardController::prevFromCutting);
    OnClick(p.sbtNextB6, &WizardController::nextFromCutting);
    OnClick(ui.btnZNC, &WizardController::startZncPick);
    OnClick(p.sbtZNCRegen, &WizardController::regenerateZnc);
    const auto edited = [this] { host_.Forward([this](WizardController& w) { w.cuttingEdited(Read()); }); };
    for (QLineEdit* edit : {ui.txtIncXY, ui.txtFeedPlane, p.txtStock, ui.txtFilter, p.txtAspor_Z}) {
        connect(edit, &QLineEdit::textEdited, this, edited);
        edit->installEventFilter(this);
    }
    p.sedPass_Z->installEventFilter(this);
    p.grpZNC->installEventFilter(this);
    connect(p.sedPass_Z, &QSpinBox::valueChanged, this, edited);
    for (QCheckBox* box : {p.chkOrizzontale, p.chkVerticale})
        connect(box, &QCheckBox::clicked, this, [this] {
            const WizardPagesUi& p = host_.Widgets();
            const bool x = p.chkOrizzontale->isChecked(), y = p.chkVerticale->isChecked();
            host_.Forward([x, y](WizardController& w) { w.rasterClicked(x, y); });
        });
    connect(p.chkCutColor, &QCheckBox::clicked, this,
            [this](bool on) { host_.Forward([on](WizardController& w) { w.zncCheckClicked(on); }); });
    connect(p.txtFiltroZNC, &QLineEdit::textEdited, this, [this](const QString& t) {
        host_.Forward([&](WizardController& w) { w.zncToleranceEdited(t.toStdString()); });
    });
    connect(p.sbtNcCalc, &QPushButton::clicked, this, [this] {
        host_.Forward([this](WizardController& w) {
            w.cuttingEdited(Read());
            w.computeNc();
        });
    });
}

void CuttingStepPage::JobOpened() {
    const MainWindowUi& ui = host_.Ui();
    const WizardPagesUi& p = host_.Widgets();
    {
        const QSignalBlocker blocker(p.chkCutColor);
        p.chkCutColor->setChecked(false);
    }
    const CuttingParameters& cutting = host_.Wizard()->cutting();
    ShowValue(ui.txtIncXY, cutting.stepOver);
    ShowValue(ui.txtFeedPlane, cutting.feedPlaneZ);
    ShowValue(ui.txtFilter, cutting.filterTolerance);
    ShowValue(p.txtStock, cutting.stockAllowance);
    ShowValue(p.txtAspor_Z, cutting.zStep);
    {
        const QSignalBlocker blocker(p.sedPass_Z);
        p.sedPass_Z->setValue(cutting.passCount);
    }
    p.chkOrizzontale->setChecked(cutting.rasterAlongX);
    p.chkVerticale->setChecked(cutting.rasterAlongY);
}

CuttingTexts TypedCuttingTexts(const MainWindowUi& ui, const WizardPagesUi& p) {
    CuttingTexts texts;
    texts.stepOver = ui.txtIncXY->text().toStdString();
    texts.feedPlane = ui.txtFeedPlane->text().toStdString();
    texts.stock = p.txtStock->text().toStdString();
    texts.filter = ui.txtFilter->text().toStdString();
    texts.zStep = p.txtAspor_Z->text().toStdString();
    texts.passCount = p.sedPass_Z->value();
    texts.rasterAlongX = p.chkOrizzontale->isChecked();
    texts.rasterAlongY = p.chkVerticale->isChecked();
    return texts;
}

std::string CuttingStepPage::FieldCaption(CuttingField field) const {
    const MainWindowUi& ui = host_.Ui();
    const WizardPagesUi& p = host_.Widgets();
    const std::pair<CuttingField, QWidget*> edits[] = {
        {CuttingField::StepOver, ui.txtIncXY}, {CuttingField::FeedPlane, ui.txtFeedPlane},
        {CuttingField::Stock, p.txtStock},     {CuttingField::Filter, ui.txtFilter},
        {CuttingField::ZStep, p.txtAspor_Z},   {CuttingField::PassCount, p.sedPass_Z}};
    for (const auto& [which, edit] : edits) {
        if (which != field) continue;
        // The label beside the edit, as the language file names it.
        if (auto* label = ui.form->findChild<QLabel*>(edit->objectName().replace(0, 3, "lbl")))
            return label->text().toStdString();
        return edit->objectName().toStdString();
    }
    return {};
}

void CuttingStepPage::ShowHelpPicture(int resource) {
    const WizardPagesUi& p = host_.Widgets();
    p.imgCutPar->setProperty("resource", resource);
    p.imgCutPar->setPixmap(CuttingHelpPicture(resource));
    p.lblCutParHelp->setText(
        QString::fromStdString(LangString(std::to_string(kFirstHelpMessage + resource - kFirstHelpPicture))));
}

bool CuttingStepPage::eventFilter(QObject* watched, QEvent* event) {
    WizardController* wizard = host_.Wizard();
    if (!wizard) return false;
    const MainWindowUi& ui = host_.Ui();
    const WizardPagesUi& p = host_.Widgets();
    if (event->type() == QEvent::FocusIn) {
        const std::pair<QObject*, CuttingField> fields[] = {
            {ui.txtFeedPlane, CuttingField::FeedPlane}, {ui.txtIncXY, CuttingField::StepOver},
            {p.txtStock, CuttingField::Stock},          {p.sedPass_Z, CuttingField::PassCount},
            {p.txtAspor_Z, CuttingField::ZStep},        {ui.txtFilter, CuttingField::Filter}};
        for (const auto& [object, field] : fields)
            if (object == watched) wizard->focusField(field);
    } else if (watched == p.grpZNC && event->type() == QEvent::Enter) {
        wizard->focusField(CuttingField::ZncGroup);
    } else if (watched == p.grpZNC && event->type() == QEvent::Leave) {
        wizard->leaveZncGroup();
    }
    return false;
}

}  // namespace calvoro
