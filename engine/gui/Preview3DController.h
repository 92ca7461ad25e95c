// The 3D view's state and handlers: the relief and how it is drawn, the
// cutter, the work box, the path, the text line and the camera. The main
// window owns one, hands it the page that shows the view, and calls it from its
// menus, buttons and the engine's results; the widget it creates only draws.
#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <span>
#include <string>

#include "engine/preview/OrthoCamera.h"
#include "engine/preview/PreviewTypes.h"
#include "engine/preview/ReliefGrid.h"
#include "engine/preview/ReliefMeshWorker.h"
#include "engine/preview/ViewNavigation.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "engine/tools/ToolRecord.h"

class QTimer;
class QWidget;

namespace calvoro {

class Preview3DWidget;

class Preview3DController : public QObject {
    Q_OBJECT
public:
    // Creates the view inside `container` (filling it through a layout). The
    // controller is a child of the container and goes with it.
    explicit Preview3DController(QWidget* container);
    ~Preview3DController() override;

    Preview3DWidget* widget() const;

    // --- the relief ---------------------------------------------------------
    // A new or rebuilt height map and the values that place it; the mesh is
    // rebuilt only here, or when a drawing setting below changes. It is built
    // on a thread of its own with its progress shown in the view, which keeps
    // drawing the relief it had until the new one is ready; a newer change
    // cancels a build that has not finished.
    void setRelief(std::shared_ptr<const HeightMap> map, const ReliefValues& values);
    // The same for a map the caller keeps changing: the view keeps a copy.
    void setRelief(const HeightMap& map, const ReliefValues& values);
    // The map is outdated or gone (a new picture, a crop, ...): no relief is
    // drawn until the next setRelief.
    void clearRelief();
    void setSurfaceMode(SurfaceMode mode);                    // mnuSPShade / mnuSPWire / mnuSPNone
    void setShadingResolution(ShadingResolution resolution);  // rbtShResCoarse / Medium / Fine
    // The Z no-cut zone: while it is on, the relief leaves open the flat parts
    // within `toleranceText` of `level`. The tolerance is read only while the
    // zone is on; text that is not a number >= 0 is reported through
    // problem() and the relief is drawn without holes.
    void setNoCutZone(bool active, float level, const std::string& toleranceText);

    // --- scene objects ------------------------------------------------------
    // The cutter solid from the tool's fields, standing with its tip on the
    // feed plane.
    void setCutter(const ToolRecord& tool, double feedPlaneZ);
    void moveCutter(double x, double y, double z);  // tip position
    void setToolVisible(bool visible);              // mnuShowTool
    void setAxesVisible(bool visible);              // mnuShowXYZ
    bool axesVisible() const;
    // The box of the work extent, corner to corner, and the length of the axes.
    void setWorkBox(Vec3 corner1, Vec3 corner2);
    void setAxesScale(double scale);
    void setBackground(const QColor& colour);

    // --- the path -----------------------------------------------------------
    void clearPath();
    void appendPath(std::span<const PathNode> nodes);  // cheap: only the new tail is uploaded

    // --- the text line with the machining time ------------------------------
    void showHudText(const QString& text);
    void hideHudText();

    // --- the camera ---------------------------------------------------------
    void standardView(StandardView view);  // sbtTopView / sbtFrontView / sbtSideView / sbtIsoView
    void zoomToExtents();                  // fits the work box
    void zoomBy(double factor);            // the 3D zoom buttons
    // The wheel, in notches (positive away from the user): each zooms in or
    // out by a factor of 1.5, so a notch back undoes one forth.
    void wheel(int notches);
    // While on (the main window's pan command), a left drag pans without Shift.
    void setPanMode(bool on);
    // The pan left with Esc or Cancel: the camera as it was when the pan began.
    void cancelPan();

    // Mouse input, forwarded by the widget (pixel coordinates, y down).
    void mousePress(int x, int y);
    void mouseMove(int x, int y, bool leftHeld, bool shift, bool control);

    // The widget's drawing area changed size.
    void viewResized(int width, int height);

    const OrthoCamera& camera() const { return camera_; }
    const ReliefDrawing& reliefDrawing() const { return drawing_; }
    // Whether a relief is being built for the view.
    bool reliefBuilding() const { return builds_.pending(); }

signals:
    // A setting could not be used; the text is for the user.
    void problem(const QString& message);
    // The relief being built, in percent; -1 when it is ready (or dropped).
    void reliefProgress(int percent);

private:
    friend class Preview3DWidget;  // asks for a rebuild once it knows its texture limit
    void rebuildRelief();
    void checkReliefBuild();
    void updateCamera();

    QPointer<Preview3DWidget> widget_;
    std::shared_ptr<const HeightMap> map_;
    ReliefValues values_;
    ReliefDrawing drawing_;
    ReliefMeshWorker builds_;
    QTimer* buildTimer_ = nullptr;
    OrthoCamera camera_;
    ViewNavigation navigation_;
    Vec3 boxCorner1_;
    Vec3 boxCorner2_;
    bool hasBox_ = false;
    Vec3 cutterTip_;
    bool hudShown_ = false;
    bool panMode_ = false;
    OrthoCamera cameraBeforePan_;
    bool axesVisible_ = true;
};

}  // namespace calvoro
