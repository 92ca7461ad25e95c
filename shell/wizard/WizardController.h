// The job wizard: the road from a picture to an NC program over pages 43 to
// 50 (size, reference point, depth, NC file and post-processor, tool, cutting
// parameters, program), the picture and document commands around it and the
// Z no-cut zone. It is the one that changes the Job and decides what the
// pages show; the views of the job follow the Job by themselves. The window
// forwards the user's actions here and polls the worker while a computation
// runs. Nothing here needs a display.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/document/JobRecord.h"
#include "engine/document/SaveName.h"
#include "engine/nc/NcProgram.h"
#include "shell/app/Pages.h"
#include "engine/picture/Picture.h"
#include "engine/post/PostSettings.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "engine/stl/StlWriter.h"
#include "engine/toolpath/ToolPathParameters.h"
#include "shell/wizard/CuttingValues.h"
#include "shell/wizard/Job.h"
#include "shell/wizard/JobComputation.h"
#include "shell/wizard/JobFiles.h"
#include "shell/wizard/JobRunner.h"
#include "shell/wizard/PictureEditStep.h"
#include "shell/wizard/Placement.h"
#include "shell/wizard/WizardContext.h"
#include "shell/wizard/WizardServices.h"
#include "shell/wizard/ZncStep.h"

namespace calvoro {

// The names (without extension) of the post-processor definitions in
// folder/pst, sorted, so the list reads the same on every machine.
std::vector<std::string> ListPostProcessors(const std::filesystem::path& programFolder);

// The steps with a unit of their own (the picture edits, the Z no-cut zone,
// the job's files) are reached through the controller all the same, so the
// window and the tests have one road to each.
class WizardController : private WizardContext {
public:
    // The controller changes `job`, which outlives it.
    WizardController(Job& job, WizardServices services, WizardSettings settings);

    // --- state (the job's is read from the job) -----------------------------
    int page() const { return currentPage; }
    bool hasPicture() const { return job.hasPicture(); }
    const Picture& picture() const { return job.picture(); }
    const Placement& placement() const { return job.placement(); }
    ReliefValues reliefValues() const { return job.reliefValues(); }
    const std::shared_ptr<const HeightMap>& relief() const { return job.heightMap(); }
    bool reliefOutdated() const { return job.reliefOutdated(); }
    bool ncOutdated() const { return job.programOutdated(); }
    bool mode3D() const { return showing3D; }
    int commandMode() const { return activeCommandMode; }
    bool enabled(WizardControl control) const { return isEnabled(control); }
    const std::filesystem::path& ncFileName() const { return job.ncFileName(); }
    const std::filesystem::path& documentFileName() const { return job.documentFileName(); }
    const std::filesystem::path& pictureFileName() const { return job.pictureFileName(); }
    const PostSettings& post() const { return job.post(); }
    const ToolRecord& tool() const { return job.cutter(); }
    const CuttingParameters& cutting() const { return job.cutting(); }
    const std::optional<NcProgram>& program() const { return job.program(); }
    // The Z no-cut level picked (none before a pick) and whether the zone is on.
    std::optional<float> zncLevel() const { return job.zncLevel(); }
    ZncFilter zncFilter() const { return job.zncFilter(); }
    bool zncChecked() const { return job.zncChecked(); }

    // The values the pages show before the user edits them (the job defaults
    // of the settings): the next open that succeeds takes them as they are,
    // before it sets the work box; an open that fails leaves them unused.
    void setJobValues(float whiteZ, float blackZ, const CuttingParameters& cutting);
    // The work units changed on the settings page: sizes and origin are shown
    // in them from now on, and the program is written in them.
    void setInches(bool inches);
    // New job: the picture, relief and program are let go; a computation
    // running for them is dropped.
    void discardJob();

    // --- the open command and the picture edits ------------------------------
    // Opens a BMP, a JPEG or a job document. Everything is read before anything
    // changes: a file that cannot be read (or a document without a sound job)
    // shows why and leaves the current job as it was. False then, or when the
    // user kept the drawing.
    bool openPicture(const std::filesystem::path& fileName);
    // Page 43 (through Modify on page 44) and its buttons. Every edit marks the
    // relief and the program outdated.
    void modify() { pictureEdits_.modify(); }
    void flipVertical() { pictureEdits_.flipVertical(); }
    void flipHorizontal() { pictureEdits_.flipHorizontal(); }
    void rotate() { pictureEdits_.rotate(); }
    void rectanglePicked(const CutInfo& cut) { pictureEdits_.rectanglePicked(cut); }
    // Another rectangle has been started: the one picked before no longer counts.
    void rectangleRestarted() { pictureEdits_.rectangleRestarted(); }
    void crop() { pictureEdits_.crop(); }
    void convertToGrey() { pictureEdits_.convertToGrey(); }
    void nextFromEdit() { pictureEdits_.nextFromEdit(); }  // Next on page 43

    // --- pages 44 and 45: size and reference point ----------------------------
    void widthEdited(std::string_view text);
    void heightEdited(std::string_view text);
    void applySize();  // Enter, leaving a size edit, or the apply button
    void keepRatioClicked(bool on);
    void cornerClicked(int corner);
    void originEdited();  // typing in an origin edit
    bool applyTypedOrigin(std::string_view textX, std::string_view textY);
    void originPicked(double x, double y);
    void nextFromSize();       // 44 -> 45
    void prevFromReference();  // 45 -> 44
    void nextFromReference();  // 45 -> 46; builds the relief when outdated

