#include "engine/preview/ReliefMesh.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "engine/preview/OrthoCamera.h"
#include "engine/preview/ReliefMeshWorker.h"
#include "engine/toolpath/TaskControl.h"

namespace calvoro {
namespace {

constexpr int kNoLimit = 1 << 20;

// Heights that differ from sample to sample, with a few holes of NaN.
std::shared_ptr<HeightMap> Bumpy(int width, int height, bool withNaN = false) {
    auto map = std::make_shared<HeightMap>(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            map->at(x, y) = -0.001f * static_cast<float>((x * 7919 + y * 104729) % 5003);
    if (withNaN) map->at(width / 2, height / 3) = NAN;
    return map;
}

void ExpectSameMesh(const ReliefMesh& a, const ReliefMesh& b) {
    ASSERT_EQ(a.grid().columns(), b.grid().columns());
    ASSERT_EQ(a.grid().rows(), b.grid().rows());
    ASSERT_EQ(a.grid().heights().size(), b.grid().heights().size());
    for (std::size_t k = 0; k < a.grid().heights().size(); ++k) {
        const float p = a.grid().heights()[k], q = b.grid().heights()[k];
        ASSERT_TRUE(p == q || (std::isnan(p) && std::isnan(q))) << k;
    }
    EXPECT_EQ(a.blockLows(), b.blockLows());
    EXPECT_EQ(a.blockHighs(), b.blockHighs());
}

TEST(ReliefMesh, SamplesAsTheGridDoesOnAnyNumberOfThreads) {
    struct Case {
        int width, height;
        ShadingResolution resolution;
    };
    const Case cases[] = {{2, 2, ShadingResolution::Fine},      {33, 34, ShadingResolution::Fine},
                          {203, 97, ShadingResolution::Coarse}, {1001, 61, ShadingResolution::Medium},
                          {640, 480, ShadingResolution::Fine},  {65, 3, ShadingResolution::Fine}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const auto map = Bumpy(c.width, c.height, true);
        const ReliefDrawing drawing{.resolution = c.resolution};
        const ReliefGrid serial = ReliefGrid::Build(*map, ReliefValues{}, drawing, kNoLimit);
        const ReliefMesh one = ReliefMesh::Build(*map, ReliefValues{}, drawing, kNoLimit, nullptr, 1);
        ASSERT_EQ(one.grid().heights().size(), serial.heights().size());
        EXPECT_EQ(0, std::memcmp(one.grid().heights().data(), serial.heights().data(),
                                 serial.heights().size() * sizeof(float)));
        for (const unsigned threads : {2u, 3u, 8u}) {
            TaskControl control;
            const ReliefMesh many = ReliefMesh::Build(*map, ReliefValues{}, drawing, kNoLimit, &control, threads);
            ExpectSameMesh(one, many);
            EXPECT_EQ(control.progress(), 1.0);
        }
    }
}

TEST(ReliefMesh, HeightRangeHoldsEverySampleOfTheAskedRectangle) {
    const auto map = Bumpy(150, 90, true);
    const ReliefMesh mesh = ReliefMesh::Build(*map, ReliefValues{}, {}, kNoLimit);
    struct Case {
        int c0, r0, c1, r1;
    };
    for (const Case c : {Case{0, 0, 149, 89}, {31, 31, 33, 33}, {32, 0, 64, 32}, {140, 80, 149, 89}, {75, 29, 76, 31}}) {
        SCOPED_TRACE(std::to_string(c.c0) + " " + std::to_string(c.r0));
        const auto [low, high] = mesh.heightRange(c.c0, c.r0, c.c1, c.r1);
        ASSERT_LE(low, high);
        for (int i = c.c0; i <= c.c1; ++i)
            for (int j = c.r0; j <= c.r1; ++j) {
                const float z = mesh.grid().height(i, j);
                if (std::isnan(z)) continue;
                ASSERT_LE(low, z);
                ASSERT_GE(high, z);
            }
    }
}

TEST(ReliefMesh, StopsWhenCancelled) {
    const auto map = Bumpy(300, 200);
    TaskControl control;
    control.requestCancel();
    EXPECT_THROW(ReliefMesh::Build(*map, ReliefValues{}, {}, kNoLimit, &control, 2), TaskCancelled);
}

// A camera on a view of 1000 x 750 pixels, fitted to the relief and moved.
std::array<float, 16> View(const ReliefMesh& mesh, StandardView view, double zoom, double panPixels = 0.0) {
    OrthoCamera camera;
    camera.setViewport(1000, 750);
    const ReliefGrid& grid = mesh.grid();
    camera.fitBox({0, 0, -5}, {double(grid.lastPixelX()), double(grid.lastPixelY()), 0});
    camera.standardView(view);
    camera.zoom(zoom);
    camera.pan(panPixels, 0.0);
    std::array<float, 16> product{};
    const auto p = camera.projectionMatrix(), v = camera.viewMatrix();
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) product[column * 4 + row] += p[k * 4 + row] * v[column * 4 + k];
    return product;
}

// Each cell of the thinned grid in at most one patch; returns how many are.
long long CountCovered(const ReliefDrawPlan& plan) {
    std::vector<char> covered(static_cast<std::size_t>(plan.columns - 1) * (plan.rows - 1), 0);
    long long count = 0;
    for (const ReliefPatch& patch : plan.patches)
        for (int k = patch.firstColumn; k < patch.firstColumn + patch.columns; ++k)
            for (int l = patch.firstRow; l < patch.firstRow + patch.rows; ++l) {
                char& cell = covered[static_cast<std::size_t>(k) * (plan.rows - 1) + l];
                EXPECT_EQ(cell, 0);
                cell = 1;
                ++count;
            }
    return count;
}

TEST(ReliefDrawPlan, DrawsEveryCellOfASmallReliefOnce) {
    for (const auto& [width, height] : {std::pair{21, 21}, {2, 2}, {300, 130}, {129, 65}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const ReliefMesh mesh = ReliefMesh::Build(*Bumpy(width, height), ReliefValues{}, {}, kNoLimit);
        for (const StandardView view : {StandardView::Top, StandardView::Iso, StandardView::Front}) {
            const ReliefDrawPlan plan = PlanReliefDrawing(mesh, View(mesh, view, 1.0), 1000, 750);
            EXPECT_EQ(plan.stride, 1);
            EXPECT_EQ(plan.columns, width);
            EXPECT_EQ(plan.rows, height);
            EXPECT_EQ(plan.cells, static_cast<long long>(width - 1) * (height - 1));
            EXPECT_EQ(CountCovered(plan), plan.cells);
        }
    }
}

TEST(ReliefDrawPlan, ThinsALargeReliefToTheScreenWithRealSamples) {
    const auto map = std::make_shared<HeightMap>(4000, 3000, -1.0f);
    const ReliefMesh mesh = ReliefMesh::Build(*map, ReliefValues{}, {}, kNoLimit);
    struct Case {
        StandardView view;
        double zoom;
        double panPixels;
    };
    for (const Case c : {Case{StandardView::Top, 1.0, 0}, {StandardView::Iso, 1.0, 0}, {StandardView::Front, 1.0, 0},
                         {StandardView::Top, 0.05, 0}, {StandardView::Iso, 12.0, 0}, {StandardView::Top, 30.0, 400},
                         {StandardView::Front, 40.0, 0}}) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.view)) + " zoom " + std::to_string(c.zoom));
        const ReliefDrawPlan plan = PlanReliefDrawing(mesh, View(mesh, c.view, c.zoom, c.panPixels), 1000, 750);
        EXPECT_LE(plan.cells, kReliefMaximumCells);
        EXPECT_GT(plan.cells, 0);
        EXPECT_EQ(CountCovered(plan), plan.cells);
        // Thinned samples are samples of the grid, the first and last on its edges.
        EXPECT_EQ(plan.meshColumn(0), 0);
        EXPECT_EQ(plan.meshColumn(plan.columns - 1), 3999);
        EXPECT_EQ(plan.meshRow(plan.rows - 1), 2999);
        for (int k = 0; k + 1 < plan.columns; ++k) ASSERT_LT(plan.meshColumn(k), plan.meshColumn(k + 1));
    }
    // Seen whole from above, a cell spans about a pixel and a half: the fitted
    // view is 2 x 25 x 4.3 x 2500 / 100 = 5375 pixels of the map high on 750
    // screen pixels, 7.17 a pixel, so every 11th sample is drawn. Zoomed in
    // far, every sample is.
    const ReliefDrawPlan whole = PlanReliefDrawing(mesh, View(mesh, StandardView::Top, 1.0), 1000, 750);
    EXPECT_EQ(whole.stride, 11);
    const ReliefDrawPlan close = PlanReliefDrawing(mesh, View(mesh, StandardView::Top, 30.0), 1000, 750);
    EXPECT_EQ(close.stride, 1);
    EXPECT_LT(close.cells, 200000);
}

