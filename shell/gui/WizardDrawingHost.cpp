#include "shell/gui/WizardDrawingHost.h"

#include <cstdint>
#include <memory>

#include "engine/picture/PictureFile.h"
#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Matrix2D.h"
#include "kernel/program/TQVPrg2D.h"
#include "kernel/tasks/QV2DTasks.h"
#include "kernel/view/TQVViewport2D.h"
#include "shell/app/MainState.h"
#include "shell/gui/MainLifeCycle.h"
#include "shell/gui/View2DHost.h"
#include "shell/wizard/DrawingTransforms.h"
#include "shell/wizard/ExportCommands.h"
#include "shell/wizard/WizardContext.h"

namespace calvoro {

bool WizardDrawingHost::hasObjects() {
    return cad_.ObjectCount() > 0;
}

void WizardDrawingHost::moveAll(double dx, double dy) {
    // The view goes with them: the picture stays where it was on the screen.
    MoveAllKeepingView(cad_, view2d_.Viewport(), dx, dy);
    cad_.RepaintViewports();
}

void WizardDrawingHost::placePicture(const Picture& picture, const ImageInfo& info) {
    life_.PlaceImageBitmap(picture, info, true);
    view2d_.ZoomToDrawing();
    life_.AggAlbero(job_.pictureFileName().string(), BitDepthText(picture.sourceBitCount), picture.width, picture.height,
                    picture.dpiX);
}

bool WizardDrawingHost::hasObject(int id) {
    return cad_.FindObject(id) != nullptr;
}

void WizardDrawingHost::deleteObject(int id) {
    cad_.DeleteObject(id);
    cad_.RepaintViewports();
}

void WizardDrawingHost::setObjectSnap(bool on) {
    view2d_.SetObjectSnapActive(on);
}

void WizardDrawingHost::cancelTask() {
    pickingRectangle_ = false;
    view2d_.Program().StopOperation();
}

void WizardDrawingHost::startRectanglePick() {
    // The task's end comes back through CropRectanglePicked.
    pickingRectangle_ = true;
    view2d_.Program().StartOperation(TSCSelRett::Class, std::make_unique<TSCSelRettParam>(nullptr));
}

void WizardDrawingHost::startPointPick(int id) {
    state_.ActiveCommand = kZncPickMode;
    auto point = std::make_unique<TPunto2D>(id, MakePoint2D(0.0, 0.0));
    view2d_.Program().StartOperation(TQV2D_DrawSizedPrimitive::Class,
                                     std::make_unique<TQV2D_DrawSizedPrimitiveParam>(nullptr, std::move(point), 0,
                                                                                     false));
}

void WizardDrawingHost::exportDxf(const std::filesystem::path& fileName) {
    ExportDrawingDxf(fileName, cad_);
}

}  // namespace calvoro
