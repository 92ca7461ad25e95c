#include "engine/preview/ReliefMesh.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/toolpath/TaskControl.h"

namespace calvoro {

namespace {

// Share of the progress bar taken by the sampling; the block heights follow.
constexpr double kSamplingShare = 0.8;

int CeilDivide(int a, int b) {
    return (a + b - 1) / b;
}

}  // namespace

ReliefMesh ReliefMesh::Build(const HeightMap& map, const ReliefValues& values, const ReliefDrawing& drawing,
                             int maxSamplesPerAxis, TaskControl* control, unsigned threads) {
    ReliefMesh mesh;
    mesh.grid_ = ReliefGrid::Layout(map, values, drawing, maxSamplesPerAxis);
    if (control) control->throwIfCancelled();
    if (!mesh.grid_.empty()) {
        const int columns = mesh.grid_.columns();
        // Bands of whole blocks: each thread writes columns of its own.
        ParallelFor(static_cast<std::size_t>(CeilDivide(columns, kBlockCells)), threads, control, 0.0,
                    kSamplingShare, [&](std::size_t band) {
                        const int first = static_cast<int>(band) * kBlockCells;
                        mesh.grid_.sampleColumns(map, first, std::min(first + kBlockCells, columns));
                    });
        mesh.blockColumns_ = CeilDivide(columns - 1, kBlockCells);
        mesh.blockRows_ = CeilDivide(mesh.grid_.rows() - 1, kBlockCells);
        const std::size_t blocks = static_cast<std::size_t>(mesh.blockColumns_) * mesh.blockRows_;
        mesh.blockLow_.assign(blocks, 0.0f);
        mesh.blockHigh_.assign(blocks, 0.0f);
        ParallelFor(static_cast<std::size_t>(mesh.blockColumns_), threads, control, kSamplingShare, 1.0,
                    [&](std::size_t blockColumn) { mesh.measureBlockColumn(static_cast<int>(blockColumn)); });
    }
    if (control) control->reportProgress(1.0);
    return mesh;
}

void ReliefMesh::measureBlockColumn(int blockColumn) {
    const int firstColumn = blockColumn * kBlockCells;
    const int lastColumn = std::min(firstColumn + kBlockCells, grid_.columns() - 1);
    for (int blockRow = 0; blockRow < blockRows_; ++blockRow) {
        const int firstRow = blockRow * kBlockCells;
        const int lastRow = std::min(firstRow + kBlockCells, grid_.rows() - 1);
        float low = std::numeric_limits<float>::infinity();
        float high = -low;
        for (int i = firstColumn; i <= lastColumn; ++i)
            for (int j = firstRow; j <= lastRow; ++j) {
                const float z = grid_.height(i, j);
                // Comparisons with a NaN are false: such samples are skipped.
                if (z < low) low = z;
                if (z > high) high = z;
            }
        const std::size_t at = static_cast<std::size_t>(blockColumn) * blockRows_ + blockRow;
        blockLow_[at] = low;
        blockHigh_[at] = high;
    }
}

std::array<float, 2> ReliefMesh::heightRange(int firstColumn, int firstRow, int lastColumn, int lastRow) const {
    if (blockColumns_ == 0 || blockRows_ == 0) return {0.0f, 0.0f};
    // A sample on a block's edge belongs to the blocks on both sides; either will do.
    const auto block = [](int sample, int blocks) { return std::clamp(sample / kBlockCells, 0, blocks - 1); };
    const int a0 = block(firstColumn, blockColumns_);
    const int a1 = block(std::max(firstColumn, lastColumn - 1), blockColumns_);
    const int b0 = block(firstRow, blockRows_);
    const int b1 = block(std::max(firstRow, lastRow - 1), blockRows_);
    float low = std::numeric_limits<float>::infinity();
    float high = -low;
    for (int a = a0; a <= a1; ++a)
        for (int b = b0; b <= b1; ++b) {
            const std::size_t at = static_cast<std::size_t>(a) * blockRows_ + b;
            low = std::min(low, blockLow_[at]);
            high = std::max(high, blockHigh_[at]);
        }
    if (!(low <= high)) return {0.0f, 0.0f};
    return {low, high};
}

namespace {

using Matrix = std::array<float, 16>;

struct ClipBox {
    double low[3] = {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::infinity()};
    double high[3] = {-low[0], -low[1], -low[2]};

