#include "shell/gui/WizardPagesView.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QAction>
#include <array>
#include <cmath>

#include "engine/nc/NcFileChoice.h"
#include "shell/app/MainState.h"
#include "shell/app/Pages.h"
#include "shell/gui/CommandActions.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/View3D.h"
#include "shell/gui/WizardPagesUi.h"
#include "shell/gui/steps/CuttingStepPage.h"
#include "shell/lang/MessageTable.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/NumberText.h"

namespace calvoro {

namespace {

QString Lang(const char* number) {
    return QString::fromStdString(LangString(number));
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::optional<double> Number(const QLineEdit* edit) {
    return ParseEditNumber(edit->text().toStdString());
}

// An edit the user is typing in keeps the text typed while it says the same
// number, so the caret never jumps and "7" does not turn into "7.000" under
// the next key.
void ShowNumber(QLineEdit* edit, const std::string& text, const QLineEdit* typing) {
    const auto shown = Number(edit);
    const auto wanted = ParseEditNumber(text);
    if (edit == typing && shown && wanted && std::abs(*shown - *wanted) <= 5e-4 * std::max(1.0, std::abs(*wanted)))
        return;
    edit->setText(QString::fromStdString(text));
}

}  // namespace

WizardPagesView::WizardPagesView(MainWindowUi& ui, const WizardPagesUi& pages, MainState& state, MainLifeCycle& life,
                                 NcPageWiring& ncPages, View3D& view3d, CuttingStepPage& cuttingPage, Job& job)
    : ui_(ui),
      pages_(pages),
      state_(state),
      life_(life),
      ncPages_(ncPages),
      view3d_(view3d),
      cuttingPage_(cuttingPage),
      job_(job) {
    job_.addObserver(*this);
}

WizardPagesView::~WizardPagesView() {
    job_.removeObserver(*this);
}

// The NC file's whole name, kept in the label's tool tip, on one line
// shortened to the label's width.
void WizardPagesView::ShortenNcFileName() {
    QLabel* label = pages_.stxNcFileName;
    const QFontMetrics metrics = label->fontMetrics();
    const std::string name = label->toolTip().toStdString();
    label->setText(Text(ShortenToWidth(name, label->width(), [&](std::string_view text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text.data(), qsizetype(text.size())));
    })));
}

void WizardPagesView::showPage(int page, bool withStatus) {
    if (onPageShown_) onPageShown_();
    if (!life_.Pages().Visible(page::kSize)) life_.VisPagine({page::kSize, page::kReference, page::kDepth, page::kNcFile, page::kTool, page::kCutting});
    if (page == page::kProgram) ncPages_.PrepareNcPage();
    life_.ShowPageNow(page, withStatus);
}

void WizardPagesView::showStatus(int pageMessage) {
    // The point pick has a prompt of its own; the page of its number belongs
    // to another command.
    if (pageMessage == page_message::kPointPick)
        life_.Messaggio(Lang("932"));
    else
        life_.Messaggio(Text(MessageTable()[static_cast<std::size_t>(pageMessage)]));
}

void WizardPagesView::setEnabled(WizardControl control, bool enabled) {
    const WizardPagesUi& p = pages_;
    switch (control) {
        case WizardControl::NextB1:
            p.sbtNextB1->setEnabled(enabled);
            break;
        case WizardControl::DimApply:
            p.sbtDimApply->setEnabled(enabled);
            break;
        case WizardControl::NextB2:
            p.sbtNextB2->setEnabled(enabled);
            break;
        case WizardControl::OrigineApply:
            p.sbtOrigineApply->setEnabled(enabled);
            break;
        case WizardControl::ProfApply:
            p.sbtProfApply->setEnabled(enabled);
            break;
        case WizardControl::NextB3:
            p.sbtNextB3->setEnabled(enabled);
            break;
        case WizardControl::NextB4:
            p.sbtNextB4->setEnabled(enabled);
            break;
        case WizardControl::NextB6:
            p.sbtNextB6->setEnabled(enabled);
            break;
        case WizardControl::NcCalc:
            p.sbtNcCalc->setEnabled(enabled);
            break;
        case WizardControl::CutSel:
            p.sbtCutSel->setEnabled(enabled);
            break;
        case WizardControl::Save:
            // Whether there is something to save is the wizard's; whether
            // Save may be used now is decided with the window's other locks.
            life_.Actions().Refresh();
            break;
        case WizardControl::ZncControls:
            for (QWidget* widget : {static_cast<QWidget*>(ui_.btnZNC), static_cast<QWidget*>(p.txtFiltroZNC),
                                    static_cast<QWidget*>(p.lblZNC), static_cast<QWidget*>(p.sbtZNCRegen)})
                widget->setEnabled(enabled);
            break;
    }
}

