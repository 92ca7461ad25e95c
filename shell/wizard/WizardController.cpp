#include "shell/wizard/WizardController.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <utility>

#include "engine/document/DocumentError.h"
#include "engine/document/JobDocument.h"
#include "engine/picture/PictureEdits.h"
#include "engine/picture/PictureFile.h"
#include "engine/post/PostLoader.h"
#include "shell/app/WorkBox.h"
#include "shell/lang/PictureErrorText.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/NumberText.h"

namespace calvoro {

namespace {

bool SameCutting(const CuttingParameters& a, const CuttingParameters& b) {
    return a.stepOver == b.stepOver && a.feedPlaneZ == b.feedPlaneZ && a.stockAllowance == b.stockAllowance &&
           a.filterTolerance == b.filterTolerance && a.rasterAlongX == b.rasterAlongX &&
           a.rasterAlongY == b.rasterAlongY && a.passCount == b.passCount && a.zStep == b.zStep;
}

}  // namespace

std::vector<std::string> ListPostProcessors(const std::filesystem::path& programFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(programFolder / "pst", error), end; !error && it != end;
         it.increment(error)) {
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension == ".pst" && it->is_regular_file(error)) names.push_back(it->path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

WizardController::WizardController(Job& theJob, WizardServices theServices, WizardSettings theSettings)
    : WizardContext(theJob, theServices, std::move(theSettings)), pictureEdits_(*this), znc_(*this), files_(*this) {
    PostSettings post = job.post();
    post.unitsFlag = settings.inches ? 1 : 0;
    job.setPost(std::move(post));
    loadPost(settings.postName);
}

// --- the open command --------------------------------------------------------

bool WizardController::openPicture(const std::filesystem::path& fileName) {
    const std::optional<JobValues> values = std::exchange(nextOpenValues_, std::nullopt);
    // Anything in the drawing, a point placed before any picture too, is lost
    // by the open: the user is asked first.
    if (services.drawing.hasObjects() && !services.dialogs.confirmDiscard()) return false;
    const PictureLoader loader = ChoosePictureLoader(fileName);
    if (loader == PictureLoader::Unknown) {
        report(Say("401", "This kind of file cannot be opened: choose a BMP or JPEG picture or a job (*.pxm)."));
        return false;
    }
    // Everything is read and checked before the current job changes.
    Picture picture;
    std::optional<JobRecord> record;
    ImageInfo info;
    try {
        if (loader == PictureLoader::Document) {
            LoadedDocument document = ReadDocumentFile(fileName);
            if (!document.record) {
                throw DocumentError(fileName.string() + " holds no job that can be used: " + document.recordProblem);
            }
            picture = std::move(document.picture);
            record = document.record;
        } else {
            picture = LoadPictureFile(fileName);
        }
        info = ComputeImageScale(ImageInfo{}, picture.width, picture.height, picture.dpiX, settings.inches);
    } catch (const PictureError& error) {
        report(PictureErrorText(error, fileName));
        return false;
    } catch (const std::exception& error) {
        report(error.what());
        return false;
    }

    // A computation of the job being replaced is dropped, and so is a pick of
    // its picture still running in the drawing.
    if (runner_.busy()) {
        runner_.cancel();
        ++generation_;
        runner_.wait();
    }
    ++generation_;
    afterRelief_ = nullptr;
    cancelOwnPicks();
    activeCommandMode = kNoCommandMode;
    // The values of the pages first, so that the new picture's work box is
    // as deep as they say.
    if (values) {
        job.setWhiteZ(values->whiteZ);
        job.setBlackZ(values->blackZ);
        job.setCutting(values->cutting);
    }
    const ShadingResolution shading = ChooseShadingResolution(picture.width, picture.height);
    job.newPicture(std::move(picture), fileName, loader == PictureLoader::Document, info);
    services.window.showDocumentName(fileName);
    services.view3d.showCutter(false);
    togliAssoc();
    pictureEdits_.dropSelection();
    set3DMode(false);
    znc_.reset();
    job.setShading(shading);
    services.window.showShading(shading);
    placePictureAgain();
    setEnabled(WizardControl::DimApply, false);
    setEnabled(WizardControl::NextB1, true);
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::OrigineApply, false);
    setEnabled(WizardControl::CutSel, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::NextB4, !job.ncFileName().empty());
    // The depths in the edits hold until the user changes one.
    setEnabled(WizardControl::NextB3, true);
    setEnabled(WizardControl::ProfApply, false);
    showPage(page::kSize);
    if (record) {
        applyRecord(*record);
        replayDocument();
    }
    return true;
}

void WizardController::setJobValues(float whiteZ, float blackZ, const CuttingParameters& cutting) {
    nextOpenValues_ = JobValues{whiteZ, blackZ, cutting};
}

void WizardController::setInches(bool inches) {
    if (inches == settings.inches) return;
    settings.inches = inches;
    PostSettings post = job.post();
    post.unitsFlag = inches ? 1 : 0;
    job.setPost(std::move(post));
    togliAssoc();
    if (hasPicture()) showPlacement();
}

void WizardController::discardJob() {
    if (runner_.busy()) {
        runner_.cancel();
        ++generation_;
        runner_.wait();
    }
    ++generation_;
    afterRelief_ = nullptr;
    activeCommandMode = kNoCommandMode;
    job.clear();
    togliAssoc();
    showing3D = false;
    pictureEdits_.dropSelection();
    setEnabled(WizardControl::Save, false);
}

// The crop's rectangle and the Z no-cut point are picked in the drawing of
// the picture they belong to.
void WizardController::cancelOwnPicks() {
    if (currentPage == page::kDistance || activeCommandMode == kZncPickMode) services.drawing.cancelTask();
}

// --- size and reference point ------------------------------------------------

void WizardController::afterSizeChange(const std::optional<DrawingShift>& shift) {
    if (!shift) return;  // not a usable size: nothing changes
    setEnabled(WizardControl::DimApply, true);
    setEnabled(WizardControl::NextB1, false);
    applyShift(*shift);
}

void WizardController::widthEdited(std::string_view text) {
    afterSizeChange(job.editPlacement([text](Placement& placement) { return placement.setWidthText(text); }));
}

void WizardController::heightEdited(std::string_view text) {
    afterSizeChange(job.editPlacement([text](Placement& placement) { return placement.setHeightText(text); }));
}

void WizardController::applySize() {
    if (!hasPicture()) return;
    placePictureAgain();
    setEnabled(WizardControl::NextB1, true);
    setEnabled(WizardControl::DimApply, false);
}

void WizardController::keepRatioClicked(bool on) {
    const DrawingShift shift = job.editPlacement([on](Placement& placement) { return placement.setKeepRatio(on); });
    if (!on || !hasPicture()) return;
    applyShift(shift);
    placePictureAgain();
}

void WizardController::cornerClicked(int corner) {
    if (!hasPicture()) return;
    const DrawingShift shift =
        job.editPlacement([corner](Placement& placement) { return placement.chooseCorner(corner); });
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::Save, false);
    applyShift(shift);
}

