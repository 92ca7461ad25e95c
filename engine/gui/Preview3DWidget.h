// The 3D view's renderer: draws what Preview3DController hands it and forwards
// the mouse to it. It holds GPU copies only; every decision about what is
// shown is the controller's.
#pragma once

#include <QColor>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLWidget>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "engine/preview/CutterSolid.h"
#include "engine/preview/PathBuffer.h"
#include "engine/preview/PreviewTypes.h"
#include "engine/preview/ReliefMesh.h"

class QProgressBar;

namespace calvoro {

class Preview3DController;

class Preview3DWidget : public QOpenGLWidget, protected QOpenGLFunctions_3_3_Core {
    Q_OBJECT
public:
    explicit Preview3DWidget(Preview3DController& controller, QWidget* parent = nullptr);
    ~Preview3DWidget() override;

    // The largest sample count per axis the relief texture may have (known once
    // the view has been shown; a safe guess before).
    int maxTextureSide() const { return maxTextureSide_; }

    // The relief to draw from the next paint on; its heights go up to the
    // graphics memory once. Null: no relief.
    void setRelief(std::shared_ptr<const ReliefMesh> mesh);
    bool hasRelief() const { return relief_ != nullptr; }
    // A relief is being built: from 0 to 1 it shows as a bar along the foot
    // of the view (over the relief drawn so far) with a busy cursor; below 0
    // both go.
    void setBuildProgress(double fraction);
    double buildProgress() const { return buildProgress_; }
    // Cells of the relief drawn by the last paint (fewer than the relief has
    // where a cell would be smaller than a pixel or lies outside the view).
    long long reliefCellsDrawn() const { return reliefCellsDrawn_; }
    void setCutter(const SolidMesh& mesh);
    void setCutterPosition(Vec3 tip);
    void setCutterVisible(bool visible);
    void setAxesVisible(bool visible);
    void setAxesScale(double scale);
    void setWorkBox(Vec3 corner1, Vec3 corner2);
    void setBackground(const QColor& colour);
    PathBuffer& path() { return path_; }
    void setHudText(const QString& text);  // empty: hidden

    // The first GL error seen while drawing (GL_NO_ERROR when none).
    unsigned lastGlError() const { return lastGlError_; }

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Gpu;

    void uploadPending();
    void drawRelief(const std::array<float, 16>& viewProjection);
    void drawHud();
    void drawSolid(unsigned vao, int vertexCount, const std::array<float, 16>& viewProjection,
                   const std::array<float, 16>& model, const QColor& colour);
    void drawLines(unsigned vao, int first, int count, bool perVertexColour,
                   const std::array<float, 16>& viewProjection, const QColor& colour);
    void releaseGl();
    void noteGlError();

    Preview3DController& controller_;
    int wheelRest_ = 0;  // eighths of a degree short of a whole notch
    std::unique_ptr<Gpu> gpu_;
    std::shared_ptr<const ReliefMesh> relief_;
    bool reliefDirty_ = false;
    long long reliefCellsDrawn_ = 0;
    double buildProgress_ = -1.0;
    QProgressBar* progressBar_ = nullptr;
    SolidMesh cutter_;
    bool cutterDirty_ = false;
    Vec3 cutterTip_;
    bool cutterVisible_ = true;
    bool axesVisible_ = true;
    double axesScale_ = 1.0;
    std::vector<float> box_;
    bool boxDirty_ = false;
    PathBuffer path_;
    QColor background_{128, 128, 128};
    QString hudText_;
    int maxTextureSide_ = 8192;
    unsigned lastGlError_ = 0;
};

}  // namespace calvoro
