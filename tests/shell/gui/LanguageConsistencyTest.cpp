// Every key of the shipped English file must name something the program has:
// a form, a component of it with that kind of text, an item within the count,
// or a free text the code reads. A renamed widget shows up here instead of as
// a text that silently stays English in every language.
//
// A form joins the check by adding one line to RegisteredForms().
#include <QRegularExpression>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "kernel/platform/MemIniFile.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/FormTranslation.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/MainWindow.h"
#include "shell/lang/UnitLang.h"

using namespace calvoro;

namespace {

struct RegisteredForm {
    QString section;  // the form's objectName
    std::function<std::unique_ptr<QWidget>()> make;
    QStringList freeKeys;  // texts the code reads itself (LangMainText), not set on a component
};

const std::vector<RegisteredForm>& RegisteredForms() {
    static const std::vector<RegisteredForm> forms = {
        {"frmMain", [] { return std::make_unique<MainWindow>(); }, {}},
    };
    return forms;
}

// The data folder of the sources, laid out as beside the program.
std::filesystem::path DataFolder() {
    const QByteArray dir = qgetenv("CALVORO_SOURCE_DIR");
    const std::filesystem::path source =
        dir.isEmpty() ? std::filesystem::path(CALVORO_TEST_SOURCE_DIR) : std::filesystem::path(dir.toStdString());
    return source / "data";
}

std::filesystem::path EnglishFile() {
    return DataFolder() / "language" / "english.lng";
}

QObject* FindComponent(QWidget* form, const QString& name) {
    for (QObject* component : FormComponents(form))
        if (component->objectName().compare(name, Qt::CaseInsensitive) == 0) return component;
    return nullptr;
}

// Empty when the key is fine; otherwise what is wrong with it.
QString CheckKey(QWidget* form, const RegisteredForm& registered, const QString& key) {
    if (registered.freeKeys.contains(key, Qt::CaseInsensitive)) return {};
    if (key.compare(registered.section + ".Caption", Qt::CaseInsensitive) == 0)
        return HasStringProp(form, "Caption") ? QString() : "the form has no caption";

    static const QRegularExpression pattern(R"(^(.+)\.(caption|hint|items\[(\d+)\])$)",
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(key);
    if (!match.hasMatch()) return "not a caption, hint or item key, nor a free text of the form";
    QObject* component = FindComponent(form, match.captured(1));
    if (!component) return "no component of that name";
    const QString kind = match.captured(2).toLower();
    if (kind == "caption" || kind == "hint")
        return HasStringProp(component, kind.toStdString()) ? QString() : "the component has no " + kind;
    const int count = TranslatableItemCount(component);
    if (count < 0) return "the component has no items";
    return match.captured(3).toInt() < count ? QString() : QString("the component has only %1 items").arg(count);
}

class LanguageConsistencyTest : public QObject {
    Q_OBJECT
private slots:
    void everyKeyOfTheEnglishFileNamesSomethingWithText() {
        const MemIniFile english(EnglishFile());
        QStringList faults;
        for (const std::string& sectionName : english.ReadSections()) {
            const QString section = QString::fromStdString(sectionName);
            if (section.compare("String", Qt::CaseInsensitive) == 0) continue;
            const auto registered = std::find_if(
                RegisteredForms().begin(), RegisteredForms().end(),
                [&](const RegisteredForm& form) { return form.section.compare(section, Qt::CaseInsensitive) == 0; });
            if (registered == RegisteredForms().end()) {
                faults << "[" + section + "]: no such form";
                continue;
            }
            const std::unique_ptr<QWidget> form = registered->make();
            QCOMPARE(form->objectName(), registered->section);
            for (const std::string& key : english.ReadSection(sectionName)) {
                const QString fault = CheckKey(form.get(), *registered, QString::fromStdString(key));
                if (!fault.isEmpty()) faults << "[" + section + "] " + QString::fromStdString(key) + ": " + fault;
            }
        }
        if (!faults.isEmpty()) QFAIL(qPrintable(faults.join('\n')));
    }

    void theShippedFileTranslatesEveryFormAtStartWithoutError() {
        QStringList errors;
        Application::setErrorReporter([&](const QString& message) { errors << message; });
        SetProgramFolder(DataFolder());
        for (const RegisteredForm& registered : RegisteredForms()) {
            const std::unique_ptr<QWidget> form = registered.make();
            StartLanguage("english", form.get());
        }
        Application::setErrorReporter(nullptr);
        QCOMPARE(errors, QStringList());
        QCOMPARE(QString::fromStdString(LanguageName()), QString("english"));
        QVERIFY(!MessageTable()[42].empty());
    }

    void theCheckRecognisesAKeyThatNamesNothing() {
        const RegisteredForm& main = RegisteredForms().front();
        const std::unique_ptr<QWidget> form = main.make();
        QCOMPARE(CheckKey(form.get(), main, "lblWelcome.Caption"), QString());
        QCOMPARE(CheckKey(form.get(), main, "frmMain.caption"), QString());
        QCOMPARE(CheckKey(form.get(), main, "lblRenamed.Caption"), QString("no component of that name"));
        QCOMPARE(CheckKey(form.get(), main, "lblWelcome.items[0]"), QString("the component has no items"));
        QCOMPARE(CheckKey(form.get(), main, "twGeo00"),
                 QString("not a caption, hint or item key, nor a free text of the form"));
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    LanguageConsistencyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LanguageConsistencyTest.moc"
