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
#include "shell/lang/PictureErrorText.h"
#include "shell/lang/UnitLang.h"
#include "shell/wizard/NumberText.h"
#include "engine/picture/PictureEdits.h"

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

WizardController::WizardController(Job& job, WizardServices services, WizardSettings settings)
    : job_(job), services_(services), settings_(std::move(settings)), enabled_(kControlCount, false) {
    PostSettings post = job_.post();
    post.unitsFlag = settings_.inches ? 1 : 0;
    job_.setPost(std::move(post));
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

// The program no longer matches what the pages say.
void WizardController::togliAssoc() {
    job_.outdateProgram();
    setEnabled(WizardControl::NextB6, false);
    setEnabled(WizardControl::NcCalc, true);
}

void WizardController::showPlacement() {
    const ImageInfo& info = job_.info();
    services_.window.showSize(formatta(info.SizeX, settings_.inches), formatta(info.SizeY, settings_.inches));
    // Adding 0 turns the -0 of an origin at 0 into 0: the edits never say "-0.000".
    services_.window.showOrigin(formatta(-info.X0 + 0.0, settings_.inches), formatta(-info.Y0 + 0.0, settings_.inches));
    services_.window.showCheckedCorner(job_.placement().checkedCorner());
}

void WizardController::placePictureAgain() {
    services_.drawing.placePicture(job_.picture(), job_.info());
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
    commandMode_ = kNoCommandMode;
    // The values of the pages first, so that the new picture's work box is
    // as deep as they say.
    if (values) {
        job_.setWhiteZ(values->whiteZ);
        job_.setBlackZ(values->blackZ);
        job_.setCutting(values->cutting);
    }
    const ShadingResolution shading = ChooseShadingResolution(picture.width, picture.height);
    job_.newPicture(std::move(picture), fileName, loader == PictureLoader::Document, info);
    services_.window.showDocumentName(fileName);
    togliAssoc();
    rectangleReady_ = false;
    services_.window.showCropSelection(std::nullopt);
    mode3D_ = false;
    services_.view3d.set3DMode(false);
    services_.window.showZncCaption(Say("753", "Pick Z point"));
    setEnabled(WizardControl::ZncControls, false);
    job_.setShading(shading);
    services_.window.showShading(shading);
    placePictureAgain();
    setEnabled(WizardControl::DimApply, false);
    setEnabled(WizardControl::NextB1, true);
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::OrigineApply, false);
    setEnabled(WizardControl::CutSel, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::NextB4, !job_.ncFileName().empty());
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
    PostSettings post = job_.post();
    post.unitsFlag = inches ? 1 : 0;
    job_.setPost(std::move(post));
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
    job_.clear();
    togliAssoc();
    mode3D_ = false;
    rectangleReady_ = false;
    services_.window.showCropSelection(std::nullopt);
    setEnabled(WizardControl::Save, false);
}

// The crop's rectangle and the Z no-cut point are picked in the drawing of
// the picture they belong to.
void WizardController::cancelOwnPicks() {
    if (page_ == page::kDistance || commandMode_ == kZncPickMode) services_.drawing.cancelTask();
}

// --- picture edits -----------------------------------------------------------

void WizardController::modify() {
    showPage(page::kDistance);
    services_.drawing.setObjectSnap(true);
    services_.drawing.startRectanglePick();
    rectangleReady_ = false;
    services_.window.showCropSelection(std::nullopt);
    setEnabled(WizardControl::CutSel, false);
}

void WizardController::rectanglePicked(const CutInfo& cut) {
    if (!hasPicture()) return;
    cut_ = cut;
    rectangleReady_ = true;
    services_.window.showCropSelection(cut);
    setEnabled(WizardControl::CutSel, true);
}

void WizardController::afterPictureEdit() {
    togliAssoc();
    placePictureAgain();
}

void WizardController::editPicture(const std::function<void(Picture&, Placement&)>& change) {
    if (!hasPicture()) return;
    setEnabled(WizardControl::CutSel, false);
    job_.editPicture(change);
    afterPictureEdit();
}

void WizardController::flipVertical() {
    editPicture([](Picture& picture, Placement&) { FlipBitmapVertical(picture); });
}

void WizardController::flipHorizontal() {
    editPicture([](Picture& picture, Placement&) { FlipBitmapHorizontal(picture); });
}

