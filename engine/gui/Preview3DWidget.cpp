#include "engine/gui/Preview3DWidget.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <QOpenGLShaderProgram>
#include <QPainter>
#include <QProgressBar>
#include <QSurfaceFormat>

#include "engine/gui/Preview3DController.h"
#include "engine/preview/SceneShapes.h"

namespace calvoro {

namespace {

// The relief has no vertex buffer: it is drawn patch by patch, each patch as
// one triangle strip per column of cells, whose corners are generated from the
// vertex and instance numbers and looked up in the height texture (texel
// (j, i) holds sample (i, j)). Far from the relief only every stride-th sample
// is drawn (and always the last, on the edge). Each triangle's last vertex
// lies on the row where its cell ends and tells, flat, whether the cell is
// left open for the no-cut zone.
const char* const kReliefVertex = R"(#version 330 core
uniform sampler2D heights;
uniform ivec2 patchOrigin;
uniform int stride;
uniform ivec2 lastSample;
uniform ivec2 steps;
uniform ivec2 lastPixel;
uniform vec4 placement;
uniform vec2 ramp;
uniform bool noCutZone;
uniform float noCutLevel;
uniform float noCutTolerance;
uniform mat4 viewProjection;
out float grey;
out vec3 world;
noperspective out vec2 gridPosition;
flat out float open;
void main() {
    int column = patchOrigin.x + gl_InstanceID;
    ivec2 thinned = ivec2(column + (gl_VertexID & 1), patchOrigin.y + (gl_VertexID >> 1));
    ivec2 sample = min(thinned * stride, lastSample);
    float z = texelFetch(heights, sample.yx, 0).r;
    open = 0.0;
    if (noCutZone) {
        int farColumn = min((column + 1) * stride, lastSample.x);
        float far = texelFetch(heights, ivec2(sample.y, farColumn), 0).r;
        if (abs(far - noCutLevel) <= noCutTolerance) open = 1.0;
    }
    ivec2 pixel = min(sample * steps, lastPixel);
    world = vec3(vec2(pixel) * placement.xw + placement.yz, z);
    gl_Position = viewProjection * vec4(world, 1.0);
    grey = clamp(z * ramp.x + ramp.y, 0.0, 1.0);
    gridPosition = vec2(thinned);
})";

// Shade: the colour ramp, darkened where the surface turns away from the
// viewer so slopes read as slopes. Wire: only the quads' own edges, not the
// diagonals between their two triangles.
const char* const kReliefFragment = R"(#version 330 core
in float grey;
in vec3 world;
noperspective in vec2 gridPosition;
flat in float open;
uniform bool wire;
uniform vec3 viewDirection;
out vec4 colour;
void main() {
    if (open > 0.5) discard;
    vec3 base = vec3(grey, grey, 1.0);
    if (wire) {
        vec2 inQuad = fract(gridPosition);
        vec2 edge = min(inQuad, 1.0 - inQuad);
        vec2 width = 1.5 * fwidth(gridPosition);
        if (edge.x > width.x && edge.y > width.y) discard;
        colour = vec4(base, 1.0);
        return;
    }
    vec3 normal = normalize(cross(dFdx(world), dFdy(world)));
    colour = vec4(base * (0.45 + 0.55 * abs(dot(normal, viewDirection))), 1.0);
})";

const char* const kSolidVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
uniform mat4 viewProjection;
uniform mat4 model;
out vec3 worldNormal;
void main() {
    worldNormal = mat3(model) * normal;
    gl_Position = viewProjection * model * vec4(position, 1.0);
})";

const char* const kSolidFragment = R"(#version 330 core
in vec3 worldNormal;
uniform vec3 tint;
uniform vec3 viewDirection;
out vec4 colour;
void main() {
    float light = abs(dot(normalize(worldNormal), viewDirection));
    colour = vec4(tint * (0.35 + 0.65 * light), 1.0);
})";

// Lines: the path takes each segment's colour from the node it ends at.
const char* const kLineVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 nodeColour;
uniform mat4 viewProjection;
uniform bool perVertexColour;
uniform vec3 tint;
flat out vec3 lineColour;
void main() {
    lineColour = perVertexColour ? nodeColour : tint;
    gl_Position = viewProjection * vec4(position, 1.0);
})";

