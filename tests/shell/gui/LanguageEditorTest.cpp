// The language manager, its editor and the submission form, driven with
// scripted answers and a mail program that only records: English stays as it
// is, names are checked, nothing is written unless the user saves, failures
// keep the row or the form, and a language made here is one the program can
// switch to.
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <deque>

#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/FrmEditLng.h"
#include "shell/gui/FrmNewLang.h"
#include "shell/gui/FrmSubmitLng.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/LanguageDialogs.h"
#include "shell/gui/MailService.h"
#include "shell/lang/UnitLang.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

// Answers Yes/No questions in turn (No once they run out) and the input box
// with `typed`; every box shown is logged as "kind: text".
class FakeDialogs : public LanguageDialogs {
public:
    bool askYesNo(QWidget*, const QString&, const QString& text, bool) override {
        log << "ask: " + text;
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void warn(QWidget*, const QString&, const QString& text) override { log << "warn: " + text; }
    void showError(QWidget*, const QString&, const QString& text) override { log << "error: " + text; }
    void inform(QWidget*, const QString&, const QString& text) override { log << "inform: " + text; }
    std::optional<QString> askText(QWidget*, const QString& caption, const QString& prompt, const QString&) override {
        log << "input: " + caption + " / " + prompt;
        return typed;
    }

    QStringList log;
    std::deque<bool> answers;
    std::optional<QString> typed;
};

class FakeMail : public MailService {
public:
    void send(const MailMessage& mail, Done done) override {
        sent.push_back(mail);
        done(result);
    }
    std::vector<MailMessage> sent;
    MailHandOff result{true, {}};
};

// A no-break space ends a value the program follows with a number.
const QByteArray kEnglish = "[frmTest]\r\nlblText.Caption=Hello\r\n[String]\r\n110=File:\xC2\xA0\r\n";
const QByteArray kDeutsch = "[frmTest]\r\nlblText.Caption=Gr\xFC\xDF Gott\xA0\r\n";  // Windows-1252

class MailtoCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl& url) { opened << url; }

public:
    QList<QUrl> opened;
};

class LanguageEditorTest : public QObject {
    Q_OBJECT
private:
    fs::path root_;
    fs::path shipped_;
    fs::path user_;
    std::unique_ptr<FakeDialogs> dialogs_;
    std::unique_ptr<FakeMail> mail_;
    std::unique_ptr<FrmEditLng> manager_;

    void OpenManager(LanguageStore::RemoveFile remove = {}) {
        manager_ = std::make_unique<FrmEditLng>(LanguageStore(shipped_, user_, std::move(remove)), *dialogs_, *mail_);
        manager_->show();
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < manager_->lsbLang->count(); ++i) rows << manager_->lsbLang->item(i)->text();
        return rows;
    }
    void Select(const QString& name) {
        const QList<QListWidgetItem*> found = manager_->lsbLang->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        manager_->lsbLang->setCurrentItem(found.front());
    }
    // Closes the open editor, answering the save question.
    void CloseEditor(bool save) {
        QVERIFY(manager_->editor());
        dialogs_->answers.push_back(save);
        manager_->editor()->close();
    }
    QByteArray UserFile(const std::string& name) const {
        return QByteArray::fromStdString(ReadWholeFile(user_ / name));
    }
    QByteArray ShippedFile(const std::string& name) const {
        return QByteArray::fromStdString(ReadWholeFile(shipped_ / name));
    }
    // Types over the first `from` in the open editor, as a user would.
    void Retype(const QString& from, const QString& to) {
        QTextCursor found = manager_->editor()->memLang()->document()->find(from);
        QVERIFY(!found.isNull());
        found.insertText(to);
    }

