#include "shell/wizard/PictureEditStep.h"

#include <exception>
#include <utility>

#include "engine/picture/PictureEdits.h"
#include "shell/app/Pages.h"

namespace calvoro {

void PictureEditStep::dropSelection() {
    rectangleReady_ = false;
    w_.services.window.showCropSelection(std::nullopt);
}

void PictureEditStep::modify() {
    w_.showPage(page::kDistance);
    w_.services.drawing.setObjectSnap(true);
    w_.services.drawing.startRectanglePick();
    rectangleReady_ = false;
    w_.services.window.showCropSelection(std::nullopt);
    w_.setEnabled(WizardControl::CutSel, false);
}

void PictureEditStep::rectanglePicked(const CutInfo& cut) {
    if (!w_.job.hasPicture()) return;
    cut_ = cut;
    rectangleReady_ = true;
    w_.services.window.showCropSelection(cut);
    w_.setEnabled(WizardControl::CutSel, true);
}

void PictureEditStep::rectangleRestarted() {
    rectangleReady_ = false;
    w_.setEnabled(WizardControl::CutSel, false);
}

void PictureEditStep::afterPictureEdit() {
    w_.togliAssoc();
    w_.placePictureAgain();
}

void PictureEditStep::editPicture(const std::function<void(Picture&, Placement&)>& change) {
    if (!w_.job.hasPicture()) return;
    w_.setEnabled(WizardControl::CutSel, false);
    w_.job.editPicture(change);
    afterPictureEdit();
}

void PictureEditStep::flipVertical() {
    editPicture([](Picture& picture, Placement&) { FlipBitmapVertical(picture); });
}

void PictureEditStep::flipHorizontal() {
    editPicture([](Picture& picture, Placement&) { FlipBitmapHorizontal(picture); });
}

void PictureEditStep::rotate() {
    editPicture([](Picture& picture, Placement& placement) {
        RotateBitmap90(picture);
        // The sizes exchange; the origin goes back on the corner the user chose.
        placement.pictureRotated();
    });
}

void PictureEditStep::crop() {
    if (!w_.job.hasPicture() || !rectangleReady_) return;
    Picture cropped;
    CropPlan plan;
    try {
        // Columns and rows at the sizes the relief gives them: pixels need not
        // be square when the sizes do not keep the picture's ratio.
        const ReliefValues cells = w_.job.reliefValues();
        plan = ComputeCrop(w_.job.info(), cut_, cells.PixelSize, cells.CellSizeY());
        cropped = CropBitmap(w_.job.picture(), plan.pixels.left, plan.pixels.top, plan.pixels.width,
                             plan.pixels.height);
    } catch (const std::exception& error) {
        w_.report(error.what());
        return;
    }
    rectangleReady_ = false;
    w_.services.window.showCropSelection(std::nullopt);
    w_.setEnabled(WizardControl::CutSel, false);
    w_.job.editPicture([&](Picture& picture, Placement& placement) {
        picture = std::move(cropped);
        placement.pictureCropped(plan.image);
    });
    afterPictureEdit();
}

void PictureEditStep::convertToGrey() {
    editPicture([](Picture& picture, Placement&) { MakeGrayBitmap8(picture); });
}

void PictureEditStep::nextFromEdit() {
    w_.services.drawing.cancelTask();
    w_.services.drawing.setObjectSnap(false);
    w_.showPage(page::kSize);
}

}  // namespace calvoro
