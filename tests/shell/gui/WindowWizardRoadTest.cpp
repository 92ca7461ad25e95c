// The whole road in the program's own window with its OpenGL 3D view (under
// xvfb-run): a picture to an NC program with the mouse, the job saved, a new
// job, the job opened again and computed again: the same program, byte for
// byte; the relief of the job as a closed STL solid.
#include <QTest>
#include <QToolButton>

#include "engine/gui/NcPageController.h"
#include "engine/picture/PictureRaster.h"
#include "kernel/entities/EntityModule.h"
#include "shell/gui/NcPageWiring.h"
#include "tests/shell/gui/WizardRig.h"

namespace fs = std::filesystem;
using namespace calvoro;
using namespace calvoro::testing;

class WindowWizardRoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        InitializeEntityModule();
        InstallPictureDecoder();
    }

    void aJobMadeWithTheMouseComesBackFromItsDocument() {
        Rig rig(false, true);
        const fs::path dome = WriteDome(rig.file("dome.bmp"), 160, 120);
        rig.dialogs.fileToOpen = QString::fromStdString(dome.string());
        QTest::mouseClick(rig.ui().sbtOpen, Qt::LeftButton);
        rig.walkToCutting(rig.file("dome.nc"));
        rig.click(rig.p().sbtNcCalc);
        rig.click(rig.p().sbtNextB6);
        QCOMPARE(rig.page(), page::kProgram);
        const std::string first = ReadWholeFile(rig.file("dome.nc"));
        QVERIFY(first.size() > 100);
        QCOMPARE(rig.w().NcPages().Controller().programText(), first);

        rig.dialogs.filesToSave = {QString::fromStdString(rig.file("dome").string())};
        rig.click(rig.ui().sbtSave);
        rig.dialogs.filesToSave = {QString::fromStdString(rig.file("dome.stl").string())};
        rig.click(rig.ui().sbtSave);
        const auto edges = StlEdges(rig.file("dome.stl"));
        QVERIFY(!edges.empty());
        for (const auto& [edge, uses] : edges) QCOMPARE(uses, 2);

        rig.dialogs.answers = {true};
        QTest::mouseClick(rig.ui().sbtNew, Qt::LeftButton);
        fs::remove(rig.file("dome.nc"));
        rig.dialogs.fileToOpen = QString::fromStdString(rig.file("dome.pxm").string());
        QTest::mouseClick(rig.ui().sbtOpen, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.wiring().Working(), 60000);
        QCOMPARE(rig.page(), page::kCutting);
        rig.click(rig.p().sbtNcCalc);
        QCOMPARE(ReadWholeFile(rig.file("dome.nc")), first);
        QCOMPARE(rig.h.errors, QStringList());
    }
};

QTEST_MAIN(WindowWizardRoadTest)
#include "WindowWizardRoadTest.moc"
