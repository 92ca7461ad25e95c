// The form that sends a language file to the makers: who translated it, what
// may be published, a note. Send hands the mail to the user's mail program and
// closes the form; a hand-off that fails keeps the form open with the reason.
#pragma once

#include <QDialog>
#include <filesystem>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace calvoro {

class LanguageDialogs;
class MailService;

class FrmSubmitLng : public QDialog {
    Q_OBJECT
public:
    FrmSubmitLng(LanguageDialogs& dialogs, MailService& mail, QWidget* parent = nullptr);

    // The language to send and its file.
    void setLanguage(const QString& name, const std::filesystem::path& file);

    QLineEdit* txtLngName;
    QLineEdit* txtName;
    QLineEdit* txtEmail;
    QCheckBox* chkAutName;
    QCheckBox* chkAutEmail;
    QPlainTextEdit* memNote;
    QPushButton* SpeedButton1;  // Send...
    QPushButton* btnCancel;     // leaves without sending

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SpeedButton1Click();

    LanguageDialogs& dialogs_;
    MailService& mail_;
    std::filesystem::path file_;
};

}  // namespace calvoro
