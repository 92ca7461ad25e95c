#include "shell/gui/GridDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "shell/gui/FormTranslation.h"
#include "shell/gui/GridCombos.h"

namespace calvoro {

namespace {
QCheckBox* Check(const char* text, const char* name, QWidget* parent) {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName(name);
    return check;
}

QLabel* Label(const char* text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}
}  // namespace

GridDialog::GridDialog(GridHost& host, QWidget* parent) : QDialog(parent), coupling_(host) {
    setObjectName("frmGrid");
    setWindowTitle("Grid and snap");
    setModal(true);

    auto* grpGrid = new QGroupBox("Grid: ", this);
    grpGrid->setObjectName("grpGrid");
    auto* grpSnap = new QGroupBox("Snap: ", this);
    grpSnap->setObjectName("grpSnap");
    nol_cboGridX = MakeSpacingBox("nol_cboGridX", grpGrid);
    nol_cboGridY = MakeSpacingBox("nol_cboGridY", grpGrid);
    nol_cboGridSubX = MakeSpacingBox("nol_cboGridSubX", grpGrid);
    nol_cboGridSubY = MakeSpacingBox("nol_cboGridSubY", grpGrid);
    nol_cboXSnap = MakeSpacingBox("nol_cboXSnap", grpSnap);
    nol_cboYSnap = MakeSpacingBox("nol_cboYSnap", grpSnap);
    combos_ = {nol_cboGridX, nol_cboGridY, nol_cboGridSubX, nol_cboGridSubY, nol_cboXSnap, nol_cboYSnap};
    chkUnisceGrid = Check("Same X and Y", "chkUnisceGrid", grpGrid);
    chkUnisceSubGrid = Check("Same X and Y", "chkUnisceSubGrid", grpGrid);
    chkShowGrid = Check("Show grid", "chkShowGrid", grpGrid);
    chkSnap = Check("Same X and Y", "chkSnap", grpSnap);
    chkSnap->setChecked(true);
    chkSnap2Grid = Check("Snap to grid", "chkSnap2Grid", grpSnap);

    auto* gridLayout = new QGridLayout(grpGrid);
    gridLayout->addWidget(Label("Spacing X:", "lblGridX", grpGrid), 0, 0);
    gridLayout->addWidget(nol_cboGridX, 0, 1);
    gridLayout->addWidget(Label("Spacing Y:", "lblGridY", grpGrid), 1, 0);
    gridLayout->addWidget(nol_cboGridY, 1, 1);
    gridLayout->addWidget(chkUnisceGrid, 2, 0, 1, 2);
    gridLayout->addWidget(Label("Fine grid X:", "lblGridSubX", grpGrid), 3, 0);
    gridLayout->addWidget(nol_cboGridSubX, 3, 1);
    gridLayout->addWidget(Label("Fine grid Y:", "lblGridSubY", grpGrid), 4, 0);
    gridLayout->addWidget(nol_cboGridSubY, 4, 1);
    gridLayout->addWidget(chkUnisceSubGrid, 5, 0, 1, 2);
    gridLayout->addWidget(chkShowGrid, 6, 0, 1, 2);
    auto* snapLayout = new QGridLayout(grpSnap);
    snapLayout->addWidget(Label("Snap X:", "lblXSnap", grpSnap), 0, 0);
    snapLayout->addWidget(nol_cboXSnap, 0, 1);
    snapLayout->addWidget(Label("Snap Y:", "lblYSnap", grpSnap), 1, 0);
    snapLayout->addWidget(nol_cboYSnap, 1, 1);
    snapLayout->addWidget(chkSnap, 2, 0, 1, 2);
    snapLayout->addWidget(chkSnap2Grid, 3, 0, 1, 2);

    auto* btnOk = new QPushButton("OK", this);
    btnOk->setObjectName("btnOk");
    btnOk->setDefault(true);
    auto* btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    groups->addWidget(grpGrid);
    groups->addWidget(grpSnap);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    BindGridPair(this, coupling_, nol_cboGridX, nol_cboGridY, chkUnisceGrid, GridField::GridX);
    BindGridPair(this, coupling_, nol_cboGridSubX, nol_cboGridSubY, chkUnisceSubGrid, GridField::GridSubX);
    BindGridPair(this, coupling_, nol_cboXSnap, nol_cboYSnap, chkSnap, GridField::XSnap);
    connect(chkShowGrid, &QCheckBox::toggled, this, [this](bool on) { coupling_.SetShowGrid(on); });
    connect(chkSnap2Grid, &QCheckBox::toggled, this, [this](bool on) { coupling_.SetUseSnap(on); });
}

void GridDialog::ShowValues() {
    GridValues values = coupling_.Values();
    // The grid's spacings show "%6.3f" (10 as "10.000", 1 as " 1.000"); the
    // snap intervals show as typed.
    for (const GridField field : {GridField::GridX, GridField::GridY, GridField::GridSubX, GridField::GridSubY}) {
        QComboBox* box = Combo(field);
        const QSignalBlocker blocker(box);
        box->setEditText(QString::asprintf("%6.3f", GridCoupling::Field(values, field)));
    }
    for (const GridField field : {GridField::XSnap, GridField::YSnap})
        ShowSpacing(Combo(field), GridCoupling::Field(values, field));
    const QSignalBlocker showBlocker(chkShowGrid);
    chkShowGrid->setChecked(values.ShowGrid);
    const QSignalBlocker snapBlocker(chkSnap2Grid);
    chkSnap2Grid->setChecked(values.UseSnap);
}

void GridDialog::showEvent(QShowEvent* event) {
    TranslateForms({this});
    ShowValues();
    coupling_.TakeSnapshot();
    revert_ = true;
    QDialog::showEvent(event);
}

void GridDialog::done(int result) {
    // Esc and the close box end here as a rejection, just as Cancel does.
    if (result == QDialog::Accepted) revert_ = false;
    if (revert_) {
        coupling_.Revert();
        ShowValues();
        revert_ = false;
    }
    QDialog::done(result);
}

}  // namespace calvoro
