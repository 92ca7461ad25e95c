// The About box, the STL output choice and the grid dialog, driven as a user
// drives them, with scripted desktop services and a grid that only keeps its
// values.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "kernel/platform/MemIniFile.h"
#include "shell/gui/AboutDialog.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/GridDialog.h"
#include "shell/gui/StlOutputDialog.h"
#include "shell/lang/UnitLang.h"

using namespace calvoro;

namespace {

class FakeServices : public DialogServices {
public:
    bool askYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void inform(QWidget*, const QString&, const QString&) override {}
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    bool openUrl(const QUrl& url) override {
        opened << url.toString();
        return true;
    }
    QStringList opened;
};

void UseLanguage(const QString& name, const QString& text) {
    SetLanguageFile(std::make_unique<MemIniFile>(MemIniFile::FromBytes(text.toStdString())));
    SetLanguageName(name.toStdString());
}

const GridValues kBefore{10, 10, 1, 1, 10, 10, false, true};

enum class Ending { Ok, Cancel, Escape, EscapeInBox, CloseBox };

void End(GridDialog& dialog, Ending ending) {
    if (ending == Ending::Ok || ending == Ending::Cancel)
        dialog.findChild<QPushButton*>(ending == Ending::Ok ? "btnOk" : "btnCancel")->click();
    else if (ending == Ending::CloseBox)
        dialog.close();
    else
        QTest::keyClick(ending == Ending::Escape ? static_cast<QWidget*>(&dialog) : dialog.nol_cboGridX->lineEdit(),
                        Qt::Key_Escape);
}

void Type(QComboBox* combo, const QString& text) {
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), text);
}

QStringList BoxTexts(const GridDialog& dialog) {
    QStringList texts;
    for (int i = 0; i < 6; ++i) texts << dialog.Combo(static_cast<GridField>(i))->currentText();
    return texts + QStringList{dialog.chkShowGrid->isChecked() ? "shown" : "hidden",
                               dialog.chkSnap2Grid->isChecked() ? "snap" : "free"};
}

class ShellDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { UseLanguage("english", "[frmGrid]\r\nmsgNotASpacing=Not a spacing: %1\r\n"); }

    void gridEndings_data() {
        QTest::addColumn<int>("ending");
        QTest::addColumn<bool>("kept");
        QTest::newRow("OK keeps every change") << int(Ending::Ok) << true;
        QTest::newRow("Cancel puts everything back") << int(Ending::Cancel) << false;
        QTest::newRow("Esc puts everything back") << int(Ending::Escape) << false;
        QTest::newRow("Esc in a spacing box too") << int(Ending::EscapeInBox) << false;
        QTest::newRow("the close box puts everything back") << int(Ending::CloseBox) << false;
    }
    void gridEndings() {
        QFETCH(int, ending);
        QFETCH(bool, kept);
        GridValuesHolder host;
        host.SetGrid(kBefore);
        GridDialog dialog(host);
        dialog.show();
        dialog.chkUnisceGrid->setChecked(true);
        Type(dialog.nol_cboGridX, "5");
        Type(dialog.nol_cboGridSubY, "0.5");
        emit dialog.nol_cboYSnap->textActivated("2.5");  // chosen from the list; the snap pair is coupled
        dialog.chkShowGrid->setChecked(false);
        dialog.chkSnap2Grid->setChecked(true);
        const GridValues changed{5, 5, 1, 0.5, 2.5, 2.5, true, false};
        QCOMPARE(host.Grid(), changed);  // every change takes effect at once
        QCOMPARE(dialog.nol_cboGridY->currentText(), QString("5"));
        End(dialog, static_cast<Ending>(ending));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(host.Grid(), kept ? changed : kBefore);
    }

    void eachShowFillsTheBoxesFromTheValuesInForce() {
        GridValuesHolder host;
        host.SetGrid(kBefore);
        GridDialog dialog(host);
        dialog.show();
        Type(dialog.nol_cboGridX, "5");
        dialog.chkSnap2Grid->setChecked(true);
        End(dialog, Ending::Cancel);
        dialog.show();  // as the menu opens it, with nobody filling it first
        // The grid's spacings as "%6.3f" puts them, the snap intervals as typed.
        QCOMPARE(BoxTexts(dialog), QStringList({"10.000", "10.000", " 1.000", " 1.000", "10", "10", "shown", "free"}));
        End(dialog, Ending::Ok);
        const GridValues elsewhere{25, 50, 0.25, 0.5, 0.001, 2.5, true, false};
        host.SetGrid(elsewhere);
        dialog.show();
        QCOMPARE(BoxTexts(dialog),
                 QStringList({"25.000", "50.000", " 0.250", " 0.500", "0.001", "2.5", "hidden", "snap"}));
        Type(dialog.nol_cboGridY, "1");
        End(dialog, Ending::Escape);
        QCOMPARE(host.Grid(), elsewhere);  // a second session reverts only its own changes
    }

    void aBoxLeftWithoutASpacingIsReportedAndShowsTheValueInForce() {
        QStringList errors;
        Application::setErrorReporter([&](const QString& message) { errors << message; });
        GridValuesHolder host;
        host.SetGrid(kBefore);
        GridDialog dialog(host);
        dialog.show();
        Type(dialog.nol_cboXSnap, "2x");
        emit dialog.nol_cboXSnap->lineEdit()->editingFinished();
        Application::setErrorReporter(nullptr);
        // "2" on the way was a spacing and so is in force; "2x" is none.
        QCOMPARE(errors, QStringList({"Not a spacing: 2x"}));
        QCOMPARE(dialog.nol_cboXSnap->currentText(), QString("2"));
        QCOMPARE(host.Grid().XSnap, 2.0);
    }

    void aboutCreditsTheTranslatorNamedByTheLanguageFile_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("credit");
        QTest::newRow("translator named") << "italian"
                                          << "[String]\r\nAutor=Maria Rossi\r\n"
                                          << "Italian language translated by Maria Rossi";
        QTest::newRow("no translator") << "english"
                                       << "[String]\r\n1=x\r\n"
                                       << "";
        QTest::newRow("translator left empty") << "german"
                                               << "[String]\r\nAutor=\r\n"
                                               << "";
    }
    void aboutCreditsTheTranslatorNamedByTheLanguageFile() {
        QFETCH(QString, language);
        QFETCH(QString, file);
        QFETCH(QString, credit);
        FakeServices services;
        AboutDialog about(services);
        about.nol_lbltTranslation->setText("left from before");
        UseLanguage(language, file);
        about.show();
        QCOMPARE(about.nol_lbltTranslation->text(), credit);
        QVERIFY(!about.isModal() && (about.windowFlags() & Qt::WindowStaysOnTopHint));
        emit about.nol_JDUrlLblwww->linkActivated("https://calvoro.example.org");
        QCOMPARE(services.opened, QStringList({"https://calvoro.example.org"}));
    }

    void stlChoiceCountsOnlyWhenLeftWithOk() {
        StlOutputDialog stl;
        stl.show();
        stl.rbtOutSo->setChecked(true);
        stl.findChild<QPushButton*>("sbtOk")->click();
        QVERIFY(stl.StlDxfOk() && stl.Solid());
        stl.show();
        stl.close();  // the close box
        QVERIFY(!stl.StlDxfOk());
    }

    void stlChoiceIsCaptionedByTheFileItWrites() {
        UseLanguage("english", "[frmStlDxf]\r\nfrmStlDxf.Caption=Stl output\r\n");
        StlOutputDialog stl;
        stl.show();
        QCOMPARE(stl.windowTitle(), QString("Stl output"));
        stl.close();
        stl.SetDocumentName("/home/user/relief.stl");
        stl.show();
        QCOMPARE(stl.windowTitle(), QString("/home/user/relief.stl"));
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    ShellDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ShellDialogsTest.moc"
