// Translating forms from a language file: which texts each kind of control
// takes, what an empty or missing text leaves, and the change of language.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/FormTranslation.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/RadioGroup.h"
#include "shell/lang/UnitLang.h"


using namespace calvoro;

namespace {

template <typename Component>
Component* Named(Component* component, const char* name) {
    component->setObjectName(name);
    return component;
}

// A form with one control of each kind the language files know.
struct TestForm {
    QWidget form;
    QLabel* label = Named(new QLabel("Depth", &form), "lblDepth");
    QPushButton* button = Named(new QPushButton("OK", &form), "sbtOk");
    QGroupBox* group = Named(new QGroupBox("Cut", &form), "grpCut");
    QAction* action = Named(new QAction("Open", &form), "mnuOpen");
    QMenu* menu = Named(new QMenu("File", &form), "mnuFile");
    QTabWidget* tabs = Named(new QTabWidget(&form), "PageControl1");
    QWidget* page = Named(new QWidget, "tabSettings");
    RadioGroup* radio = Named(new RadioGroup(&form), "rgpUnits");
    QComboBox* combo = Named(new QComboBox(&form), "cboTipoUt");
    ColorBox* colours = Named(new ColorBox(&form), "ColorBoxGrid");
    QLineEdit* edit = Named(new QLineEdit("0", &form), "txtWhiteD");
    QDialog* ownedDialog = Named(new QDialog(&form), "frmGrid");
    QLabel* dialogLabel = Named(new QLabel("Grid", ownedDialog), "lblDepth");

    TestForm() {
        form.setObjectName("frmTest");
        form.setWindowTitle("Test form");
        label->setToolTip("Depth of black");
        tabs->addTab(page, "Settings");
        radio->setItems({"mm", "inch"});
        combo->addItems({"Flat", "Bull-nose", "Spherical", "Conical flat", "Drill"});
        colours->addItems({"Black", "Navy"});
    }
};

const char* const kItalian =
    "[frmTest]\r\n"
    "frmTest.Caption=Modulo di prova\r\n"
    "lblDepth.Caption=Profondit\xC3\xA0\r\n"
    "lblDepth.Hint=Profondit\xC3\xA0 del nero|La Z del nero\r\n"
    "sbtOk.Caption=\r\n"
    "grpCut.Caption=Taglio\r\n"
    "mnuOpen.Caption=&Apri\r\n"
    "mnuOpen.Hint=Apri|Apri un'immagine\r\n"
    "mnuFile.Caption=&File*|*Documento\r\n"
    "tabSettings.Caption=Impostazioni\r\n"
    "rgpUnits.items[1]=pollici\r\n"
    "cboTipoUt.items[0]=Piatta\r\n"
    "cboTipoUt.items[1]=Toroidale\r\n"
    "cboTipoUt.items[2]=Sferica\r\n"
    "cboTipoUt.items[7]=oltre il numero\r\n"
    "ColorBoxGrid.items[0]=Nero\r\n"
    "txtWhiteD.Caption=non un testo\r\n"
    "[frmGrid]\r\n"
    "lblDepth.Caption=Griglia\r\n";

class FormTranslationTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder_;
    QStringList errors_;

    void WriteLanguage(const char* name, const std::string& text) {
        WriteFileAtomically(ProgramFolder() / "language" / (std::string(name) + ".lng"), text);
    }
    void Use(const char* name) {
        std::string error;
        QVERIFY2(SwitchLanguage(name, error), error.c_str());
    }

private slots:
    void init() {
        QVERIFY(folder_.isValid());
        SetProgramFolder(folder_.path().toStdString());
        std::filesystem::create_directories(ProgramFolder() / "language");
        WriteLanguage("italiano", kItalian);
        WriteLanguage("english", "[frmTest]\r\nlblDepth.Caption=Depth of black\r\n[String]\r\n406=Ready\r\n");
        SetLanguageFile(nullptr);
        SetLanguageName("");
        errors_.clear();
        Application::setErrorReporter([this](const QString& message) { errors_ << message; });
    }
    void cleanup() { Application::setErrorReporter(nullptr); }

