// The NC page on the offscreen platform, with recording views and scripted
// dialogs: what Save writes and where, the buttons after a failed line, Play
// ending with the page, and the post-processor's extension in the save dialog.
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/gui/NcPage.h"
#include "engine/gui/NcPageController.h"
#include "engine/gui/NcSimulationViews.h"
#include "engine/nc/NcFileChoice.h"
#include "engine/nc/NcProgram.h"
#include "engine/post/PostLoader.h"
#include "kernel/platform/AtomicFile.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

class RecordingViews : public NcSimulationViews {
public:
    bool shown3D = true;
    std::vector<SimNode> path;
    int overlayItems = 0;
    int cutterMoves = 0;
    bool is3DShown() const override { return shown3D; }
    void show3D() override { shown3D = true; }
    void clearPath() override { path.clear(); }
    void appendPath(std::span<const SimNode> nodes) override { path.insert(path.end(), nodes.begin(), nodes.end()); }
    void moveCutter(float, float, float) override { ++cutterMoves; }
    void parkCutter(float) override {}
    void showMachiningTime(const QString& text) override { hud = text; }
    QString hud;
    void clearOverlay() override { overlayItems = 0; }
    void addOverlayLine(SimPoint, SimPoint, std::uint32_t) override { ++overlayItems; }
    void addOverlayArc(SimPoint, double, double, double, std::uint32_t) override { ++overlayItems; }
    void addOverlayPoint(SimPoint, std::uint32_t) override { ++overlayItems; }
    void overlayChanged() override {}
};

class ScriptedDialogs : public NcPageDialogs {
public:
    QString answer;
    QString askedFilter, askedSuffix, askedProposal;
    QStringList errors, notes;
    QString saveFileName(QWidget*, const QString& proposed, const QString& filter, const QString& suffix) override {
        askedProposal = proposed;
        askedFilter = filter;
        askedSuffix = suffix;
        return answer;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }
    void inform(QWidget*, const QString& text) override { notes << text; }
};

// The page's host: it holds the job's NC file and takes the one Save chose.
struct Fixture {
    NcPage page;
    RecordingViews views;
    ScriptedDialogs dialogs;
    fs::path ncFile;
    NcPageController controller{&page, views, dialogs, [this] { return ncFile; }};
    Fixture() {
        QObject::connect(&controller, &NcPageController::ncFileSaved,
                         [this](const QString& file) { ncFile = file.toStdString(); });
        page.resize(400, 600);
        page.show();
        controller.setFeedPlaneText("5");
        controller.enterPage();
    }
};

std::string Program(int lines) {
    std::ostringstream text;
    text << "G0 X0 Y0 Z5\r\n";
    for (int i = 1; i < lines; ++i) text << "G1 X" << i << " Y" << (i % 7) << " Z-1\r\n";
    return text.str();
}