void WizardController::originEdited() {
    job.editPlacement([](Placement& placement) { placement.originEdited(); });
    services.window.showCheckedCorner(NoCorner);
    setEnabled(WizardControl::NextB2, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::OrigineApply, true);
}

bool WizardController::applyTypedOrigin(std::string_view textX, std::string_view textY) {
    if (!hasPicture() ||
        !job.editPlacement([&](Placement& placement) { return placement.typedOrigin(textX, textY); }))
        return false;
    placePictureAgain();
    togliAssoc();
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::OrigineApply, false);
    return true;
}

void WizardController::originPicked(double x, double y) {
    if (!hasPicture()) return;
    applyShift(job.editPlacement([x, y](Placement& placement) { return placement.pickedOrigin(x, y); }));
    setEnabled(WizardControl::NextB2, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::OrigineApply, true);
}

void WizardController::nextFromSize() {
    showPage(page::kReference);
}

void WizardController::prevFromReference() {
    showPage(page::kSize);
}

void WizardController::startReliefBuild(std::function<void()> then) {
    if (runner_.busy()) return;  // a second press while the first build runs
    afterRelief_ = std::move(then);
    auto picture = std::make_shared<const Picture>(job.picture());
    const ReliefValues values = job.reliefValues();
    const int generation = generation_;
    const int stamp = job.reliefStamp();
    runner_.start([this, picture, values, generation, stamp](TaskControl& control) -> JobRunner::Commit {
        auto map = BuildRelief(*picture, values);
        control.throwIfCancelled();
        return [this, map, generation, stamp] {
            if (generation != generation_) return;
            job.setHeightMap(map, stamp);
            togliAssoc();
            // A job with its relief can be saved, and the depth page goes on.
            setEnabled(WizardControl::NextB3, true);
            setEnabled(WizardControl::ProfApply, false);
            setEnabled(WizardControl::Save, true);
            if (auto then = std::move(afterRelief_)) {
                afterRelief_ = nullptr;
                then();
            }
        };
    });
}

void WizardController::nextFromReference() {
    if (!hasPicture()) return;
    auto show = [this] {
        showPage(page::kDepth);
        set3DMode(true);
    };
    if (job.reliefOutdated() || !job.heightMap()) {
        startReliefBuild([this, show] {
            services.view3d.autozoom();
            show();
        });
    } else {
        show();
    }
}

// --- depth -------------------------------------------------------------------

