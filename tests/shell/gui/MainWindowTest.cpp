// The main window's life on the offscreen platform, with scripted answers in
// place of the message boxes and file dialog and a stub for the 3D view: the
// start with and without a settings file and with damaged files beside the
// program, the close and its settings, a new job, opening a picture, page
// switching and the settings and grid pages.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <deque>
#include <filesystem>
#include <memory>

#include "engine/picture/BmpCodec.h"
#include "engine/picture/PictureRaster.h"
#include "engine/relief/HeightMap.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFile.h"
#include "shell/app/AppInfo.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/Application.h"
#include "shell/gui/ColorBox.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/GridDialog.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/ScreenCursors.h"
#include "shell/gui/SettingsController.h"
#include "shell/gui/WizardWiring.h"
#include "shell/lang/UnitLang.h"
#include "tests/shell/gui/WindowHarness.h"

namespace fs = std::filesystem;
using namespace calvoro;
using namespace calvoro::testing;

namespace {

const std::string kHandEdited =
    "; kept by hand\r\n[Default]\r\nZWhite=1.5\r\nUnit=7\r\nSGrid=0\r\nMine=here\r\nFOpen=/nowhere/old.bmp\r\n";

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); InstallPictureDecoder(); }

    void startsWithoutASettingsFileOnEveryDefault() {
        Harness h;
        MainWindow& w = h.start();
        QCOMPARE(h.errors, QStringList());
        QVERIFY(w.State().settingsRead);
        QCOMPARE(h.ui().cboUnits->currentIndex(), 0);
        QCOMPARE(h.ui().nlblDimb->text(), QString("mm"));
        QVERIFY(h.ui().sbtGridOnOff->isChecked() && h.ui().sbtAxisOnOff->isChecked());
        const std::pair<QLineEdit*, const char*> edits[] = {
            {h.ui().txtWhiteD, "0"}, {h.ui().txtBlackD, "-5"}, {h.ui().txtFeedPlane, "2"},
            {h.ui().txtIncXY, "1"},  {h.ui().txtFilter, "0.025"}, {h.ui().txtOriginX, "0"},
        };
        for (const auto& [edit, text] : edits) QCOMPARE(edit->text(), QString(text));
        QCOMPARE(h.ui().nol_cboGridX->currentText(), QString("10"));
        QCOMPARE(h.ui().pnlStatus2->text(), Lang("406"));
        QCOMPARE(h.ui().btnZNC->text(), Lang("753"));
        QCOMPARE(w.windowTitle(), QString("Calvoro v0.1"));
        QVERIFY(!h.ui().PageControl1->isVisible() && !h.ui().sbtSave->isEnabled());
        QCOMPARE(QString::fromStdString(w.Wizard().CurrentJob().post().postName), QString("Fanuc_mm"));
        QVERIFY(!fs::exists(h.install.ini()));  // nothing is written before a confirmed close
    }

    void startsWithTheValuesOfTheSettingsFile() {
        Harness h;
        h.install.write("Calvoro.ini", kHandEdited + "[Color]\r\nBackGround=255\r\n");
        MainWindow& w = h.start();
        QCOMPARE(h.errors, QStringList());
        QCOMPARE(h.ui().cboUnits->currentIndex(), 1);  // 7 is inches
        QCOMPARE(w.State().settings.Unit, 7);
        QCOMPARE(h.ui().nlblDimb->text(), QString("Inch"));
        QVERIFY(!h.ui().sbtGridOnOff->isChecked());
        QCOMPARE(h.ui().txtWhiteD->text(), QString("1.5"));
        QCOMPARE(h.view3d->background, QColor(255, 0, 0));
    }

    void aDamagedBlockLibraryOrPostIsReportedAndTheStartCompletes() {
        struct Case {
            const char* file;
            std::string bytes;
            const char* reported;
        };
        const Case cases[] = {
            {"Library.blk", std::string("QV-002\x02\x03\x00", 9), "Library.blk"},
            {"Calvoro.ini", kHandEdited + "Pst=NoSuchPost\r\n", "Pst not found"},
        };
        for (const Case& c : cases) {
            Harness h;
            if (std::string(c.file) != "Calvoro.ini") h.install.write("Calvoro.ini", kHandEdited);
            h.install.write(c.file, c.bytes);
            MainWindow& w = h.start();
            QCOMPARE(h.errors.size(), 1);
            QVERIFY2(h.errors.front().contains(c.reported), qPrintable(h.errors.front()));
            // Every later step still ran: the settings, the texts and the caption are in place.
            QVERIFY(w.State().settingsRead);
            QCOMPARE(h.ui().txtWhiteD->text(), QString("1.5"));
            QCOMPARE(h.ui().pnlStatus2->text(), Lang("406"));
            QCOMPARE(w.windowTitle(), QString("Calvoro v0.1"));
            QVERIFY(h.close(true));
            const IniFile written(h.install.ini());
            QCOMPARE(QString::fromStdString(written.ReadString("Default", "Language", "")), QString("english"));
        }
    }

    void closeAnsweredNoChangesNothing() {
        Harness h;
        h.install.write("Calvoro.ini", kHandEdited);
        MainWindow& w = h.start();
        QVERIFY(w.Wizard().LoadPicture(h.install.picture()));
        h.ui().ColorBoxGrid->setColor(clRed);
        w.Settings().GridColorPicked(clRed);
        QVERIFY(!h.close(false));
        QCOMPARE(h.dialogs.questions, QStringList({Lang("451")}));
        QVERIFY(w.isVisible() && w.Wizard().Controller().hasPicture());
        QCOMPARE(w.LocalCad().ObjectCount(), 1);
        QCOMPARE(ReadWholeFile(h.install.ini()), kHandEdited);
    }

    void closeAnsweredYesWritesTheSettingsAndKeepsHandEdits() {
        Harness h;
        h.install.write("Calvoro.ini", kHandEdited);
        MainWindow& w = h.start();
        w.Settings().GridColorPicked(clRed);
        QVERIFY(h.close(true));
        QCOMPARE(h.errors, QStringList());
        const std::string text = ReadWholeFile(h.install.ini());
        QVERIFY(text.starts_with("; kept by hand\r\n[Default]\r\nZWhite=1.5\r\nUnit=7\r\nSGrid=0\r\nMine=here\r\n"));
        const IniFile written(h.install.ini());
        QCOMPARE(written.ReadSection("Color").size(), std::size_t{4});
        QCOMPARE(written.ReadInteger("Color", "Grid", 0), clRed);
        QCOMPARE(written.ReadInteger("Color", "Form", 0), -16777211);
        // No picture was opened: the one remembered from before stays remembered.
        QCOMPARE(QString::fromStdString(written.ReadString("Default", "FOpen", "")), QString("/nowhere/old.bmp"));
        for (const char* key : {"Unit", "SGrid", "SAxis", "GridX", "GridY", "SnapX", "SnapY", "FOpen", "NcPath",
                                "Language", "Pst", "Tool"})
            QVERIFY2(written.ValueExists("Default", key), key);
        QVERIFY(!written.ValueExists("Default", "ZBlack"));  // read-only defaults are never written
        QVERIFY(!w.Wizard().Controller().hasPicture());
    }

    void aSettingsFileThatCannotBeWrittenIsReportedAndTheProgramStillCloses() {
        Harness h;
        h.install.write("Calvoro.ini", kHandEdited);
        fs::permissions(h.install.ini(), fs::perms::owner_read | fs::perms::group_read);
        h.start();
        QVERIFY(h.close(true));
        QCOMPARE(h.errors.size(), 1);
        QVERIFY2(h.errors.front().contains("read-only"), qPrintable(h.errors.front()));
        fs::permissions(h.install.ini(), fs::perms::owner_all);
        QCOMPARE(ReadWholeFile(h.install.ini()), kHandEdited);
    }

    void settingsThatCouldNotBeReadAreNotWrittenBack() {
        Harness h;
        fs::create_directories(h.install.ini());  // a folder where the file should be: unreadable
        MainWindow& w = h.start();
        QVERIFY(!w.State().settingsRead);
        const int errorsAtStart = static_cast<int>(h.errors.size());
        QVERIFY(errorsAtStart >= 1);
        QVERIFY(h.close(true));
        QCOMPARE(static_cast<int>(h.errors.size()), errorsAtStart);  // no attempt to write
        QVERIFY(fs::is_directory(h.install.ini()));
    }

    void unitSevenStaysSevenUntilTheUserChoosesAUnit() {
        Harness h;
        h.install.write("Calvoro.ini", kHandEdited);
        MainWindow& w = h.start();
        h.ui().txtWhiteD->setText("25.4");
        QVERIFY(h.close(true));
        QCOMPARE(IniFile(h.install.ini()).ReadInteger("Default", "Unit", 0), 7);
        w.show();
        w.Settings().UnitsChosen(0);
        QCOMPARE(h.ui().nlblDimb->text(), QString("mm"));
        QCOMPARE(h.ui().txtWhiteD->text(), QString("25.4"));  // shown values are not converted
        QCOMPARE(w.State().settings.Unit, 0);
    }

    void pageSwitchingShowsTheSettingsTabOnly() {
        Harness h;
        MainWindow& w = h.start();
        QTest::mouseClick(h.ui().sbtSetting, Qt::LeftButton);
        QVERIFY(h.ui().PageControl1->isVisible());
        QCOMPARE(h.ui().PageControl1->currentIndex(), page::kSettings);
        QCOMPARE(h.ui().tabPages->count(), 1);
        QCOMPARE(h.ui().tabPages->tabText(0), QString("Settings"));
        QCOMPARE(h.ui().pnlStatus2->text(), Lang("422"));
        QCOMPARE(h.ui().nol_cboLang->currentText(), QString("english"));
        QCOMPARE(w.State().ActiveCommand, kNoCommand);
        // Choosing the window colour keeps the page but hides its tab.
        w.Settings().FormColorPicked(clSilver);
        QVERIFY(h.ui().PageControl1->isVisible() && !h.ui().tabPages->isVisible());
        QCOMPARE(h.ui().form->palette().color(QPalette::Window), QColor(192, 192, 192));
        w.LifeCycle().VisPagine({page::kSize, page::kReference, page::kDepth, page::kNcFile, page::kTool, page::kCutting});
        QCOMPARE(h.ui().PageControl1->currentIndex(), page::kSize);
        QCOMPARE(h.ui().pnlStatus2->text(), Lang("416"));
        w.LifeCycle().VisPagine({page::kHide});
        QVERIFY(!h.ui().PageControl1->isVisible());
        QCOMPARE(h.ui().pnlStatus2->text(), QString());
        w.LifeCycle().VisPagine({page::kShowKept});
        QVERIFY(!h.ui().PageControl1->isVisible());
        w.LifeCycle().AbilitaPnl(false);
        QVERIFY(!h.ui().sbtOpen->isEnabled() && !h.ui().pnlTbr2->isEnabled());
        w.LifeCycle().Messaggio("working");
        QCOMPARE(h.ui().pnlStatus2->text(), QString("working"));
    }

    void openingAPicturePlacesItAndHandsItsReliefOn() {
        Harness h;
        MainWindow& w = h.start();
        w.LocalCad().SetCurrentLayer(5);
        h.dialogs.fileToOpen = QString::fromStdString(h.install.picture().string());
        QTest::mouseClick(h.ui().sbtOpen, Qt::LeftButton);
        QCOMPARE(h.errors, QStringList());
        QCOMPARE(w.LocalCad().ObjectCount(), 1);
        QCOMPARE(int(w.LocalCad().CurrentLayer()), 5);
        QCOMPARE(h.view3d->boxSizeX, 39.0f);  // one millimetre per pixel without a resolution
        QCOMPARE(w.State().settings.FOpen, h.install.picture().string());
        // Nothing to save until the depth is applied or a program computed.
        QVERIFY(!h.ui().sbtSave->isEnabled() && !h.ui().mnuSave->isEnabled());
        QCOMPARE(h.ui().PageControl1->currentIndex(), page::kSize);
        const QTreeWidgetItem* root = h.ui().treInfoRas->topLevelItem(0);
        QCOMPARE(root->childCount(), 5);
        QCOMPARE(root->child(0)->text(0), Lang("110") + "ramp.bmp");
        QCOMPARE(root->child(1)->text(0), Lang("111") + "40");
        // The relief is built on the way to the depth page, off the window's thread.
        QTest::mouseClick(w.Wizard().Pages().sbtNextB1, Qt::LeftButton);
        QTest::mouseClick(w.Wizard().Pages().sbtNextB2, Qt::LeftButton);
        QTRY_VERIFY(!w.Wizard().Working());
        QCOMPARE(h.view3d->reliefWidth, 40);
        QCOMPARE(h.view3d->reliefHeight, 30);
        QCOMPARE(h.ui().PageControl1->currentIndex(), page::kDepth);

        // A file that is no picture is reported; the picture in hand stays.
        h.install.write("broken.bmp", "BM not really");
        h.dialogs.answers = {true};
        QVERIFY(!w.Wizard().LoadPicture(h.install.root() / "broken.bmp"));
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(w.State().settings.FOpen, h.install.picture().string());
        QCOMPARE(w.LocalCad().ObjectCount(), 1);
        // Placing again from layer 0 leaves layer 1 current, the picture alone on 0.
        w.LocalCad().SetCurrentLayer(0);
        w.LifeCycle().PlaceImageBitmap(w.Wizard().Controller().picture(), w.Wizard().CurrentJob().info(), true);
        QCOMPARE(int(w.LocalCad().CurrentLayer()), 1);
        QCOMPARE(w.LocalCad().ObjectCount(), 1);
    }

    void aNewJobAsksOnlyWhenThereIsSomethingToLose() {
        Harness h;
        MainWindow& w = h.start();
        QTest::mouseClick(h.ui().sbtNew, Qt::LeftButton);
        QCOMPARE(h.dialogs.questions, QStringList());
        QCOMPARE(w.State().ActiveCommand, kNoCommand);

        QVERIFY(w.Wizard().LoadPicture(h.install.picture()));
        w.LocalCad().Layers().LayerByIndex(7).SetLayerName("mine");
        h.dialogs.answers = {false};
        QTest::mouseClick(h.ui().sbtNew, Qt::LeftButton);
        QCOMPARE(h.dialogs.questions, QStringList({Lang("452")}));
        QVERIFY(w.Wizard().Controller().hasPicture() && w.LocalCad().ObjectCount() == 1);

        w.Settings().DefLayersPicked(clTeal);
        w.LifeCycle().SetView3D(true);
        const int clearsBefore = h.view3d->pathClears;
        h.dialogs.answers = {true};
        QTest::mouseClick(h.ui().sbtNew, Qt::LeftButton);
        QVERIFY(!w.Wizard().Controller().hasPicture());
        QCOMPARE(w.LocalCad().ObjectCount(), 0);
        QCOMPARE(QString::fromStdString(w.LocalCad().Layers().LayerByIndex(7).Name()), QString("Layer_7"));
        QCOMPARE(w.LocalCad().Layers().LayerByIndex(200).Pen().Color, clTeal);
        QVERIFY(!w.State().View3D && h.view3d->pathClears == clearsBefore + 1);
        QVERIFY(!h.ui().PageControl1->isVisible());
    }

    void resetPutsEveryColourBackAndKeepsTheLayerColour() {
        Harness h;
        MainWindow& w = h.start();
        w.Settings().SettingClicked();
        QTest::mouseClick(h.ui().sbtReset, Qt::LeftButton);
        const Settings& s = w.State().settings;
        QCOMPARE(s.Form, 0xFFC0C0);
        QCOMPARE(s.BackGround, 0x808080);
        QCOMPARE(s.DefLayers, 0x00FF00);
        QCOMPARE(s.Grid, 0x800000);
        QCOMPARE(w.LocalCad().DefaultLayersColor(), 0x00FF00);
        QCOMPARE(h.ui().ColorBoxDefLayers->color(), 0x00FF00);
        QCOMPARE(h.ui().ColorBoxForm->color(), 0xFFC0C0);  // not one of the named colours: kept exactly
        QVERIFY(h.close(true));
        QCOMPARE(IniFile(h.install.ini()).ReadInteger("Color", "DefLayers", 0), 0x00FF00);
    }

    void coupledGridSpacingsFollowEachOtherAndJunkIsRefused() {
        Harness h;
        MainWindow& w = h.start();
        h.ui().chkUnisceGrid->setChecked(true);
        QLineEdit* x = h.ui().nol_cboGridX->lineEdit();
        x->clear();
        QTest::keyClicks(x, "2.5");
        QCOMPARE(w.State().settings.GridX, 2.5);
        QCOMPARE(w.State().settings.GridY, 2.5);
        QCOMPARE(h.ui().nol_cboGridY->currentText(), QString("2.5"));
        h.ui().chkUnisceSubGrid->setChecked(false);
        QTest::keyClicks(h.ui().nol_cboGridSubY->lineEdit(), "5");  // "1" + "5"
        QCOMPARE(w.State().GridSubY, 15.0);
        QCOMPARE(w.State().GridSubX, 1.0);
        x->selectAll();
        QTest::keyClicks(x, "abc");
        emit x->editingFinished();
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(x->text(), QString("2.5"));
        QCOMPARE(w.State().settings.GridX, 2.5);
        h.ui().sbtGridOnOff->click();
        QVERIFY(!w.State().settings.SGrid);
        // The grid dialog (right click, or the menu) shows the values in force,
        // a grid spacing as "%6.3f" puts it.
        emit h.ui().sbtGridOnOff->customContextMenuRequested({});
        h.ui().SetGridSpacing1->trigger();
        QCOMPARE(h.dialogs.modal.size(), 2);
        QCOMPARE(h.dialogs.modal.front()->objectName(), QString("frmGrid"));
        QCOMPARE(h.dialogs.gridShown, QStringList({" 2.500", " 2.500"}));
    }

    void numericEditsTakeOnlyTheirCharacters() {
        Harness h;
        h.start();
        const std::pair<QLineEdit*, const char*> cases[] = {
            {h.ui().txtWhiteD, "1-."}, {h.ui().txtIncXY, "1."}, {h.ui().txtFeedPlane, "1-."},
        };
        for (const auto& [edit, kept] : cases) {
            edit->clear();
            QTest::keyClicks(edit, "a1-.b");
            QCOMPARE(edit->text(), QString(kept));
            QTest::keyClick(edit, Qt::Key_Left);
            QTest::keyClick(edit, Qt::Key_Delete);  // keys that type nothing still work
            QCOMPARE(edit->text().size(), qsizetype(std::string_view(kept).size() - 1));
        }
    }

    void theThreeDViewSwitchAndItsCommands() {
        Harness h;
        MainWindow& w = h.start();
        QVERIFY(!h.ui().sbtTopView->isEnabled());  // standard views only in 3D
        h.ui().sbtShow->click();
        QVERIFY(w.State().View3D && h.ui().sbtTopView->isEnabled());
        QCOMPARE(h.ui().views->currentWidget(), h.ui().pnlVista3D);
        h.ui().sbtIsoView->click();
        h.ui().sbtTopView->click();
        QCOMPARE(h.view3d->views, QList<int>({int(View3D::Standard::Iso), int(View3D::Standard::Top)}));
        h.ui().mnuSPWire->trigger();
        QVERIFY(h.view3d->surface == View3D::Surface::Wire && h.ui().mnuSPWire->isChecked() &&
                !h.ui().mnuSPShade->isChecked());
        h.ui().mnuShowTool->trigger();
        h.ui().mnuShowXYZ->trigger();
        QVERIFY(h.view3d->toolVisible && !h.view3d->axesVisible);
        // The first two job steps work on the 2D view.
        w.LifeCycle().VisPagina(page::kFirstStep + 1);
        emit h.ui().tabPages->tabBarClicked(0);
        QVERIFY(!w.State().View3D && !h.ui().sbtShow->isChecked());
        QCOMPARE(h.ui().pnlStatus2->text(), Lang("423"));
    }

    void theLanguageListIsSortedAndAChangeRetitlesTheWindow() {
        Harness h;
        h.install.write("language/Zulu.LNG", "[String]\r\n753=Z\r\n");
        h.install.write("language/alpha.lng", "[frmMain]\r\nsbtReset.Caption=Da capo\r\n[String]\r\n753=Punto Z\r\n422=Impostazioni\r\n");
        fs::create_directories(h.install.root() / "user");  // the user's own languages are listed too
        h.install.write("user/Mine.lng", "[frmMain]\r\nsbtReset.Caption=Mio\r\n");
        SetUserLanguageFolder(h.install.root() / "user");
        MainWindow& w = h.start();
        w.Settings().SettingClicked();
        QStringList listed;
        for (int i = 0; i < h.ui().nol_cboLang->count(); ++i) listed << h.ui().nol_cboLang->itemText(i);
        QCOMPARE(listed, QStringList({"alpha", "english", "Mine", "Zulu"}));
        w.Settings().LanguageChosen("Mine");
        QCOMPARE(h.ui().sbtReset->text(), QString("Mio"));
        SetUserLanguageFolder({});
        w.Settings().LanguageChosen("alpha");
        QCOMPARE(h.ui().sbtReset->text(), QString("Da capo"));
        QCOMPARE(h.ui().btnZNC->text(), QString("Punto Z"));
        QCOMPARE(h.ui().pnlStatus2->text(), QString("Impostazioni"));
        w.Settings().LanguageChosen("gone");  // no such file: reported, the language stays
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.ui().nol_cboLang->currentText(), QString("alpha"));
        QVERIFY(h.close(true));
        QCOMPARE(QString::fromStdString(IniFile(h.install.ini()).ReadString("Default", "Language", "")),
                 QString("alpha"));
    }

    void theSixScreenCursorsAreMadeAtStartAndOneIsInForceAtATime() {
        Harness h;
        h.start();
        QList<QImage> shapes;
        for (int number = 2; number <= kScreenCursorCount; ++number) {
            const QCursor cursor = ScreenCursor(number);
            QCOMPARE(cursor.hotSpot(), QPoint(15, 15));
            shapes << cursor.pixmap().toImage();
            for (int earlier = 0; earlier + 1 < shapes.size(); ++earlier) QVERIFY(shapes[earlier] != shapes.back());
        }
        QCOMPARE(ScreenCursor(1).shape(), Qt::OpenHandCursor);
        SetScreenCursor(2);
        SetScreenCursor(5);
        QCOMPARE(CurrentScreenCursor(), 5);
        QVERIFY(QGuiApplication::overrideCursor() != nullptr);
        SetScreenCursor(0);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);  // one level: nothing left behind
    }

    void helpAndWebGoToTheDesktop() {
        Harness h;
        MainWindow& w = h.start();
        h.ui().mnuHelp->trigger();
        QCOMPARE(h.dialogs.opened.size(), 1);
        QVERIFY(h.dialogs.opened.front().isLocalFile());
        QVERIFY(h.dialogs.opened.front().toLocalFile().endsWith("hlp/index.html"));
        h.ui().mnuAbout1->trigger();
        const auto* about = w.findChild<QDialog*>("frmAbout");
        QVERIFY(about && about->isVisible() && !about->isModal());
        h.ui().mnuTutor->trigger();  // not installed here: said so
        QCOMPARE(h.errors.size(), 1);
        h.dialogs.openSucceeds = false;
        h.ui().mnuWeb->trigger();
        QCOMPARE(h.dialogs.opened.back(), QUrl(kWebAddress));
        QCOMPARE(h.errors.size(), 2);
        QCOMPARE(w.State().ActiveCommand, kNoCommand);
    }
};

}  // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
