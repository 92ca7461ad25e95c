#include "shell/gui/FrmSubmitLng.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

#include "shell/gui/FormTranslation.h"
#include "shell/gui/LanguageDialogs.h"
#include "shell/gui/MailService.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

FrmSubmitLng::FrmSubmitLng(LanguageDialogs& dialogs, MailService& mail, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), mail_(mail) {
    setObjectName("frmSubmitLng");
    setWindowTitle("Submit your language");
    setWindowModality(Qt::ApplicationModal);
    txtLngName = Named(new QLineEdit(this), "txtLngName");
    txtLngName->setReadOnly(true);
    txtName = Named(new QLineEdit(this), "txtName");
    txtEmail = Named(new QLineEdit(this), "txtEmail");
    chkAutName = Named(new QCheckBox("I authorize to publish my name", this), "chkAutName");
    chkAutEmail = Named(new QCheckBox("I authorize to publish my email", this), "chkAutEmail");
    memNote = Named(new QPlainTextEdit(this), "memNote");
    SpeedButton1 = Named(new QPushButton("Send...", this), "SpeedButton1");
    btnCancel = Named(new QPushButton("Cancel", this), "btnCancel");

    auto* form = new QFormLayout(this);
    form->addRow(Named(new QLabel("Language:", this), "lblLngName"), txtLngName);
    form->addRow(Named(new QLabel("Name:", this), "lblName"), txtName);
    form->addRow(nullptr, chkAutName);
    form->addRow(Named(new QLabel("Email:", this), "lblEmail"), txtEmail);
    form->addRow(nullptr, chkAutEmail);
    form->addRow(Named(new QLabel("Note:", this), "lblNote"), memNote);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(btnCancel);
    form->addRow(buttons);
    connect(SpeedButton1, &QPushButton::clicked, this, &FrmSubmitLng::SpeedButton1Click);
    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
}

void FrmSubmitLng::setLanguage(const QString& name, const std::filesystem::path& file) {
    txtLngName->setText(name);
    file_ = file;
}

void FrmSubmitLng::showEvent(QShowEvent* event) {
    // The desktop showing the window again (after minimising) is no new start.
    if (!event->spontaneous()) {
        TranslateForms({this});
        memNote->clear();
        txtName->clear();
        txtEmail->clear();
        chkAutName->setChecked(true);
        chkAutEmail->setChecked(true);
        txtName->setFocus();  // the language is given; the translator's name comes first
    }
    QDialog::showEvent(event);
}

void FrmSubmitLng::SpeedButton1Click() {
    LanguageSubmission submission;
    submission.language = txtLngName->text().toStdString();
    submission.name = txtName->text().toStdString();
    submission.email = txtEmail->text().toStdString();
    submission.publishName = chkAutName->isChecked();
    submission.publishEmail = chkAutEmail->isChecked();
    submission.noteLines = SplitTextLines(memNote->toPlainText().toStdString());
    // One hand-off at a time; the button comes back when this one is over.
    SpeedButton1->setEnabled(false);
    QPointer<FrmSubmitLng> self(this);
    mail_.send(BuildSubmissionMail(submission, file_), [self](const MailHandOff& result) {
        if (!self) return;
        self->SpeedButton1->setEnabled(true);
        const QString caption = QString::fromStdString(LangString("450"));
        if (!result.ok) {
            self->dialogs_.showError(
                self, caption,
                QString::fromStdString(LangStringOr("1048", "The mail was not handed to your mail program.")) + "\n" +
                    result.message);
            return;
        }
        if (!result.message.isEmpty()) self->dialogs_.inform(self, caption, result.message);
        self->close();
    });
}

}  // namespace calvoro