const char* const kLineFragment = R"(#version 330 core
flat in vec3 lineColour;
out vec4 colour;
void main() { colour = vec4(lineColour, 1.0); })";

using Matrix = std::array<float, 16>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[column * 4 + k];
            product[column * 4 + row] = sum;
        }
    return product;
}

// Scale, then the columns of a rotation given as three axis images, then a
// move.
Matrix Placement(Vec3 xImage, Vec3 yImage, Vec3 zImage, double scale, Vec3 move) {
    const auto f = [](double v) { return static_cast<float>(v); };
    return {f(xImage.x * scale), f(xImage.y * scale), f(xImage.z * scale), 0.0f,
            f(yImage.x * scale), f(yImage.y * scale), f(yImage.z * scale), 0.0f,
            f(zImage.x * scale), f(zImage.y * scale), f(zImage.z * scale), 0.0f,
            f(move.x),           f(move.y),           f(move.z),           1.0f};
}

QVector3D ToQt(Vec3 v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

}  // namespace

struct Preview3DWidget::Gpu {
    QOpenGLShaderProgram relief;
    QOpenGLShaderProgram solid;
    QOpenGLShaderProgram lines;
    GLuint emptyVao = 0;  // the relief draws without attributes
    GLuint heightTexture = 0;
    GLuint cutterVao = 0, cutterBuffer = 0;
    int cutterVertices = 0;
    GLuint arrowVao = 0, arrowBuffer = 0;
    int arrowVertices = 0;
    GLuint ballVao = 0, ballBuffer = 0;
    int ballVertices = 0;
    GLuint boxVao = 0, boxBuffer = 0;
    GLuint pathVao = 0, pathBuffer = 0;
};

Preview3DWidget::Preview3DWidget(Preview3DController& controller, QWidget* parent)
    : QOpenGLWidget(parent), controller_(controller) {
    setObjectName("GLViewPort");
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    setFormat(format);
    setMinimumSize(64, 64);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName("ReliefProgressBar");
    progressBar_->setRange(0, 100);
    progressBar_->setFormat(tr("Building the relief: %p %"));
    progressBar_->hide();
}

Preview3DWidget::~Preview3DWidget() {
    // The base class destroys the context after this object is gone; its
    // signal must not reach us then.
    if (context()) disconnect(context(), nullptr, this, nullptr);
    releaseGl();
}

void Preview3DWidget::setRelief(std::shared_ptr<const ReliefMesh> mesh) {
    relief_ = std::move(mesh);
    reliefDirty_ = true;
    update();
}

void Preview3DWidget::setBuildProgress(double fraction) {
    // The bar is a widget of its own over the view: moving it does not draw
    // the relief again.
    if (fraction >= 0.0) {
        progressBar_->setValue(static_cast<int>(fraction * 100.0));
        if (buildProgress_ < 0.0) {
            setCursor(Qt::BusyCursor);
            progressBar_->show();
        }
    } else if (buildProgress_ >= 0.0) {
        unsetCursor();
        progressBar_->hide();
    }
    buildProgress_ = fraction;
}

void Preview3DWidget::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
    progressBar_->setGeometry(8, height() - 24, std::max(0, width() - 16), 16);
}

void Preview3DWidget::setCutter(const SolidMesh& mesh) {
    cutter_ = mesh;
    cutterDirty_ = true;
    update();
}

void Preview3DWidget::setCutterPosition(Vec3 tip) {
    cutterTip_ = tip;
    update();
}

void Preview3DWidget::setCutterVisible(bool visible) {
    cutterVisible_ = visible;
    update();
}

void Preview3DWidget::setAxesVisible(bool visible) {
    axesVisible_ = visible;
    update();
}

void Preview3DWidget::setAxesScale(double scale) {
    axesScale_ = scale;
    update();
}

void Preview3DWidget::setWorkBox(Vec3 corner1, Vec3 corner2) {
    box_ = BoxEdges(corner1, corner2);
    boxDirty_ = true;
    update();
}

void Preview3DWidget::setBackground(const QColor& colour) {
    background_ = colour;
    update();
}

void Preview3DWidget::setHudText(const QString& text) {
    hudText_ = text;
    update();
}