class NcPageTest : public QObject {
    Q_OBJECT
private slots:
    void saveWritesExactlyTheShownLinesToTheChosenNameAndKeepsTheOldFile_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("edit");
        QTest::newRow("edited in the editor") << 3 << true;
        QTest::newRow("read-only view of a long program") << NcPageController::kEditableLines + 10 << false;
    }
    void saveWritesExactlyTheShownLinesToTheChosenNameAndKeepsTheOldFile() {
        QFETCH(int, lines);
        QFETCH(bool, edit);
        const QTemporaryDir dir;
        const fs::path folder = dir.path().toStdString();
        const fs::path old = folder / "old.NC";
        WriteFileAtomically(old, "OLD\r\n");
        Fixture f;
        f.ncFile = old;
        std::string expected = Program(lines);
        f.controller.setProgram(expected);
        QCOMPARE(f.controller.readOnlyView(), !edit);
        if (edit) {
            f.page.ricIso->moveCursor(QTextCursor::End);
            f.page.ricIso->insertPlainText("\nM30");
            expected += "M30\r\n";
        }
        QSignalSpy saved(&f.controller, &NcPageController::ncFileSaved);
        f.dialogs.answer = QString::fromStdString((folder / "chosen").string());
        f.controller.save();
        const fs::path chosen = folder / "chosen.NC";
        QVERIFY(f.dialogs.errors.isEmpty());
        QVERIFY(ReadWholeFile(chosen) == expected);
        QCOMPARE(ReadWholeFile(old), std::string("OLD\r\n"));
        QCOMPARE(f.dialogs.askedProposal, QString::fromStdString((folder / "old").string()));
        QCOMPARE(saved.count(), 1);
        QCOMPARE(f.ncFile, chosen);
        QCOMPARE(f.page.nol_lblNomeNcFile1->toolTip(), QString::fromStdString(chosen.string()));
    }

    void aSaveThatFailsSaysSoAndKeepsTheFileName() {
        Fixture f;
        f.ncFile = "/tmp/kept.NC";
        f.controller.setProgram("G0 X1\r\n");
        QSignalSpy saved(&f.controller, &NcPageController::ncFileSaved);
        f.dialogs.answer = "/no/such/folder/x.NC";
        f.controller.save();
        QCOMPARE(f.dialogs.errors.size(), 1);
        QCOMPARE(saved.count(), 0);
        QCOMPARE(f.ncFile, fs::path("/tmp/kept.NC"));
    }

    void aLineThatCannotBeDrawnGivesEveryButtonBack_data() {
        QTest::addColumn<QString>("feedPlane");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("play");
        QTest::newRow("play, feed plane no number") << "abc" << "G0 X0 Y0\nG1 X2 Y2\nG1 X3\n" << true;
        QTest::newRow("step, feed plane no number") << "abc" << "G0 X0 Y0\nG1 X2 Y2\n" << false;
    }
    void aLineThatCannotBeDrawnGivesEveryButtonBack() {
        QFETCH(QString, feedPlane);
        QFETCH(QString, program);
        QFETCH(bool, play);
        Fixture f;
        f.controller.setFeedPlaneText(feedPlane);
        f.controller.enterPage();
        f.controller.setProgram(program.toStdString());
        QSignalSpy running(&f.controller, &NcPageController::simulationRunning);
        if (play) {
            f.controller.play();
            QTRY_VERIFY(!f.controller.playing());
            QCOMPARE(running.count(), 2);
            QCOMPARE(running.last().first().toBool(), false);
        } else {
            f.controller.step();  // the first coordinate only sets the start point
            f.controller.step();
        }
        QCOMPARE(f.dialogs.errors.size(), 1);
        for (QToolButton* button : {f.page.sbtIsoRev, f.page.sbtIsoPlay, f.page.sbtIsoEnd, f.page.sbtIsoStep})
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    }

    void closingThePageOrTheWindowMidPlayStopsIt_data() {
        QTest::addColumn<bool>("byHiding");
        QTest::newRow("Close button") << false;
        QTest::newRow("window closed") << true;
    }
    void closingThePageOrTheWindowMidPlayStopsIt() {
        QFETCH(bool, byHiding);
        Fixture f;
        f.controller.setProgram(Program(50));
        f.page.TrackBar1->setValue(2);  // 250 ms a line
        QSignalSpy running(&f.controller, &NcPageController::simulationRunning);
        QSignalSpy closed(&f.controller, &NcPageController::closeRequested);
        f.controller.play();
        QTRY_VERIFY(f.views.path.size() >= 1);
        if (byHiding)
            f.page.close();
        else
            f.controller.closePage();
        QVERIFY(!f.controller.playing());
        QCOMPARE(running.last().first().toBool(), false);
        QCOMPARE(closed.count(), byHiding ? 0 : 1);
        const int lineIndex = f.controller.stepper().lineIndex();
        QTest::qWait(600);
        QCOMPARE(f.controller.stepper().lineIndex(), lineIndex);
    }

    void playAtFullSpeedDrawsEveryMoveInTheShownView_data() {
        QTest::addColumn<bool>("in3D");
        QTest::newRow("3D") << true;
        QTest::newRow("2D") << false;
    }
    void playAtFullSpeedDrawsEveryMoveInTheShownView() {
        QFETCH(bool, in3D);
        Fixture f;
        f.views.shown3D = in3D;
        f.controller.setProgram(Program(3000));
        f.controller.play();
        QTRY_VERIFY(!f.controller.playing());
        // The first line only sets where the cutter starts. The drawing
        // keeps every move whichever view is shown; the 3D path only the
        // ones played in 3D.
        QCOMPARE(int(f.views.path.size()), in3D ? 2999 : 0);
        QCOMPARE(f.views.overlayItems, 2999);
        QVERIFY(f.views.cutterMoves > 0);
        QVERIFY(f.page.stxLimXmax->text() == "2999.000");
        QVERIFY(f.page.sbtIsoPlay->isEnabled());
    }

    void theChosenPostProcessorsExtensionReachesTheSaveDialog() {
        Fixture f;
        const fs::path data = fs::path(qEnvironmentVariable("CALVORO_SOURCE_DIR").toStdString()) / "data";
        f.controller.setPost(ChoosePostProcessor(data, "Heidenhain_mm", PostSettings{}).settings);
        f.controller.setProgram("L X1 Y1\n");
        f.dialogs.answer.clear();  // cancelled
        f.controller.save();
        QCOMPARE(f.dialogs.askedSuffix, QString("H"));
        QVERIFY(f.dialogs.askedFilter.endsWith("(*.H)"));
        QCOMPARE(f.page.nol_IsoStatus2->text(), QString("Heidenhain_mm"));
    }

    // The road of a program: Compute writes it to the NC file in the
    // post-processor's encoding, the page shows it as the wizard hands it
    // over, and Save writes the same bytes; an edit is saved in that encoding,
    // and a character it cannot hold is refused with the old file untouched.
    void aComputedProgramIsShownDecodedAndSavedAsComputeWroteIt_data() {
        QTest::addColumn<QByteArray>("definition");
        QTest::addColumn<QString>("refused");   // a character the encoding cannot hold; empty: none
        QTest::addColumn<QByteArray>("eAcute");  // how the encoding writes "é"
        QTest::newRow("Windows-1252 definition")
            << QByteArray("[Start_of_file]\r\n1=(Fr\xE4sprogramm [toolname])\r\n") << QString::fromUtf8("\u03A9")
            << QByteArray("\xE9");
        QTest::newRow("UTF-8 definition")
            << QByteArray("[Start_of_file]\r\n1=(Fr\xC3\xA4sprogramm [toolname])\r\n") << QString()
            << QByteArray("\xC3\xA9");
    }
    void aComputedProgramIsShownDecodedAndSavedAsComputeWroteIt() {
        QFETCH(QByteArray, definition);
        QFETCH(QString, refused);
        QFETCH(QByteArray, eAcute);
        const QTemporaryDir dir;
        const fs::path folder = dir.path().toStdString();
        WriteFileAtomically(folder / "machine.pst", definition.toStdString());
        const PostSettings post = LoadPostFile(folder / "machine.pst", PostSettings{}).settings;
        MoveList moves;
        moves.feedPlaneZ = 2;
        moves.moves = {{MoveKind::Rapid, 0, 0, 2}, {MoveKind::Plunge, 0, 0, -1}, {MoveKind::Feed, 4, 0, -1}};
        NcJobValues job;
        job.toolName = "Fr\xC3\xA4ser";  // inside the program, UTF-8
        job.feedText = "1000";
        job.plungeText = "300";
        job.ncFileName = "job.NC";
        const NcProgram program = GenerateNcProgram(moves, post, job);
        const fs::path computed = folder / "job.NC";
        SaveNcProgram(computed, program.text);  // Compute's road

        Fixture f;
        f.ncFile = computed;
        f.controller.setPost(post);  // as the window hands the wizard's program over
        f.controller.setProgram(program.text);
        const QString firstLine = f.page.ricIso->document()->firstBlock().text();
        QCOMPARE(firstLine, QString::fromUtf8("(Fr\u00E4sprogramm (FR\u00E4SER))"));

        f.dialogs.answer = QString::fromStdString((folder / "saved.NC").string());
        f.controller.save();
        QVERIFY(f.dialogs.errors.isEmpty());
        QVERIFY(ReadWholeFile(folder / "saved.NC") == ReadWholeFile(computed));

        f.page.ricIso->moveCursor(QTextCursor::End);
        if (!refused.isEmpty()) {
            f.page.ricIso->insertPlainText("\n(" + refused + ")");
            f.controller.save();
            QCOMPARE(f.dialogs.errors.size(), 1);
            QVERIFY2(f.dialogs.errors[0].contains(refused) && f.dialogs.errors[0].contains("not written"),
                     qPrintable(f.dialogs.errors[0]));
            QVERIFY(ReadWholeFile(folder / "saved.NC") == ReadWholeFile(computed));
            f.page.ricIso->undo();
        }
        f.page.ricIso->insertPlainText(QString::fromUtf8("\n(caf\u00E9)"));
        f.controller.save();
        QCOMPARE(f.dialogs.errors.size(), refused.isEmpty() ? 0 : 1);
        QVERIFY(ReadWholeFile(folder / "saved.NC") == ReadWholeFile(computed) + "(caf" + eAcute.toStdString() + ")\r\n");
    }

    // A program too long for the editor is shown, searched and saved the same
    // way: decoded from its encoding, written back byte for byte.
    void aLongProgramIsShownInItsEncodingAndSavedByteForByte() {
        const QTemporaryDir dir;
        const fs::path folder = dir.path().toStdString();
        PostSettings post;
        post.encoding = TextEncoding::Windows1252;
        const std::string bytes = "(Kugelfr\xE4ser \x80)\r\n" + Program(NcPageController::kEditableLines + 10);
        Fixture f;
        f.controller.setPost(post);
        f.controller.setProgram(bytes);
        QVERIFY(f.controller.readOnlyView());
        const QString shown = f.page.lstIsoView->model()->index(0, 0).data().toString();
        QCOMPARE(shown, QString::fromUtf8("(Kugelfr\u00E4ser \u20AC)"));
        f.page.lstIsoView->setCurrentIndex(f.page.lstIsoView->model()->index(5, 0));
        f.page.txtIsoFind->setText(QString::fromUtf8("\u20AC"));
        f.controller.findNext();  // from the line after the current one: none further
        QCOMPARE(f.page.lstIsoView->currentIndex().row(), f.controller.lineCount() - 1);
        f.page.lstIsoView->setCurrentIndex(QModelIndex());
        f.controller.findNext();
        QCOMPARE(f.page.lstIsoView->currentIndex().row(), 0);
        f.dialogs.answer = QString::fromStdString((folder / "long.NC").string());
        f.controller.save();
        QVERIFY(f.dialogs.errors.isEmpty());
        QVERIFY(ReadWholeFile(folder / "long.NC") == bytes);
    }

    // Steps and then Play draw what Play alone draws, each move once: the
    // moves after the first coordinate line (a line, a line, an arc), over no
    // path left from a computation.
    void stepsThenPlayDrawEachMoveOnce_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("computedFirst");
        QTest::newRow("three Steps, ending on a move") << 3 << false;
        QTest::newRow("four Steps, ending on a line without a move") << 4 << false;
        QTest::newRow("three Steps after a computation") << 3 << true;
    }
    void stepsThenPlayDrawEachMoveOnce() {
        QFETCH(int, steps);
        QFETCH(bool, computedFirst);
        Fixture f, playAlone;
        if (computedFirst) {
            // The window draws a computed program's moves as the 3D path.
            MoveList moves;
            moves.moves = {{MoveKind::Rapid, 9, 9, 2}, {MoveKind::Feed, 9, 0, -1}};
            for (const NcPathNode& node : PathNodes(moves))
                f.views.path.push_back({node.x, node.y, node.z, PathNodeColour(node.rapid)});
        }
        for (Fixture* run : {&f, &playAlone}) {
            run->controller.setProgram("%\nG0 X0 Y0 Z5\nG1 X4 Y0 Z-1\nF900\nG1 X4 Y3\nG2 X0 Y3 R2\nM30\n");
            for (int i = 0; run == &f && i < steps; ++i) run->controller.step();
            run->controller.play();
            QTRY_VERIFY(!run->controller.playing());
        }
        QCOMPARE(playAlone.views.overlayItems, 3);
        QCOMPARE(playAlone.views.path.size(), std::size_t(1 + 1 + 51));
        QCOMPARE(f.views.overlayItems, playAlone.views.overlayItems);
        QVERIFY(f.views.path == playAlone.views.path);
    }

    void stepReadsTheNextLineAndRewindKeepsTheStartPoint() {
        Fixture f;
        f.controller.setProgram("G0 X1 Y1 Z5\nG1 X4 Y1\nG1 X4 Y6\n");
        f.controller.step();  // only sets the start point
        f.controller.step();
        QCOMPARE(f.views.path.size(), std::size_t(1));
        QCOMPARE(f.views.overlayItems, 1);
        QCOMPARE(f.page.ricIso->textCursor().selectedText(), QString("G1 X4 Y1"));
        f.controller.rewind();
        QVERIFY(f.views.path.empty());
        QCOMPARE(f.views.overlayItems, 0);
        QCOMPARE(f.controller.stepper().lineIndex(), 0);
        QCOMPARE(f.controller.stepper().start(), (SimPoint{4, 1}));
    }
};

}  // namespace

QTEST_MAIN(NcPageTest)
#include "NcPageTest.moc"
