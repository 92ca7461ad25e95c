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

constexpr int kControlCount = static_cast<int>(WizardControl::ZncControls) + 1;

// A text of the language file, or ours when no language file is loaded.
std::string Say(std::string_view key, std::string_view fallback) {
    std::string text = LangString(key);
    return text.empty() ? std::string(fallback) : text;
}

bool SameCutting(const CuttingParameters& a, const CuttingParameters& b) {
    return a.stepOver == b.stepOver && a.feedPlaneZ == b.feedPlaneZ && a.stockAllowance == b.stockAllowance &&
           a.filterTolerance == b.filterTolerance && a.rasterAlongX == b.rasterAlongX &&
           a.rasterAlongY == b.rasterAlongY && a.passCount == b.passCount && a.zStep == b.zStep;
}

}  // namespace

int HelpPictureFor(CuttingField field) {
    switch (field) {
        case CuttingField::FeedPlane:
            return 101;
        case CuttingField::StepOver:
            return 102;
        case CuttingField::Stock:
            return 103;
        case CuttingField::PassCount:
            return 104;
        case CuttingField::ZStep:
            return 105;
        case CuttingField::Filter:
            return 111;
        case CuttingField::ZncGroup:
            return 112;
    }
    return 0;
}

int RasterHelpPicture(bool alongX, bool alongY) {
    if (alongX && alongY) return 108;
    if (alongX) return 106;
    if (alongY) return 107;
    return 109;
}

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

WizardController::WizardController(WizardServices services, WizardSettings settings)
    : services_(services), settings_(std::move(settings)), enabled_(kControlCount, false) {
    post_.unitsFlag = settings_.inches ? 1 : 0;
    loadPost(settings_.postName);
}

bool WizardController::enabled(WizardControl control) const {
    return enabled_[static_cast<std::size_t>(control)];
}

void WizardController::setEnabled(WizardControl control, bool on) {
    enabled_[static_cast<std::size_t>(control)] = on;
    services_.window.setEnabled(control, on);
}

void WizardController::showPage(int page, bool withStatus) {
    page_ = page;
    services_.window.showPage(page, withStatus);
}

void WizardController::report(const std::string& text) {
    services_.dialogs.showMessage(text);
}

ReliefValues WizardController::currentReliefValues() const {
    ReliefValues values = relief_;
    PlaceRelief(placement_.info(), values);
    return values;
}

ZncFilter WizardController::zncFilter() const {
    ZncFilter filter;
    filter.active = zncChecked_ && zncLevel_.has_value();
    filter.level = zncLevel_.value_or(0.0f);
    filter.tolerance = zncTolerance_;
    return filter;
}

// The program no longer matches what the pages say.
void WizardController::togliAssoc() {
    ++ncStamp_;
    ncOutdated_ = true;
    setEnabled(WizardControl::NextB6, false);
    setEnabled(WizardControl::NcCalc, true);
    services_.view3d.setToolPath({});
}

void WizardController::markPictureEdited() {
    ++reliefStamp_;
    reliefOutdated_ = true;
    togliAssoc();
}

void WizardController::showPlacement() {
    const ImageInfo& info = placement_.info();
    services_.window.showSize(formatta(info.SizeX, settings_.inches), formatta(info.SizeY, settings_.inches));
    // Adding 0 turns the -0 of an origin at 0 into 0: the edits never say "-0.000".
    services_.window.showOrigin(formatta(-info.X0 + 0.0, settings_.inches), formatta(-info.Y0 + 0.0, settings_.inches));
    services_.window.showCheckedCorner(placement_.checkedCorner());
    services_.view3d.setWorkBox(info, currentReliefValues());
}

void WizardController::placePictureAgain() {
    services_.drawing.placePicture(picture_, placement_.info());
    showPlacement();
}

void WizardController::applyShift(const DrawingShift& shift) {
    if (shift.dx != 0.0 || shift.dy != 0.0) services_.drawing.moveAll(shift.dx, shift.dy);
    showPlacement();
    // Where the picture lies is where the cutter goes: a program computed for
    // another placement would cut elsewhere.
    togliAssoc();
}

