// The shipped English file is the reference of every language. Every key of a
// form's section must name something the program has: the form, a component
// of it with that kind of text, an item within the count, or a free text the
// code reads; a renamed widget shows up here instead of as a text that
// silently stays English in every language. Section "String" must hold a text
// for every message the program asks for, and the file keeps its CR LF line
// ends.
//
// A form joins the check by adding one line to RegisteredForms().
#include <QRegularExpression>
#include <QTest>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "engine/gui/NcPage.h"
#include "engine/gui/ToolDialog.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFileDocument.h"
#include "kernel/platform/MemIniFile.h"
#include "kernel/platform/TextEncoding.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/AboutDialog.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/FormTranslation.h"
#include "shell/gui/FrmEditLng.h"
#include "shell/gui/FrmNewLang.h"
#include "shell/gui/FrmSubmitLng.h"
#include "shell/gui/GridDialog.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/StlOutputDialog.h"
#include "shell/lang/UnitLang.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

struct RegisteredForm {
    QString section;  // the form's objectName
    std::function<std::unique_ptr<QWidget>()> make;
    QStringList freeKeys;  // texts the code reads itself (LangMainText), not set on a component
};

LanguageDialogs& Dialogs() {
    return FrmEditLng::DefaultDialogs();
}
MailService& Mail() {
    return FrmEditLng::DefaultMailService();
}

QtDialogServices& Services() {
    static QtDialogServices services;
    return services;
}

GridValuesHolder& Grid() {
    static GridValuesHolder grid;
    return grid;
}

const std::vector<RegisteredForm>& RegisteredForms() {
    static const std::vector<RegisteredForm> forms = {
        {"frmMain",
         [] { return std::make_unique<MainWindow>(); },
         {"twGeo00", "twGeo10", "twGeo20", "twGeo30", "twGeo40", "twGeo50", "twGeo60", "twGeo70", "twGeo80", "twGeo90",
          "twGeoA0"}},
        {"frmEditLng", [] { return std::make_unique<FrmEditLng>(LanguageStore(), Dialogs(), Mail()); }, {}},
        {"frmNewLang", [] { return std::make_unique<FrmNewLang>(LanguageStore(), "", LanguageText(), Dialogs()); }, {}},
        {"frmSubmitLng", [] { return std::make_unique<FrmSubmitLng>(Dialogs(), Mail()); }, {}},
        {"NcPage", [] { return std::make_unique<NcPage>(); }, {}},
        {"frmTool", [] { return std::make_unique<ToolDialog>(fs::temp_directory_path() / "calvoro_no_tool.db", 0); }, {}},
        {"frmAbout", [] { return std::make_unique<AboutDialog>(Services()); }, {}},
        {"frmStlDxf", [] { return std::make_unique<StlOutputDialog>(); }, {}},
        {"frmGrid", [] { return std::make_unique<GridDialog>(Grid()); }, {"msgNotASpacing"}},
    };
    return forms;
}

fs::path SourceFolder() {
    const QByteArray dir = qgetenv("CALVORO_SOURCE_DIR");
    return dir.isEmpty() ? fs::path(CALVORO_TEST_SOURCE_DIR) : fs::path(dir.toStdString());
}

// The data folder of the sources, laid out as beside the program.
fs::path DataFolder() {
    return SourceFolder() / "data";
}

fs::path EnglishFile() {
    return DataFolder() / "language" / "english.lng";
}

bool IsNumber(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The numbers of the messages asked for with a literal anywhere in the
// program: LangString("451"), also with the literal wrapped for Qt, and the
// calls that bring their own design text (LangStringOr("1030", "..."), and
// the files' small Lang("1030", ...) wrappers).
std::set<std::string> MessageNumbersInSources() {
    std::set<std::string> numbers;
    for (const char* folder : {"kernel", "engine", "shell"}) {
        for (const auto& entry : fs::recursive_directory_iterator(SourceFolder() / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            const std::string text = ReadWholeFile(entry.path());
            for (const std::string call : {"LangString(", "LangStringOr(", "Lang("})
                for (std::size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1)) {
                    const std::string_view argument = std::string_view(text).substr(at + call.size());
                    const std::size_t open = argument.substr(0, argument.find_first_of(",;")).find('"');
                    if (open == std::string_view::npos) continue;
                    const std::string_view literal = argument.substr(open + 1, argument.find('"', open + 1) - open - 1);
                    if (IsNumber(literal)) numbers.insert(std::string(literal));
                }
        }
    }
    return numbers;
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
        InitializeEntityModule();  // as the program does before its main window reads the block library
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

    void everyMessageThePagesAndTheProgramAskForHasAText() {
        const MemIniFile english(EnglishFile());
        const std::vector<std::string> keys = english.ReadSection("String");
        QVERIFY(keys.size() > 80);
        for (const std::string& key : keys)
            QVERIFY2(IsNumber(key) && !english.ReadString("String", key, "").empty(), key.c_str());
        for (const PageMessage& entry : kPageMessages)
            QVERIFY2(!english.ReadString("String", entry.number, "").empty(), std::string(entry.number).c_str());
        for (const PageMessage& entry : kTaskPromptMessages)
            QVERIFY2(!english.ReadString("String", entry.number, "").empty(), std::string(entry.number).c_str());
        for (const std::string& number : MessageNumbersInSources())
            QVERIFY2(!english.ReadString("String", number, "").empty(), number.c_str());
    }

    void theFileHasCrLfLineEndsValidUtf8AndNoNameTwice() {
        const std::string bytes = ReadWholeFile(EnglishFile());
        QVERIFY(IsValidUtf8(bytes) && bytes.ends_with("\r\n"));
        for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
            QVERIFY2(i > 0 && bytes[i - 1] == '\r', qPrintable(QString("a bare line feed at byte %1").arg(i)));
        // A second section or key of one name would never be read: the first one wins.
        std::istringstream lines(bytes);
        std::set<std::string> seen;
        std::string line, section;
        while (std::getline(lines, line)) {
            line.pop_back();  // the CR
            if (line.starts_with('['))
                section = FoldIniName(line);
            else if (line.starts_with(';') || line.find('=') == std::string::npos)
                continue;
            const std::string name =
                line.starts_with('[') ? section : section + FoldIniName(line.substr(0, line.find('=')));
            QVERIFY2(seen.insert(name).second, line.c_str());
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    LanguageConsistencyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LanguageConsistencyTest.moc"
