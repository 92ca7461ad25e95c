#include "shell/gui/WizardPagesUi.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "shell/gui/MainWindowUi.h"
#include "shell/gui/NumericKeyFilter.h"

namespace calvoro {

namespace {

template <class T>
T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QPushButton* Button(QWidget* page, const char* name, const char* text) {
    return Named(new QPushButton(QString::fromLatin1(text), page), name);
}

QLineEdit* Edit(QFormLayout* form, QWidget* page, const char* name, const char* labelName, const char* label,
                NumericKeys keys) {
    auto* edit = Named(new QLineEdit(page), name);
    InstallNumericKeys(edit, keys);
    form->addRow(Named(new QLabel(QString::fromLatin1(label), page), labelName), edit);
    return edit;
}

QLineEdit* ReadOnly(QFormLayout* form, QWidget* page, const char* name, const char* labelName, const char* label) {
    auto* edit = Named(new QLineEdit(page), name);
    edit->setReadOnly(true);
    form->addRow(Named(new QLabel(QString::fromLatin1(label), page), labelName), edit);
    return edit;
}

// A label beside the edit of a form's row, for the edit's unit.
QLabel* UnitBeside(QFormLayout* form, QLineEdit* edit, const char* name) {
    int row = 0;
    QFormLayout::ItemRole role = QFormLayout::FieldRole;
    form->getWidgetPosition(edit, &row, &role);
    form->removeWidget(edit);
    auto* field = new QHBoxLayout;
    field->addWidget(edit);
    QLabel* unit = Named(new QLabel(edit->parentWidget()), name);
    field->addWidget(unit);
    form->setLayout(row, role, field);
    return unit;
}

// Prev and Next at the foot of a page; either may be absent.
void PrevNext(QFormLayout* form, QPushButton* prev, QPushButton* next) {
    auto* row = new QHBoxLayout;
    if (prev) row->addWidget(prev);
    row->addStretch(1);
    if (next) row->addWidget(next);
    form->addRow(row);
}

QFormLayout* FormOf(QWidget* page) {
    if (auto* form = qobject_cast<QFormLayout*>(page->layout())) return form;
    // A page shared with other panels already has its column: the form goes under what stands there.
    if (auto* column = qobject_cast<QBoxLayout*>(page->layout())) {
        auto* form = new QFormLayout;
        column->addLayout(form);
        return form;
    }
    return new QFormLayout(page);
}

void BuildEditPage(QWidget* page, WizardPagesUi& p) {
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

void BuildSizePage(QWidget* page, WizardPagesUi& p) {
    auto* column = qobject_cast<QVBoxLayout*>(page->layout());
    auto* form = new QFormLayout;
    column->insertLayout(0, form);
    p.txtVecLarg = Edit(form, page, "txtVecLarg", "lblVecLarg", "Width:", NumericKeys::PositiveOrEnter);
    p.txtVecAlt = Edit(form, page, "txtVecAlt", "lblVecAlt", "Height:", NumericKeys::PositiveOrEnter);
    p.nol_lblUnita1 = UnitBeside(form, p.txtVecLarg, "nol_lblUnita1");
    p.nol_lblUnita2 = UnitBeside(form, p.txtVecAlt, "nol_lblUnita2");
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

void BuildReferencePage(QWidget* page, WizardPagesUi& p) {
    QFormLayout* form = FormOf(page);
    auto* group = Named(new QGroupBox("Origin", page), "grpOrigine");
    auto* corners = new QVBoxLayout(group);
    static const char* const kNames[5] = {"rbtOrigine0", "rbtOrigine1", "rbtOrigine2", "rbtOrigine3",
                                          "rbtOrigine4"};
    static const char* const kTexts[5] = {"Centre", "Lower left", "Upper left", "Upper right", "Lower right"};
    auto* exclusive = new QButtonGroup(group);
    for (int corner : {1, 2, 3, 4, 0}) {
        p.rbtOrigine[corner] = Named(new QRadioButton(QString::fromLatin1(kTexts[corner]), group), kNames[corner]);
        exclusive->addButton(p.rbtOrigine[corner], corner);
        corners->addWidget(p.rbtOrigine[corner]);
    }
    form->insertRow(0, group);
    p.sbtSetOrigin = Button(page, "sbtSetOrigin", "Select Pt.");
    p.sbtOrigineApply = Button(page, "sbtOrigineApply", "Apply");
    form->addRow(p.sbtSetOrigin, p.sbtOrigineApply);
    p.sbtPrevB2 = Button(page, "sbtPrevB2", "Prev");
    p.sbtNextB2 = Button(page, "sbtNextB2", "Next");
    PrevNext(form, p.sbtPrevB2, p.sbtNextB2);
}

void BuildDepthPage(QWidget* page, WizardPagesUi& p) {
    QFormLayout* form = FormOf(page);
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

void BuildNcFilePage(QWidget* page, WizardPagesUi& p) {
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

void BuildToolPage(QWidget* page, WizardPagesUi& p) {
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
    for (QLabel* label : {t.name, t.number, t.speed, t.feedRate, t.plunge, t.diameter, t.shapeValue, t.flatValue,
                          t.picture})
        form->addRow(label);
    p.sbtPrevB5 = Button(page, "sbtPrevB5", "Prev");
    p.sbtNextB5 = Button(page, "sbtNextB5", "Next");
    PrevNext(form, p.sbtPrevB5, p.sbtNextB5);
}

void BuildCuttingPage(MainWindowUi& ui, QWidget* page, WizardPagesUi& p) {
    QFormLayout* form = FormOf(page);
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

}  // namespace

void BuildWizardPages(MainWindowUi& ui, WizardPagesUi& p) {
    BuildEditPage(ui.pages[page::kDistance], p);
    BuildSizePage(ui.pages[page::kSize], p);
    BuildReferencePage(ui.pages[page::kReference], p);
    BuildDepthPage(ui.pages[page::kDepth], p);
    BuildNcFilePage(ui.pages[page::kNcFile], p);
    BuildToolPage(ui.pages[page::kTool], p);
    BuildCuttingPage(ui, ui.pages[page::kCutting], p);
    p.sbtPrevB7 = Button(ui.pages[page::kProgram], "sbtPrevB7", "Prev");
    if (QLayout* layout = ui.pages[page::kProgram]->layout()) layout->addWidget(p.sbtPrevB7);
}

}  // namespace calvoro