private slots:
    void init() {
        root_ = fs::temp_directory_path() /
                ("calvoro_language_editor_" + std::to_string(QCoreApplication::applicationPid()));
        fs::remove_all(root_);
        shipped_ = root_ / "language";
        user_ = root_ / "user" / "language";
        fs::create_directories(shipped_);
        WriteFileAtomically(shipped_ / "english.lng", kEnglish.toStdString());
        WriteFileAtomically(shipped_ / "deutsch.lng", kDeutsch.toStdString());
        dialogs_ = std::make_unique<FakeDialogs>();
        mail_ = std::make_unique<FakeMail>();
        Application::setErrorReporter([](const QString&) {});  // no language loaded: forms keep their texts
        OpenManager();
        QCOMPARE(Rows(), QStringList({"deutsch", "english"}));
        QVERIFY(!manager_->sbtModLng->isEnabled() && !manager_->sbtDelLng->isEnabled());
    }
    void cleanup() {
        manager_.reset();
        Application::setErrorReporter(nullptr);
        fs::remove_all(root_);
    }

    void englishIsNeitherModifiedNorDeleted() {
        Select("english");
        dialogs_->answers = {true, true};
        manager_->sbtModLng->click();
        manager_->sbtDelLng->click();
        QCOMPARE(dialogs_->log, QStringList(2, "warn: Unable to modify or delete the \"english.lng\""));
        QVERIFY(!manager_->editor());
        QCOMPARE(Rows(), QStringList({"deutsch", "english"}));
        QCOMPARE(ShippedFile("english.lng"), kEnglish);
        QVERIFY(!fs::exists(user_));
    }

    void aNewNameIsCheckedBeforeAnythingOpens() {
        const std::pair<QString, QString> cases[] = {
            {"English ", "warn: \"english\" is the reference"},
            {"../x", "warn: A language name cannot begin with a dot."},
            {"a/b", "warn: A language name cannot hold folders"},
            {"Deutsch", "ask: The language Deutsch exists already."},  // answered No
            {"  ", "input: Create new / New language name"},
        };
        for (const auto& [typed, shown] : cases) {
            dialogs_->log.clear();
            dialogs_->typed = typed;
            manager_->sbtNewLng->click();
            QVERIFY2(dialogs_->log.back().startsWith(shown), qPrintable(dialogs_->log.join('|')));
            QVERIFY(!manager_->editor());
        }
        QVERIFY(!fs::exists(user_) && !fs::exists(root_ / "x.lng"));
    }

    void anExistingNameAnsweredYesIsReplacedByTheCopyOnSave() {
        dialogs_->typed = "Deutsch";
        dialogs_->answers = {true};
        manager_->sbtNewLng->click();
        CloseEditor(true);
        QCOMPARE(UserFile("deutsch.lng"), kEnglish);
        QCOMPARE(ShippedFile("deutsch.lng"), kDeutsch);
        QCOMPARE(Rows(), QStringList({"deutsch", "english"}));
    }

    void aNewLanguageIsWrittenAndListedOnlyWhenSaved() {
        dialogs_->typed = "Italiano";
        manager_->sbtNewLng->click();
        QCOMPARE(manager_->editor()->memLang()->toPlainText(),
                 QString("[frmTest]\nlblText.Caption=Hello\n[String]\n110=File: "));
        CloseEditor(false);
        QVERIFY(!manager_->editor());
        QVERIFY(!fs::exists(user_ / "Italiano.lng"));
        QCOMPARE(Rows(), QStringList({"deutsch", "english"}));

        manager_->sbtNewLng->click();
        Retype("Hello", "Ciao");
        CloseEditor(true);
        QCOMPARE(dialogs_->log.back(),
                 "ask: Save the language " + QString::fromStdString((user_ / "Italiano.lng").string()));
        // The plain text shows a no-break space as a blank; the file keeps it.
        QCOMPARE(UserFile("Italiano.lng"),
                 QByteArray("[frmTest]\r\nlblText.Caption=Ciao\r\n[String]\r\n110=File:\xC2\xA0\r\n"));
        QCOMPARE(Rows(), QStringList({"deutsch", "english", "Italiano"}));
    }

    void theEditorIsModalAndWritesToTheUsersFolder() {
        Select("deutsch");
        manager_->sbtModLng->click();
        FrmNewLang* editor = manager_->editor();
        QVERIFY(editor && editor->isVisible() && editor->isModal());
        QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), editor);
        CloseEditor(true);
        QCOMPARE(UserFile("deutsch.lng"), kDeutsch);  // unedited Windows-1252: byte for byte
        QCOMPARE(ShippedFile("deutsch.lng"), kDeutsch);
    }

    void aSaveThatFailsKeepsTheEditorOpenWithTheText() {
        WriteFileAtomically(root_ / "user", "not a folder");
        Select("deutsch");
        manager_->sbtModLng->click();
        QPointer<FrmNewLang> editor = manager_->editor();
        editor->memLang()->appendPlainText("new=line");
        CloseEditor(true);
        QVERIFY(editor && editor->isVisible());
        QVERIFY(dialogs_->log.back().startsWith("error: The language was not saved."));
        QVERIFY(editor->memLang()->toPlainText().endsWith("new=line"));
        CloseEditor(false);
        QVERIFY(!manager_->editor());
    }

    // The editor's own buttons: Save writes and stays open, Close after it
    // asks nothing while the text is as saved, and asks again once it is not.
    void theEditorsSaveWritesAndCloseAsksOnlyAboutChanges() {
        Select("deutsch");
        manager_->sbtModLng->click();
        QPointer<FrmNewLang> editor = manager_->editor();
        QVERIFY(editor->btnSave->isVisible() && editor->btnClose->isVisible());
        Retype("Gott", "Abend");
        editor->btnSave->click();
        QVERIFY(editor && editor->isVisible());
        QVERIFY(UserFile("deutsch.lng").contains("Abend"));
        QVERIFY(dialogs_->log.isEmpty());
        editor->btnClose->click();
        QVERIFY(!manager_->editor());
        QVERIFY(dialogs_->log.isEmpty());

        Select("deutsch");
        manager_->sbtModLng->click();
        editor = manager_->editor();
        editor->btnSave->click();
        Retype("Abend", "Morgen");
        editor->btnClose->click();  // answered No: the saved text stays
        QCOMPARE(dialogs_->log.size(), 1);
        QVERIFY(!manager_->editor());
        QVERIFY(UserFile("deutsch.lng").contains("Abend"));
    }

    void theSubmissionsCancelSendsNothing() {
        Select("deutsch");
        manager_->sbtSubmitLng->click();
        QPointer<FrmSubmitLng> form = manager_->submission();
        QVERIFY(form->btnCancel->isVisible());
        form->btnCancel->click();
        QVERIFY(!form || !form->isVisible());
        QVERIFY(mail_->sent.empty());
    }

    void aDeleteThatFailsOrIsAnsweredNoKeepsTheRow() {
        Select("deutsch");
        manager_->sbtDelLng->click();  // answered No
        QCOMPARE(dialogs_->log, QStringList({"ask: Are you sure to delete the language deutsch"}));
        OpenManager([](const fs::path&, std::error_code& error) {
            error = std::make_error_code(std::errc::read_only_file_system);
            return false;
        });
        Select("deutsch");
        dialogs_->answers = {true};
        manager_->sbtDelLng->click();
        QVERIFY(dialogs_->log.back().startsWith("error: Cannot delete the language file"));
        QCOMPARE(Rows(), QStringList({"deutsch", "english"}));
        QVERIFY(fs::exists(shipped_ / "deutsch.lng"));

        OpenManager();
        Select("deutsch");
        dialogs_->answers = {true};
        manager_->sbtDelLng->click();
        QCOMPARE(Rows(), QStringList({"english"}));
        QVERIFY(!fs::exists(shipped_ / "deutsch.lng"));
        QVERIFY(!manager_->sbtDelLng->isEnabled() && !manager_->sbtSubmitLng->isEnabled());
    }

    void aSubmissionHandsTheMailOverAndCloses() {
        Select("deutsch");
        manager_->sbtSubmitLng->click();
        QPointer<FrmSubmitLng> form = manager_->submission();
        QVERIFY(form && form->isVisible() && form->isModal());
        QCOMPARE(form->txtLngName->text(), QString("deutsch"));
        QVERIFY(form->txtLngName->isReadOnly() && form->chkAutName->isChecked() && form->chkAutEmail->isChecked());
        form->txtName->setText("Hans");
        form->txtEmail->setText("hans@example.org");
        form->chkAutName->setChecked(false);
        form->chkAutEmail->setChecked(false);
        form->memNote->setPlainText("Erste\nZweite");
        form->SpeedButton1->click();
        QCOMPARE(mail_->sent.size(), std::size_t(1));
        const MailMessage& mail = mail_->sent.front();
        const MailMessage expected =
            BuildSubmissionMail({"deutsch", "Hans", "hans@example.org", false, false, {"Erste", "Zweite"}}, "");
        QCOMPARE(mail.body, expected.body);
        QCOMPARE(mail.attachment, shipped_ / "deutsch.lng");
        QVERIFY(!form || !form->isVisible());
    }

    void aHandOffThatFailsKeepsTheFormOpen() {
        mail_->result = {false, "No mail program was found to take the mail."};
        Select("deutsch");
        manager_->sbtSubmitLng->click();
        FrmSubmitLng* form = manager_->submission();
        form->txtName->setText("Hans");
        form->SpeedButton1->click();
        QVERIFY(form->isVisible());
        QCOMPARE(dialogs_->log.back(), QString("error: The mail was not handed to your mail program.\n"
                                               "No mail program was found to take the mail."));
        QCOMPARE(form->txtName->text(), QString("Hans"));
        QVERIFY(form->SpeedButton1->isEnabled());
    }

    // The desktop's hand-off with a stand-in xdg-email that records its
    // arguments and ends with the status asked for.
    void theDesktopHandOffReportsHowXdgEmailEnded_data() {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("message");
        QTest::newRow("handed over") << 0 << true << "";
        QTest::newRow("no mail program") << 3 << false << "No mail program was found to take the mail.\ncannot";
        QTest::newRow("file missing") << 2 << false << "The language file to attach was not found.\ncannot";
        QTest::newRow("other") << 4 << false
                               << "The mail program could not take the mail (xdg-email ended with code 4).\ncannot";
    }
    void theDesktopHandOffReportsHowXdgEmailEnded() {
        QFETCH(int, exitCode);
        QFETCH(bool, ok);
        QFETCH(QString, message);
        const fs::path bin = root_ / "bin";
        fs::create_directories(bin);
        WriteFileAtomically(bin / "xdg-email",
                            "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.log\"\n"
                            "[ \"$MAIL_EXIT\" = 0 ] || echo cannot >&2\nexit $MAIL_EXIT\n");
        fs::permissions(bin / "xdg-email", fs::perms::owner_all);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(bin.string()));
        qputenv("MAIL_EXIT", QByteArray::number(exitCode));
        std::optional<MailHandOff> result;
        DesktopMailService().send({"Calvoro languages", "languages@calvoro.example.org", "S", "B\r\n", "/u/it.lng"},
                                  [&](const MailHandOff& done) { result = done; });
        qputenv("PATH", path);
        QTRY_VERIFY(result.has_value());
        QCOMPARE(result->ok, ok);
        QCOMPARE(result->message, message);
        QCOMPARE(QByteArray::fromStdString(ReadWholeFile(bin / "xdg-email.log")),
                 // xdg-email puts CR LF between the lines itself: a CR of ours would be doubled.
                 QByteArray("--utf8|--subject|S|--body|B\n|--attach|/u/it.lng|languages@calvoro.example.org|"));
    }

    // Without xdg-email the desktop opens a mailto: link and the user is told
    // to attach the file by hand.
    void withoutXdgEmailTheDesktopGetsAMailtoLink() {
        MailtoCatcher catcher;
        QDesktopServices::setUrlHandler("mailto", &catcher, "open");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(root_.string()));
        std::optional<MailHandOff> result;
        DesktopMailService().send({"Calvoro languages", "languages@calvoro.example.org", "S&", "x=1&y\r\n?#", "/u/it.lng"},
                                  [&](const MailHandOff& done) { result = done; });
        qputenv("PATH", path);
        QDesktopServices::unsetUrlHandler("mailto");
        QVERIFY(result && result->ok);
        QVERIFY(result->message.endsWith("attach this file to the mail by hand:\n/u/it.lng"));
        QCOMPARE(catcher.opened.size(), 1);  // the user's text cannot add fields of its own
        QCOMPARE(catcher.opened.front().toEncoded(),
                 QByteArray("mailto:languages@calvoro.example.org?subject=S%26&body=x%3D1%26y%0D%0A%3F%23"));
    }

    void aLanguageMadeHereIsOneTheProgramSwitchesTo() {
        dialogs_->typed = "Italiano";
        manager_->sbtNewLng->click();
        Retype("Hello", "Ciao");
        CloseEditor(true);

        const fs::path previousFolder = ProgramFolder();
        SetProgramFolder(root_);
        SetUserLanguageFolder(user_);
        QWidget form;
        form.setObjectName("frmTest");
        auto* label = new QLabel("design text", &form);
        label->setObjectName("lblText");
        QVERIFY(ChangeLanguage("english", {&form}));
        QCOMPARE(label->text(), QString("Hello"));
        QVERIFY(ChangeLanguage("Italiano", {&form}));
        QCOMPARE(label->text(), QString("Ciao"));
        SetUserLanguageFolder({});
        SetProgramFolder(previousFolder);
        SetLanguageFile(nullptr);
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    LanguageEditorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LanguageEditorTest.moc"
