// Page 43, reached by Modify on the size page: the picture flipped, turned,
// turned grey, or cropped to a rectangle picked in the drawing. Every edit
// drops the crop's selection, outdates relief and program and places the
// picture again.
#pragma once

#include <functional>
#include <optional>

#include "shell/wizard/WizardContext.h"

namespace calvoro {

class PictureEditStep {
public:
    explicit PictureEditStep(WizardContext& wizard) : w_(wizard) {}

    void modify();
    void flipVertical();
    void flipHorizontal();
    void rotate();
    void rectanglePicked(const CutInfo& cut);
    // Another rectangle has been started: the one picked before no longer counts.
    void rectangleRestarted();
    void crop();
    void convertToGrey();
    void nextFromEdit();  // Next on page 43
    // Another picture, or none: the selection of the last one is shown no more.
    void dropSelection();

private:
    void editPicture(const std::function<void(Picture&, Placement&)>& change);
    void afterPictureEdit();

    WizardContext& w_;
    CutInfo cut_;
    bool rectangleReady_ = false;
};

}  // namespace calvoro