    void eachKindOfControlTakesItsTextsAndEmptyOrMissingTextsChangeNothing() {
        TestForm t;
        Use("italiano");
        TranslateForms({&t.form});
        QCOMPARE(t.form.windowTitle(), QString("Modulo di prova"));
        QCOMPARE(t.label->text(), QString::fromUtf8("Profondit\xC3\xA0"));
        QCOMPARE(t.label->toolTip(), QString::fromUtf8("Profondit\xC3\xA0 del nero"));  // the short hint
        QCOMPARE(t.group->title(), QString("Taglio"));
        QCOMPARE(t.action->text(), QString("&Apri"));
        QCOMPARE(t.action->toolTip(), QString("Apri"));
        QCOMPARE(t.action->statusTip(), QString("Apri un'immagine"));
        QCOMPARE(t.menu->title(), QString("&File\nDocumento"));
        QCOMPARE(t.tabs->tabText(0), QString("Impostazioni"));
        QCOMPARE(t.radio->items(), QStringList({"mm", "pollici"}));
        QCOMPARE(t.combo->count(), 5);  // the key past the end adds nothing
        QCOMPARE(t.combo->itemText(0), QString("Piatta"));
        QCOMPARE(t.combo->itemText(2), QString("Sferica"));
        QCOMPARE(t.combo->itemText(3), QString("Conical flat"));  // no key: kept
        QCOMPARE(t.combo->itemText(4), QString("Drill"));
        QCOMPARE(t.button->text(), QString("OK"));           // empty value
        QCOMPARE(t.edit->text(), QString("0"));              // an edit has no caption
        QCOMPARE(t.colours->itemText(0), QString("Black"));  // colour names are not texts
        QCOMPARE(t.dialogLabel->text(), QString("Grid"));    // another window, another section
        QVERIFY(errors_.isEmpty());
    }

    void aNewLanguageWithoutSomeTextsBringsBackTheDesignTextsButNotTheProgramsOwn() {
        TestForm t;
        Use("italiano");
        TranslateForms({&t.form});
        QVERIFY(ChangeLanguage("english", {&t.form}));
        QCOMPARE(t.label->text(), QString("Depth of black"));
        QCOMPARE(t.label->toolTip(), QString("Depth of black"));  // design hint back
        QCOMPARE(t.form.windowTitle(), QString("Test form"));
        QCOMPARE(t.group->title(), QString("Cut"));
        QCOMPARE(t.action->text(), QString("Open"));
        QCOMPARE(t.tabs->tabText(0), QString("Settings"));
        QCOMPARE(t.radio->items(), QStringList({"mm", "inch"}));
        QCOMPARE(t.combo->itemText(1), QString("Bull-nose"));
        // Texts the program set itself after a translation stay.
        QVERIFY(ChangeLanguage("italiano", {&t.form}));
        t.group->setTitle("Cut (2 passes)");
        t.combo->clear();
        t.combo->addItems({"Fanuc_mm", "Heidenhain"});
        QVERIFY(ChangeLanguage("english", {&t.form}));
        QCOMPARE(t.group->title(), QString("Cut (2 passes)"));
        QCOMPARE(t.combo->itemText(0), QString("Fanuc_mm"));
        QCOMPARE(t.combo->itemText(1), QString("Heidenhain"));
        QVERIFY(errors_.isEmpty());
    }

    void atStartAMissingLanguageFallsBackToEnglish() {
        TestForm t;
        StartLanguage("deutsch", &t.form);
        QCOMPARE(errors_.size(), 1);
        QVERIFY(errors_[0].endsWith("deutsch.lng"));
        QCOMPARE(QString::fromStdString(LanguageName()), QString("english"));
        QCOMPARE(t.label->text(), QString("Depth of black"));
        QCOMPARE(QString::fromStdString(MessageTable()[42]), QString("Ready"));
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    FormTranslationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FormTranslationTest.moc"
