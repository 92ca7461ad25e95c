#include "engine/preview/ReliefGrid.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kernel/platform/NumberReading.h"
namespace calvoro {

std::optional<float> ParseNoCutTolerance(std::string_view text) {
    const std::optional<float> value = ReadSingleNumber(text);
    if (!value || *value < 0.0f) return std::nullopt;
    return value;
}

int SamplingStep(int lastPixel, ShadingResolution resolution) {
    if (resolution == ShadingResolution::Fine || lastPixel <= 50) return 1;
    const bool coarse = resolution == ShadingResolution::Coarse;
    if (lastPixel <= 200) return coarse ? 5 : 2;
    if (lastPixel <= 1500) return coarse ? 10 : 5;
    return coarse ? 25 : 10;
}

ColourRamp ColourRamp::FromValues(const ReliefValues& values) {
    ColourRamp ramp;
    const float range = values.DepthRange;
    if (range != 0.0f && std::isfinite(range) && std::isfinite(values.BlackZ)) {
        ramp.scale = 1.0f / range;
        ramp.offset = -values.BlackZ / range;
    }
    return ramp;
}

float ColourRamp::grey(float z) const {
    const float g = z * scale + offset;
    // A NaN height must not become a NaN colour either.
    if (!(g > 0.0f)) return 0.0f;
    return std::min(g, 1.0f);
}

namespace {

// Samples along an axis whose pixels run from 0 to lastPixel: 0, step, 2 step,
// ... and lastPixel itself, each once.
int SampleCount(int lastPixel, int step) {
    return (lastPixel + step - 1) / step + 1;
}

// The table step, grown where needed so no more than maxSamples are taken.
int AxisStep(int lastPixel, ShadingResolution resolution, int maxSamples) {
    int step = SamplingStep(lastPixel, resolution);
    if (maxSamples >= 2 && SampleCount(lastPixel, step) > maxSamples)
        step = std::max(step, (lastPixel + maxSamples - 2) / (maxSamples - 1));
    return step;
}

}  // namespace

ReliefGrid ReliefGrid::Build(const HeightMap& map, const ReliefValues& values, const ReliefDrawing& drawing,
                             int maxSamplesPerAxis) {
    ReliefGrid grid = Layout(map, values, drawing, maxSamplesPerAxis);
    grid.sampleColumns(map, 0, grid.columns_);
    return grid;
}

ReliefGrid ReliefGrid::Layout(const HeightMap& map, const ReliefValues& values, const ReliefDrawing& drawing,
                              int maxSamplesPerAxis) {
    ReliefGrid grid;
    grid.drawing_ = drawing;
    grid.colour_ = ColourRamp::FromValues(values);
    grid.pixelSize_ = values.PixelSize;
    grid.pixelSizeY_ = values.CellSizeY();
    grid.originX_ = values.WorkOffsetX;
    grid.originY_ = values.WorkOffsetY;
    if (drawing.mode == SurfaceMode::None || map.width() < 2 || map.height() < 2) return grid;

    grid.lastX_ = map.width() - 1;
    grid.lastY_ = map.height() - 1;
    grid.stepX_ = AxisStep(grid.lastX_, drawing.resolution, maxSamplesPerAxis);
    grid.stepY_ = AxisStep(grid.lastY_, drawing.resolution, maxSamplesPerAxis);
    grid.columns_ = SampleCount(grid.lastX_, grid.stepX_);
    grid.rows_ = SampleCount(grid.lastY_, grid.stepY_);
    grid.heights_.resize(static_cast<std::size_t>(grid.columns_) * grid.rows_);
    return grid;
}

void ReliefGrid::sampleColumns(const HeightMap& map, int firstColumn, int endColumn) {
    float* out = heights_.data() + static_cast<std::size_t>(firstColumn) * rows_;
    for (int i = firstColumn; i < endColumn; ++i) {
        const float* column = map.column(sampleX(i));
        if (stepY_ == 1) {
            std::memcpy(out, column, sizeof(float) * rows_);
            out += rows_;
        } else {
            for (int j = 0; j < rows_; ++j) *out++ = column[sampleY(j)];
        }
    }
}

bool ReliefGrid::quadVisible(int i, int j) const {
    if (!drawing_.noCutZone) return true;
    return std::fabs(height(i + 1, j + 1) - drawing_.noCutLevel) > drawing_.noCutTolerance;
}

}  // namespace calvoro