void Preview3DWidget::initializeGL() {
    if (!initializeOpenGLFunctions()) {
        // Without OpenGL 3.3 the view stays empty; the rest of the program works on.
        emit controller_.problem(tr("The 3D view needs OpenGL 3.3, which this display does not offer."));
        return;
    }
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &Preview3DWidget::releaseGl);
    gpu_ = std::make_unique<Gpu>();
    const auto build = [](QOpenGLShaderProgram& program, const char* vertex, const char* fragment) {
        program.addShaderFromSourceCode(QOpenGLShader::Vertex, vertex);
        program.addShaderFromSourceCode(QOpenGLShader::Fragment, fragment);
        if (!program.link()) qWarning("3D view shader: %s", qPrintable(program.log()));
    };
    build(gpu_->relief, kReliefVertex, kReliefFragment);
    build(gpu_->solid, kSolidVertex, kSolidFragment);
    build(gpu_->lines, kLineVertex, kLineFragment);

    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    const int previousLimit = maxTextureSide_;
    if (maxSide > 0) maxTextureSide_ = maxSide;

    glGenVertexArrays(1, &gpu_->emptyVao);
    glGenTextures(1, &gpu_->heightTexture);
    const auto solidBuffers = [this](GLuint& vao, GLuint& buffer) {
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &buffer);
        glBindVertexArray(vao);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float), nullptr);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 6 * sizeof(float), reinterpret_cast<void*>(3 * sizeof(float)));
    };
    solidBuffers(gpu_->cutterVao, gpu_->cutterBuffer);
    solidBuffers(gpu_->arrowVao, gpu_->arrowBuffer);
    solidBuffers(gpu_->ballVao, gpu_->ballBuffer);
    solidBuffers(gpu_->pathVao, gpu_->pathBuffer);  // a path node is x y z r g b as well
    glGenVertexArrays(1, &gpu_->boxVao);
    glGenBuffers(1, &gpu_->boxBuffer);
    glBindVertexArray(gpu_->boxVao);
    glBindBuffer(GL_ARRAY_BUFFER, gpu_->boxBuffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 3 * sizeof(float), nullptr);
    glBindVertexArray(0);

    const auto fill = [this](GLuint buffer, const SolidMesh& mesh, int& count) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.vertices.size() * sizeof(float)),
                     mesh.vertices.data(), GL_STATIC_DRAW);
        count = mesh.vertexCount();
    };
    fill(gpu_->arrowBuffer, AxisArrow(), gpu_->arrowVertices);
    fill(gpu_->ballBuffer, AxisBall(), gpu_->ballVertices);

    // Everything held on the CPU goes up on the first paint; a context can
    // also be created anew when the widget changes its window.
    reliefDirty_ = cutterDirty_ = boxDirty_ = true;
    path_.resetUpload();
    noteGlError();
    if (maxTextureSide_ < previousLimit) controller_.rebuildRelief();
}

void Preview3DWidget::releaseGl() {
    if (!gpu_ || !context()) return;
    makeCurrent();
    const GLuint vaos[] = {gpu_->emptyVao, gpu_->cutterVao, gpu_->arrowVao, gpu_->ballVao, gpu_->boxVao, gpu_->pathVao};
    const GLuint buffers[] = {gpu_->cutterBuffer, gpu_->arrowBuffer, gpu_->ballBuffer, gpu_->boxBuffer,
                              gpu_->pathBuffer};
    glDeleteVertexArrays(std::size(vaos), vaos);
    glDeleteBuffers(std::size(buffers), buffers);
    glDeleteTextures(1, &gpu_->heightTexture);
    gpu_.reset();
    doneCurrent();
}

void Preview3DWidget::resizeGL(int width, int height) {
    controller_.viewResized(width, height);
}