// --- the open command --------------------------------------------------------

bool WizardController::openPicture(const std::filesystem::path& fileName) {
    commandMode_ = kNoCommandMode;
    const std::optional<JobValues> values = std::exchange(nextOpenValues_, std::nullopt);
    // Anything in the drawing, a point placed before any picture too, is lost
    // by the open: the user is asked first.
    if (services_.drawing.hasObjects() && !services_.dialogs.confirmDiscard()) return false;
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
        info = ComputeImageScale(ImageInfo{}, picture.width, picture.height, picture.dpiX, settings_.inches);
    } catch (const PictureError& error) {
        report(PictureErrorText(error, fileName));
        return false;
    } catch (const std::exception& error) {
        report(error.what());
        return false;
    }

    // A computation of the job being replaced is dropped.
    if (runner_.busy()) {
        runner_.cancel();
        ++generation_;
        runner_.wait();
    }
    ++generation_;
    afterRelief_ = nullptr;
    picture_ = std::move(picture);
    pictureFileName_ = fileName;
    if (loader == PictureLoader::Document) documentFileName_ = fileName;
    services_.window.showDocumentName(fileName);
    placement_.reset(info);
    if (values) {
        relief_.setWhiteZ(values->whiteZ);
        relief_.setBlackZ(values->blackZ);
        cutting_ = values->cutting;
    }
    map_.reset();
    program_.reset();
    ++reliefStamp_;
    reliefOutdated_ = true;
    togliAssoc();
    rectangleReady_ = false;
    mode3D_ = false;
    services_.view3d.set3DMode(false);
    zncChecked_ = false;
    zncLevel_.reset();
    services_.window.showZncCaption(Say("753", "Pick Z point"));
    setEnabled(WizardControl::ZncControls, false);
    shading_ = ChooseShadingResolution(picture_.width, picture_.height);
    services_.window.showShading(shading_);
    placePictureAgain();
    setEnabled(WizardControl::DimApply, false);
    setEnabled(WizardControl::NextB1, true);
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::OrigineApply, false);
    setEnabled(WizardControl::CutSel, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::NextB4, !ncFileName_.empty());
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
    if (inches == settings_.inches) return;
    settings_.inches = inches;
    post_.unitsFlag = inches ? 1 : 0;
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
    commandMode_ = kNoCommandMode;
    picture_ = Picture{};
    pictureFileName_.clear();
    documentFileName_.clear();
    map_.reset();
    program_.reset();
    ++reliefStamp_;
    reliefOutdated_ = true;
    togliAssoc();
    mode3D_ = false;
    zncChecked_ = false;
    zncLevel_.reset();
    setEnabled(WizardControl::Save, false);
}

// --- picture edits -----------------------------------------------------------

void WizardController::modify() {
    showPage(page::kDistance);
    services_.drawing.setObjectSnap(true);
    services_.drawing.startRectanglePick();
    rectangleReady_ = false;
    setEnabled(WizardControl::CutSel, false);
}

void WizardController::rectanglePicked(const CutInfo& cut) {
    cut_ = cut;
    rectangleReady_ = true;
    setEnabled(WizardControl::CutSel, true);
}

void WizardController::rectangleRestarted() {
    rectangleReady_ = false;
    setEnabled(WizardControl::CutSel, false);
}

void WizardController::editPicture(const std::function<void(Picture&)>& change) {
    if (!hasPicture()) return;
    setEnabled(WizardControl::CutSel, false);
    change(picture_);
    markPictureEdited();
    placePictureAgain();
}

void WizardController::flipVertical() {
    editPicture(FlipBitmapVertical);
}

void WizardController::flipHorizontal() {
    editPicture(FlipBitmapHorizontal);
}

void WizardController::rotate() {
    editPicture([this](Picture& picture) {
        RotateBitmap90(picture);
        // The sizes exchange; the origin goes back on the corner the user chose.
        placement_.pictureRotated();
    });
}

