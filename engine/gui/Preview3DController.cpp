#include "engine/gui/Preview3DController.h"

#include <cmath>

#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include "engine/gui/Preview3DWidget.h"
#include "engine/preview/CutterSolid.h"

namespace calvoro {

namespace {

constexpr double kWheelZoomFactor = 1.5;
// How often a running relief build is looked at: its progress bar moves and
// its result is taken this often.
constexpr int kBuildPollMilliseconds = 40;

}  // namespace

Preview3DController::Preview3DController(QWidget* container) : QObject(container) {
    widget_ = new Preview3DWidget(*this, container);
    QLayout* layout = container->layout();
    if (!layout) {
        layout = new QVBoxLayout(container);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(widget_);
    buildTimer_ = new QTimer(this);
    buildTimer_->setInterval(kBuildPollMilliseconds);
    connect(buildTimer_, &QTimer::timeout, this, &Preview3DController::checkReliefBuild);
}

Preview3DController::~Preview3DController() {
    // The view draws from this object's camera; it must not outlive it.
    delete widget_;
}

Preview3DWidget* Preview3DController::widget() const {
    return widget_;
}

void Preview3DController::setRelief(std::shared_ptr<const HeightMap> map, const ReliefValues& values) {
    map_ = std::move(map);
    values_ = values;
    rebuildRelief();
}

void Preview3DController::setRelief(const HeightMap& map, const ReliefValues& values) {
    setRelief(std::make_shared<const HeightMap>(map), values);
}

void Preview3DController::clearRelief() {
    map_.reset();
    rebuildRelief();
}

void Preview3DController::setSurfaceMode(SurfaceMode mode) {
    // Choosing a mode always redraws the relief, as the menu always has.
    drawing_.mode = mode;
    rebuildRelief();
}

void Preview3DController::setShadingResolution(ShadingResolution resolution) {
    if (drawing_.resolution == resolution) return;
    drawing_.resolution = resolution;
    rebuildRelief();
}

void Preview3DController::setNoCutZone(bool active, float level, const std::string& toleranceText) {
    ReliefDrawing next = drawing_;
    next.noCutZone = false;
    if (active) {
        const std::optional<float> tolerance = ParseNoCutTolerance(toleranceText);
        if (tolerance) {
            next.noCutZone = true;
            next.noCutLevel = level;
            next.noCutTolerance = *tolerance;
        } else {
            emit problem(tr("The Z no-cut tolerance \"%1\" is not a number of 0 or more; the relief is drawn "
                            "without leaving the zone open.")
                             .arg(QString::fromStdString(toleranceText)));
        }
    }
    if (next.noCutZone == drawing_.noCutZone && next.noCutLevel == drawing_.noCutLevel &&
        next.noCutTolerance == drawing_.noCutTolerance)
        return;
    drawing_ = next;
    rebuildRelief();
}

void Preview3DController::rebuildRelief() {
    if (!map_) {
        builds_.cancel();
        checkReliefBuild();
        widget_->setRelief(nullptr);
        return;
    }
    builds_.start({.map = map_, .values = values_, .drawing = drawing_, .maxSamplesPerAxis = widget_->maxTextureSide()});
    widget_->setBuildProgress(0.0);
    emit reliefProgress(0);
    buildTimer_->start();
}

void Preview3DController::checkReliefBuild() {
    if (std::optional<ReliefMeshResult> result = builds_.take()) {
        if (result->mesh)
            widget_->setRelief(std::move(result->mesh));
        else
            emit problem(tr("The relief could not be drawn: %1").arg(QString::fromStdString(result->failure)));
    }
    if (builds_.pending()) {
        const double progress = builds_.progress();
        widget_->setBuildProgress(progress);
        emit reliefProgress(static_cast<int>(progress * 100.0));
        return;
    }
    // Cancelled builds still running are cleared away by a later look.
    if (builds_.running() == 0) buildTimer_->stop();
    if (widget_->buildProgress() >= 0.0) {
        widget_->setBuildProgress(-1.0);
        emit reliefProgress(-1);
    }
}

void Preview3DController::setCutter(const ToolRecord& tool, double feedPlaneZ) {
    widget_->setCutter(RevolveOutline(CutterOutline(tool)));
    cutterTip_.z = feedPlaneZ;
    widget_->setCutterPosition(cutterTip_);
}

void Preview3DController::moveCutter(double x, double y, double z) {
    cutterTip_ = {x, y, z};
    widget_->setCutterPosition(cutterTip_);
}

void Preview3DController::setToolVisible(bool visible) {
    widget_->setCutterVisible(visible);
}

void Preview3DController::setAxesVisible(bool visible) {
    axesVisible_ = visible;
    widget_->setAxesVisible(visible);
}

bool Preview3DController::axesVisible() const {
    return axesVisible_;
}

void Preview3DController::setWorkBox(Vec3 corner1, Vec3 corner2) {
    boxCorner1_ = corner1;
    boxCorner2_ = corner2;
    hasBox_ = true;
    widget_->setWorkBox(corner1, corner2);
}

void Preview3DController::setAxesScale(double scale) {
    widget_->setAxesScale(scale);
}

void Preview3DController::setBackground(const QColor& colour) {
    widget_->setBackground(colour);
}

void Preview3DController::clearPath() {
    widget_->path().clear();
    widget_->update();
}

void Preview3DController::appendPath(std::span<const PathNode> nodes) {
    if (nodes.empty()) return;
    widget_->path().append(nodes);
    widget_->update();
}

void Preview3DController::showHudText(const QString& text) {
    hudShown_ = true;
    widget_->setHudText(text);
}

void Preview3DController::hideHudText() {
    hudShown_ = false;
    widget_->setHudText(QString());
}

void Preview3DController::standardView(StandardView view) {
    camera_.standardView(view);
    updateCamera();
}

void Preview3DController::zoomToExtents() {
    if (hasBox_) {
        camera_.fitBox(boxCorner1_, boxCorner2_);
    } else if (map_ && !map_->empty()) {
        // No work box yet: fit the relief itself.
        const double x0 = values_.WorkOffsetX;
        const double y0 = values_.WorkOffsetY;
        camera_.fitBox({x0, y0, values_.BlackZ},
                       {x0 + (map_->width() - 1) * double(values_.PixelSize),
                        y0 + (map_->height() - 1) * double(values_.CellSizeY()), values_.WhiteZ});
    } else {
        return;
    }
    updateCamera();
}

void Preview3DController::zoomBy(double factor) {
    camera_.zoom(factor);
    updateCamera();
}

void Preview3DController::wheel(int notches) {
    if (notches == 0) return;
    camera_.zoom(std::pow(kWheelZoomFactor, notches));
    updateCamera();
}

void Preview3DController::setPanMode(bool on) {
    if (on && !panMode_) cameraBeforePan_ = camera_;
    panMode_ = on;
}

void Preview3DController::cancelPan() {
    if (!panMode_) return;
    panMode_ = false;
    camera_ = cameraBeforePan_;
    updateCamera();
}

void Preview3DController::mousePress(int x, int y) {
    navigation_.press(x, y);
    if (hudShown_) hideHudText();
}

void Preview3DController::mouseMove(int x, int y, bool leftHeld, bool shift, bool control) {
    if (navigation_.move(camera_, x, y, leftHeld, shift, control, panMode_)) updateCamera();
}

void Preview3DController::viewResized(int width, int height) {
    camera_.setViewport(width, height);
}

void Preview3DController::updateCamera() {
    widget_->update();
}

}  // namespace calvoro
