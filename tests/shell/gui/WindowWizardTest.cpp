// The job wizard in the real main window (offscreen, scripted dialogs, stub 3D
// view): one row per control of the wizard's pages, reached the way a person
// reaches it, with the effect it must have; the open and save commands; and
// the whole road from a picture to an NC program and back from the saved job.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <cstring>
#include <functional>
#include <map>
#include <tuple>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/ToolDialog.h"
#include "engine/picture/PictureRaster.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/view/TQVViewport2D.h"
#include "kernel/gui/ViewportWidget.h"
#include "shell/gui/View2DHost.h"
#include "shell/gui/CuttingHelpPictures.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/gui/StlOutputDialog.h"
#include "shell/gui/WizardWiring.h"
#include "tests/shell/gui/WindowHarness.h"
#include "tests/shell/gui/WizardRig.h"

namespace fs = std::filesystem;
using namespace calvoro;
using namespace calvoro::testing;

namespace {

struct Row {
    const char* name;   // objectName
    const char* reach;  // how a person gets there
    std::function<void(Rig&)> act;
    std::function<void(Rig&)> check;
};

QAbstractButton* Button(Rig& r, const char* name) {
    return r.w().findChild<QAbstractButton*>(name);
}

std::vector<Row> Rows() {
    return {
        {"sbtOpen", "tool bar", [](Rig& r) {
             r.dialogs.fileToOpen = QString::fromStdString(r.ramp.string());
             r.dialogs.answers = {true};  // the picture in the drawing goes
             QTest::mouseClick(r.ui().sbtOpen, Qt::LeftButton);
         },
         [](Rig& r) {
             QCOMPARE(r.dialogs.questions, QStringList({Lang("452")}));
             QVERIFY(r.w().windowTitle().endsWith("ramp.bmp"));
             QCOMPARE(r.page(), 44);
         }},
        {"mnuOpen", "File menu", [](Rig& r) {
             r.dialogs.fileToOpen = QString::fromStdString(r.ramp.string());
             r.dialogs.answers = {false};  // the drawing is kept
             r.ui().mnuOpen->trigger();
         },
         [](Rig& r) { QCOMPARE(r.dialogs.questions, QStringList({Lang("452")})); }},
        {"sbtModify", "page 44", [](Rig& r) { r.click(r.p().sbtModify); }, [](Rig& r) { QCOMPARE(r.page(), 43); }},
        {"sbtFlipH", "page 43 by Modify", [](Rig& r) { r.click(r.p().sbtModify); r.click(r.p().sbtFlipH); },
         [](Rig& r) { QCOMPARE(int(r.wizard().picture().row(0)[0]), 39 * 6); }},
        {"sbtFlipV", "page 43 by Modify", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);  // a relief is built ...
             r.click(r.p().sbtPrevB3);
             r.click(r.p().sbtPrevB2);
             r.click(r.p().sbtModify);
             r.click(r.p().sbtFlipV);
         },
         [](Rig& r) { QVERIFY(r.wizard().reliefOutdated()); }},  // ... and is stale after the flip
        {"sbtRotate", "page 43 by Modify", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().rbtOrigine[3]);  // upper right: X0 = -39
             r.click(r.p().sbtPrevB2);
             r.click(r.p().sbtModify);
             r.click(r.p().sbtRotate);
         },
         [](Rig& r) {
             QCOMPARE(r.wizard().picture().width, 30);
             QCOMPARE(r.p().txtVecLarg->text(), QString("29.000"));
             // The chosen corner holds for the turned picture.
             QCOMPARE(r.w().State().Info.X0, -29.0f);
             QCOMPARE(r.w().State().Info.Y0, -39.0f);
         }},
        {"sbt2Gray", "page 43 by Modify", [](Rig& r) { r.click(r.p().sbtModify); r.click(r.p().sbt2Gray); },
         [](Rig& r) { QVERIFY(r.wizard().reliefOutdated() && r.wizard().ncOutdated()); }},
        {"sbtCutSel", "page 43 by Modify, after a rectangle picked in the 2D view", [](Rig& r) {
             r.click(r.p().sbtModify);
             QVERIFY(!r.p().sbtCutSel->isEnabled());  // no rectangle yet
             r.wiring().CropRectanglePicked(10, 5, 30, 25);
             r.click(r.p().sbtCutSel);
         },
         [](Rig& r) {
             QCOMPARE(r.wizard().picture().width, 21);  // columns 10 .. 30
             QCOMPARE(r.wizard().picture().height, 21);
             QVERIFY(r.wizard().reliefOutdated() && !r.p().sbtCutSel->isEnabled());
         }},
        {"txtCutDx", "page 43 by Modify, after a rectangle picked", [](Rig& r) {
             r.click(r.p().sbtModify);
             r.wiring().CropRectanglePicked(30, 25, 10, 5);
         },
         [](Rig& r) {
             QCOMPARE(r.p().txtCutDx->text(), QString("20.000"));
             QCOMPARE(r.p().txtCutDy->text(), QString("20.000"));
             QCOMPARE(r.p().txtPixelW->text(), QString("21"));
             QCOMPARE(r.p().txtPixelH->text(), QString("21"));
             QVERIFY(r.p().txtCutDx->isReadOnly() && r.p().sbtCutSel->isEnabled());
         }},
        {"sbtNextB0", "page 43", [](Rig& r) { r.click(r.p().sbtModify); r.click(r.p().sbtNextB0); },
         [](Rig& r) { QCOMPARE(r.page(), 44); }},
        {"txtVecLarg", "page 44", [](Rig& r) { r.type(r.p().txtVecLarg, "78"); },
         [](Rig& r) {
             QCOMPARE(r.p().txtVecAlt->text(), QString("58.500"));  // kept in ratio: 78 / 40 x 30
             QVERIFY(r.p().sbtDimApply->isEnabled() && !r.p().sbtNextB1->isEnabled());
         }},
        {"txtVecAlt", "page 44", [](Rig& r) { r.type(r.p().txtVecAlt, "0"); },
         [](Rig& r) { QCOMPARE(r.w().State().Info.SizeY, 29.0f); }},  // a size of 0 changes nothing
        {"sbtDimApply", "page 44", [](Rig& r) { r.type(r.p().txtVecLarg, "78"); r.click(r.p().sbtDimApply); },
         [](Rig& r) { QVERIFY(r.p().sbtNextB1->isEnabled() && !r.p().sbtDimApply->isEnabled()); }},
        {"chkRatio", "page 44", [](Rig& r) { r.click(r.p().chkRatio); r.type(r.p().txtVecLarg, "100"); },
         [](Rig& r) { QCOMPARE(r.p().txtVecAlt->text(), QString("29.000")); }},
        {"sbtNextB1", "page 44", [](Rig& r) { r.click(r.p().sbtNextB1); }, [](Rig& r) { QCOMPARE(r.page(), 45); }},
        {"rbtOrigine3", "page 45", [](Rig& r) { r.click(r.p().sbtNextB1); r.click(r.p().rbtOrigine[3]); },
         [](Rig& r) {
             QCOMPARE(r.ui().txtOriginX->text(), QString("39.000"));
             QCOMPARE(r.w().State().Info.X0, -39.0f);
         }},
        {"rbtOrigine0", "page 45", [](Rig& r) { r.click(r.p().sbtNextB1); r.click(r.p().rbtOrigine[0]); },
         [](Rig& r) { QCOMPARE(r.w().State().Info.Y0, -14.5f); }},
        {"rbtOrigine1", "page 45", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().rbtOrigine[2]);
             r.click(r.p().rbtOrigine[1]);
         },
         [](Rig& r) { QCOMPARE(r.w().State().Info.Y0, 0.0f); }},
        {"rbtOrigine2", "page 45", [](Rig& r) { r.click(r.p().sbtNextB1); r.click(r.p().rbtOrigine[2]); },
         [](Rig& r) { QCOMPARE(r.w().State().Info.Y0, -29.0f); }},
        {"rbtOrigine4", "page 45", [](Rig& r) { r.click(r.p().sbtNextB1); r.click(r.p().rbtOrigine[4]); },
         [](Rig& r) { QCOMPARE(r.w().State().Info.X0, -39.0f); QCOMPARE(r.w().State().Info.Y0, 0.0f); }},
        {"txtOriginX", "page 45", [](Rig& r) { r.click(r.p().sbtNextB1); r.type(r.ui().txtOriginX, "5"); },
         [](Rig& r) { QVERIFY(r.p().sbtOrigineApply->isEnabled() && !r.p().sbtNextB2->isEnabled()); }},
        {"sbtOrigineApply", "page 45", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.type(r.ui().txtOriginX, "5");
             r.click(r.p().sbtOrigineApply);
         },
         [](Rig& r) { QCOMPARE(r.w().State().Info.X0, -5.0f); QVERIFY(r.p().sbtNextB2->isEnabled()); }},
        {"sbtSetOrigin", "page 45, then a click in the 2D view", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.wiring().OriginPicked(3, 4);  // no pick asked for: nothing moves
             r.click(r.p().sbtSetOrigin);
             r.wiring().OriginPicked(3, 4);
         },
         [](Rig& r) {
             QCOMPARE(r.w().State().Info.X0, -3.0f);
             QCOMPARE(r.ui().txtOriginX->text(), QString("3.000"));
             QVERIFY(!r.wiring().PickingOrigin() && r.p().sbtOrigineApply->isEnabled());
         }},
        {"sbtPrevB2", "page 45", [](Rig& r) { r.click(r.p().sbtNextB1); r.click(r.p().sbtPrevB2); },
         [](Rig& r) { QCOMPARE(r.page(), 44); }},
        {"sbtNextB2", "page 45", [](Rig& r) { r.click(r.p().sbtNextB1); r.click(r.p().sbtNextB2); },
         [](Rig& r) {
             QCOMPARE(r.page(), 46);
             QVERIFY(r.w().State().View3D);
             QCOMPARE(r.h.view3d->reliefWidth, 40);
         }},
        {"txtBlackD", "page 46", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);
             r.type(r.ui().txtBlackD, "-10");
         },
         [](Rig& r) { QVERIFY(r.p().sbtProfApply->isEnabled() && !r.p().sbtNextB3->isEnabled()); }},
        {"sbtProfApply", "page 46", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);
             r.type(r.ui().txtBlackD, "-10");
             r.click(r.p().sbtProfApply);
         },
         [](Rig& r) {
             QCOMPARE(r.h.view3d->boxSizeZ, 10.0f);
             QVERIFY(r.p().sbtNextB3->isEnabled() && r.ui().sbtSave->isEnabled());
         }},
        {"rbtShResCoarse", "page 46", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);
             r.click(r.p().rbtShResCoarse);
         },
         [](Rig& r) { QVERIFY(r.p().sbtProfApply->isEnabled() && !r.p().sbtNextB3->isEnabled()); }},
        {"rbtShResMedium", "page 46", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);
             r.click(r.p().rbtShResMedium);
         },
         [](Rig& r) { QVERIFY(r.p().sbtProfApply->isEnabled()); }},
        {"rbtShResFine", "page 46", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);
             r.click(r.p().rbtShResFine);
         },
         [](Rig& r) { QVERIFY(r.p().sbtProfApply->isEnabled()); }},
        {"sbtPrevB3", "page 46", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);
             r.click(r.p().sbtPrevB3);
         },
         [](Rig& r) { QCOMPARE(r.page(), 45); QVERIFY(!r.w().State().View3D); }},
        {"sbtNextB3", "page 46", [](Rig& r) {
             r.click(r.p().sbtNextB1);
             r.click(r.p().sbtNextB2);
             r.dialogs.filesToSave = {QString::fromStdString(r.file("job").string())};
             r.click(r.p().sbtNextB3);
         },
         [](Rig& r) {
             QCOMPARE(r.page(), 47);
             QCOMPARE(r.dialogs.saveFilters.size(), 1);  // asked once, not twice
             QVERIFY(r.p().stxNcFileName->text().endsWith("job.nc", Qt::CaseInsensitive));
             QCOMPARE(r.p().cboPostName->currentText(), QString("Fanuc_mm"));
         }},
        {"sbtNewNc", "page 47", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtPrevB6);
             r.click(r.p().sbtPrevB5);
             r.dialogs.filesToSave = {QString::fromStdString(r.file("b.nc").string())};
             r.click(r.p().sbtNewNc);
         },
         [](Rig& r) { QCOMPARE(r.wizard().ncFileName(), r.file("b.nc")); }},
        {"cboPostName", "page 47", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtPrevB6);
             r.click(r.p().sbtPrevB5);
             emit r.p().cboPostName->textActivated("Fanuc_mm");
         },
         [](Rig& r) { QVERIFY(!r.p().stxPstCommento->text().isEmpty()); }},
        {"sbtPrevB4", "page 47", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtPrevB6);
             r.click(r.p().sbtPrevB5);
             r.click(r.p().sbtPrevB4);
         },
         [](Rig& r) { QCOMPARE(r.page(), 46); }},
        {"sbtNextB4", "page 47", [](Rig& r) { r.walkToCutting(r.file("a.nc")); }, [](Rig& r) { QCOMPARE(r.page(), 49); }},
        {"sbtSelecTool", "page 48", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtPrevB6);
             r.click(r.p().sbtSelecTool);
         },
         [](Rig& r) { QCOMPARE(r.dialogs.modal.size(), 1); QVERIFY(qobject_cast<ToolDialog*>(r.dialogs.modal[0])); }},
        {"sbtEditTool", "page 48", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtPrevB6);
             r.click(r.p().sbtEditTool);
         },
         [](Rig& r) { QCOMPARE(r.dialogs.modal.size(), 1); }},
        {"nol_lblUtName", "page 48", [](Rig& r) { r.walkToCutting(r.file("a.nc")); r.click(r.p().sbtPrevB6); },
         [](Rig& r) { QVERIFY(r.p().toolTable.diameter->text().startsWith(Lang("711"))); }},
        {"sbtPrevB5", "page 48", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtPrevB6);
             r.click(r.p().sbtPrevB5);
         },
         [](Rig& r) { QCOMPARE(r.page(), 47); }},
        {"sbtNextB5", "page 48", [](Rig& r) { r.walkToCutting(r.file("a.nc")); },
         [](Rig& r) { QVERIFY(r.p().sbtNcCalc->isEnabled() && !r.p().sbtNextB6->isEnabled()); }},
        {"sbtNcCalc", "page 49", [](Rig& r) { r.walkToCutting(r.file("a.nc")); r.click(r.p().sbtNcCalc); },
         [](Rig& r) {
             QCOMPARE(r.w().NcPages().Controller().programText(), ReadWholeFile(r.file("a.nc")));
             QVERIFY(r.p().sbtNextB6->isEnabled() && !r.p().sbtNcCalc->isEnabled());
             QVERIFY(!r.ui().ProgressBar1->isVisible());
         }},
        {"sbtNextB6", "page 49", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtNcCalc);
             r.click(r.p().sbtNextB6);
         },
         [](Rig& r) { QCOMPARE(r.page(), 50); QVERIFY(r.w().NcPages().Page().isVisible()); }},
        {"sbtPrevB7", "page 50", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtNcCalc);
             r.click(r.p().sbtNextB6);
             r.click(r.p().sbtPrevB7);
         },
         [](Rig& r) { QCOMPARE(r.page(), 49); }},
        {"sbtPrevB6", "page 49", [](Rig& r) { r.walkToCutting(r.file("a.nc")); r.click(r.p().sbtPrevB6); },
         [](Rig& r) { QCOMPARE(r.page(), 48); }},
        {"chkOrizzontale", "page 49", [](Rig& r) { r.walkToCutting(r.file("a.nc")); r.click(r.p().chkOrizzontale); },
         [](Rig& r) { QCOMPARE(r.p().imgCutPar->property("resource").toInt(), 109); }},
        {"chkVerticale", "page 49", [](Rig& r) { r.walkToCutting(r.file("a.nc")); r.click(r.p().chkVerticale); },
         [](Rig& r) {
             QCOMPARE(r.p().imgCutPar->property("resource").toInt(), 108);
             QVERIFY(r.wizard().cutting().rasterAlongY);
         }},
        {"chkCutColor", "page 49", [](Rig& r) { r.walkToCutting(r.file("a.nc")); r.click(r.p().chkCutColor); },
         [](Rig& r) { QVERIFY(r.ui().btnZNC->isEnabled() && r.p().sbtZNCRegen->isEnabled()); }},
        {"btnZNC", "page 49", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().chkCutColor);
             r.click(r.ui().btnZNC);
         },
         [](Rig& r) {
             QCOMPARE(r.w().State().ActiveCommand, kZncPickMode);
             QVERIFY(!r.w().State().View3D);
             QCOMPARE(r.ui().pnlStatus2->text(), Lang("932"));
         }},
        {"btnZNC picked", "page 49, then a click in the 2D view", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().chkCutColor);
             r.click(r.ui().btnZNC);
             r.wiring().ZncPicked(10, 10);
         },
         [](Rig& r) {
             QCOMPARE(r.w().State().ActiveCommand, kNoCommand);
             QVERIFY(r.ui().btnZNC->text().startsWith(" Z: ") && r.w().State().View3D);
             QVERIFY(r.wizard().zncFilter().active);
         }},
        {"btnZNC cancelled", "page 49, then Esc in the 2D view", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().chkCutColor);
             r.click(r.ui().btnZNC);
             r.wiring().ZncPickCancelled();
             r.wiring().ZncPickCancelled();  // a second Esc finds no pick
         },
         [](Rig& r) {
             QVERIFY(r.w().State().View3D && !r.wizard().zncLevel());
             QCOMPARE(r.ui().btnZNC->text(), Lang("753"));
         }},
        {"txtFiltroZNC", "page 49", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().chkCutColor);
             r.click(r.p().sbtNcCalc);
             r.type(r.p().txtFiltroZNC, "0.5");
         },
         [](Rig& r) { QVERIFY(r.wizard().ncOutdated() && r.wizard().zncFilter().tolerance == 0.5f); }},
        {"sbtZNCRegen", "page 49", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().chkCutColor);
             r.click(r.p().sbtZNCRegen);
         },
         [](Rig& r) { QVERIFY(r.h.errors.isEmpty()); }},
        {"sbtSave", "tool bar", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtNcCalc);
             r.dialogs.filesToSave = {QString::fromStdString(r.file("job").string())};
             r.click(r.ui().sbtSave);
         },
         [](Rig& r) { QVERIFY(fs::exists(r.file("job.pxm"))); }},
        {"mnuSave", "File menu, as STL", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtNcCalc);
             r.dialogs.filesToSave = {QString::fromStdString(r.file("relief.stl").string())};
             r.ui().mnuSave->trigger();
         },
         [](Rig& r) { QVERIFY(fs::file_size(r.file("relief.stl")) > 84); }},
        {"mnuSave DXF", "File menu, as DXF", [](Rig& r) {
             r.walkToCutting(r.file("a.nc"));
             r.click(r.p().sbtNcCalc);
             r.dialogs.filesToSave = {QString::fromStdString(r.file("drawing.dxf").string())};
             r.ui().mnuSave->trigger();
         },
         [](Rig& r) { QVERIFY(ReadWholeFile(r.file("drawing.dxf")).find("EOF") != std::string::npos); }},
    };
}

