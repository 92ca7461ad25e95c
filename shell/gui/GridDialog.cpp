#include "shell/gui/GridDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "shell/gui/Application.h"
#include "shell/gui/FormTranslation.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {
const QStringList kSpacings = {"0.001", "0.0025", "0.005", "0.01", "0.025", "0.05", "0.1", "0.25",
                               "0.5",   "1",      "2.5",   "5",    "10",    "25",   "50"};

QComboBox* SpacingBox(const char* name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(kSpacings);
    return combo;
}

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
    nol_cboGridX = SpacingBox("nol_cboGridX", grpGrid);
    nol_cboGridY = SpacingBox("nol_cboGridY", grpGrid);
    nol_cboGridSubX = SpacingBox("nol_cboGridSubX", grpGrid);
    nol_cboGridSubY = SpacingBox("nol_cboGridSubY", grpGrid);
    nol_cboXSnap = SpacingBox("nol_cboXSnap", grpSnap);
    nol_cboYSnap = SpacingBox("nol_cboYSnap", grpSnap);
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

    // Only the user's own changes act: filling the boxes by code must neither
    // change the values nor set off the coupled box.
    for (int i = 0; i < 6; ++i) {
        const auto field = static_cast<GridField>(i);
        QComboBox* combo = combos_[static_cast<std::size_t>(i)];
        connect(combo, &QComboBox::textActivated, this, [this, field](const QString& t) { TextChanged(field, t); });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this,
                [this, field](const QString& t) { TextChanged(field, t); });
        connect(combo->lineEdit(), &QLineEdit::editingFinished, this, [this, field] { EditFinished(field); });
    }
    connect(chkShowGrid, &QCheckBox::toggled, this, [this](bool on) { coupling_.SetShowGrid(on); });
    connect(chkSnap2Grid, &QCheckBox::toggled, this, [this](bool on) { coupling_.SetUseSnap(on); });
}

QCheckBox* GridDialog::CouplingBox(GridField field) const {
    switch (field) {
        case GridField::GridX:
        case GridField::GridY:
            return chkUnisceGrid;
        case GridField::GridSubX:
        case GridField::GridSubY:
            return chkUnisceSubGrid;
        case GridField::XSnap:
        case GridField::YSnap:
            return chkSnap;
    }
    return chkSnap;
}

void GridDialog::TextChanged(GridField field, const QString& text) {
    const bool coupled = CouplingBox(field)->isChecked();
    if (!coupling_.Change(field, text.toStdString(), coupled) || !coupled) return;
    QComboBox* partner = Combo(GridCoupling::Partner(field));
    const QSignalBlocker blocker(partner);
    partner->setEditText(text);
}

void GridDialog::EditFinished(GridField field) {
    QComboBox* combo = Combo(field);
    const QString typed = combo->currentText();
    const std::optional<std::string> inForce = coupling_.Finish(field, typed.toStdString());
    if (!inForce) return;
    combo->setEditText(QString::fromStdString(*inForce));
    QString message = QString::fromStdString(ReadLangText("frmGrid", "msgNotASpacing"));
    if (message.isEmpty()) message = "\"%1\" is not a spacing: enter a number above 0.";
    Application::reportError(message.arg(typed));
}

void GridDialog::ShowValues() {
    GridValues values = coupling_.Values();
    for (int i = 0; i < 6; ++i) {
        QComboBox* combo = combos_[static_cast<std::size_t>(i)];
        const QSignalBlocker blocker(combo);
        combo->setEditText(
            QString::fromStdString(GridCoupling::SpacingText(GridCoupling::Field(values, static_cast<GridField>(i)))));
    }
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
