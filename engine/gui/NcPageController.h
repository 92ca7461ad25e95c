// The handlers of the NC page: the program it shows, Step, Play with its speed,
// Stop, Rewind, End, the caret status, Find, Save and Close. Play is driven by a
// timer, one tick at a time, so the window answers while it runs and there is
// no loop inside a handler to be re-entered or to outlive the page.
//
// The page shows a program of up to kEditableLines lines in the editor; a
// longer one in a read-only view of its lines, which can be stepped, played,
// searched and saved like the editor.
//
// The program is held as the bytes of the NC file, in the encoding of the
// post-processor it was written with, and shown decoded (NcText.h); Save
// writes those bytes, or the edited text in that encoding. The NC file is the
// host's: the page asks for it whenever it needs it and keeps no copy.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBlock>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/nc/NcLines.h"
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

    // The job's NC file as the host holds it now; empty while there is none.
    using NcFileSource = std::function<std::filesystem::path()>;

    // Works on `page` and becomes its child.
    NcPageController(NcPage* page, NcSimulationViews& views, NcPageDialogs& dialogs, NcFileSource ncFile);
    ~NcPageController() override;

    // A new program (CR LF or LF line ends), replacing the shown one: the
    // bytes of the NC file, in the encoding of the post-processor in use
    // (setPost), which stays the program's encoding until the next one.
    void setProgram(std::string bytes);
    // The shown program's lines as the NC file holds them (each with CR LF),
    // an edited text in the program's encoding. Throws NcTextError when the
    // editor holds a character that encoding cannot hold.
    std::string programText() const;
    int lineCount() const;
    bool readOnlyView() const { return large_ != nullptr; }

    // The post-processor in use: dialect, arc centres, simulation on or off,
    // the file extension and the name shown.
    void setPost(const PostSettings& post);
    // The file name label shows the host's NC file (shortened to its width):
    // at entering the page, after Save, and when the host says it changed.
    void showNcFileName();
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
    // Save wrote the program to the file chosen in its dialog: the host's NC
    // file from now on.
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
    NcFileSource ncFile_;
    TextEncoding programEncoding_ = TextEncoding::Utf8;
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
