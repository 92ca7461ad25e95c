// The text editor of one language file. It is modal: while it is open
// nothing else in the program can change which file it edits or touch that
// file. Closing it asks whether to save; a save that fails keeps it open with
// the text as typed.
#pragma once

#include <QDialog>
#include <QString>
#include <string>

#include "shell/lang/LanguageStore.h"

class QPlainTextEdit;
class QPushButton;

namespace calvoro {

class LanguageDialogs;

class FrmNewLang : public QDialog {
    Q_OBJECT
public:
    // Edits `text` as the language `name`; saving writes to the store's user folder.
    FrmNewLang(LanguageStore store, std::string name, LanguageText text, LanguageDialogs& dialogs,
               QWidget* parent = nullptr);

    QPlainTextEdit* memLang() const { return memLang_; }
    QPushButton* btnSave = nullptr;   // writes the file and stays open
    QPushButton* btnClose = nullptr;  // closes, asking about unsaved changes
    const std::string& languageName() const { return name_; }
    // The memo's text exactly as typed (line ends "\n").
    std::string editedText() const;

signals:
    // The editor has closed; `saved` when the file was written while it was open.
    void languageClosed(bool saved);

public slots:
    void reject() override;  // Esc asks about saving like the close box

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Writes the text as typed; false (after telling the user) when it failed.
    bool Save();

    LanguageStore store_;
    std::string name_;
    LanguageText original_;
    LanguageDialogs& dialogs_;
    QPlainTextEdit* memLang_;
    bool saved_ = false;
    std::string savedText_;  // what the file holds since the last Save
};

}  // namespace calvoro
