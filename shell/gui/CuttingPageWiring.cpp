#include "shell/gui/CuttingPageWiring.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSpinBox>
#include <utility>

#include "shell/gui/CuttingHelpPictures.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

namespace {
// The help texts beside the cutting parameters take the place of pictures
// 101 .. 112; their messages follow one another from here.
constexpr int kFirstHelpMessage = 960;
constexpr int kFirstHelpPicture = 101;
}  // namespace

CuttingPageWiring::CuttingPageWiring(const MainWindowUi& ui, const WizardPagesUi& pages, Forward forward,
                                     std::function<WizardController*()> wizard, QObject* parent)
    : QObject(parent), ui_(ui), pages_(pages), forward_(std::move(forward)), wizard_(std::move(wizard)) {
    const WizardPagesUi& p = pages;
    const auto edited = [this] { forward_([this](WizardController& w) { w.cuttingEdited(Read()); }); };
    for (QLineEdit* edit : {ui.txtIncXY, ui.txtFeedPlane, p.txtStock, ui.txtFilter, p.txtAspor_Z}) {
        connect(edit, &QLineEdit::textEdited, this, edited);
        edit->installEventFilter(this);
    }
    p.sedPass_Z->installEventFilter(this);
    p.grpZNC->installEventFilter(this);
    connect(p.sedPass_Z, &QSpinBox::valueChanged, this, edited);
    for (QCheckBox* box : {p.chkOrizzontale, p.chkVerticale})
        connect(box, &QCheckBox::clicked, this, [this] {
            const bool x = pages_.chkOrizzontale->isChecked(), y = pages_.chkVerticale->isChecked();
            forward_([x, y](WizardController& w) { w.rasterClicked(x, y); });
        });
    connect(p.chkCutColor, &QCheckBox::clicked, this,
            [this](bool on) { forward_([on](WizardController& w) { w.zncCheckClicked(on); }); });
    connect(p.txtFiltroZNC, &QLineEdit::textEdited, this, [this](const QString& t) {
        forward_([&](WizardController& w) { w.zncToleranceEdited(t.toStdString()); });
    });
    connect(p.sbtNcCalc, &QPushButton::clicked, this, [this] {
        forward_([this](WizardController& w) {
            w.cuttingEdited(Read());
            w.computeNc();
        });
    });
}

CuttingTexts CuttingPageWiring::Read() const {
    CuttingTexts texts;
    texts.stepOver = ui_.txtIncXY->text().toStdString();
    texts.feedPlane = ui_.txtFeedPlane->text().toStdString();
    texts.stock = pages_.txtStock->text().toStdString();
    texts.filter = ui_.txtFilter->text().toStdString();
    texts.zStep = pages_.txtAspor_Z->text().toStdString();
    texts.passCount = pages_.sedPass_Z->value();
    texts.rasterAlongX = pages_.chkOrizzontale->isChecked();
    texts.rasterAlongY = pages_.chkVerticale->isChecked();
    return texts;
}

std::string CuttingPageWiring::FieldCaption(CuttingField field) const {
    const std::pair<CuttingField, QWidget*> edits[] = {
        {CuttingField::StepOver, ui_.txtIncXY}, {CuttingField::FeedPlane, ui_.txtFeedPlane},
        {CuttingField::Stock, pages_.txtStock}, {CuttingField::Filter, ui_.txtFilter},
        {CuttingField::ZStep, pages_.txtAspor_Z}, {CuttingField::PassCount, pages_.sedPass_Z}};
    for (const auto& [which, edit] : edits) {
        if (which != field) continue;
        // The label beside the edit, as the language file names it.
        if (auto* label = ui_.form->findChild<QLabel*>(edit->objectName().replace(0, 3, "lbl")))
            return label->text().toStdString();
        return edit->objectName().toStdString();
    }
    return {};
}

void CuttingPageWiring::ShowHelpPicture(int resource) {
    pages_.imgCutPar->setProperty("resource", resource);
    pages_.imgCutPar->setPixmap(CuttingHelpPicture(resource));
    pages_.lblCutParHelp->setText(
        QString::fromStdString(LangString(std::to_string(kFirstHelpMessage + resource - kFirstHelpPicture))));
}

bool CuttingPageWiring::eventFilter(QObject* watched, QEvent* event) {
    WizardController* wizard = wizard_();
    if (!wizard) return false;
    const WizardPagesUi& p = pages_;
    if (event->type() == QEvent::FocusIn) {
        const std::pair<QObject*, CuttingField> fields[] = {
            {ui_.txtFeedPlane, CuttingField::FeedPlane}, {ui_.txtIncXY, CuttingField::StepOver},
            {p.txtStock, CuttingField::Stock},           {p.sedPass_Z, CuttingField::PassCount},
            {p.txtAspor_Z, CuttingField::ZStep},         {ui_.txtFilter, CuttingField::Filter}};
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