// Every thinned sample that lands on the screen lies in a drawn patch.
TEST(ReliefDrawPlan, LeavesOutOnlyWhatLiesOutsideTheView) {
    const ReliefMesh mesh = ReliefMesh::Build(*Bumpy(700, 500), ReliefValues{}, {}, kNoLimit);
    for (const double zoom : {3.0, 7.0}) {
        const std::array<float, 16> m = View(mesh, StandardView::Iso, zoom, 150);
        const ReliefDrawPlan plan = PlanReliefDrawing(mesh, m, 1000, 750);
        ASSERT_LT(plan.cells, static_cast<long long>(plan.columns - 1) * (plan.rows - 1));
        std::vector<char> drawn(static_cast<std::size_t>(plan.columns) * plan.rows, 0);
        for (const ReliefPatch& patch : plan.patches)
            for (int k = patch.firstColumn; k <= patch.firstColumn + patch.columns; ++k)
                for (int l = patch.firstRow; l <= patch.firstRow + patch.rows; ++l)
                    drawn[static_cast<std::size_t>(k) * plan.rows + l] = 1;
        for (int k = 0; k < plan.columns; ++k)
            for (int l = 0; l < plan.rows; ++l) {
                const int i = plan.meshColumn(k), j = plan.meshRow(l);  // at step 1: the map's pixel
                const double x = i, y = j, z = mesh.grid().height(i, j);
                const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
                const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
                if (std::fabs(cx) <= 1 && std::fabs(cy) <= 1) ASSERT_TRUE(drawn[k * plan.rows + l]) << k << " " << l;
            }
    }
}

