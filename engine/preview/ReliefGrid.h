// The relief as the 3D view draws it: the height map sampled on a grid whose
// step depends on the picture size and the shading resolution, with quads
// between neighbouring samples. The last column and row of samples always lie
// on the map's edge, so the quads there are narrower and every cell of the map
// is covered exactly once. The renderer uploads heights() as a texture and
// generates the quads from it; the rules for where samples lie, which quads are
// left open and how heights are coloured live here so they can be tested.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "engine/preview/PreviewTypes.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"

namespace calvoro {

// The drawing settings of the relief.
struct ReliefDrawing {
    SurfaceMode mode = SurfaceMode::Shade;
    ShadingResolution resolution = ShadingResolution::Fine;
    // The Z no-cut zone: quads whose far corner lies within the tolerance of
    // the level are left open, so the flat uncut parts do not hide the path.
    bool noCutZone = false;
    float noCutLevel = 0.0f;
    float noCutTolerance = 0.0f;
};

// The no-cut tolerance as typed: a number >= 0 with "." as the decimal point,
// blanks around it and a trailing point allowed; nothing for anything else.
std::optional<float> ParseNoCutTolerance(std::string_view text);

// Pixels between samples along an axis whose last pixel index is `lastPixel`.
int SamplingStep(int lastPixel, ShadingResolution resolution);

// Z to the grey level g of the colour (g, g, 1): 0 at the black depth, 1 at the
// white depth, clamped between. A zero depth range colours everything light.
struct ColourRamp {
    float scale = 0.0f;
    float offset = 1.0f;

    static ColourRamp FromValues(const ReliefValues& values);
    float grey(float z) const;
};

class ReliefGrid {
public:
    ReliefGrid() = default;

    // Samples `map` for drawing. An empty grid when the mode is None or the map
    // is less than 2 pixels wide or high. At most maxSamplesPerAxis samples are
    // taken along each axis (the renderer's texture limit); the step grows
    // where that is needed.
    static ReliefGrid Build(const HeightMap& map, const ReliefValues& values, const ReliefDrawing& drawing,
                            int maxSamplesPerAxis);
    // Build in two parts, for a builder that spreads the sampling over
    // threads: the layout with every height 0, then columns of samples
    // [firstColumn, endColumn) taken from the same map.
    static ReliefGrid Layout(const HeightMap& map, const ReliefValues& values, const ReliefDrawing& drawing,
                             int maxSamplesPerAxis);
    void sampleColumns(const HeightMap& map, int firstColumn, int endColumn);

    bool empty() const { return columns_ < 2 || rows_ < 2; }
    int columns() const { return columns_; }  // samples along X
    int rows() const { return rows_; }        // samples along Y
    int stepX() const { return stepX_; }
    int stepY() const { return stepY_; }
    int lastPixelX() const { return lastX_; }
    int lastPixelY() const { return lastY_; }
    // Pixel column of sample column i (0 <= i < columns()); the same for rows.
    int sampleX(int i) const { return i * stepX_ < lastX_ ? i * stepX_ : lastX_; }
    int sampleY(int j) const { return j * stepY_ < lastY_ ? j * stepY_ : lastY_; }

    // Sampled heights, one column of samples after another: (i, j) at
    // i * rows() + j.
    const std::vector<float>& heights() const { return heights_; }
    float height(int i, int j) const { return heights_[static_cast<std::size_t>(i) * rows_ + j]; }

    long long quadCount() const { return empty() ? 0 : static_cast<long long>(columns_ - 1) * (rows_ - 1); }
    // Whether the quad from sample (i, j) to (i + 1, j + 1) is drawn.
    bool quadVisible(int i, int j) const;

    const ReliefDrawing& drawing() const { return drawing_; }
    const ColourRamp& colour() const { return colour_; }
    float pixelSize() const { return pixelSize_; }  // along X
    float pixelSizeY() const { return pixelSizeY_; }
    float originX() const { return originX_; }
    float originY() const { return originY_; }

private:
    int columns_ = 0;
    int rows_ = 0;
    int stepX_ = 1;
    int stepY_ = 1;
    int lastX_ = 0;
    int lastY_ = 0;
    std::vector<float> heights_;
    ReliefDrawing drawing_;
    ColourRamp colour_;
    float pixelSize_ = 1.0f;
    float pixelSizeY_ = 1.0f;
    float originX_ = 0.0f;
    float originY_ = 0.0f;
};

}  // namespace calvoro
