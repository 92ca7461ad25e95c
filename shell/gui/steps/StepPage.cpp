#include "shell/gui/steps/StepPage.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/gui/MainWindowUi.h"
#include "shell/gui/NumericKeyFilter.h"
#include "shell/wizard/WizardController.h"

namespace calvoro {

StepPage::StepPage(StepHost& host, int page) : host_(host), page_(page) {}

QWidget* StepPage::Page() const {
    return host_.Ui().pages[static_cast<std::size_t>(page_)];
}

void StepPage::OnClick(QPushButton* button, void (WizardController::*action)()) {
    connect(button, &QPushButton::clicked, this,
            [this, action] { host_.Forward([action](WizardController& w) { (w.*action)(); }); });
}

namespace step_widgets {

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

void ShowValue(QLineEdit* edit, double value) {
    edit->setText(QString::number(value, 'g', 6));
}

void PrevNext(QFormLayout* form, QPushButton* prev, QPushButton* next) {
    auto* row = new QHBoxLayout;
    if (prev) row->addWidget(prev);
    row->addStretch(1);
    if (next) row->addWidget(next);
    form->addRow(row);
}

QFormLayout* FormOf(QWidget* page) {
    if (auto* form = qobject_cast<QFormLayout*>(page->layout())) return form;
    if (auto* column = qobject_cast<QBoxLayout*>(page->layout())) {
        auto* form = new QFormLayout;
        column->addLayout(form);
        return form;
    }
    return new QFormLayout(page);
}

}  // namespace step_widgets

}  // namespace calvoro