void WizardController::whiteDepthEdited(std::string_view text) {
    const auto value = ParseEditNumber(text);
    if (!value) return;
    job.setWhiteZ(static_cast<float>(*value));
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::blackDepthEdited(std::string_view text) {
    const auto value = ParseEditNumber(text);
    if (!value) return;
    job.setBlackZ(static_cast<float>(*value));
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::shadingClicked(ShadingResolution resolution) {
    job.setShading(resolution);
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::applyDepth() {
    if (!hasPicture()) return;
    auto finish = [this] {
        services.view3d.redrawSurface(zncFilter());
        setEnabled(WizardControl::NextB3, true);
        setEnabled(WizardControl::ProfApply, false);
        setEnabled(WizardControl::Save, true);
    };
    if (job.reliefOutdated() || !job.heightMap())
        startReliefBuild(finish);
    else
        finish();
}

void WizardController::prevFromDepth() {
    showPage(page::kReference);
    set3DMode(false);
}

void WizardController::nextFromDepth() {
    showPage(page::kNcFile);
    services.window.showPostList(ListPostProcessors(settings.programFolder), post().postName, post().postComment);
    if (job.ncFileName().empty()) chooseNcFile();
}

// --- NC file, post-processor, tool -------------------------------------------

void WizardController::chooseNcFile() {
    if (auto file = services.dialogs.askNcFileName()) setNcFileName(*file);
}

void WizardController::setNcFileName(const std::filesystem::path& file) {
    job.setNcFileName(file);
    setEnabled(WizardControl::NextB4, !file.empty());
    togliAssoc();
}

void WizardController::ncFileSavedAs(const std::filesystem::path& file) {
    if (file.empty()) return;
    job.programSavedAs(file);
    setEnabled(WizardControl::NextB4, true);
}

void WizardController::loadPost(const std::string& name) {
    PostSettings current = job.post();
    current.postName = name;
    PostLoadResult loaded = LoadPostProcessor(settings.programFolder, current);
    job.setPost(std::move(loaded.settings));
    std::string problems;
    for (const std::string& line : loaded.problems) problems += (problems.empty() ? "" : "\n") + line;
    if (!problems.empty()) report(problems);
}

void WizardController::choosePost(const std::string& name) {
    loadPost(name);
    services.window.showPostList(ListPostProcessors(settings.programFolder), post().postName, post().postComment);
    togliAssoc();
}

void WizardController::prevFromNcFile() {
    showPage(page::kDepth);
}

void WizardController::nextFromNcFile() {
    if (job.ncFileName().empty()) return;
    showPage(page::kTool);
    services.view3d.showCutter(true);
}

void WizardController::setTool(const ToolRecord& tool) {
    job.setCutter(tool);
    togliAssoc();
    if (currentPage == page::kTool) services.view3d.showCutter(true);
}

void WizardController::prevFromTool() {
    showPage(page::kNcFile);
}

void WizardController::nextFromTool() {
    showPage(page::kCutting);
    if (job.programOutdated()) {
        setEnabled(WizardControl::NextB6, false);
        setEnabled(WizardControl::NcCalc, true);
    }
}

// --- cutting parameters and Z no-cut -----------------------------------------

void WizardController::setCutting(const CuttingParameters& values) {
    if (SameCutting(values, cutting())) return;
    job.setCutting(values);
    togliAssoc();
}

void WizardController::cuttingEdited(const CuttingTexts& texts) {
    const CuttingReading reading = ReadCuttingTexts(texts, cutting());
    const bool wasBad = badCuttingField_.has_value();
    badCuttingField_ = reading.badField;
    badCuttingText_ = reading.badText;
    setCutting(reading.values);
    // What the page shows is not what the last program was computed with.
    if (badCuttingField_ || wasBad) togliAssoc();
}

void WizardController::rasterClicked(bool alongX, bool alongY) {
    CuttingParameters values = cutting();
    values.rasterAlongX = alongX;
    values.rasterAlongY = alongY;
    job.setCutting(values);
    togliAssoc();
    services.window.showHelpPicture(RasterHelpPicture(alongX, alongY));
}

void WizardController::focusField(CuttingField field) {
    services.window.showHelpPicture(HelpPictureFor(field));
}

void WizardController::leaveZncGroup() {
    services.window.showStatus(page::kCutting);
}

void WizardController::computeNc() {
    if (!hasPicture() || runner_.busy()) return;  // one computation at a time
    if (job.ncFileName().empty()) {
        report(Say("1271", "Choose the NC file first."));
        return;
    }
    // A value the page shows that cannot be used is named; nothing is
    // computed with another value in its place.
    if (badCuttingField_) {
        std::string text = Say("1270", "%1 \"%2\" is not a value that can be used: nothing was computed.");
        const auto fill = [&text](std::string_view mark, const std::string& value) {
            if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), value);
        };
        fill("%1", services.window.fieldCaption(*badCuttingField_));
        fill("%2", badCuttingText_);
        report(text);
        return;
    }
    if (job.reliefOutdated() || !job.heightMap()) {
        startReliefBuild([this] { computeNc(); });
        return;
    }
    NcComputation computation;
    computation.relief = job.heightMap();
    computation.request.cutter = tool();
    computation.request.parameters = cutting();
    computation.request.placement = ToolPathPlacement(job.reliefValues());
    computation.request.threads = settings.threads;
    computation.post = post();
    computation.job = MakeNcJobValues(tool(), ncFileName());
    const std::filesystem::path file = ncFileName();
    const int generation = generation_;
    const int stamp = job.programStamp();
    runner_.start([this, computation = std::move(computation), file, generation,
                   stamp](TaskControl& control) -> JobRunner::Commit {
        auto computed = std::make_shared<NcComputed>(ComputeNcProgram(computation, &control));
        // The last moment a cancel counts: once the file is written the new
        // program is the one in force.
        control.throwIfCancelled();
        SaveNcProgram(file, computed->program.text);
        return [this, computed, generation, stamp] {
            if (generation != generation_) return;
            job.setProgram(std::move(computed->program), std::move(computed->nodes), stamp);
            if (!job.programOutdated()) {
                setEnabled(WizardControl::NextB6, true);
                setEnabled(WizardControl::NcCalc, false);
            }
            setEnabled(WizardControl::Save, true);
        };
    });
}

void WizardController::prevFromCutting() {
    showPage(page::kTool);
}

void WizardController::nextFromCutting() {
    if (job.programOutdated() || !program()) return;
    services.view3d.hideCutter();
    showPage(page::kProgram);
}

void WizardController::prevFromProgram() {
    showPage(page::kCutting, false);
}

// --- the worker --------------------------------------------------------------

void WizardController::handleOutcome(const JobOutcome& outcome) {
    if (outcome.succeeded) {
        lastFailure_.clear();
        return;
    }
    // Whatever was to follow (a replay) stops here, with the reason.
    afterRelief_ = nullptr;
    lastFailure_ = outcome.reason;
    report(outcome.reason);
}

bool WizardController::pollWork() {
    if (const auto outcome = runner_.poll()) handleOutcome(*outcome);
    return !runner_.busy();
}

void WizardController::waitForWork() {
    while (runner_.busy()) handleOutcome(runner_.wait());
}

// --- documents and exports ---------------------------------------------------

// The stored job into the pages, in the order the pages depend on each
// other: size, origin, depths, NC file, post-processor, tool, cutting values.
void WizardController::applyRecord(const JobRecord& record) {
    afterSizeChange(job.editPlacement([&record](Placement& placement) {
        return placement.restoreSize(record.workWidth, record.workHeight, record.keepRatio);
    }));
    job.editPlacement([](Placement& placement) { placement.originEdited(); });
    job.setWhiteZ(record.whiteZ);
    job.setBlackZ(record.blackZ);
    // A document keeps the NC file it stored.
    setNcFileName(record.ncFileName);
    loadPost(record.postName);
    job.setCutter(record.tool);
    CuttingParameters values = cutting();
    values.feedPlaneZ = record.feedPlaneZ;
    values.stepOver = record.stepOver;
    values.stockAllowance = record.stock;
    values.filterTolerance = record.filter;
    values.passCount = record.zPasses;
    values.zStep = record.zStep;
    values.rasterAlongX = record.rasterAlongX;
    values.rasterAlongY = record.rasterAlongY;
    job.setCutting(values);
    togliAssoc();
    replayOrigin_ = {record.originX, record.originY};
}

// The wizard walked again as far as the cutting parameters, without pauses:
// the relief build runs on the worker and the rest follows when it is done.
void WizardController::replayDocument() {
    applySize();
    nextFromSize();
    if (job.editPlacement([this](Placement& placement) {
            return placement.typedOrigin(replayOrigin_.dx, replayOrigin_.dy);
        })) {
        placePictureAgain();
        setEnabled(WizardControl::NextB2, true);
        setEnabled(WizardControl::OrigineApply, false);
    }
    nextFromReference();
    auto rest = [this] {
        applyDepth();
        nextFromDepth();
        if (ncFileName().empty()) return;  // the dialog was cancelled: the job waits on the NC file page
        nextFromNcFile();
        nextFromTool();
    };
    if (afterRelief_) {
        auto first = std::move(afterRelief_);
        afterRelief_ = [first = std::move(first), rest] {
            first();
            rest();
        };
    } else {
        rest();
    }
}

}  // namespace calvoro