void Preview3DWidget::uploadPending() {
    if (reliefDirty_) {
        reliefDirty_ = false;
        if (relief_ && !relief_->empty()) {
            const ReliefGrid& grid = relief_->grid();
            glBindTexture(GL_TEXTURE_2D, gpu_->heightTexture);
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_R32F, grid.rows(), grid.columns(), 0, GL_RED, GL_FLOAT,
                         grid.heights().data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            const GLenum error = glGetError();
            if (error != GL_NO_ERROR && lastGlError_ == GL_NO_ERROR) lastGlError_ = error;
            if (error == GL_OUT_OF_MEMORY) {
                relief_.reset();
                emit controller_.problem(
                    tr("Not enough graphics memory for the relief at this shading "
                       "resolution; choose a coarser one."));
            }
        }
    }
    if (cutterDirty_) {
        cutterDirty_ = false;
        glBindBuffer(GL_ARRAY_BUFFER, gpu_->cutterBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(cutter_.vertices.size() * sizeof(float)),
                     cutter_.vertices.data(), GL_STATIC_DRAW);
        gpu_->cutterVertices = cutter_.vertexCount();
    }
    if (boxDirty_) {
        boxDirty_ = false;
        glBindBuffer(GL_ARRAY_BUFFER, gpu_->boxBuffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(box_.size() * sizeof(float)), box_.data(),
                     GL_STATIC_DRAW);
    }
    const PathBuffer::Upload upload = path_.takeUpload();
    glBindBuffer(GL_ARRAY_BUFFER, gpu_->pathBuffer);
    if (upload.capacity > 0)
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(upload.capacity * sizeof(PathNode)), nullptr,
                     GL_DYNAMIC_DRAW);
    if (upload.count > 0)
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(upload.first * sizeof(PathNode)),
                        static_cast<GLsizeiptr>(upload.count * sizeof(PathNode)), path_.nodes().data() + upload.first);
}