// The edits of page 49 that make a computed program outdated.
const char* const kCuttingEdits[] = {"txtIncXY", "txtFeedPlane", "txtStock", "txtFilter", "txtAspor_Z"};

}  // namespace

class WindowWizardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        InitializeEntityModule();
        InstallPictureDecoder();
    }

    void everyControlOfTheWizardIsReachedAndWorks_data() {
        QTest::addColumn<int>("row");
        const std::vector<Row> rows = Rows();
        for (std::size_t i = 0; i < rows.size(); ++i)
            QTest::newRow(qPrintable(QString("%1 (%2)").arg(rows[i].name, rows[i].reach))) << int(i);
    }
    void everyControlOfTheWizardIsReachedAndWorks() {
        QFETCH(int, row);
        const Row r = Rows()[static_cast<std::size_t>(row)];
        Rig rig;
        QVERIFY(rig.w().findChild<QWidget*>(QString(r.name).section(' ', 0, 0)) ||
                rig.w().findChild<QAction*>(QString(r.name).section(' ', 0, 0)));
        r.act(rig);
        if (QTest::currentTestFailed()) return;
        r.check(rig);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(rig.h.errors, QStringList());
    }

    void everyCuttingEditMakesTheProgramOutdated_data() {
        QTest::addColumn<QString>("edit");
        for (const char* name : kCuttingEdits) QTest::newRow(name) << QString(name);
    }
    void everyCuttingEditMakesTheProgramOutdated() {
        QFETCH(QString, edit);
        Rig rig;
        rig.walkToCutting(rig.file("a.nc"));
        rig.click(rig.p().sbtNcCalc);
        auto* field = rig.w().findChild<QLineEdit*>(edit);
        QVERIFY(field && field->isVisible());
        rig.w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.w()));
        field->setFocus();
        rig.type(field, "1.5");
        QVERIFY(!rig.p().sbtNextB6->isEnabled() && rig.p().sbtNcCalc->isEnabled());
        QVERIFY(!rig.p().lblCutParHelp->text().isEmpty());  // its help beside it
        QVERIFY(!rig.p().imgCutPar->pixmap().isNull());
        rig.click(rig.p().sbtNcCalc);
        QVERIFY(rig.p().sbtNextB6->isEnabled());
    }

    // Every help drawing of the cutting values differs from every other.
    void theHelpDrawingsAreAllThereAndAllDifferent() {
        QList<QImage> seen;
        for (int resource = 101; resource <= 112; ++resource) {
            const QPixmap picture = CuttingHelpPicture(resource);
            QCOMPARE(picture.isNull(), resource == 110);  // 110 is asked for by no field
            if (picture.isNull()) continue;
            const QImage image = picture.toImage();
            QVERIFY2(!seen.contains(image), qPrintable(QString::number(resource)));
            seen << image;
        }
    }

    void passCountMakesTheProgramOutdated() {
        Rig rig;
        rig.walkToCutting(rig.file("a.nc"));
        rig.click(rig.p().sbtNcCalc);
        rig.p().sedPass_Z->setValue(2);
        QVERIFY(!rig.p().sbtNextB6->isEnabled());
        QCOMPARE(rig.wizard().cutting().passCount, 2);
    }

    // A point placed before any picture is part of the drawing: the open asks.
    void anOpenAsksBeforeItDiscardsAPlacedPoint() {
        Rig rig(false);
        rig.w().LocalCad().AddObject2D(-1, std::make_unique<TPunto2D>(-1, MakePoint2D(1.0, 1.0)));
        rig.dialogs.answers = {false};
        QVERIFY(!rig.wiring().LoadPicture(rig.ramp));
        QCOMPARE(rig.dialogs.questions, QStringList({Lang("452")}));
        QVERIFY(!rig.wizard().hasPicture());
        QVERIFY(!rig.ui().sbtSave->isEnabled() && !rig.ui().mnuSave->isEnabled());
    }

    // The picks of the wizard made with the mouse in the 2D view: the Z no-cut
    // level (a click), then the crop rectangle (two corners).
    void picksInTheViewReachTheWizard() {
        Rig rig;
        rig.walkToCutting(rig.file("a.nc"));
        rig.click(rig.p().chkCutColor);
        rig.click(rig.ui().btnZNC);
        QWidget& view = rig.w().View2D().Widget();
        QVERIFY(view.isVisible());
        QTest::mouseMove(&view, view.rect().center());
        QTest::mouseClick(&view, Qt::LeftButton, {}, view.rect().center());
        QTRY_VERIFY(rig.wizard().zncLevel().has_value());
        QCOMPARE(rig.w().State().ActiveCommand, kNoCommand);
        QVERIFY(rig.ui().btnZNC->text().startsWith(" Z: ") && rig.w().State().View3D);
        // A second pick given up with Esc keeps the level of the first.
        const float level = *rig.wizard().zncLevel();
        rig.click(rig.ui().btnZNC);
        QTest::mouseMove(&view, view.rect().center() + QPoint(5, 5));
        QTest::keyClick(&view, Qt::Key_Escape);
        QTRY_COMPARE(rig.w().State().ActiveCommand, kNoCommand);
        QVERIFY(rig.w().State().View3D);
        QCOMPARE(*rig.wizard().zncLevel(), level);

        rig.click(rig.p().sbtPrevB6);
        rig.click(rig.p().sbtPrevB5);
        rig.click(rig.p().sbtPrevB4);
        rig.click(rig.p().sbtPrevB3);
        rig.click(rig.p().sbtPrevB2);
        rig.click(rig.p().sbtModify);
        const QPoint first = view.rect().center() - QPoint(20, 20), second = view.rect().center() + QPoint(20, 20);
        QTest::mouseMove(&view, first);
        QTest::mouseClick(&view, Qt::LeftButton, {}, first);
        QTest::mouseMove(&view, second);
        QTest::mouseClick(&view, Qt::LeftButton, {}, second);
        QTRY_VERIFY(rig.p().sbtCutSel->isEnabled());
        QVERIFY(!rig.p().txtPixelW->text().isEmpty());

        rig.click(rig.p().sbtNextB0);
        rig.click(rig.p().sbtNextB1);
        rig.click(rig.p().sbtSetOrigin);
        const TPoint2D world =
            rig.w().View2D().Viewport().ScreenToWorld(TPoint2D{double(first.x()), double(first.y()), 1.0});
        QTest::mouseClick(&view, Qt::LeftButton, {}, first);
        QCOMPARE(rig.w().State().Info.X0, float(-world.X));
        QVERIFY(!rig.wiring().PickingOrigin());
        QCOMPARE(rig.h.errors, QStringList());
    }

    // Inches chosen on the settings page: the sizes are shown in inches.
    void theSizesFollowTheUnitsOfTheSettings() {
        Rig rig;
        emit rig.ui().cboUnits->activated(1);
        QCOMPARE(rig.p().txtVecLarg->text(), QString("39.0000"));  // "%0.4f" in inches
        QCOMPARE(rig.wizard().post().unitsFlag, 1);
    }

    // A computation the engine refuses leaves the program shown and its file
    // as they were, and says why.
    void aRefusedComputationKeepsTheProgramAndItsFile() {
        Rig rig;
        rig.walkToCutting(rig.file("a.nc"));
        rig.click(rig.p().sbtNcCalc);
        const std::string before = ReadWholeFile(rig.file("a.nc"));
        ToolRecord broken = rig.wizard().tool();
        broken.feedRate = 0;
        rig.wizard().setTool(broken);
        rig.click(rig.p().sbtNcCalc);
        QCOMPARE(rig.h.errors.size(), 1);
        QCOMPARE(ReadWholeFile(rig.file("a.nc")), before);
        QCOMPARE(rig.w().NcPages().Controller().programText(), before);
        QVERIFY(!rig.p().sbtNextB6->isEnabled() && rig.p().sbtNcCalc->isEnabled());
    }

    // The 2D view shows the whole picture after the open.
    void theViewIsFittedToThePicture() {
        Rig rig(false);
        QVERIFY(rig.wiring().LoadPicture(WriteDome(rig.file("wide.bmp"), 600, 400)));
        const TRect2D seen = rig.w().View2D().Viewport().VisualRect();
        const ImageInfo& info = rig.w().State().Info;
        QVERIFY(seen.Left <= info.X0 && seen.Right >= info.X0 + info.SizeX);
        QVERIFY(seen.Bottom <= info.Y0 && seen.Top >= info.Y0 + info.SizeY);
        QVERIFY(seen.Right - seen.Left < 2.0 * info.SizeX || seen.Top - seen.Bottom < 2.0 * info.SizeY);
    }

    // The depths of the settings are in force before the work box is set.
    void theWorkBoxIsAsDeepAsTheDepthsOfTheSettings() {
        Harness h;
        h.install.write("Calvoro.ini", "[Default]\r\nZBlack=-10\r\n");
        h.start();
        QVERIFY(h.window->Wizard().LoadPicture(h.install.picture()));
        QCOMPARE(h.view3d->boxSizeZ, 10.0f);
        QCOMPARE(h.window->windowTitle(), "Calvoro v0.1 - " + QString::fromStdString(h.install.picture().string()));
    }

    // A large picture is drawn coarsely, and its relief is built off the
    // window's thread while the progress bar and Cancel show; Cancel stops it.
    void aLargePictureOpensCoarseAndItsReliefBuildCanBeCancelled() {
        Rig rig(false);
        const fs::path large = WriteDome(rig.file("large.bmp"), 6000, 4000);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(rig.wiring().LoadPicture(large));
        qInfo("open of a 6000 x 4000 picture: %lld ms", static_cast<long long>(timer.elapsed()));
        QVERIFY(rig.p().rbtShResCoarse->isChecked());
        QVERIFY(!rig.wizard().relief());  // not built by the open
        QTest::mouseClick(rig.p().sbtNextB1, Qt::LeftButton);
        QTest::mouseClick(rig.p().sbtNextB2, Qt::LeftButton);
        QVERIFY(rig.wiring().Working() && rig.ui().ProgressBar1->isVisible());
        QVERIFY(rig.wiring().CancelButton()->isVisible() && !rig.ui().pnlCmd->isEnabled());
        QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        QTest::mouseClick(rig.wiring().CancelButton(), Qt::LeftButton);
        rig.h.errors.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.wiring().Working(), 60000);
        QVERIFY(!rig.wizard().relief() && rig.page() == 45);
        QVERIFY(!rig.ui().ProgressBar1->isVisible() && rig.ui().pnlCmd->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(rig.h.errors.size(), 1);  // the reason is shown
    }

    // The whole road with the mouse: picture -> program -> job document ->
    // new job -> the document again -> the same program, byte for byte; and
    // the relief of the same job as a closed STL solid.
    void aJobComesBackFromItsDocumentAndGivesTheSameProgram() {
        Rig rig(false);
        const fs::path dome = WriteDome(rig.file("dome.bmp"), 120, 90);
        rig.dialogs.fileToOpen = QString::fromStdString(dome.string());
        QTest::mouseClick(rig.ui().sbtOpen, Qt::LeftButton);
        rig.walkToCutting(rig.file("dome.nc"));
        rig.click(rig.p().sbtNcCalc);
        rig.click(rig.p().sbtNextB6);
        const std::string first = ReadWholeFile(rig.file("dome.nc"));
        QVERIFY(first.size() > 100);
        QCOMPARE(rig.w().NcPages().Controller().programText(), first);

        rig.dialogs.filesToSave = {QString::fromStdString(rig.file("dome-job").string())};
        rig.click(rig.ui().sbtSave);
        rig.dialogs.filesToSave = {QString::fromStdString(rig.file("dome.stl").string())};
        rig.click(rig.ui().sbtSave);
        for (const auto& [edge, uses] : StlEdges(rig.file("dome.stl"))) QCOMPARE(uses, 2);

        rig.dialogs.answers = {true};
        QTest::mouseClick(rig.ui().sbtNew, Qt::LeftButton);
        QVERIFY(!rig.wizard().hasPicture() && !rig.ui().sbtSave->isEnabled());
        fs::remove(rig.file("dome.nc"));

        rig.dialogs.fileToOpen = QString::fromStdString(rig.file("dome-job.pxm").string());
        QTest::mouseClick(rig.ui().sbtOpen, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.wiring().Working(), 60000);
        QCOMPARE(rig.page(), 49);  // the replay stops before the computation
        QVERIFY(rig.dialogs.filesToSave.empty());
        rig.click(rig.p().sbtNcCalc);
        QCOMPARE(ReadWholeFile(rig.file("dome.nc")), first);
        QCOMPARE(rig.h.errors, QStringList());
    }

    // From the compute button to the program in the editor, for a picture of
    // 2000 x 2000 pixels at 0.05 mm a pixel, a 3 mm ball and 0.3 mm step over.
    void computeTimeOfALargeJob() {
        Rig rig(false);
        QVERIFY(rig.wiring().LoadPicture(WriteDome(rig.file("big.bmp"), 2000, 2000)));
        rig.type(rig.p().txtVecLarg, "99.95");
        rig.click(rig.p().sbtDimApply);
        rig.type(rig.ui().txtIncXY, "0.3");
        rig.walkToCutting(rig.file("big.nc"));
        ToolRecord ball = rig.wizard().tool();
        ball.toolType = ToolType::Spherical;
        ball.diameter = 3.0f;
        ball.cornerRadius = 1.5f;
        rig.wizard().setTool(ball);
        QElapsedTimer timer;
        timer.start();
        rig.click(rig.p().sbtNcCalc);
        qInfo("compute to editor, 2000 x 2000: %lld ms, %d lines, step over %g, width %g", static_cast<long long>(timer.elapsed()),
              rig.w().NcPages().Controller().lineCount(), rig.wizard().cutting().stepOver, double(rig.w().State().Info.SizeX));
        QVERIFY(rig.p().sbtNextB6->isEnabled());
    }
};

QTEST_MAIN(WindowWizardTest)
#include "WindowWizardTest.moc"
