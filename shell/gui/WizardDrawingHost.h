// The wizard's hold on the 2D drawing: the picture placed as a bitmap object
// and moved with everything else, the point of the Z no-cut pick, the crop's
// rectangle task, the object snap and the DXF export.
#pragma once

#include "shell/wizard/Job.h"
#include "shell/wizard/WizardServices.h"

namespace calvoro {

class MainLifeCycle;
class TQVCmp2D;
class View2DHost;
struct MainState;

class WizardDrawingHost : public WizardDrawing {
public:
    WizardDrawingHost(TQVCmp2D& cad, View2DHost& view2d, MainLifeCycle& life, MainState& state, const Job& job)
        : cad_(cad), view2d_(view2d), life_(life), state_(state), job_(job) {}

    // The crop's rectangle task runs: each rectangle finished in the view is a pick.
    bool PickingRectangle() const { return pickingRectangle_; }

    bool hasObjects() override;
    void moveAll(double dx, double dy) override;
    void placePicture(const Picture& picture, const ImageInfo& info) override;
    bool hasObject(int id) override;
    void deleteObject(int id) override;
    void setObjectSnap(bool on) override;
    void cancelTask() override;
    void startRectanglePick() override;
    void startPointPick(int id) override;
    void exportDxf(const std::filesystem::path& fileName) override;

private:
    TQVCmp2D& cad_;
    View2DHost& view2d_;
    MainLifeCycle& life_;
    MainState& state_;
    const Job& job_;
    bool pickingRectangle_ = false;
};

}  // namespace calvoro
