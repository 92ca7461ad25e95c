// The NC page, the tool form and the layer page inside the main window, on the
// offscreen platform with scripted dialogs and a recording 3D view: where the
// pages sit, what the tool form's Ok and Cancel leave behind, and the main
// tool bar during and after Play.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/ToolDialog.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/app/MainState.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/LayerPanel.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/NcPageWiring.h"
#include "shell/lang/UnitLang.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

// Answers Yes; a modal dialog is shown, handed to `onModal`, then hidden.
class FakeDialogs : public DialogServices {
public:
    std::function<void(QDialog&)> onModal;
    bool askYesNo(QWidget*, const QString&, const QString&) override { return true; }
    void inform(QWidget*, const QString&, const QString&) override {}
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    bool openUrl(const QUrl&) override { return true; }
    int runModal(QDialog& dialog) override {
        dialog.show();
        if (onModal) onModal(dialog);
        dialog.hide();
        return dialog.result();
    }
};

class FakeNcDialogs : public NcPageDialogs {
public:
    QString saveAs;
    QStringList errors;
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return saveAs; }
    void showError(QWidget*, const QString& text) override { errors << text; }
    void inform(QWidget*, const QString&) override {}
};

class RecordingView3D : public View3D {
public:
    explicit RecordingView3D(QWidget* parent) : widget_(new QWidget(parent)) {}
    QWidget* widget() override { return widget_; }
    void setBackgroundColor(const QColor&) override {}
    void setRelief(std::shared_ptr<const HeightMap>, const ReliefValues&) override {}
    void setWorkBox(const WorkBox&) override {}
    void clearPath() override { nodes = 0; }
    void setSurface(Surface) override {}
    void setToolVisible(bool) override {}
    void setAxesVisible(bool) override {}
    void standardView(Standard) override {}
    void appendPath(std::span<const SimNode> added) override { nodes += int(added.size()); }
    void moveCutter(float, float, float) override { ++cutterMoves; }
    void parkCutter(float) override { ++parked; }
    void setHudText(const QString& text) override { hud = text; }

    int nodes = 0, cutterMoves = 0, parked = 0;
    QString hud;

private:
    QWidget* widget_;
};

// A program folder with the English texts, one post-processor and the
// shipped tool library, and a main window over it.
struct Harness {
    fs::path root = fs::temp_directory_path() / ("calvoro_ncwiring_" + std::to_string(::getpid()));
    FakeDialogs dialogs;
    FakeNcDialogs ncDialogs;
    RecordingView3D* view3d = nullptr;
    std::unique_ptr<MainWindow> window;

    Harness() {
        const fs::path data = fs::path(qEnvironmentVariable("CALVORO_SOURCE_DIR").toStdString()) / "data";
        fs::remove_all(root);
        fs::create_directories(root / "language");
        fs::create_directories(root / "pst");
        // Three texts differ from the widgets' own, to see whose section reaches them.
        std::string texts = ReadWholeFile(data / "language" / "english.lng");
        for (const auto& [from, to] : {std::pair<std::string, std::string>{"sbtIsoExit.Caption=Close\r", "sbtIsoExit.Caption=Leave\r"},
                                       {"grpToolList.Caption=Tool List\r", "grpToolList.Caption=Cutters\r"},
                                       {"chkLayerVis.Caption=Layer Visible\r", "chkLayerVis.Caption=Shown\r"}}) {
            const auto at = texts.find(from);
            if (at == std::string::npos) throw std::logic_error("no " + from);
            texts.replace(at, from.size(), to);
        }
        WriteFileAtomically(root / "language" / "english.lng", texts);
        fs::copy_file(data / "pst" / "Fanuc_mm.pst", root / "pst" / "Fanuc_mm.pst");
        fs::copy_file(data / "Tool.db", root / "Tool.db");
        SetProgramFolder(root);
        Application::setErrorReporter([](const QString&) {});
        MainWindowOptions options;
        options.dialogs = &dialogs;
        options.ncDialogs = &ncDialogs;
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
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    NcPageWiring& wiring() { return window->NcPages(); }
    const MainWindowUi& ui() const { return window->Ui(); }
};

ToolTableLabels MakeLabels(QWidget* parent) {
    ToolTableLabels labels;
    for (QLabel** label : {&labels.name, &labels.number, &labels.speed, &labels.feedRate, &labels.plunge,
                           &labels.diameter, &labels.shapeValue, &labels.flatValue, &labels.picture})
        *label = new QLabel(parent);
    return labels;
}

}  // namespace

class NcPageWiringTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitializeEntityModule(); }

    void pagesSitOnTheirPagesInTheirLanguage() {
        Harness h;
        h.wiring().EnterNcPage();
        QCOMPARE(h.ui().PageControl1->currentWidget(), h.ui().pages[kPageIso]);
        QVERIFY(h.ui().pages[kPageIso]->isAncestorOf(&h.wiring().Page()));
        QVERIFY(h.wiring().Page().isVisible());
        QVERIFY(h.ui().pages[kPageLayer]->isAncestorOf(&h.wiring().Layers()));
        // The page and the form take their own sections of the language file.
        QCOMPARE(h.wiring().Page().sbtIsoExit->text(), QString("Leave"));
        QCOMPARE(h.wiring().Tools().grpToolList->title(), QString("Cutters"));
        QCOMPARE(h.wiring().Layers().chkLayerVis->text(), QString("Shown"));
        // Choosing a language on the settings page translates them again.
        h.wiring().Page().sbtIsoExit->setText("x");
        h.wiring().Tools().grpToolList->setTitle("x");
        emit h.ui().nol_cboLang->textActivated("english");
        QCOMPARE(h.wiring().Page().sbtIsoExit->text(), QString("Leave"));
        QCOMPARE(h.wiring().Tools().grpToolList->title(), QString("Cutters"));
    }

    void toolFormOkReachesTheTableAndCancelDoesNot_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("toolIndex");  // written back to the settings
        QTest::addColumn<bool>("tableFilled");
        QTest::newRow("Ok on another cutter") << true << 2 << 2 << true;
        QTest::newRow("Cancel after picking one") << false << 2 << 0 << false;
    }
    void toolFormOkReachesTheTableAndCancelDoesNot() {
        QFETCH(bool, ok);
        QFETCH(int, row);
        QFETCH(int, toolIndex);
        QFETCH(bool, tableFilled);
        Harness h;
        h.window->State().NcOutdated = false;
        QString pickedName;
        h.dialogs.onModal = [&](QDialog& dialog) {
            auto& tools = static_cast<ToolDialog&>(dialog);
            tools.selectRow(row);
            pickedName = tools.txtUtName->text();
            (ok ? tools.sbtOk : tools.bntCancel)->click();
        };
        QWidget host;
        const ToolTableLabels labels = MakeLabels(&host);
        QCOMPARE(h.wiring().EditTools(false, &labels), ok);
        QCOMPARE(h.window->State().settings.Tool, toolIndex);
        QCOMPARE(labels.name->text(), tableFilled ? pickedName : QString());
        QVERIFY(!pickedName.isEmpty());
        // Picking a cutter changed the fields: the paths are to be computed again.
        QVERIFY(h.window->State().NcOutdated);
    }

    void toolBarComesBackWhenPlayStops_data() {
        QTest::addColumn<bool>("showCutter");
        QTest::newRow("cutter shown") << true;
        QTest::newRow("cutter hidden") << false;
    }
    void toolBarComesBackWhenPlayStops() {
        QFETCH(bool, showCutter);
        Harness h;
        h.window->LifeCycle().SetView3D(true);
        h.ui().mnuShowTool->setChecked(showCutter);
        NcPageController& nc = h.wiring().Controller();
        std::string program = "%\r\nG0 X0 Y0 Z5\r\n";
        for (int i = 0; i < 2000; ++i) program += "G1 X" + std::to_string(i) + " Y1 Z-1 F100\r\n";
        nc.setProgram(program);
        h.wiring().EnterNcPage();
        const QList<QWidget*> bar = {h.ui().sbtOpen, h.ui().sbtSave, h.ui().sbtSetting, h.ui().sbtAbout,
                                     h.ui().sbtExit};
        for (QWidget* button : bar) button->setEnabled(true);
        nc.play();
        QVERIFY(nc.playing());
        for (QWidget* button : bar) QVERIFY(!button->isEnabled());
        QTRY_VERIFY(h.view3d->nodes > 0);
        nc.stop();
        QTRY_VERIFY(!nc.playing());
        for (QWidget* button : bar) QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        QCOMPARE(h.view3d->cutterMoves > 0, showCutter);
    }

    void closeLeavesThePageAndTheProgram() {
        Harness h;
        h.wiring().EnterNcPage();
        h.window->State().NcProgramReady = true;
        h.wiring().Page().sbtIsoExit->click();
        QVERIFY(!h.ui().PageControl1->isVisible() || h.ui().PageControl1->currentWidget() != h.ui().pages[kPageIso]);
        QVERIFY(!h.window->State().NcProgramReady);
        QVERIFY(!h.window->State().View3D);
        QVERIFY(h.ui().sbtOpen->isEnabled());
    }

    void ncFileChoiceTakesTheNameOrLeavesEverything_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void ncFileChoiceTakesTheNameOrLeavesEverything() {
        QFETCH(bool, confirmed);
        Harness h;
        MainState& state = h.window->State();
        state.NcFileName = "/old/part.nc";
        state.settings.NcPath = "/old/";
        state.NcProgramReady = true;
        h.wiring().Controller().setProgram("%\r\nG0 X0 Y0\r\n%\r\n");
        const fs::path chosen = h.root / "new.nc";
        h.ncDialogs.saveAs = confirmed ? QString::fromStdString(chosen.string()) : QString();
        QCOMPARE(h.wiring().ChooseNcFile(), confirmed);
        QCOMPARE(state.NcFileName, confirmed ? chosen.string() : std::string("/old/part.nc"));
        QCOMPARE(state.settings.NcPath, confirmed ? h.root.string() + "/" : std::string("/old/"));
        QCOMPARE(state.NcProgramReady, !confirmed);
        QCOMPARE(h.wiring().Page().ricIso->toPlainText().isEmpty(), confirmed);
    }

    void postChangeReachesThePage() {
        Harness h;
        h.window->State().NcOutdated = false;
        h.wiring().PostChanged("Fanuc_mm");
        QCOMPARE(h.window->State().settings.Pst, h.window->State().Post.postName);
        QCOMPARE(h.wiring().Page().nol_IsoStatus2->text(), QString::fromStdString(h.window->State().Post.postName));
        QVERIFY(h.window->State().NcOutdated);
    }

    void savedProgramBecomesTheNcFile() {
        Harness h;
        h.wiring().EnterNcPage();
        h.wiring().Controller().setProgram("%\r\nG0 X0 Y0\r\n%\r\n");
        const fs::path chosen = h.root / "out" / "part.nc";
        fs::create_directories(chosen.parent_path());
        h.ncDialogs.saveAs = QString::fromStdString(chosen.string());
        h.wiring().Controller().save();
        QCOMPARE(h.window->State().NcFileName, chosen.string());
        QCOMPARE(h.window->State().settings.NcPath, chosen.parent_path().string() + "/");
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    NcPageWiringTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NcPageWiringTest.moc"
