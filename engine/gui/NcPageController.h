// The handlers of the NC page: the program it shows, Step, Play with its speed,
// Stop, Rewind, End, the caret status, Find, Save and Close. Play is driven by a
// timer, one tick at a time, so the window answers while it runs and there is
// no loop inside a handler to be re-entered or to outlive the page.
//
// The page shows a program of up to kEditableLines lines in the editor; a
// longer one in a read-only view of its lines, which can be stepped, played,
// searched and saved like the editor.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBlock>
#include <QTimer>
#include <memory>
#include <string>

#include <filesystem>

#include "engine/nc/NcLines.h"
#include "engine/nc/NcProgram.h"
#include "engine/nc/NcSimulation.h"
#include "engine/post/PostSettings.h"

class QAbstractListModel;

namespace calvoro {

class NcPage;
class NcPageDialogs;
class NcSimulationViews;

class NcPageController : public QObject {
    Q_OBJECT
public:
    static constexpr int kEditableLines = 100000;

    // Works on `page` and becomes its child.
    NcPageController(NcPage* page, NcSimulationViews& views, NcPageDialogs& dialogs);
    ~NcPageController() override;

    // A computed program: written to the NC file first (atomically), then
    // shown, its moves as the 3D path and its machining time under the 3D
    // view. When the file cannot be written the user is told and the program
    // is shown all the same, to be saved elsewhere; false then.
    bool showComputedProgram(NcProgram program, const MoveList& moves, const std::filesystem::path& ncFile);

    // A new program (CR LF or LF line ends), replacing the shown one.
    void setProgram(std::string text);
    // The shown program's lines as the NC file holds them (each with CR LF).
    std::string programText() const;
    int lineCount() const;
    bool readOnlyView() const { return large_ != nullptr; }

    // The post-processor in use: dialect, arc centres, simulation on or off,
    // the file extension and the name shown.
    void setPost(const PostSettings& post);
    void setNcFileName(const QString& fileName);
    QString ncFileName() const { return ncFileName_; }
    void setFeedPlaneText(const QString& text) { feedPlaneText_ = text; }
    void setInches(bool inches) { inches_ = inches; }

    // Entering the page: labels, reading state and which buttons may simulate.
    void enterPage();

    // The handlers of the page's buttons.
    void step();
    void play();
    void stop();  // takes effect at the next tick
    void rewind();
    void end();
    void save();
    void showFind();
    void findNext();
    void closePage();
    void speedChanged();

    bool playing() const;
    const NcStepper& stepper() const { return *stepper_; }

signals:
    // The main tool bar's buttons follow: off while Play runs.
    void simulationRunning(bool running);
    // Save wrote the program to a newly chosen file, now the NC file.
    void ncFileSaved(const QString& fileName);
    // Close was pressed: the host leaves the NC page.
    void closeRequested();

private:
    void tick();
    void finishPlay(bool ranToEnd);
    void fail(const std::exception& error);
    void simulationButtons(bool enabled);
    void draw(const SimMove& move, bool in3D);
    void flushDrawing();
    std::string_view lineAt(int index);
    int caretLine() const;
    void selectLine(int index, bool whole = true);
    void showStatus(int line);
    void showExtents();
    QString number(float value) const;

    QPointer<NcPage> page_;
    NcSimulationViews& views_;
    NcPageDialogs& dialogs_;
    PostSettings post_;
    std::unique_ptr<NcStepper> stepper_;
    QTimer timer_;
    std::unique_ptr<NcLines> largeLines_;
    QAbstractListModel* large_ = nullptr;
    QString ncFileName_;
    QString feedPlaneText_ = "5";
    bool inches_ = false;
    std::string lineBuffer_;
    QTextBlock bufferedBlock_;
    bool running_ = false;  // Play has taken the buttons
    std::vector<SimNode> pendingNodes_;
    bool pendingOverlay_ = false;
    bool movedCutter_ = false;
    SimNode cutter_;
    int lastRead_ = 0;
    bool pathHoldsSimulation_ = false;  // false while the 3D path is the computed program's
};

}  // namespace calvoro