// Waits for the worker's latest result, at most a minute.
std::optional<ReliefMeshResult> Await(ReliefMeshWorker& worker) {
    for (int i = 0; i < 6000; ++i) {
        if (auto result = worker.take()) return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

TEST(ReliefMeshWorker, GivesTheLatestRequestsMeshOnlyAndDropsTheOlder) {
    const auto large = Bumpy(2000, 1500);
    const auto small = Bumpy(40, 30);
    ReliefMeshWorker worker;
    EXPECT_FALSE(worker.pending());
    worker.start({.map = large, .drawing = {}, .maxSamplesPerAxis = kNoLimit});
    worker.start({.map = small, .drawing = {.resolution = ShadingResolution::Coarse}, .maxSamplesPerAxis = kNoLimit});
    EXPECT_TRUE(worker.pending());
    const auto result = Await(worker);
    ASSERT_TRUE(result && result->mesh);
    ExpectSameMesh(*result->mesh, ReliefMesh::Build(*small, ReliefValues{}, {.resolution = ShadingResolution::Coarse},
                                                     kNoLimit, nullptr, 1));
    EXPECT_FALSE(worker.pending());
    EXPECT_FALSE(worker.take());  // given once

    // A cancel leaves nothing to take; the cancelled thread is cleared away.
    worker.start({.map = large, .maxSamplesPerAxis = kNoLimit});
    worker.cancel();
    EXPECT_FALSE(worker.pending());
    for (int i = 0; i < 6000 && worker.running() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(worker.take());
    EXPECT_EQ(worker.running(), 0);

    // Going while a build runs cancels and waits for it.
    worker.start({.map = large, .maxSamplesPerAxis = kNoLimit});
}

}  // namespace
}  // namespace calvoro
