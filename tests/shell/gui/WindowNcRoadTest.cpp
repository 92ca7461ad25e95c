// The road a person takes from a computed program to the NC page and back to
// the tool form, in the real main window: the 3D cutter made for the page,
// Prev held while Play runs, the line Step reads shown from its start, Save
// As making the chosen file the NC file, and the tool form's two shapes.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSlider>
#include <QToolButton>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/NcSimulationViews.h"
#include "engine/gui/ToolDialog.h"
#include "engine/picture/PictureRaster.h"
#include "kernel/entities/EntityModule.h"
#include "shell/gui/NcPageWiring.h"
#include "tests/shell/gui/WizardRig.h"

namespace fs = std::filesystem;
using namespace calvoro;
using namespace calvoro::testing;

namespace {

struct CutterView : StubView3D {
    using StubView3D::StubView3D;
    void setCutter(const ToolRecord& tool, float feedPlaneZ) override {
        cutter = tool;
        cutterZ = feedPlaneZ;
        ++cutterBuilds;
    }
    void setToolVisible(bool visible) override { toolVisible = visible; }
    ToolRecord cutter;
    float cutterZ = -1;
    int cutterBuilds = 0;
};

// The NC page's save dialog answers with the names given, in order.
struct NcDialogs : NcPageDialogs {
    std::deque<QString> names;
    QStringList errors;
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        if (names.empty()) return {};
        const QString name = names.front();
        names.pop_front();
        return name;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }
    void inform(QWidget*, const QString&) override {}
};

// The window with a computed program on the NC page.
struct Road {
    Harness h;
    testing::WizardDialogs dialogs;
    NcDialogs nc;
    CutterView* view = nullptr;

    Road() {
        fs::copy_file(SourceData() / "Tool.db", h.install.root() / "Tool.db");
        MainWindowOptions options;
        options.dialogs = &dialogs;
        options.ncDialogs = &nc;
        options.make3D = [this](QWidget* parent) {
            auto stub = std::make_unique<CutterView>(parent);
            view = stub.get();
            return stub;
        };
        options.settingsFile = h.install.ini();
        h.window = std::make_unique<MainWindow>(options);
        h.window->Start();
        h.window->resize(1100, 800);
        h.window->show();
        QVERIFY(h.window->Wizard().LoadPicture(WriteDome(file("dome.bmp"), 80, 60)));
        const WizardPagesUi& p = pages();
        click(p.sbtNextB1);
        click(p.sbtNextB2);
        dialogs.filesToSave.push_back(QString::fromStdString(file("dome.nc").string()));
        for (QPushButton* button : {p.sbtNextB3, p.sbtNextB4, p.sbtNextB5, p.sbtNcCalc, p.sbtNextB6}) click(button);
    }
    const WizardPagesUi& pages() { return h.window->Wizard().Pages(); }
    NcPage& ncPage() { return h.window->NcPages().Page(); }
    NcPageController& controller() { return h.window->NcPages().Controller(); }
    int page() { return h.ui().PageControl1->currentIndex(); }
    fs::path file(const char* name) { return h.install.root() / name; }
    void click(QAbstractButton* button) {
        QVERIFY2(button->isVisible() && button->isEnabled(), qPrintable(button->objectName()));
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!h.window->Wizard().Working(), 60000);
    }
};

}  // namespace

class WindowNcRoadTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        InitializeEntityModule();
        InstallPictureDecoder();
    }

    void theNcPageBuildsTheCutterOfTheToolFormAtTheFeedPlane() {
        Road road;
        QCOMPARE(road.page(), page::kProgram);
        QVERIFY(road.view->cutterBuilds > 0);
        const ToolRecord tool = road.h.window->NcPages().Tools().currentTool();
        QCOMPARE(road.view->cutter.diameter, tool.diameter);
        QCOMPARE(road.view->cutter.toolType, tool.toolType);
        QCOMPARE(road.view->cutterZ, road.h.ui().txtFeedPlane->text().toFloat());
        // Shown only as the menu says.
        QCOMPARE(road.view->toolVisible, road.h.ui().mnuShowTool->isChecked());
    }

    // One row per control on the road, reached as a person reaches it.
    void eachControlOnTheNcPageDoesWhatItSays_data() {
        QTest::addColumn<int>("row");
        QTest::newRow("sbtIsoPlay holds sbtPrevB7 until sbtIsoStop") << 0;
        QTest::newRow("sbtIsoStep shows the line from its start") << 1;
        QTest::newRow("sbtIsoSave makes the chosen file the NC file") << 2;
    }
    void eachControlOnTheNcPageDoesWhatItSays() {
        QFETCH(int, row);
        Road road;
        NcPage& nc = road.ncPage();
        QPushButton* prev = road.pages().sbtPrevB7;
        switch (row) {
            case 0:
                nc.TrackBar1->setValue(1);
                road.click(nc.sbtIsoPlay);
                QVERIFY(road.controller().playing());
                QVERIFY(!prev->isEnabled());
                road.click(nc.sbtIsoStop);
                QTRY_VERIFY(!road.controller().playing());
                QVERIFY(prev->isEnabled());
                break;
            case 1: {
                road.controller().setProgram("(" + std::string(600, 'A') + ")\r\nG1 X2 Y2\r\n");
                road.click(nc.sbtIsoRev);
                road.click(nc.sbtIsoStep);
                QCOMPARE(nc.ricIso->textCursor().selectedText().size(), 602);
                QCOMPARE(nc.ricIso->horizontalScrollBar()->value(), 0);
                break;
            }
            case 2: {
                const fs::path copy = road.file("copy.nc");
                road.nc.names = {QString::fromStdString(copy.string())};
                road.click(nc.sbtIsoSave);
                QCOMPARE(ReadWholeFile(copy), road.controller().programText());
                QVERIFY(road.pages().stxNcFileName->text().endsWith("copy.nc"));
                QVERIFY(nc.nol_lblNomeNcFile1->toolTip().endsWith("copy.nc"));
                break;
            }
        }
        QCOMPARE(road.nc.errors, QStringList());
        QCOMPARE(road.h.errors, QStringList());
    }

    // The help text beside the cutting values changes with the field
    // explained; the buttons under it stay where they are.
    void theCuttingPageButtonsStayPutWhateverTheHelpSays() {
        Road road;
        road.click(road.pages().sbtPrevB7);
        QCOMPARE(road.page(), page::kCutting);
        QPushButton* prev = road.pages().sbtPrevB6;
        const int y = prev->y();
        road.h.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(road.h.window.get()));
        const QString help = road.pages().lblCutParHelp->text();
        QTest::mouseClick(road.h.ui().txtFilter, Qt::LeftButton);
        QTest::qWait(50);
        QVERIFY(road.pages().lblCutParHelp->text() != help);
        QCOMPARE(prev->y(), y);
        QTest::mouseClick(road.pages().chkVerticale, Qt::LeftButton, {}, QPoint(6, road.pages().chkVerticale->height() / 2));
        QTest::qWait(50);
        QCOMPARE(prev->y(), y);
    }

    // A name wider than the page is shortened in its middle, whole in its tip.
    void aLongNcFileNameFitsItsLabel() {
        Road road;
        for (QPushButton* prev : {road.pages().sbtPrevB7, road.pages().sbtPrevB6, road.pages().sbtPrevB5}) road.click(prev);
        QCOMPARE(road.page(), page::kNcFile);
        const fs::path folder = road.file("a_folder_whose_name_is_far_too_long_for_the_page/and_one_more_level");
        fs::create_directories(folder);
        const QString name = QString::fromStdString((folder / "dome.nc").string());
        road.dialogs.filesToSave = {name};
        road.click(road.pages().sbtNewNc);
        QLabel* label = road.pages().stxNcFileName;
        QCOMPARE(label->toolTip(), name);
        QVERIFY(label->text().contains("...") && label->text().endsWith("dome.nc"));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    }

    // From the NC page back to the tool page: the library form adds a cutter
    // and deletes it again; the compact form that follows is narrower.
    void theToolFormAddsAndDeletesACutterAndShrinksWhenCompact() {
        Road road;
        road.click(road.pages().sbtPrevB7);
        road.click(road.pages().sbtPrevB6);
        QCOMPARE(road.page(), page::kTool);
        const auto size = [&] { return fs::file_size(road.h.install.root() / "Tool.db"); };
        const auto before = size();
        int fullWidth = 0, compactWidth = 0;
        road.dialogs.modalScript = [&](QDialog& dialog) {
            auto& form = static_cast<ToolDialog&>(dialog);
            if (form.editOnly()) {
                compactWidth = form.width();
                return int(QDialog::Rejected);
            }
            fullWidth = form.width();
            form.txtUtName->setText("Road cutter");
            QTest::mouseClick(form.sbtAddTool, Qt::LeftButton);
            if (size() != before + ToolRecord::kSize) return int(QDialog::Rejected);
            QListWidget* list = form.ListView1;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(list->count() - 1)).center());
            QTest::mouseClick(form.btnDelRecord, Qt::LeftButton);
            return int(QDialog::Rejected);
        };
        road.click(road.pages().sbtSelecTool);
        QCOMPARE(size(), before);
        road.click(road.pages().sbtEditTool);
        QVERIFY2(compactWidth > 0 && compactWidth < fullWidth,
                 qPrintable(QString("%1 / %2").arg(compactWidth).arg(fullWidth)));
        QCOMPARE(road.h.errors, QStringList());
    }
};

QTEST_MAIN(WindowNcRoadTest)
#include "WindowNcRoadTest.moc"
