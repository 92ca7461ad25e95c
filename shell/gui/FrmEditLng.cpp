#include "shell/gui/FrmEditLng.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "shell/gui/FormTranslation.h"
#include "shell/gui/FrmNewLang.h"
#include "shell/gui/FrmSubmitLng.h"
#include "shell/gui/LanguageDialogs.h"
#include "shell/gui/MailService.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

QPushButton* Button(const char* name, const char* text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QString Lang(const char* number, const char* design) {
    return QString::fromStdString(LangStringOr(number, design));
}

QString Caption() {
    return QString::fromStdString(LangString("450"));
}

}  // namespace

FrmEditLng::FrmEditLng(LanguageStore store, LanguageDialogs& dialogs, MailService& mail, QWidget* parent)
    : QDialog(parent), store_(std::move(store)), dialogs_(dialogs), mail_(mail) {
    setObjectName("frmEditLng");
    setWindowTitle("Languages");
    setWindowModality(Qt::ApplicationModal);
    lsbLang = new QListWidget(this);
    lsbLang->setObjectName("lsbLang");
    sbtNewLng = Button("sbtNewLng", "Create new language", this);
    sbtModLng = Button("sbtModLng", "Modify language", this);
    sbtDelLng = Button("sbtDelLng", "Delete language", this);
    sbtSubmitLng = Button("sbtSubmitLng", "Submit your language", this);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {sbtNewLng, sbtModLng, sbtDelLng, sbtSubmitLng}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(lsbLang, 1);
    layout->addLayout(buttons);

    connect(lsbLang, &QListWidget::itemSelectionChanged, this,
            [this] { Abilita(!lsbLang->selectedItems().isEmpty()); });
    connect(sbtNewLng, &QPushButton::clicked, this, &FrmEditLng::sbtNewLngClick);
    connect(sbtModLng, &QPushButton::clicked, this, &FrmEditLng::sbtModLngClick);
    connect(sbtDelLng, &QPushButton::clicked, this, &FrmEditLng::sbtDelLngClick);
    connect(sbtSubmitLng, &QPushButton::clicked, this, &FrmEditLng::sbtSubmitLngClick);
    Abilita(false);
}

FrmEditLng* FrmEditLng::Open(QWidget* parent, LanguageDialogs& dialogs, MailService& mail) {
    auto* manager = new FrmEditLng(LanguageStore(), dialogs, mail, parent);
    manager->setAttribute(Qt::WA_DeleteOnClose);
    manager->show();
    return manager;
}

LanguageDialogs& FrmEditLng::DefaultDialogs() {
    static QtLanguageDialogs dialogs;
    return dialogs;
}

MailService& FrmEditLng::DefaultMailService() {
    static DesktopMailService mail;
    return mail;
}

void FrmEditLng::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        TranslateForms({this});
        FillList();
    }
    QDialog::showEvent(event);
}

void FrmEditLng::FillList() {
    lsbLang->clear();
    for (const std::string& name : store_.List()) lsbLang->addItem(QString::fromStdString(name));
    Abilita(false);
}

void FrmEditLng::Abilita(bool enabled) {
    sbtModLng->setEnabled(enabled);
    sbtSubmitLng->setEnabled(enabled);
    sbtDelLng->setEnabled(enabled);
}

QString FrmEditLng::SelectedName() const {
    const QList<QListWidgetItem*> selected = lsbLang->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

bool FrmEditLng::RefuseEnglish(const QString& name) {
    if (!LanguageStore::IsProtected(name.toStdString())) return false;
    dialogs_.warn(this, Caption(), Lang("1040", "Unable to modify or delete the \"english.lng\""));
    return true;
}

void FrmEditLng::OpenEditor(const QString& name, LanguageText text, bool isNew) {
    editor_ = new FrmNewLang(store_, name.toStdString(), std::move(text), dialogs_, this);
    editor_->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor_, &FrmNewLang::languageClosed, this, [this, isNew](bool saved) {
        editor_ = nullptr;
        if (!saved) return;
        emit languagesChanged();
        // A new language joins the list; an edited one is there already.
        if (isNew) FillList();
    });
    editor_->show();
}

void FrmEditLng::sbtNewLngClick() {
    const std::optional<QString> typed =
        dialogs_.askText(this, Lang("1041", "Create new"), Lang("1042", "New language name"), "");
    if (!typed) return;
    const QString name = typed->trimmed();
    if (name.isEmpty()) return;
    const std::string problem = LanguageStore::CheckNewName(name.toStdString());
    if (!problem.empty()) {
        dialogs_.warn(this, Caption(), QString::fromStdString(problem));
        return;
    }
    if (store_.Exists(name.toStdString()) &&
        !dialogs_.askYesNo(
            this, Caption(),
            Lang("1043", "The language %1 exists already. Replace it with a copy of English when you save?").arg(name),
            false))
        return;
    LanguageText english;
    try {
        english = store_.Load(kDefaultLanguage);
    } catch (const std::exception& error) {
        dialogs_.showError(this, Caption(), QString::fromStdString(error.what()));
        return;
    }
    OpenEditor(name, std::move(english), true);
}

void FrmEditLng::sbtModLngClick() {
    const QString name = SelectedName();
    if (name.isEmpty() || RefuseEnglish(name)) return;
    LanguageText text;
    try {
        text = store_.Load(name.toStdString());
    } catch (const std::exception& error) {
        dialogs_.showError(this, Caption(), QString::fromStdString(error.what()));
        return;
    }
    OpenEditor(name, std::move(text), false);
}

void FrmEditLng::sbtDelLngClick() {
    const QString name = SelectedName();
    if (name.isEmpty() || RefuseEnglish(name)) return;
    if (!dialogs_.askYesNo(this, Caption(), Lang("1044", "Are you sure to delete the language %1").arg(name), false))
        return;
    const std::string problem = store_.Delete(name.toStdString());
    if (!problem.empty()) {
        dialogs_.showError(this, Caption(), QString::fromStdString(problem));
        return;
    }
    emit languagesChanged();
    // Deleting the user's copy of a shipped language leaves the shipped one.
    if (!store_.Exists(name.toStdString())) delete lsbLang->selectedItems().front();
    lsbLang->clearSelection();
    Abilita(false);
}

void FrmEditLng::sbtSubmitLngClick() {
    const QString name = SelectedName();
    if (name.isEmpty()) return;
    const std::filesystem::path file = store_.FileOf(name.toStdString());
    if (file.empty()) {
        dialogs_.showError(this, Caption(), Lang("1045", "The language file of %1 was not found.").arg(name));
        return;
    }
    submission_ = new FrmSubmitLng(dialogs_, mail_, this);
    submission_->setAttribute(Qt::WA_DeleteOnClose);
    submission_->setLanguage(name, file);
    submission_->show();
}

}  // namespace calvoro