    void add(const Matrix& m, double x, double y, double z) {
        for (int row = 0; row < 3; ++row) {
            const double v = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
            low[row] = std::min(low[row], v);
            high[row] = std::max(high[row], v);
        }
    }
    // The view's clip volume is the cube from -1 to 1.
    bool meetsView() const {
        for (int row = 0; row < 3; ++row)
            if (!(high[row] >= -1.0 && low[row] <= 1.0)) return false;
        return true;
    }
};

// The world vector (x, y, 0) on the screen, in pixels.
std::array<double, 2> OnScreen(const Matrix& m, double x, double y, int widthPixels, int heightPixels) {
    return {(m[0] * x + m[4] * y) * 0.5 * widthPixels, (m[1] * x + m[5] * y) * 0.5 * heightPixels};
}

// The size of a cell of the grid on the screen, in pixels: its longer side.
// (A cell seen at a slant or edge-on covers less area, but its longer side
// still carries the relief's outline; the cap on the cells keeps such views
// quick.)
double CellPixels(const ReliefGrid& grid, const Matrix& m, int widthPixels, int heightPixels) {
    const auto [ax, ay] = OnScreen(m, grid.stepX() * grid.pixelSize(), 0.0, widthPixels, heightPixels);
    const auto [bx, by] = OnScreen(m, 0.0, grid.stepY() * grid.pixelSizeY(), widthPixels, heightPixels);
    return std::max(std::hypot(ax, ay), std::hypot(bx, by));
}

void ChoosePatches(const ReliefMesh& mesh, const Matrix& viewProjection, ReliefDrawPlan& plan) {
    const ReliefGrid& grid = mesh.grid();
    const double sizeX = grid.pixelSize();
    const double sizeY = grid.pixelSizeY();
    const auto worldX = [&](int k) { return grid.sampleX(plan.meshColumn(k)) * sizeX + grid.originX(); };
    const auto worldY = [&](int k) { return grid.sampleY(plan.meshRow(k)) * sizeY + grid.originY(); };
    plan.columns = (plan.meshColumns - 1 + plan.stride - 1) / plan.stride + 1;
    plan.rows = (plan.meshRows - 1 + plan.stride - 1) / plan.stride + 1;
    plan.patches.clear();
    plan.cells = 0;
    for (int k0 = 0; k0 < plan.columns - 1; k0 += kReliefPatchCells) {
        const int k1 = std::min(k0 + kReliefPatchCells, plan.columns - 1);
        for (int l0 = 0; l0 < plan.rows - 1; l0 += kReliefPatchCells) {
            const int l1 = std::min(l0 + kReliefPatchCells, plan.rows - 1);
            const auto [low, high] =
                mesh.heightRange(plan.meshColumn(k0), plan.meshRow(l0), plan.meshColumn(k1), plan.meshRow(l1));
            ClipBox box;
            for (const double x : {worldX(k0), worldX(k1)})
                for (const double y : {worldY(l0), worldY(l1)})
                    for (const double z : {double(low), double(high)}) box.add(viewProjection, x, y, z);
            if (!box.meetsView()) continue;
            plan.patches.push_back({k0, l0, k1 - k0, l1 - l0});
            plan.cells += static_cast<long long>(k1 - k0) * (l1 - l0);
        }
    }
}

}  // namespace

ReliefDrawPlan PlanReliefDrawing(const ReliefMesh& mesh, const Matrix& viewProjection, int widthPixels,
                                 int heightPixels, double minimumCellPixels, long long maximumCells) {
    ReliefDrawPlan plan;
    if (mesh.empty()) return plan;
    const ReliefGrid& grid = mesh.grid();
    plan.meshColumns = grid.columns();
    plan.meshRows = grid.rows();
    const int largestStride = std::max(plan.meshColumns, plan.meshRows) - 1;

    const double cellPixels = CellPixels(grid, viewProjection, widthPixels, heightPixels);
    double stride = 1.0;
    if (cellPixels < minimumCellPixels) stride = std::ceil(minimumCellPixels / cellPixels);
    // Also a view of no size or a matrix that is no number.
    if (!(stride <= largestStride)) stride = largestStride;
    plan.stride = std::max(1, static_cast<int>(stride));

    ChoosePatches(mesh, viewProjection, plan);
    while (plan.cells > maximumCells && plan.stride < largestStride) {
        const double grow = std::sqrt(static_cast<double>(plan.cells) / static_cast<double>(maximumCells));
        plan.stride = std::min(largestStride, std::max(plan.stride + 1, static_cast<int>(std::ceil(plan.stride * grow))));
        ChoosePatches(mesh, viewProjection, plan);
    }
    return plan;
}

}  // namespace calvoro
