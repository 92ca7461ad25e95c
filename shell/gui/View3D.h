// The 3D view as the main window sees it: a widget in the view stack that is
// given the relief, the work box and the background colour. The renderer
// behind it is the engine's; tests use a stub.
#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <memory>
#include <span>

#include "engine/nc/NcSimulation.h"
#include "engine/picture/ImageInfo.h"
#include "engine/tools/ToolRecord.h"

class QWidget;

namespace calvoro {

class HeightMap;
struct ReliefValues;
struct WorkBox;

class View3D {
public:
    enum class Surface { Shaded, Wire, None };
    enum class Standard { Top, Front, Side, Iso };

    virtual ~View3D() = default;
    virtual QWidget* widget() = 0;
    virtual void setBackgroundColor(const QColor& color) = 0;
    // A new relief: the mesh is rebuilt from it. The view shares the map.
    virtual void setRelief(std::shared_ptr<const HeightMap> map, const ReliefValues& values) = 0;
    virtual void setWorkBox(const WorkBox& box) = 0;
    // No relief drawn until the next setRelief (a new picture has none yet).
    virtual void clearRelief() {}
    // Forgets the tool path drawn so far.
    virtual void clearPath() = 0;
    virtual void setSurface(Surface surface) = 0;
    virtual void setToolVisible(bool visible) = 0;
    virtual void setAxesVisible(bool visible) = 0;
    virtual void standardView(Standard view) = 0;
    // The zoom buttons: the scene scale times factor.
    virtual void zoomBy(double factor) { (void)factor; }
    // The whole work box in sight again (the autozoom).
    virtual void zoomToWorkBox() {}
    // While on (the pan command), a left drag pans the view.
    virtual void setPanMode(bool on) { (void)on; }
    // The pan left with Esc or Cancel: the view as it was when the pan began,
    // and the pan mode off.
    virtual void cancelPan() { setPanMode(false); }
    // The simulated program: coloured nodes added to the path, the cutter
    // following it and parked at the feed plane, and the text line at the foot
    // of the view. A view that draws no path ignores them.
    virtual void appendPath(std::span<const SimNode> nodes) { (void)nodes; }
    // The cutter's solid made anew from its record, its tip on the feed plane.
    virtual void setCutter(const ToolRecord& tool, float feedPlaneZ) { (void)tool, (void)feedPlaneZ; }
    virtual void moveCutter(float x, float y, float z) { (void)x, (void)y, (void)z; }
    virtual void parkCutter(float feedPlaneZ) { (void)feedPlaneZ; }
    virtual void setHudText(const QString& text) { (void)text; }
    // How densely the next relief is drawn, and the Z no-cut zone left open
    // in it. A view that draws no mesh ignores them.
    virtual void setShadingResolution(ShadingResolution resolution) { (void)resolution; }
    virtual void setNoCutZone(bool active, float level, float tolerance) { (void)active, (void)level, (void)tolerance; }
};

using View3DFactory = std::function<std::unique_ptr<View3D>(QWidget* parent)>;

// Until the renderer is in place: the relief seen from above in grey levels,
// black at the depth of black and white at the depth of white.
std::unique_ptr<View3D> MakeReliefTopView(QWidget* parent);

}  // namespace calvoro
