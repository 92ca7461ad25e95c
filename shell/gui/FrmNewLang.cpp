#include "shell/gui/FrmNewLang.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
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
    btnSave = new QPushButton("Save", this);
    btnSave->setObjectName("btnSave");
    btnClose = new QPushButton("Close", this);
    btnClose->setObjectName("btnClose");
    for (QPushButton* button : {btnSave, btnClose}) button->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSave);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memLang_);
    layout->addLayout(buttons);
    connect(btnSave, &QPushButton::clicked, this, [this] { Save(); });
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

bool FrmNewLang::Save() {
    LanguageText edited = original_;
    edited.text = editedText();
    try {
        store_.Save(name_, edited);
    } catch (const std::exception& error) {
        dialogs_.showError(this, QString::fromStdString(LangString("450")),
                           QString::fromStdString(LangStringOr("1047", "The language was not saved.")) + "\n" +
                               QString::fromStdString(error.what()));
        return false;
    }
    saved_ = true;
    savedText_ = edited.text;
    return true;
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
    // Nothing typed since the last Save: nothing to ask.
    const bool unchanged = saved_ && editedText() == savedText_;
    if (!unchanged &&
        dialogs_.askYesNo(this, QString::fromStdString(LangString("450")),
                          QString::fromStdString(LangStringOr("1046", "Save the language %1")).arg(target), true) &&
        !Save()) {
        event->ignore();
        return;
    }
    event->accept();
    setResult(saved_ ? Accepted : Rejected);
    emit languageClosed(saved_);
}

}  // namespace calvoro