void Preview3DWidget::paintGL() {
    if (!gpu_) return;
    uploadPending();
    const OrthoCamera& camera = controller_.camera();
    const Matrix viewProjection = Multiply(camera.projectionMatrix(), camera.viewMatrix());

    glClearColor(background_.redF(), background_.greenF(), background_.blueF(), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);

    drawRelief(viewProjection);

    const Vec3 none{0.0, 0.0, 0.0};
    if (cutterVisible_ && gpu_->cutterVertices > 0)
        drawSolid(gpu_->cutterVao, gpu_->cutterVertices, viewProjection,
                  Placement({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, 1.0, cutterTip_), QColor(200, 200, 210));
    if (axesVisible_) {
        drawSolid(gpu_->ballVao, gpu_->ballVertices, viewProjection,
                  Placement({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, axesScale_, none), QColor(230, 230, 230));
        drawSolid(gpu_->arrowVao, gpu_->arrowVertices, viewProjection,
                  Placement({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, axesScale_, none), QColor(220, 40, 40));
        drawSolid(gpu_->arrowVao, gpu_->arrowVertices, viewProjection,
                  Placement({1, 0, 0}, {0, 0, -1}, {0, 1, 0}, axesScale_, none), QColor(40, 200, 40));
        drawSolid(gpu_->arrowVao, gpu_->arrowVertices, viewProjection,
                  Placement({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, axesScale_, none), QColor(50, 80, 230));
    }
    if (!box_.empty()) drawLines(gpu_->boxVao, 0, static_cast<int>(box_.size() / 3), false, viewProjection, Qt::white);
    if (path_.nodes().size() > 1)
        drawLines(gpu_->pathVao, 0, static_cast<int>(path_.nodes().size()), true, viewProjection, Qt::white);
    glBindVertexArray(0);
    noteGlError();
    drawHud();
}

void Preview3DWidget::drawHud() {
    if (hudText_.isEmpty()) return;
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(8, height() - 40), hudText_);
}

void Preview3DWidget::drawRelief(const Matrix& viewProjection) {
    reliefCellsDrawn_ = 0;
    if (!relief_ || relief_->empty() || relief_->grid().drawing().mode == SurfaceMode::None) return;
    const ReliefGrid& grid = relief_->grid();
    // Decided anew for every paint from the camera alone: no buffer changes.
    const ReliefDrawPlan plan = PlanReliefDrawing(*relief_, viewProjection, static_cast<int>(width() * devicePixelRatioF()),
                                                  static_cast<int>(height() * devicePixelRatioF()));
    if (plan.patches.empty()) return;
    const bool wire = grid.drawing().mode == SurfaceMode::Wire;
    QOpenGLShaderProgram& program = gpu_->relief;
    program.bind();
    program.setUniformValue("heights", 0);
    glUniform1i(program.uniformLocation("stride"), plan.stride);
    glUniform2i(program.uniformLocation("lastSample"), grid.columns() - 1, grid.rows() - 1);
    glUniform2i(program.uniformLocation("steps"), grid.stepX(), grid.stepY());
    glUniform2i(program.uniformLocation("lastPixel"), grid.lastPixelX(), grid.lastPixelY());
    program.setUniformValue("placement", grid.pixelSize(), grid.originX(), grid.originY(), grid.pixelSizeY());
    program.setUniformValue("ramp", grid.colour().scale, grid.colour().offset);
    program.setUniformValue("noCutZone", grid.drawing().noCutZone);
    program.setUniformValue("noCutLevel", grid.drawing().noCutLevel);
    program.setUniformValue("noCutTolerance", grid.drawing().noCutTolerance);
    glUniformMatrix4fv(program.uniformLocation("viewProjection"), 1, GL_FALSE, viewProjection.data());
    program.setUniformValue("wire", wire);
    program.setUniformValue("viewDirection", ToQt(controller_.camera().forward()));
    const GLint patchOrigin = program.uniformLocation("patchOrigin");

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, gpu_->heightTexture);
    glBindVertexArray(gpu_->emptyVao);
    glPolygonMode(GL_FRONT_AND_BACK, wire ? GL_LINE : GL_FILL);
    // The relief steps back a little so the path and the box drawn on it stay
    // in front.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glEnable(GL_POLYGON_OFFSET_LINE);
    glPolygonOffset(1.0f, 2.0f);
    glProvokingVertex(GL_LAST_VERTEX_CONVENTION);
    for (const ReliefPatch& patch : plan.patches) {
        glUniform2i(patchOrigin, patch.firstColumn, patch.firstRow);
        glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, 2 * (patch.rows + 1), patch.columns);
    }
    reliefCellsDrawn_ = plan.cells;
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_POLYGON_OFFSET_LINE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    program.release();
}

void Preview3DWidget::drawSolid(unsigned vao, int vertexCount, const Matrix& viewProjection, const Matrix& model,
                                const QColor& colour) {
    QOpenGLShaderProgram& program = gpu_->solid;
    program.bind();
    glUniformMatrix4fv(program.uniformLocation("viewProjection"), 1, GL_FALSE, viewProjection.data());
    glUniformMatrix4fv(program.uniformLocation("model"), 1, GL_FALSE, model.data());
    program.setUniformValue("tint", QVector3D(colour.redF(), colour.greenF(), colour.blueF()));
    program.setUniformValue("viewDirection", ToQt(controller_.camera().forward()));
    glBindVertexArray(vao);
    glDrawArrays(GL_TRIANGLES, 0, vertexCount);
    program.release();
}

void Preview3DWidget::drawLines(unsigned vao, int first, int count, bool perVertexColour, const Matrix& viewProjection,
                                const QColor& colour) {
    QOpenGLShaderProgram& program = gpu_->lines;
    program.bind();
    glUniformMatrix4fv(program.uniformLocation("viewProjection"), 1, GL_FALSE, viewProjection.data());
    program.setUniformValue("perVertexColour", perVertexColour);
    program.setUniformValue("tint", QVector3D(colour.redF(), colour.greenF(), colour.blueF()));
    glBindVertexArray(vao);
    glDrawArrays(perVertexColour ? GL_LINE_STRIP : GL_LINES, first, count);
    program.release();
}

void Preview3DWidget::noteGlError() {
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR && lastGlError_ == GL_NO_ERROR) lastGlError_ = error;
}

void Preview3DWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    controller_.mousePress(at.x(), at.y());
}

void Preview3DWidget::wheelEvent(QWheelEvent* event) {
    // Fine-grained wheels and touch pads send parts of a notch.
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    controller_.wheel(notches);
    event->accept();
}

void Preview3DWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    controller_.mouseMove(at.x(), at.y(), event->buttons().testFlag(Qt::LeftButton),
                          event->modifiers().testFlag(Qt::ShiftModifier),
                          event->modifiers().testFlag(Qt::ControlModifier));
}

}  // namespace calvoro
