// The parameter pages of the CAD commands.
#include "shell/gui/CommandPages.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <tuple>

#include "shell/app/Pages.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/gui/NumericKeyFilter.h"
#include "shell/gui/RealSpinBox.h"

namespace calvoro {

namespace {

template <class T>
T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

QFormLayout* Form(WorkPage* page, const char* caption) {
    page->setCaption(caption);
    return new QFormLayout(page);
}

QLineEdit* Edit(QFormLayout* form, const char* name, const char* labelName, const char* label, const char* value,
                NumericKeys keys = NumericKeys::Positive) {
    QWidget* page = form->parentWidget();
    auto* edit = Named(new QLineEdit(value, page), name);
    InstallNumericKeys(edit, keys);
    form->addRow(Named(new QLabel(label, page), labelName), edit);
    return edit;
}

template <class T>
T* Row(QFormLayout* form, T* widget, const char* name) {
    form->addRow(Named(widget, name));
    return widget;
}

}  // namespace

QToolButton* BuildCommandPages(MainWindowUi& ui, CommandPagesUi& p) {
    auto page = [&ui](int index) { return ui.pages[static_cast<std::size_t>(index)]; };

    QFormLayout* f = Form(page(page::kCircleCtDia), "Circle");
    p.txtDiamArco = Edit(f, "txtDiamArco", "lblDiamArco", "Diameter:", "10");

    f = Form(page(page::kArcPolar), "Arc");
    p.txtDiamArcoPolare = Edit(f, "txtDiamArcoPolare", "lblDiamArcoPolare", "Diameter:", "10");
    for (auto [spin, name, labelName, label] :
         {std::tuple{&p.rseArcoPolareSa, "rseArcoPolareSa", "lblArcoPolareSa", "Start angle:"},
          std::tuple{&p.rseArcoPolareEa, "rseArcoPolareEa", "lblArcoPolareEa", "End angle:"}}) {
        *spin = Named(new RealSpinBox(page(page::kArcPolar)), name);
        (*spin)->setRange(-360.0, 360.0);
        f->addRow(Named(new QLabel(label, page(page::kArcPolar)), labelName), *spin);
    }

    f = Form(page(page::kPoly), "Polyline");
    p.sbtPolyOk = Row(f, new QPushButton("Finish", page(page::kPoly)), "sbtPolyOk");
    p.sbtClosePoly = Row(f, new QPushButton("Close", page(page::kPoly)), "sbtClosePoly");

    f = Form(page(page::kFillet), "Fillet");
    p.txtRaccordo = Edit(f, "txtRaccordo", "lblRaccordo", "Radius:", "5");

    f = Form(page(page::kArcTan), "Tangent arc");
    p.rbtTanTo1 = Row(f, new QRadioButton("Tangent to one entity", page(page::kArcTan)), "rbtTanTo1");
    p.rbtTanTo2 = Row(f, new QRadioButton("Tangent to two entities", page(page::kArcTan)), "rbtTanTo2");
    p.grpArcTan = Row(f, new QGroupBox("Arc", page(page::kArcTan)), "grpArcTan");
    auto* arc = new QFormLayout(p.grpArcTan);
    p.txtArcTanRadius = Edit(arc, "txtArcTanRadius", "lblArcTanRadius", "Radius:", "5");
    p.chkArcTanTrim = Named(new QCheckBox("Trim the entities", p.grpArcTan), "chkArcTanTrim");
    p.chkArcTanTrim->setChecked(true);
    arc->addRow(p.chkArcTanTrim);
    p.grpArcTan->hide();

    f = Form(page(page::kDelSmall), "Delete small");
    p.txtSmallX = Edit(f, "txtSmallX", "lblSmallX", "Smaller than:", "1");
    p.sbtDelSmall = Row(f, new QPushButton("Delete", page(page::kDelSmall)), "sbtDelSmall");
    p.stxReportSmall = Row(f, new QLabel(page(page::kDelSmall)), "stxReportSmall");

    f = Form(page(page::kLinePolar), "Line");
    p.txtLinePolLen = Edit(f, "txtLinePolLen", "lblLinePolLen", "Length:", "10");
    p.txtLinePolAngle = Edit(f, "txtLinePolAngle", "lblLinePolAngle", "Angle:", "0", NumericKeys::Signed);
    f = Form(page(page::kLineTanAngle), "Tangent line");
    p.txtLenTanAng = Edit(f, "txtLenTanAng", "lblLenTanAng", "Length:", "10");
    p.txtLinTanAngle = Edit(f, "txtLinTanAngle", "lblLinTanAngle", "Angle:", "0", NumericKeys::Signed);
    f = Form(page(page::kPointGrid), "Grid of points");
    p.txtPtGridDx = Edit(f, "txtPtGridDx", "lblPtGridDx", "Spacing:", "10");

    f = Form(page(page::kTranslate), "Translate");
    p.txtTransDx = Edit(f, "txtTransDx", "lblTransDx", "Distance X:", "0", NumericKeys::Signed);
    p.txtTransDy = Edit(f, "txtTransDy", "lblTransDy", "Distance Y:", "0", NumericKeys::Signed);
    p.rbtTransMove = Row(f, new QRadioButton("Move", page(page::kTranslate)), "rbtTransMove");
    p.rbtTransCopy = Row(f, new QRadioButton("Copy", page(page::kTranslate)), "rbtTransCopy");
    p.rbtTransMove->setChecked(true);
    p.txtTransRepeat = Edit(f, "txtTransRepeat", "lblTransRepeat", "Copies:", "1");
    p.sbtTranslateOk = Row(f, new QPushButton("OK", page(page::kTranslate)), "sbtTranslateOk");

    f = Form(page(page::kRotate), "Rotate");
    p.txtRotateAngle = Edit(f, "txtRotateAngle", "lblRotateAngle", "Angle:", "0", NumericKeys::SignedOrEnter);
    p.rbtRotateMove = Row(f, new QRadioButton("Move", page(page::kRotate)), "rbtRotateMove");
    p.rbtRotateCopy = Row(f, new QRadioButton("Copy", page(page::kRotate)), "rbtRotateCopy");
    p.rbtRotateMove->setChecked(true);
    p.txtRotateRepeat = Edit(f, "txtRotateRepeat", "lblRotateRepeat", "Copies:", "1");
    p.sbtRotateOk = Row(f, new QPushButton("OK", page(page::kRotate)), "sbtRotateOk");

    f = Form(page(page::kScale), "Scale");
    p.rbtScaleUniform = Row(f, new QRadioButton("Uniform", page(page::kScale)), "rbtScaleUniform");
    p.rbtScaleXy = Row(f, new QRadioButton("X and Y", page(page::kScale)), "rbtScaleXy");
    p.txtScaleX = Named(new QLineEdit("1", page(page::kScale)), "txtScaleX");
    p.lblScaleX = Named(new QLabel("Scale X", page(page::kScale)), "lblScaleX");
    f->addRow(p.lblScaleX, p.txtScaleX);
    p.txtScaleY = Named(new QLineEdit("1", page(page::kScale)), "txtScaleY");
    p.lblScaleY = Named(new QLabel("Scale Y", page(page::kScale)), "lblScaleY");
    f->addRow(p.lblScaleY, p.txtScaleY);
    InstallNumericKeys(p.txtScaleX, NumericKeys::Positive);
    InstallNumericKeys(p.txtScaleY, NumericKeys::Positive);
    p.txtScaleRepeat = Edit(f, "txtScaleRepeat", "lblScaleRepeat", "Copies:", "1");
    p.rbtScaleUniform->setChecked(true);
    p.txtScaleY->hide();
    p.lblScaleY->hide();

    f = Form(page(page::kOffset), "Offset");
    p.txtOffsetDist = Edit(f, "txtOffsetDist", "lblOffsetDist", "Distance:", "1");
    p.sbtOffsetOk = Row(f, new QPushButton("OK", page(page::kOffset)), "sbtOffsetOk");
    p.sbtFlipOffset = Row(f, new QPushButton("Flip", page(page::kOffset)), "sbtFlipOffset");

    // The distance page is also a step of the job; its close button shows
    // only while it stands beside the work for a measurement.
    page(page::kLineInfo)->setCaption("Line");
    page(page::kDistance)->setCaption("Distance");
    auto* closeDistance = Named(new QToolButton(page(page::kDistance)), "sbtCloseDistance");
    closeDistance->setText("Close");
    closeDistance->hide();
    page(page::kDistance)->layout()->addWidget(closeDistance);
    ui.mnuCad->addSeparator();
    Named(ui.mnuCad->addAction("Measure distance"), "mnuMeasure");
    return closeDistance;
}


}  // namespace calvoro
