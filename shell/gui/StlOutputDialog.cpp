#include "shell/gui/StlOutputDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/gui/FormTranslation.h"

namespace calvoro {

StlOutputDialog::StlOutputDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("frmStlDxf");
    setWindowTitle("Stl output");
    rbtOutSh = new QRadioButton("Surface", this);
    rbtOutSh->setObjectName("rbtOutSh");
    rbtOutSh->setChecked(true);
    rbtOutSo = new QRadioButton("Solid", this);
    rbtOutSo->setObjectName("rbtOutSo");
    auto* sbtOk = new QPushButton("OK", this);
    sbtOk->setObjectName("sbtOk");
    sbtOk->setDefault(true);
    auto* bntCancel = new QPushButton("Cancel", this);
    bntCancel->setObjectName("bntCancel");
    connect(sbtOk, &QPushButton::clicked, this, [this] {
        ok_ = true;
        accept();
    });
    connect(bntCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(sbtOk);
    buttons->addWidget(bntCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rbtOutSh);
    layout->addWidget(rbtOutSo);
    layout->addLayout(buttons);
}

bool StlOutputDialog::Solid() const {
    return rbtOutSo->isChecked();
}

void StlOutputDialog::showEvent(QShowEvent* event) {
    TranslateForms({this});
    if (!documentName_.isEmpty()) setWindowTitle(documentName_);
    ok_ = false;
    QDialog::showEvent(event);
}

}  // namespace calvoro
