// The manager of the language files: lists them, makes a new one from a copy
// of English, edits one, deletes one, or sends one to the makers. English is
// the reference and is neither edited nor deleted here.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include "shell/gui/FrmNewLang.h"
#include "shell/gui/FrmSubmitLng.h"
#include "shell/lang/LanguageStore.h"

class QListWidget;
class QPushButton;

namespace calvoro {

class LanguageDialogs;
class MailService;

class FrmEditLng : public QDialog {
    Q_OBJECT
public:
    FrmEditLng(LanguageStore store, LanguageDialogs& dialogs, MailService& mail, QWidget* parent = nullptr);

    // Opens the manager modally over `parent` and returns it; it deletes itself
    // when closed (connect to finished() to list the languages again).
    static FrmEditLng* Open(QWidget* parent, LanguageDialogs& dialogs, MailService& mail);
    // The program's own dialogs and mail program.
    static LanguageDialogs& DefaultDialogs();
    static MailService& DefaultMailService();

    QListWidget* lsbLang;
    QPushButton* sbtNewLng;
    QPushButton* sbtModLng;
    QPushButton* sbtDelLng;
    QPushButton* sbtSubmitLng;

    // The editor or submission form open now, if any.
    FrmNewLang* editor() const { return editor_; }
    FrmSubmitLng* submission() const { return submission_; }

signals:
    // A language file was written or deleted: lists of languages are stale.
    void languagesChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FillList();
    void Abilita(bool enabled);
    QString SelectedName() const;
    // True when `name` is English, after telling the user it cannot be changed.
    bool RefuseEnglish(const QString& name);
    void OpenEditor(const QString& name, LanguageText text, bool isNew);

    void sbtNewLngClick();
    void sbtModLngClick();
    void sbtDelLngClick();
    void sbtSubmitLngClick();

    LanguageStore store_;
    LanguageDialogs& dialogs_;
    MailService& mail_;
    QPointer<FrmNewLang> editor_;
    QPointer<FrmSubmitLng> submission_;
};

}  // namespace calvoro
