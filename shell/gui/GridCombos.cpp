#include "shell/gui/GridCombos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "shell/gui/Application.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

const char* const kGridSpacingItems[15] = {"0.001", "0.0025", "0.005", "0.01", "0.025", "0.05", "0.1", "0.25",
                                           "0.5",   "1",      "2.5",   "5",    "10",    "25",   "50"};

namespace {
void TextChanged(GridCoupling& coupling, GridField field, QComboBox* partner, QCheckBox* same, const QString& text) {
    const bool coupled = same->isChecked();
    if (!coupling.Change(field, text.toStdString(), coupled) || !coupled) return;
    const QSignalBlocker blocker(partner);
    partner->setEditText(text);
}

void EditFinished(const GridCoupling& coupling, GridField field, QComboBox* box) {
    const QString typed = box->currentText();
    const std::optional<std::string> inForce = coupling.Finish(field, typed.toStdString());
    if (!inForce) return;
    box->setEditText(QString::fromStdString(*inForce));
    QString message = QString::fromStdString(ReadLangText("frmGrid", "msgNotASpacing"));
    if (message.isEmpty()) message = "\"%1\" is not a spacing: enter a number above 0.";
    Application::reportError(message.arg(typed));
}

void Bind(QObject* context, GridCoupling& coupling, GridField field, QComboBox* box, QComboBox* partner,
          QCheckBox* same) {
    auto changed = [&coupling, field, partner, same](const QString& text) {
        TextChanged(coupling, field, partner, same, text);
    };
    QObject::connect(box, &QComboBox::textActivated, context, changed);
    QObject::connect(box->lineEdit(), &QLineEdit::textEdited, context, changed);
    QObject::connect(box->lineEdit(), &QLineEdit::editingFinished, context,
                     [&coupling, field, box] { EditFinished(coupling, field, box); });
}
}  // namespace

QComboBox* MakeSpacingBox(const char* name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : kGridSpacingItems) box->addItem(item);
    return box;
}

void BindGridPair(QObject* context, GridCoupling& coupling, QComboBox* xBox, QComboBox* yBox, QCheckBox* same,
                  GridField xField) {
    Bind(context, coupling, xField, xBox, yBox, same);
    Bind(context, coupling, GridCoupling::Partner(xField), yBox, xBox, same);
}

void ShowSpacing(QComboBox* box, double value) {
    const QSignalBlocker blocker(box);
    box->setEditText(QString::fromStdString(GridCoupling::SpacingText(value)));
}

}  // namespace calvoro