    // --- page 46: depth -------------------------------------------------------
    void whiteDepthEdited(std::string_view text);
    void blackDepthEdited(std::string_view text);
    void shadingClicked(ShadingResolution resolution);
    void applyDepth();  // rebuilds the relief when outdated
    void prevFromDepth();
    void nextFromDepth();  // 46 -> 47: the post list, and the NC file when none

    // --- pages 47 and 48: NC file, post-processor, tool -----------------------
    void chooseNcFile();  // the NC file dialog, proposing the picture's name
    void setNcFileName(const std::filesystem::path& file);
    // The NC page saved the program under another name: that name is the NC
    // file from now on, and the program in it is still the current one.
    void ncFileSavedAs(const std::filesystem::path& file);
    void choosePost(const std::string& name);
    void prevFromNcFile();
    void nextFromNcFile();
    void setTool(const ToolRecord& tool);
    void prevFromTool();
    void nextFromTool();  // 48 -> 49

    // --- page 49: cutting parameters, Z no-cut, compute -----------------------
    void setCutting(const CuttingParameters& values);
    // The page's texts as typed: a value that cannot be used outdates the
    // program, and Compute names it instead of computing.
    void cuttingEdited(const CuttingTexts& texts);
    void rasterClicked(bool alongX, bool alongY);
    void focusField(CuttingField field);
    void leaveZncGroup();
    void zncCheckClicked(bool checked) { znc_.zncCheckClicked(checked); }
    void zncToleranceEdited(std::string_view text) { znc_.zncToleranceEdited(text); }
    void startZncPick() { znc_.startZncPick(); }
    void zncPointPicked(double x, double y) { znc_.zncPointPicked(x, y); }
    // Esc during the pick: the zone stays as it was, the 3D view and the
    // page's message come back.
    void zncPickCancelled() { znc_.zncPickCancelled(); }
    void regenerateZnc() { znc_.regenerateZnc(); }
    // Starts the tool path and program on the worker; the result arrives
    // through pollWork. A refusal shows why and keeps the previous program.
    void computeNc();
    void prevFromCutting();
    void nextFromCutting();  // 49 -> 50
    void prevFromProgram();  // 50 -> 49

    // --- the worker -------------------------------------------------------------
    // One computation runs at a time; a step that needs the worker while it is
    // busy does nothing, so the window keeps Cancel and disables the rest.
    bool working() const { return runner_.busy(); }
    double workProgress() const { return runner_.progress(); }
    void cancelWork() { runner_.cancel(); }
    // For the window's timer: takes a finished computation's result (or shows
    // why there is none); true once nothing runs any more.
    bool pollWork();
    // Blocks until the running computation and whatever it continues into
    // (a document's replay) have finished.
    void waitForWork();
    // The reason the last computation gave no result; empty after a success.
    const std::string& lastFailure() const { return lastFailure_; }

    // --- documents and exports ------------------------------------------------
    JobRecord jobRecord() const { return files_.jobRecord(); }
    // Saves picture and job; a job that cannot be stored shows why and leaves
    // an existing file as it was. False then.
    bool saveDocument(const std::filesystem::path& fileName) { return files_.saveDocument(fileName); }
    // The relief of the current picture and depths as STL (built at once when
    // it is outdated).
    bool exportStl(const std::filesystem::path& fileName, StlShape shape) { return files_.exportStl(fileName, shape); }
    // The save command: what the save dialog proposes, and the chosen name
    // completed with the extension of the chosen kind and written as the job,
    // the relief or the drawing. False, with the reason shown, when nothing
    // could be written; an existing file then stays as it was.
    std::filesystem::path proposedSaveName() const { return files_.proposedSaveName(); }
    bool saveAs(const std::filesystem::path& chosenName, SaveKind kind, StlShape shape = StlShape::Solid) {
        return files_.saveAs(chosenName, kind, shape);
    }

private:
    void afterSizeChange(const std::optional<DrawingShift>& shift);
    void startReliefBuild(std::function<void()> then);
    void applyRecord(const JobRecord& record);
    void replayDocument();
    void handleOutcome(const JobOutcome& outcome);
    void loadPost(const std::string& name);
    void cancelOwnPicks();

    PictureEditStep pictureEdits_;
    ZncStep znc_;
    JobFiles files_;
    JobRunner runner_;
    std::string lastFailure_;
    // The cutting value typed that cannot be used, and its text.
    std::optional<CuttingField> badCuttingField_;
    std::string badCuttingText_;

    // Tells a finished computation whether another job was opened meanwhile
    // (the job's own stamps tell whether its inputs were edited).
    int generation_ = 0;
    DrawingShift replayOrigin_;  // the stored origin, as the origin edits show it

    // What follows the relief build that is running (the rest of a step or of
    // a document's replay).
    std::function<void()> afterRelief_;

    struct JobValues {
        float whiteZ = 0.0f;
        float blackZ = 0.0f;
        CuttingParameters cutting;
    };
    std::optional<JobValues> nextOpenValues_;
};

}  // namespace calvoro
