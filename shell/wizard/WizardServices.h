// What the wizard needs from the window around it: the pages and their
// controls, the 3D view, the 2D drawing and the dialogs. What shows the job
// itself (relief, work box, path, NC page) follows the Job instead. The Qt
// window implements these; tests give fakes. Every call here is made by the
// controller; a service never calls the controller back from inside one (a
// page shown by code runs no handler of the user's).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/picture/ImageInfo.h"
#include "engine/picture/Picture.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "shell/wizard/Job.h"

namespace calvoro {

// The wizard's buttons whose enabled state the controller decides.
enum class WizardControl {
    NextB1,        // page 44 Next
    DimApply,      // page 44 size apply
    NextB2,        // page 45 Next
    OrigineApply,  // page 45 typed origin apply
    ProfApply,     // page 46 depth apply
    NextB3,        // page 46 Next
    NextB4,        // page 47 Next (needs an NC file)
    NextB6,        // page 49 Next (needs a current program)
    NcCalc,        // page 49 compute
    CutSel,        // page 43 crop (needs a picked rectangle)
    Save,          // tool bar save
    ZncControls,   // the Z no-cut button, tolerance edit, label and regenerate
};

// The fields of the cutting-parameter page, for their help pictures and for
// naming a value that cannot be used.
enum class CuttingField { FeedPlane, StepOver, Stock, PassCount, ZStep, Filter, ZncGroup };

class WizardWindow {
public:
    virtual ~WizardWindow() = default;
    // Makes the page current without running the page-change handlers of the
    // user; with status, the status line shows the page's message.
    virtual void showPage(int page, bool withStatus) = 0;
    // The status line shows the message of that page (the page stays).
    virtual void showStatus(int pageMessage) = 0;
    virtual void setEnabled(WizardControl control, bool enabled) = 0;
    virtual void showSize(const std::string& width, const std::string& height) = 0;
    virtual void showOrigin(const std::string& x, const std::string& y) = 0;
    virtual void showCheckedCorner(int corner) = 0;  // 0: none checked
    virtual void showShading(ShadingResolution resolution) = 0;
    virtual void showHelpPicture(int resource) = 0;
    virtual void showZncCaption(const std::string& caption) = 0;
    virtual void showPostList(const std::vector<std::string>& names, const std::string& current,
                              const std::string& comment) = 0;
    // The crop's selection on the picture-editing page; none: the read-outs empty.
    virtual void showCropSelection(const std::optional<CutInfo>& cut) = 0;
    // The caption of a field of the cutting-parameter page, as the page shows it.
    virtual std::string fieldCaption(CuttingField field) = 0;
    virtual void showDocumentName(const std::filesystem::path& file) = 0;  // the caption
};

class WizardView3D {
public:
    virtual ~WizardView3D() = default;
    // On: the 3D view replaces the 2D view and its view buttons are enabled.
    // The relief, the work box and the computed path follow the job by
    // themselves; these are the steps' own requests.
    virtual void set3DMode(bool on) = 0;
    // The surface is drawn again, with the holes of the zone.
    virtual void redrawSurface(const ZncFilter& filter) = 0;
    virtual void autozoom() = 0;
    // The cutter moved out of sight (the program page is reached).
    virtual void hideCutter() = 0;
    // The cutter's model: hidden, or made from the chosen cutter and shown as
    // the Show-cutter switch says.
    virtual void showCutter(bool shown) = 0;
};

class WizardDrawing {
public:
    virtual ~WizardDrawing() = default;
    virtual bool hasObjects() = 0;
    // Every object, the picture too, moved; the view pans with it.
    virtual void moveAll(double dx, double dy) = 0;
    // The drawing cleared and the picture placed at the record's origin and size.
    virtual void placePicture(const Picture& picture, const ImageInfo& info) = 0;
    virtual bool hasObject(int id) = 0;
    virtual void deleteObject(int id) = 0;
    virtual void setObjectSnap(bool on) = 0;
    virtual void cancelTask() = 0;
    // The rectangle task of the crop; its end calls rectanglePicked.
    virtual void startRectanglePick() = 0;
    // The point task of the Z no-cut level: a point with this ID; its end
    // calls zncPointPicked.
    virtual void startPointPick(int id) = 0;
    // The drawing as a DXF file (ExportDrawingDxf); throws when it cannot.
    virtual void exportDxf(const std::filesystem::path& fileName) = 0;
};

class WizardDialogs {
public:
    virtual ~WizardDialogs() = default;
    // The NC file dialog, proposing the picture's name; empty for Cancel.
    virtual std::optional<std::filesystem::path> askNcFileName() = 0;
    // Whether the drawing may be discarded for a new picture.
    virtual bool confirmDiscard() = 0;
    virtual void showMessage(const std::string& text) = 0;
};

struct WizardServices {
    WizardWindow& window;
    WizardView3D& view3d;
    WizardDrawing& drawing;
    WizardDialogs& dialogs;
};

}  // namespace calvoro