void WizardController::crop() {
    if (!hasPicture() || !rectangleReady_) return;
    try {
        const CropPlan plan = ComputeCrop(placement_.info(), cut_);
        Picture cropped =
            CropBitmap(picture_, plan.pixels.left, plan.pixels.top, plan.pixels.width, plan.pixels.height);
        picture_ = std::move(cropped);
        placement_.pictureCropped(plan.image);
    } catch (const std::exception& error) {
        report(error.what());
        return;
    }
    rectangleReady_ = false;
    setEnabled(WizardControl::CutSel, false);
    markPictureEdited();
    placePictureAgain();
}

void WizardController::convertToGrey() {
    editPicture(MakeGrayBitmap8);
}

void WizardController::negative() {
    editPicture([](Picture& picture) { picture = MakeNegative(picture); });
}

void WizardController::nextFromEdit() {
    services_.drawing.cancelTask();
    services_.drawing.setObjectSnap(false);
    showPage(page::kSize);
}

// --- size and reference point ------------------------------------------------

void WizardController::afterSizeChange(const std::optional<DrawingShift>& shift) {
    if (!shift) return;  // not a usable size: nothing changes
    setEnabled(WizardControl::DimApply, true);
    setEnabled(WizardControl::NextB1, false);
    applyShift(*shift);
}

void WizardController::widthEdited(std::string_view text) {
    afterSizeChange(placement_.setWidthText(text));
}

void WizardController::heightEdited(std::string_view text) {
    afterSizeChange(placement_.setHeightText(text));
}

void WizardController::applySize() {
    if (!hasPicture()) return;
    placePictureAgain();
    setEnabled(WizardControl::NextB1, true);
    setEnabled(WizardControl::DimApply, false);
}

void WizardController::keepRatioClicked(bool on) {
    const DrawingShift shift = placement_.setKeepRatio(on);
    if (!on || !hasPicture()) return;
    applyShift(shift);
    placePictureAgain();
}

void WizardController::cornerClicked(int corner) {
    if (!hasPicture()) return;
    const DrawingShift shift = placement_.chooseCorner(corner);
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::Save, false);
    applyShift(shift);
}

void WizardController::originEdited() {
    placement_.originEdited();
    services_.window.showCheckedCorner(NoCorner);
    setEnabled(WizardControl::NextB2, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::OrigineApply, true);
}

bool WizardController::applyTypedOrigin(std::string_view textX, std::string_view textY) {
    if (!hasPicture() || !placement_.typedOrigin(textX, textY)) return false;
    placePictureAgain();
    togliAssoc();
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::OrigineApply, false);
    return true;
}

