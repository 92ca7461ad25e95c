#include "shell/gui/FrmNewLang.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

#include "shell/gui/FormTranslation.h"
#include "shell/gui/LanguageDialogs.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

FrmNewLang::FrmNewLang(LanguageStore store, std::string name, LanguageText text, LanguageDialogs& dialogs,
                       QWidget* parent)
    : QDialog(parent),
      store_(std::move(store)),
      name_(std::move(name)),
      original_(std::move(text)),
      dialogs_(dialogs),
      memLang_(new QPlainTextEdit(this)) {
    setObjectName("frmNewLang");
    setWindowTitle("Edit Language");
    setWindowModality(Qt::ApplicationModal);
    resize(640, 520);
    memLang_->setObjectName("memLang");
    memLang_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memLang_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memLang_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memLang_->setPlainText(QString::fromStdString(original_.text));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memLang_);
}

std::string FrmNewLang::editedText() const {
    // The raw text: the plain text would turn the no-break spaces that end
    // some values into ordinary blanks, which the file would then lose.
    QString text = memLang_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

void FrmNewLang::showEvent(QShowEvent* event) {
    TranslateForms({this});
    QDialog::showEvent(event);
}

void FrmNewLang::reject() {
    close();
}

void FrmNewLang::closeEvent(QCloseEvent* event) {
    const QString target = QString::fromStdString(store_.SaveTarget(name_).string());
    bool saved = false;
    if (dialogs_.askYesNo(this, QString::fromStdString(LangString("450")), "Save the language " + target, true)) {
        LanguageText edited = original_;
        edited.text = editedText();
        try {
            store_.Save(name_, edited);
            saved = true;
        } catch (const std::exception& error) {
            dialogs_.showError(this, QString::fromStdString(LangString("450")),
                               "The language was not saved.\n" + QString::fromStdString(error.what()));
            event->ignore();
            return;
        }
    }
    event->accept();
    setResult(saved ? Accepted : Rejected);
    emit languageClosed(saved);
}

}  // namespace calvoro
