// The program's 3D view: the engine's OpenGL preview behind the main window's
// view interface.
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWidget>
#include <string>
#include <vector>

#include "engine/gui/Preview3DController.h"
#include "shell/app/WorkBox.h"
#include "shell/gui/PreviewView3D.h"
#include "shell/gui/View3D.h"

namespace calvoro {

namespace {

class PreviewView3D : public View3D {
public:
    // The controller lays its view into a holder of its own, which the main
    // window then places in its 3D page.
    explicit PreviewView3D(QWidget* parent)
        : holder_(new QWidget(parent)), controller_(new Preview3DController(holder_)) {}

    QWidget* widget() override { return holder_; }
    void setBackgroundColor(const QColor& color) override { controller_->setBackground(color); }
    void clearRelief() override { controller_->clearRelief(); }
    void setRelief(std::shared_ptr<const HeightMap> map, const ReliefValues& values) override {
        controller_->setRelief(std::move(map), values);
    }
    void setWorkBox(const WorkBox& box) override {
        const Vec3 centre{box.CentreX, box.CentreY, box.CentreZ};
        const Vec3 half{box.SizeX / 2.0, box.SizeY / 2.0, box.SizeZ / 2.0};
        controller_->setWorkBox(centre - half, centre + half);
        controller_->setAxesScale(box.AxisScale);
        // A new box means a new picture or placement: show all of it.
        controller_->zoomToExtents();
    }
    void clearPath() override { controller_->clearPath(); }
    void setSurface(Surface surface) override {
        controller_->setSurfaceMode(surface == Surface::Shaded ? SurfaceMode::Shade
                                    : surface == Surface::Wire ? SurfaceMode::Wire
                                                               : SurfaceMode::None);
    }
    void setToolVisible(bool visible) override { controller_->setToolVisible(visible); }
    void setAxesVisible(bool visible) override { controller_->setAxesVisible(visible); }
    void standardView(Standard view) override {
        switch (view) {
            case Standard::Top:
                controller_->standardView(StandardView::Top);
                break;
            case Standard::Front:
                controller_->standardView(StandardView::Front);
                break;
            case Standard::Side:
                controller_->standardView(StandardView::Side);
                break;
            case Standard::Iso:
                controller_->standardView(StandardView::Iso);
                break;
        }
    }
    void zoomBy(double factor) override { controller_->zoomBy(factor); }
    void zoomToWorkBox() override { controller_->zoomToExtents(); }
    void setPanMode(bool on) override { controller_->setPanMode(on); }
    void cancelPan() override { controller_->cancelPan(); }

    void appendPath(std::span<const SimNode> nodes) override {
        std::vector<PathNode> path;
        path.reserve(nodes.size());
        for (const SimNode& node : nodes)
            path.push_back({node.x, node.y, node.z, node.colour[0], node.colour[1], node.colour[2]});
        controller_->appendPath(path);
    }
    void setCutter(const ToolRecord& tool, float feedPlaneZ) override { controller_->setCutter(tool, feedPlaneZ); }
    void moveCutter(float x, float y, float z) override { controller_->moveCutter(x, y, z); }
    // Far beside the work, where no view of it reaches.
    void parkCutter(float feedPlaneZ) override { controller_->moveCutter(9999.0, 9999.0, feedPlaneZ); }
    void setHudText(const QString& text) override {
        if (text.isEmpty())
            controller_->hideHudText();
        else
            controller_->showHudText(text);
    }

    void setShadingResolution(ShadingResolution resolution) override {
        controller_->setShadingResolution(resolution);
    }
    void setNoCutZone(bool active, float level, float tolerance) override {
        controller_->setNoCutZone(active, level, std::to_string(tolerance));
    }

private:
    QWidget* holder_;
    Preview3DController* controller_;
};

}  // namespace

std::unique_ptr<View3D> MakeProgramView3D(QWidget* parent) {
    // A display without OpenGL 3.3 (a remote or headless one) gets the flat
    // view instead of a renderer that cannot start.
    QOpenGLContext probe;
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    probe.setFormat(format);
    if (!probe.create() || probe.format().version() < qMakePair(3, 3)) return MakeReliefTopView(parent);
    return std::make_unique<PreviewView3D>(parent);
}

}  // namespace calvoro