void WizardController::rotate() {
    editPicture([](Picture& picture, Placement& placement) {
        RotateBitmap90(picture);
        // The sizes exchange; the origin goes back on the corner the user chose.
        placement.pictureRotated();
    });
}

void WizardController::crop() {
    if (!hasPicture() || !rectangleReady_) return;
    Picture cropped;
    CropPlan plan;
    try {
        plan = ComputeCrop(job_.info(), cut_);
        cropped = CropBitmap(job_.picture(), plan.pixels.left, plan.pixels.top, plan.pixels.width,
                             plan.pixels.height);
    } catch (const std::exception& error) {
        report(error.what());
        return;
    }
    rectangleReady_ = false;
    services_.window.showCropSelection(std::nullopt);
    setEnabled(WizardControl::CutSel, false);
    job_.editPicture([&](Picture& picture, Placement& placement) {
        picture = std::move(cropped);
        placement.pictureCropped(plan.image);
    });
    afterPictureEdit();
}

void WizardController::convertToGrey() {
    editPicture([](Picture& picture, Placement&) { MakeGrayBitmap8(picture); });
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
    afterSizeChange(job_.editPlacement([text](Placement& placement) { return placement.setWidthText(text); }));
}

void WizardController::heightEdited(std::string_view text) {
    afterSizeChange(job_.editPlacement([text](Placement& placement) { return placement.setHeightText(text); }));
}

void WizardController::applySize() {
    if (!hasPicture()) return;
    placePictureAgain();
    setEnabled(WizardControl::NextB1, true);
    setEnabled(WizardControl::DimApply, false);
}

void WizardController::keepRatioClicked(bool on) {
    const DrawingShift shift = job_.editPlacement([on](Placement& placement) { return placement.setKeepRatio(on); });
    if (!on || !hasPicture()) return;
    applyShift(shift);
    placePictureAgain();
}

void WizardController::cornerClicked(int corner) {
    if (!hasPicture()) return;
    const DrawingShift shift =
        job_.editPlacement([corner](Placement& placement) { return placement.chooseCorner(corner); });
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::Save, false);
    applyShift(shift);
}

void WizardController::originEdited() {
    job_.editPlacement([](Placement& placement) { placement.originEdited(); });
    services_.window.showCheckedCorner(NoCorner);
    setEnabled(WizardControl::NextB2, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::OrigineApply, true);
}

bool WizardController::applyTypedOrigin(std::string_view textX, std::string_view textY) {
    if (!hasPicture() ||
        !job_.editPlacement([&](Placement& placement) { return placement.typedOrigin(textX, textY); }))
        return false;
    placePictureAgain();
    togliAssoc();
    setEnabled(WizardControl::NextB2, true);
    setEnabled(WizardControl::OrigineApply, false);
    return true;
}

