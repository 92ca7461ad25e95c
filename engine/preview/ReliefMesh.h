// The relief as the 3D view draws it: the sampled grid (see ReliefGrid) and,
// for every block of cells, the lowest and highest Z in it, so that a view can
// tell which parts of a large relief lie on the screen. Built off the window's
// thread with progress and cancel; the result does not depend on the number
// of threads.
//
// PlanReliefDrawing then decides, for one view, which samples are drawn: every
// stride-th sample along each axis (and always the last, on the edge), with
// the stride grown until a cell spans about a screen pixel or two and no more
// than a fixed number of cells is drawn, and only the patches of cells that
// lie in the view. Drawn corners are always real samples of the map: a thinned
// relief never shows a height the map does not have.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "engine/preview/ReliefGrid.h"

namespace calvoro {

class TaskControl;

class ReliefMesh {
public:
    // Cells along each side of a block whose height range is kept.
    static constexpr int kBlockCells = 32;

    ReliefMesh() = default;

    // Samples `map` as ReliefGrid::Build does, on up to `threads` threads (0:
    // every usable core). Raises TaskCancelled when `control` asks to stop.
    static ReliefMesh Build(const HeightMap& map, const ReliefValues& values, const ReliefDrawing& drawing,
                            int maxSamplesPerAxis, TaskControl* control = nullptr, unsigned threads = 0);

    const ReliefGrid& grid() const { return grid_; }
    bool empty() const { return grid_.empty(); }

    // The lowest and highest Z of the samples from column firstColumn to
    // lastColumn and row firstRow to lastRow (all inclusive), rounded out to
    // whole blocks. Samples that are no number are left out; {0, 0} when none
    // is left.
    std::array<float, 2> heightRange(int firstColumn, int firstRow, int lastColumn, int lastRow) const;

    int blockColumns() const { return blockColumns_; }
    int blockRows() const { return blockRows_; }
    const std::vector<float>& blockLows() const { return blockLow_; }
    const std::vector<float>& blockHighs() const { return blockHigh_; }

private:
    void measureBlockColumn(int blockColumn);

    ReliefGrid grid_;
    int blockColumns_ = 0;
    int blockRows_ = 0;
    // Block (a, b), cells of columns a * kBlockCells ... and rows b * kBlockCells
    // ..., at a * blockRows_ + b; a block holds the samples on all four sides.
    std::vector<float> blockLow_;
    std::vector<float> blockHigh_;
};

// A rectangle of cells of the thinned grid, in its own sample numbers (sample
// k of the thinned grid is sample min(k * stride, last) of the mesh's grid).
struct ReliefPatch {
    int firstColumn = 0;
    int firstRow = 0;
    int columns = 0;  // cells along X
    int rows = 0;     // cells along Y

    friend bool operator==(const ReliefPatch&, const ReliefPatch&) = default;
};

struct ReliefDrawPlan {
    int stride = 1;
    int meshColumns = 0;  // samples of the mesh's grid along X
    int meshRows = 0;     // and along Y
    int columns = 0;      // samples of the thinned grid along X
    int rows = 0;         // and along Y
    std::vector<ReliefPatch> patches;
    long long cells = 0;  // in all patches

    // Sample of the mesh's grid for sample k of the thinned grid.
    int meshColumn(int k) const { return k * stride < meshColumns ? k * stride : meshColumns - 1; }
    int meshRow(int k) const { return k * stride < meshRows ? k * stride : meshRows - 1; }
};

// Cells along each side of a patch of the thinned grid.
inline constexpr int kReliefPatchCells = 32;
// A drawn cell's longer side spans at least this many screen pixels (a finer
// cell only costs time)...
inline constexpr double kReliefMinimumCellPixels = 1.5;
// ... and no view draws more cells than this (two triangles each): software
// OpenGL on a busy machine draws about a million cells a second, and a
// repaint is to stay under a fifth of a second.
inline constexpr long long kReliefMaximumCells = 120000;

// What to draw of `mesh` seen through `viewProjection` (column-major, world to
// clip space of an orthographic view) in a view of widthPixels x heightPixels.
ReliefDrawPlan PlanReliefDrawing(const ReliefMesh& mesh, const std::array<float, 16>& viewProjection,
                                 int widthPixels, int heightPixels,
                                 double minimumCellPixels = kReliefMinimumCellPixels,
                                 long long maximumCells = kReliefMaximumCells);

}  // namespace calvoro