void WizardPagesView::showSize(const std::string& width, const std::string& height) {
    ShowNumber(pages_.txtVecLarg, width, typing_);
    ShowNumber(pages_.txtVecAlt, height, typing_);
}

void WizardPagesView::showOrigin(const std::string& x, const std::string& y) {
    ShowNumber(ui_.txtOriginX, x, typing_);
    ShowNumber(ui_.txtOriginY, y, typing_);
}

void WizardPagesView::showCheckedCorner(int corner) {
    // Corner 5 is the centre button; none checked leaves every button open.
    QRadioButton* checked = corner >= 1 && corner <= 4 ? pages_.rbtOrigine[corner]
                            : corner == 5              ? pages_.rbtOrigine[0]
                                                       : nullptr;
    QButtonGroup* group = pages_.rbtOrigine[1]->group();
    group->setExclusive(checked != nullptr);
    for (QRadioButton* button : pages_.rbtOrigine) button->setChecked(button == checked);
    group->setExclusive(true);
}

void WizardPagesView::showShading(ShadingResolution resolution) {
    view3d_.setShadingResolution(resolution);
    (resolution == ShadingResolution::Coarse   ? pages_.rbtShResCoarse
     : resolution == ShadingResolution::Medium ? pages_.rbtShResMedium
                                               : pages_.rbtShResFine)
        ->setChecked(true);
}

void WizardPagesView::showHelpPicture(int resource) {
    cuttingPage_.ShowHelpPicture(resource);
}

void WizardPagesView::showZncCaption(const std::string& caption) {
    ui_.btnZNC->setText(Text(caption));
}

void WizardPagesView::showPostList(const std::vector<std::string>& names, const std::string& current,
                                const std::string& comment) {
    const QSignalBlocker blocker(pages_.cboPostName);
    pages_.cboPostName->clear();
    for (const std::string& name : names) pages_.cboPostName->addItem(Text(name));
    const int index = pages_.cboPostName->findText(Text(current), Qt::MatchFixedString);
    if (index >= 0)
        pages_.cboPostName->setCurrentIndex(index);
    else
        pages_.cboPostName->setEditText(Text(current));
    pages_.stxPstCommento->setText(Text(comment));
    state_.settings.Pst = current;
}

void WizardPagesView::showCropSelection(const std::optional<CutInfo>& cut) {
    const std::array<QLineEdit*, 4> edits = {pages_.txtCutDx, pages_.txtCutDy, pages_.txtPixelW, pages_.txtPixelH};
    if (!cut) {
        for (QLineEdit* edit : edits) edit->clear();
        return;
    }
    const bool inches = state_.settings.Unit != 0;
    pages_.txtCutDx->setText(Text(formatta(cut->SizeX, inches)));
    pages_.txtCutDy->setText(Text(formatta(cut->SizeY, inches)));
    pages_.txtPixelW->setText(QString::number(cut->PixelWidth));
    pages_.txtPixelH->setText(QString::number(cut->PixelHeight));
}

std::string WizardPagesView::fieldCaption(CuttingField field) {
    return cuttingPage_.FieldCaption(field);
}

void WizardPagesView::jobChanged(const Job& job, JobChanges changes) {
    if (!(changes & kJobNcFile)) return;
    const std::filesystem::path& file = job.ncFileName();
    pages_.stxNcFileName->setToolTip(Text(file.string()));
    ShortenNcFileName();
    if (file.has_parent_path()) state_.settings.NcPath = file.parent_path().string() + "/";
}

void WizardPagesView::showDocumentName(const std::filesystem::path& file) {
    ui_.form->setWindowTitle(Text(state_.BaseCaption) + " - " + Text(file.string()));
}

}  // namespace calvoro