void WizardController::originPicked(double x, double y) {
    if (!hasPicture()) return;
    applyShift(placement_.pickedOrigin(x, y));
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
    auto picture = std::make_shared<const Picture>(picture_);
    const ReliefValues values = currentReliefValues();
    const int generation = generation_;
    const int stamp = reliefStamp_;
    runner_.start([this, picture, values, generation, stamp](TaskControl& control) -> JobRunner::Commit {
        auto map = BuildRelief(*picture, values);
        control.throwIfCancelled();
        return [this, map, generation, stamp] {
            if (generation != generation_) return;
            map_ = map;
            if (stamp == reliefStamp_) reliefOutdated_ = false;
            services_.view3d.setRelief(*map_, currentReliefValues());
            togliAssoc();
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
        mode3D_ = true;
        services_.view3d.set3DMode(true);
        services_.view3d.setWorkBox(placement_.info(), currentReliefValues());
    };
    if (reliefOutdated_ || !map_) {
        startReliefBuild([this, show] {
            services_.view3d.autozoom();
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
    relief_.setWhiteZ(static_cast<float>(*value));
    ++reliefStamp_;
    reliefOutdated_ = true;
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::blackDepthEdited(std::string_view text) {
    const auto value = ParseEditNumber(text);
    if (!value) return;
    relief_.setBlackZ(static_cast<float>(*value));
    ++reliefStamp_;
    reliefOutdated_ = true;
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::shadingClicked(ShadingResolution resolution) {
    shading_ = resolution;
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::applyDepth() {
    if (!hasPicture()) return;
    auto finish = [this] {
        services_.view3d.setWorkBox(placement_.info(), currentReliefValues());
        services_.view3d.redrawSurface(zncFilter());
        setEnabled(WizardControl::NextB3, true);
        setEnabled(WizardControl::ProfApply, false);
        setEnabled(WizardControl::Save, true);
    };
    if (reliefOutdated_ || !map_)
        startReliefBuild(finish);
    else
        finish();
}

void WizardController::prevFromDepth() {
    showPage(page::kReference);
    mode3D_ = false;
    services_.view3d.set3DMode(false);
}

void WizardController::nextFromDepth() {
    showPage(page::kNcFile);
    services_.window.showPostList(ListPostProcessors(settings_.programFolder), post_.postName, post_.postComment);
    if (ncFileName_.empty()) chooseNcFile();
}

// --- NC file, post-processor, tool -------------------------------------------

void WizardController::chooseNcFile() {
    if (auto file = services_.dialogs.askNcFileName(ncFileName_)) setNcFileName(*file);
}

void WizardController::setNcFileName(const std::filesystem::path& file) {
    ncFileName_ = file;
    services_.window.showNcFileName(file);
    setEnabled(WizardControl::NextB4, !file.empty());
    togliAssoc();
}

void WizardController::ncFileSavedAs(const std::filesystem::path& file) {
    if (file.empty()) return;
    ncFileName_ = file;
    services_.window.showNcFileName(file);
    setEnabled(WizardControl::NextB4, true);
}

void WizardController::loadPost(const std::string& name) {
    PostSettings current = post_;
    current.postName = name;
    PostLoadResult loaded = LoadPostProcessor(settings_.programFolder, current);
    post_ = std::move(loaded.settings);
    std::string problems;
    for (const std::string& line : loaded.problems) problems += (problems.empty() ? "" : "\n") + line;
    if (!problems.empty()) report(problems);
}

void WizardController::choosePost(const std::string& name) {
    loadPost(name);
    services_.window.showPostList(ListPostProcessors(settings_.programFolder), post_.postName, post_.postComment);
    togliAssoc();
}

void WizardController::prevFromNcFile() {
    showPage(page::kDepth);
}

void WizardController::nextFromNcFile() {
    if (ncFileName_.empty()) return;
    showPage(page::kTool);
}

void WizardController::setTool(const ToolRecord& tool) {
    tool_ = tool;
    togliAssoc();
}

void WizardController::prevFromTool() {
    showPage(page::kNcFile);
}

void WizardController::nextFromTool() {
    showPage(page::kCutting);
    if (ncOutdated_) {
        setEnabled(WizardControl::NextB6, false);
        setEnabled(WizardControl::NcCalc, true);
    }
}

// --- cutting parameters and Z no-cut -----------------------------------------

void WizardController::setCutting(const CuttingParameters& values) {
    if (SameCutting(values, cutting_)) return;
    const ZncFilter zone = zncFilter();
    cutting_ = values;
    cutting_.zNoCutActive = zone.active;
    cutting_.zNoCutZ = zone.level;
    cutting_.zNoCutTolerance = zone.tolerance;
    togliAssoc();
}

void WizardController::rasterClicked(bool alongX, bool alongY) {
    cutting_.rasterAlongX = alongX;
    cutting_.rasterAlongY = alongY;
    togliAssoc();
    services_.window.showHelpPicture(RasterHelpPicture(alongX, alongY));
}

void WizardController::focusField(CuttingField field) {
    services_.window.showHelpPicture(HelpPictureFor(field));
}

void WizardController::leaveZncGroup() {
    services_.window.showStatus(page::kCutting);
}

void WizardController::zncCheckClicked(bool checked) {
    togliAssoc();
    zncChecked_ = checked;
    setEnabled(WizardControl::ZncControls, checked);
    if (checked && zncLevel_) {
        std::string caption = " Z ";
        caption += formatta(*zncLevel_, settings_.inches);
        services_.window.showZncCaption(caption);
    } else {
        services_.window.showZncCaption(Say("753", "Pick Z point"));
    }
    services_.view3d.redrawSurface(zncFilter());
}

void WizardController::zncToleranceEdited(std::string_view text) {
    const auto value = ParseEditNumber(text);
    if (!value || *value < 0) return;
    zncTolerance_ = static_cast<float>(*value);
    if (!ncOutdated_) togliAssoc();
}

void WizardController::startZncPick() {
    togliAssoc();
    commandMode_ = kZncPickMode;
    // The mark of an earlier pick goes; the first pick finds none.
    if (services_.drawing.hasObject(kZncMarkId)) services_.drawing.deleteObject(kZncMarkId);
    mode3D_ = false;
    services_.view3d.set3DMode(false);
    services_.drawing.cancelTask();
    services_.drawing.startPointPick(kZncMarkId);
    services_.window.showStatus(page_message::kPointPick);
}

void WizardController::zncPointPicked(double x, double y) {
    commandMode_ = kNoCommandMode;
    const ImageInfo& info = placement_.info();
    const ReliefValues cells = currentReliefValues();
    std::optional<float> level;
    if (map_ && cells.PixelSize > 0 && cells.CellSizeY() > 0) {
        const double column = std::nearbyint((x - info.X0) / cells.PixelSize);
        const double row = std::nearbyint((y - info.Y0) / cells.CellSizeY());
        // The last column and row count as outside, as the read-out does.
        if (column >= 0 && row >= 0 && column <= info.PixelWidth - 2 && row <= info.PixelHeight - 2 &&
            column < map_->width() && row < map_->height()) {
            level = map_->at(static_cast<int>(column), static_cast<int>(row));
        }
    }
    zncLevel_ = level;
    std::string caption = level ? " Z: " : " ";
    caption += level ? formatta(*level, settings_.inches) : Say("752", "outside the picture");
    services_.window.showZncCaption(caption);
    mode3D_ = true;
    services_.view3d.set3DMode(true);
    services_.view3d.redrawSurface(zncFilter());
    togliAssoc();
}

void WizardController::zncPickCancelled() {
    if (commandMode_ != kZncPickMode) return;
    commandMode_ = kNoCommandMode;
    mode3D_ = true;
    services_.view3d.set3DMode(true);
}

void WizardController::regenerateZnc() {
    services_.view3d.redrawSurface(zncFilter());
}

void WizardController::computeNc() {
    if (!hasPicture() || runner_.busy()) return;  // one computation at a time
    if (ncFileName_.empty()) {
        report("Choose the NC file first.");
        return;
    }
    if (reliefOutdated_ || !map_) {
        startReliefBuild([this] { computeNc(); });
        return;
    }
    NcComputation computation;
    computation.relief = map_;
    computation.request.cutter = tool_;
    computation.request.parameters = cutting_;
    const ZncFilter zone = zncFilter();
    computation.request.parameters.zNoCutActive = zone.active;
    computation.request.parameters.zNoCutZ = zone.level;
    computation.request.parameters.zNoCutTolerance = zone.tolerance;
    computation.request.placement = ToolPathPlacement(currentReliefValues());
    computation.request.threads = settings_.threads;
    computation.post = post_;
    computation.job = MakeNcJobValues(tool_, ncFileName_);
    const std::filesystem::path file = ncFileName_;
    const int generation = generation_;
    const int stamp = ncStamp_;
    runner_.start([this, computation = std::move(computation), file, generation,
                   stamp](TaskControl& control) -> JobRunner::Commit {
        auto computed = std::make_shared<NcComputed>(ComputeNcProgram(computation, &control));
        // The last moment a cancel counts: once the file is written the new
        // program is the one in force.
        control.throwIfCancelled();
        SaveNcProgram(file, computed->program.text);
        return [this, computed, generation, stamp] {
            if (generation != generation_) return;
            program_ = std::move(computed->program);
            services_.ncPage.showProgram(*program_);
            services_.view3d.setToolPath(computed->nodes);
            if (stamp == ncStamp_) {
                ncOutdated_ = false;
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
    if (ncOutdated_ || !program_) return;
    services_.view3d.hideCutter();
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

JobRecord WizardController::jobRecord() const {
    JobRecord record;
    const ImageInfo& info = placement_.info();
    record.workWidth = info.SizeX;
    record.workHeight = info.SizeY;
    record.keepRatio = placement_.keepRatio();
    record.originX = -info.X0;
    record.originY = -info.Y0;
    record.whiteZ = relief_.WhiteZ;
    record.blackZ = relief_.BlackZ;
    record.ncFileName = ncFileName_.string();
    record.postName = post_.postName;
    record.tool = tool_;
    record.feedPlaneZ = static_cast<float>(cutting_.feedPlaneZ);
    record.stepOver = static_cast<float>(cutting_.stepOver);
    record.stock = cutting_.stockAllowance;
    record.filter = cutting_.filterTolerance;
    record.zPasses = cutting_.passCount;
    record.zStep = static_cast<float>(cutting_.zStep);
    record.rasterAlongX = cutting_.rasterAlongX;
    record.rasterAlongY = cutting_.rasterAlongY;
    return record;
}

// The stored job into the pages, in the order the pages depend on each
// other: size, origin, depths, NC file, post-processor, tool, cutting values.
void WizardController::applyRecord(const JobRecord& record) {
    afterSizeChange(placement_.restoreSize(record.workWidth, record.workHeight, record.keepRatio));
    placement_.originEdited();
    relief_.setWhiteZ(record.whiteZ);
    relief_.setBlackZ(record.blackZ);
    ++reliefStamp_;
    reliefOutdated_ = true;
    setNcFileName(record.ncFileName);
    program_.reset();
    loadPost(record.postName);
    tool_ = record.tool;
    CuttingParameters values = cutting_;
    values.feedPlaneZ = record.feedPlaneZ;
    values.stepOver = record.stepOver;
    values.stockAllowance = record.stock;
    values.filterTolerance = record.filter;
    values.passCount = record.zPasses;
    values.zStep = record.zStep;
    values.rasterAlongX = record.rasterAlongX;
    values.rasterAlongY = record.rasterAlongY;
    cutting_ = values;
    togliAssoc();
    replayOrigin_ = {record.originX, record.originY};
}

// The wizard walked again as far as the cutting parameters, without pauses:
// the relief build runs on the worker and the rest follows when it is done.
void WizardController::replayDocument() {
    applySize();
    nextFromSize();
    if (placement_.typedOrigin(replayOrigin_.dx, replayOrigin_.dy)) {
        placePictureAgain();
        setEnabled(WizardControl::NextB2, true);
        setEnabled(WizardControl::OrigineApply, false);
    }
    nextFromReference();
    auto rest = [this] {
        applyDepth();
        nextFromDepth();
        if (ncFileName_.empty()) return;  // the dialog was cancelled: the job waits on the NC file page
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

bool WizardController::saveDocument(const std::filesystem::path& fileName) {
    if (!hasPicture()) return false;
    try {
        SaveDocument(fileName, picture_, jobRecord());
    } catch (const std::exception& error) {
        report(error.what());
        return false;
    }
    documentFileName_ = fileName;
    services_.window.showDocumentName(fileName);
    return true;
}

bool WizardController::exportStl(const std::filesystem::path& fileName, StlShape shape) {
    if (!hasPicture()) return false;
    try {
        const ReliefValues values = currentReliefValues();
        const auto map = reliefOutdated_ || !map_ ? BuildRelief(picture_, values) : map_;
        WriteStl(fileName, *map, values, shape);
    } catch (const std::exception& error) {
        report(error.what());
        return false;
    }
    return true;
}

std::filesystem::path WizardController::proposedSaveName() const {
    return ProposedSaveName(documentFileName_, pictureFileName_);
}

bool WizardController::saveAs(const std::filesystem::path& chosenName, SaveKind kind, StlShape shape) {
    if (!hasPicture()) return false;
    commandMode_ = kNoCommandMode;
    const std::filesystem::path fileName = CompleteSaveName(chosenName, kind);
    switch (kind) {
        case SaveKind::Document:
            return saveDocument(fileName);
        case SaveKind::Stl:
            if (!exportStl(fileName, shape)) return false;
            break;
        case SaveKind::Dxf:
            try {
                services_.drawing.exportDxf(fileName);
            } catch (const std::exception& error) {
                report(error.what());
                return false;
            }
            break;
    }
    documentFileName_ = fileName;
    return true;
}

}  // namespace calvoro