void WizardController::originPicked(double x, double y) {
    if (!hasPicture()) return;
    applyShift(job_.editPlacement([x, y](Placement& placement) { return placement.pickedOrigin(x, y); }));
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
    auto picture = std::make_shared<const Picture>(job_.picture());
    const ReliefValues values = job_.reliefValues();
    const int generation = generation_;
    const int stamp = job_.reliefStamp();
    runner_.start([this, picture, values, generation, stamp](TaskControl& control) -> JobRunner::Commit {
        auto map = BuildRelief(*picture, values);
        control.throwIfCancelled();
        return [this, map, generation, stamp] {
            if (generation != generation_) return;
            job_.setHeightMap(map, stamp);
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
    };
    if (job_.reliefOutdated() || !job_.heightMap()) {
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
    job_.setWhiteZ(static_cast<float>(*value));
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::blackDepthEdited(std::string_view text) {
    const auto value = ParseEditNumber(text);
    if (!value) return;
    job_.setBlackZ(static_cast<float>(*value));
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::Save, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::shadingClicked(ShadingResolution resolution) {
    job_.setShading(resolution);
    setEnabled(WizardControl::NextB3, false);
    setEnabled(WizardControl::ProfApply, true);
}

void WizardController::applyDepth() {
    if (!hasPicture()) return;
    auto finish = [this] {
        services_.view3d.redrawSurface(zncFilter());
        setEnabled(WizardControl::NextB3, true);
        setEnabled(WizardControl::ProfApply, false);
        setEnabled(WizardControl::Save, true);
    };
    if (job_.reliefOutdated() || !job_.heightMap())
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
    services_.window.showPostList(ListPostProcessors(settings_.programFolder), post().postName, post().postComment);
    if (job_.ncFileName().empty()) chooseNcFile();
}

// --- NC file, post-processor, tool -------------------------------------------

void WizardController::chooseNcFile() {
    if (auto file = services_.dialogs.askNcFileName()) setNcFileName(*file);
}

void WizardController::setNcFileName(const std::filesystem::path& file) {
    job_.setNcFileName(file);
    setEnabled(WizardControl::NextB4, !file.empty());
    togliAssoc();
}

void WizardController::ncFileSavedAs(const std::filesystem::path& file) {
    if (file.empty()) return;
    job_.programSavedAs(file);
    setEnabled(WizardControl::NextB4, true);
}

void WizardController::loadPost(const std::string& name) {
    PostSettings current = job_.post();
    current.postName = name;
    PostLoadResult loaded = LoadPostProcessor(settings_.programFolder, current);
    job_.setPost(std::move(loaded.settings));
    std::string problems;
    for (const std::string& line : loaded.problems) problems += (problems.empty() ? "" : "\n") + line;
    if (!problems.empty()) report(problems);
}

void WizardController::choosePost(const std::string& name) {
    loadPost(name);
    services_.window.showPostList(ListPostProcessors(settings_.programFolder), post().postName, post().postComment);
    togliAssoc();
}

void WizardController::prevFromNcFile() {
    showPage(page::kDepth);
}

void WizardController::nextFromNcFile() {
    if (job_.ncFileName().empty()) return;
    showPage(page::kTool);
}

void WizardController::setTool(const ToolRecord& tool) {
    job_.setCutter(tool);
    togliAssoc();
}

void WizardController::prevFromTool() {
    showPage(page::kNcFile);
}

void WizardController::nextFromTool() {
    showPage(page::kCutting);
    if (job_.programOutdated()) {
        setEnabled(WizardControl::NextB6, false);
        setEnabled(WizardControl::NcCalc, true);
    }
}

// --- cutting parameters and Z no-cut -----------------------------------------

void WizardController::setCutting(const CuttingParameters& values) {
    if (SameCutting(values, cutting())) return;
    job_.setCutting(values);
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
    job_.setCutting(values);
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
    job_.setZncChecked(checked);
    setEnabled(WizardControl::ZncControls, checked);
    if (checked && zncLevel()) {
        std::string caption = " Z ";
        caption += formatta(*zncLevel(), settings_.inches);
        services_.window.showZncCaption(caption);
    } else {
        services_.window.showZncCaption(Say("753", "Pick Z point"));
    }
    services_.view3d.redrawSurface(zncFilter());
}

void WizardController::zncToleranceEdited(std::string_view text) {
    const auto value = ParseEditNumber(text);
    if (!value || *value < 0) return;
    const bool current = !job_.programOutdated();
    job_.setZncTolerance(static_cast<float>(*value));
    if (current) togliAssoc();
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
    const ImageInfo& info = job_.info();
    const std::shared_ptr<const HeightMap>& map = job_.heightMap();
    std::optional<float> level;
    if (map && info.Scale > 0) {
        const double column = std::nearbyint((x - info.X0) / info.Scale);
        const double row = std::nearbyint((y - info.Y0) / info.Scale);
        // The last column and row count as outside, as the read-out does.
        if (column >= 0 && row >= 0 && column <= info.PixelWidth - 2 && row <= info.PixelHeight - 2 &&
            column < map->width() && row < map->height()) {
            level = map->at(static_cast<int>(column), static_cast<int>(row));
        }
    }
    job_.setZncLevel(level);
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
    services_.window.showStatus(page::kCutting);
}

void WizardController::regenerateZnc() {
    services_.view3d.redrawSurface(zncFilter());
}

void WizardController::computeNc() {
    if (!hasPicture() || runner_.busy()) return;  // one computation at a time
    if (job_.ncFileName().empty()) {
        report("Choose the NC file first.");
        return;
    }
    // A value the page shows that cannot be used is named; nothing is
    // computed with another value in its place.
    if (badCuttingField_) {
        report(services_.window.fieldCaption(*badCuttingField_) + " \"" + badCuttingText_ +
               "\" is not a value that can be used: nothing was computed.");
        return;
    }
    if (job_.reliefOutdated() || !job_.heightMap()) {
        startReliefBuild([this] { computeNc(); });
        return;
    }
    NcComputation computation;
    computation.relief = job_.heightMap();
    computation.request.cutter = tool();
    computation.request.parameters = cutting();
    computation.request.placement = {job_.info().Scale, job_.info().X0, job_.info().Y0};
    computation.request.threads = settings_.threads;
    computation.post = post();
    computation.job = MakeNcJobValues(tool(), ncFileName());
    const std::filesystem::path file = ncFileName();
    const int generation = generation_;
    const int stamp = job_.programStamp();
    runner_.start([this, computation = std::move(computation), file, generation,
                   stamp](TaskControl& control) -> JobRunner::Commit {
        auto computed = std::make_shared<NcComputed>(ComputeNcProgram(computation, &control));
        // The last moment a cancel counts: once the file is written the new
        // program is the one in force.
        control.throwIfCancelled();
        SaveNcProgram(file, computed->program.text, computation.post.encoding);
        return [this, computed, generation, stamp] {
            if (generation != generation_) return;
            job_.setProgram(std::move(computed->program), std::move(computed->nodes), stamp);
            if (!job_.programOutdated()) {
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
    if (job_.programOutdated() || !program()) return;
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
    const ImageInfo& info = job_.info();
    record.workWidth = info.SizeX;
    record.workHeight = info.SizeY;
    record.keepRatio = job_.placement().keepRatio();
    record.originX = -info.X0;
    record.originY = -info.Y0;
    const ReliefValues depths = job_.reliefValues();
    const CuttingParameters& values = cutting();
    record.whiteZ = depths.WhiteZ;
    record.blackZ = depths.BlackZ;
    record.ncFileName = ncFileName().string();
    record.postName = post().postName;
    record.tool = tool();
    record.feedPlaneZ = static_cast<float>(values.feedPlaneZ);
    record.stepOver = static_cast<float>(values.stepOver);
    record.stock = values.stockAllowance;
    record.filter = values.filterTolerance;
    record.zPasses = values.passCount;
    record.zStep = static_cast<float>(values.zStep);
    record.rasterAlongX = values.rasterAlongX;
    record.rasterAlongY = values.rasterAlongY;
    return record;
}

// The stored job into the pages, in the order the pages depend on each
// other: size, origin, depths, NC file, post-processor, tool, cutting values.
void WizardController::applyRecord(const JobRecord& record) {
    afterSizeChange(job_.editPlacement([&record](Placement& placement) {
        return placement.restoreSize(record.workWidth, record.workHeight, record.keepRatio);
    }));
    job_.editPlacement([](Placement& placement) { placement.originEdited(); });
    job_.setWhiteZ(record.whiteZ);
    job_.setBlackZ(record.blackZ);
    // A document keeps the NC file it stored.
    setNcFileName(record.ncFileName);
    loadPost(record.postName);
    job_.setCutter(record.tool);
    CuttingParameters values = cutting();
    values.feedPlaneZ = record.feedPlaneZ;
    values.stepOver = record.stepOver;
    values.stockAllowance = record.stock;
    values.filterTolerance = record.filter;
    values.passCount = record.zPasses;
    values.zStep = record.zStep;
    values.rasterAlongX = record.rasterAlongX;
    values.rasterAlongY = record.rasterAlongY;
    job_.setCutting(values);
    togliAssoc();
    replayOrigin_ = {record.originX, record.originY};
}

// The wizard walked again as far as the cutting parameters, without pauses:
// the relief build runs on the worker and the rest follows when it is done.
void WizardController::replayDocument() {
    applySize();
    nextFromSize();
    if (job_.editPlacement([this](Placement& placement) {
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

bool WizardController::saveDocument(const std::filesystem::path& fileName) {
    if (!hasPicture()) return false;
    try {
        SaveDocument(fileName, picture(), jobRecord());
    } catch (const std::exception& error) {
        report(error.what());
        return false;
    }
    job_.setDocumentFileName(fileName);
    services_.window.showDocumentName(fileName);
    return true;
}

bool WizardController::exportStl(const std::filesystem::path& fileName, StlShape shape) {
    if (!hasPicture()) return false;
    try {
        const ReliefValues values = job_.reliefValues();
        const auto map = job_.reliefOutdated() || !relief() ? BuildRelief(picture(), values) : relief();
        WriteStl(fileName, *map, values, shape);
    } catch (const std::exception& error) {
        report(error.what());
        return false;
    }
    return true;
}

std::filesystem::path WizardController::proposedSaveName() const {
    return ProposedSaveName(documentFileName(), pictureFileName());
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
    job_.setDocumentFileName(fileName);
    return true;
}

}  // namespace calvoro
