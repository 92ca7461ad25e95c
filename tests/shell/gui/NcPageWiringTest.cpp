// The NC page, the tool form and the layer page inside the main window, on the
// offscreen platform with scripted dialogs and a recording 3D view.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <unistd.h>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/ToolDialog.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/LayerPanel.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/NcPageWiring.h"
#include "tests/shell/gui/NcPageRoad.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

// Yes to every question; a modal dialog is shown, handed to onModal, hidden.
struct FakeDialogs : DialogServices {
    std::function<void(QDialog&)> onModal;
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    void inform(QWidget*, const QString&, const QString&) override {}
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    bool openUrl(const QUrl&) override { return true; }
    // The NC file dialog of the wizard: a file beside the picture.
    std::filesystem::path ncFile;
    QString saveFile(QWidget*, const QString&, const QString&, const QString&, QString*) override {
        return QString::fromStdString(ncFile.string());
    }
    int runModal(QDialog& dialog) override {
        dialog.show();
        if (onModal) onModal(dialog);
        dialog.hide();
        return dialog.result();
    }
};

struct RecordingView3D : View3D {
    QWidget* widget_;
    int nodes = 0, cutterMoves = 0;
    explicit RecordingView3D(QWidget* parent) : widget_(new QWidget(parent)) {}
    QWidget* widget() override { return widget_; }
    void setBackgroundColor(const QColor&) override {}
    void setRelief(std::shared_ptr<const HeightMap>, const ReliefValues&) override {}
    void setWorkBox(const WorkBox&) override {}
    void clearPath() override {}
    void setSurface(Surface) override {}
    void setToolVisible(bool) override {}
    void setAxesVisible(bool) override {}
    void standardView(Standard) override {}
    void appendPath(std::span<const SimNode> added) override { nodes += int(added.size()); }
    void moveCutter(float, float, float) override { ++cutterMoves; }
};

// A program folder with the tool library and a language file in which three
// texts differ from the widgets' own, to see whose section reaches them.
struct Harness {
    fs::path root = fs::temp_directory_path() / ("calvoro_ncwiring_" + std::to_string(::getpid()));
    FakeDialogs dialogs;
    RecordingView3D* view3d = nullptr;
    std::unique_ptr<MainWindow> window;

    Harness() {
        const fs::path data = fs::path(qEnvironmentVariable("CALVORO_SOURCE_DIR").toStdString()) / "data";
        fs::remove_all(root);
        fs::create_directories(root / "language");
        fs::copy_file(data / "Tool.db", root / "Tool.db");
        fs::create_directories(root / "pst");
        fs::copy_file(data / "pst" / "Fanuc_mm.pst", root / "pst" / "Fanuc_mm.pst");
        dialogs.ncFile = root / "job.nc";
        QString texts = QString::fromStdString(ReadWholeFile(data / "language" / "english.lng"));
        texts.replace("sbtIsoExit.Caption=Close\r", "sbtIsoExit.Caption=Leave\r")
            .replace("grpToolList.Caption=Tool List\r", "grpToolList.Caption=Cutters\r")
            .replace("chkLayerVis.Caption=Layer Visible\r", "chkLayerVis.Caption=Shown\r");
        WriteFileAtomically(root / "language" / "english.lng", texts.toStdString());
        SetProgramFolder(root);
        Application::setErrorReporter([](const QString&) {});
        MainWindowOptions options;
        options.dialogs = &dialogs;
        options.make3D = [this](QWidget* parent) {
            auto view = std::make_unique<RecordingView3D>(parent);
            view3d = view.get();
            return view;
        };
        options.settingsFile = root / "Calvoro.ini";
        window = std::make_unique<MainWindow>(options);
        window->Start();
        window->show();
    }
    ~Harness() {
        window.reset();
        Application::setErrorReporter(nullptr);
        fs::remove_all(root);
    }
    NcPageWiring& wiring() { return window->NcPages(); }
    void walkToNcPage() { testing::WalkToNcPage(*window, testing::WriteRamp(root / "ramp.bmp", 40, 30, 254)); }
    const MainWindowUi& ui() const { return window->Ui(); }
};

}  // namespace

class NcPageWiringTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    void pagesSitOnTheirPagesInTheirLanguage() {
        Harness h;
        h.walkToNcPage();
        QCOMPARE(h.ui().PageControl1->currentWidget(), h.ui().pages[page::kProgram]);
        QVERIFY(h.ui().pages[page::kProgram]->isAncestorOf(&h.wiring().Page()) && h.wiring().Page().isVisible());
        QVERIFY(h.ui().pages[page::kLayer]->isAncestorOf(&h.wiring().Layers()));
        QCOMPARE(h.wiring().Layers().chkLayerVis->text(), QString("Shown"));
        // At start and again on every language chosen on the settings page.
        for (int pass = 0; pass < 2; ++pass) {
            QCOMPARE(h.wiring().Page().sbtIsoExit->text(), QString("Leave"));
            QCOMPARE(h.wiring().Tools().grpToolList->title(), QString("Cutters"));
            h.wiring().Page().sbtIsoExit->setText("x");
            h.wiring().Tools().grpToolList->setTitle("x");
            emit h.ui().nol_cboLang->textActivated("english");
        }
    }

    void toolFormOkReachesTheTableAndCancelDoesNot_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("toolIndex");  // written back to the settings
        QTest::newRow("Ok on another cutter") << true << 2;
        QTest::newRow("Cancel after picking one") << false << 0;
    }
    void toolFormOkReachesTheTableAndCancelDoesNot() {
        QFETCH(bool, ok);
        QFETCH(int, toolIndex);
        Harness h;
        QSignalSpy changed(&h.wiring(), &NcPageWiring::toolChanged);
        QString picked;
        h.dialogs.onModal = [&](QDialog& dialog) {
            auto& tools = static_cast<ToolDialog&>(dialog);
            tools.selectRow(2);
            picked = tools.txtUtName->text();
            (ok ? tools.sbtOk : tools.bntCancel)->click();
        };
        QWidget host;
        ToolTableLabels labels;
        for (QLabel** label : {&labels.name, &labels.number, &labels.speed, &labels.feedRate, &labels.plunge,
                               &labels.diameter, &labels.shapeValue, &labels.flatValue, &labels.picture})
            *label = new QLabel(&host);
        QCOMPARE(h.wiring().EditTools(false, &labels), ok);
        QCOMPARE(h.window->State().settings.Tool, toolIndex);
        QVERIFY(!picked.isEmpty());
        QCOMPARE(labels.name->text(), ok ? picked : QString());
        QVERIFY(!changed.isEmpty());  // the fields changed while it was open: the program is outdated
    }

    void toolBarComesBackWhenPlayStops_data() {
        QTest::addColumn<bool>("showCutter");
        QTest::newRow("cutter shown") << true;
        QTest::newRow("cutter hidden") << false;
    }
    void toolBarComesBackWhenPlayStops() {
        QFETCH(bool, showCutter);
        Harness h;
        std::string program = "%\r\nG0 X0 Y0 Z5\r\n";
        for (int i = 0; i < 2000; ++i) program += "G1 X" + std::to_string(i) + " Y1 Z-1 F100\r\n";
        NcPageController& nc = h.wiring().Controller();
        h.walkToNcPage();
        h.window->LifeCycle().SetView3D(true);
        h.ui().mnuShowTool->setChecked(showCutter);
        nc.setProgram(program);
        h.view3d->cutterMoves = h.view3d->nodes = 0;  // the computed program drew its own path
        const QList<QWidget*> bar = {h.ui().sbtOpen, h.ui().sbtSave, h.ui().sbtSetting, h.ui().sbtAbout,
                                     h.ui().sbtExit};
        // Each comes back as it was (Save only with a job to save).
        QList<bool> before;
        for (QWidget* button : bar) before << button->isEnabled();
        QVERIFY(h.ui().sbtOpen->isEnabled());
        nc.play();
        for (QWidget* button : bar) QVERIFY(!button->isEnabled());
        QTRY_VERIFY(h.view3d->nodes > 0);
        nc.stop();
        QTRY_VERIFY(!nc.playing());
        for (int i = 0; i < bar.size(); ++i)
            QVERIFY2(bar[i]->isEnabled() == before[i], qPrintable(bar[i]->objectName()));
        QCOMPARE(h.view3d->cutterMoves > 0, showCutter);
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    NcPageWiringTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NcPageWiringTest.moc"
