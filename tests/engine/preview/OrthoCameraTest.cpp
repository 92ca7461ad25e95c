#include "engine/preview/OrthoCamera.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "engine/preview/ViewNavigation.h"

namespace calvoro {
namespace {

void ExpectNear(Vec3 actual, Vec3 expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Where a world point lands in clip coordinates.
std::array<double, 3> Project(const OrthoCamera& camera, Vec3 p) {
    const auto view = camera.viewMatrix();
    const auto projection = camera.projectionMatrix();
    const double world[4] = {p.x, p.y, p.z, 1.0};
    double eye[4] = {};
    double clip[4] = {};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) eye[row] += view[k * 4 + row] * world[k];
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) clip[row] += projection[k * 4 + row] * eye[k];
    return {clip[0] / clip[3], clip[1] / clip[3], clip[2] / clip[3]};
}

TEST(OrthoCamera, StandardViewsStandAtTheTargetDistance) {
    const Vec3 target{10, 20, 30};
    const double k = 0.57735026 * 5;
    struct Case {
        StandardView view;
        Vec3 offset;
    };
    for (const Case& c : {Case{StandardView::Top, {0, -0.0005, 5}},
                          {StandardView::Front, {0, -5, 0}},
                          {StandardView::Side, {5, 0, 0}},
                          {StandardView::Iso, {k, -k, k}}}) {
        SCOPED_TRACE(static_cast<int>(c.view));
        OrthoCamera camera;
        camera.place(target + Vec3{3, 4, 0}, target);
        camera.standardView(c.view);
        ExpectNear(camera.position(), target + c.offset);
        EXPECT_EQ(camera.target(), target);
    }
}

TEST(OrthoCamera, StandardViewsNeverCollapseOntoTheTarget) {
    struct Case {
        Vec3 position, target, expected;
    };
    // A camera on the world origin still stands its distance from the target;
    // one on the target itself steps back to the minimum distance.
    for (const Case& c : {Case{{0, 0, 0}, {10, 0, 0}, {10, -10, 0}}, {{4, 4, 4}, {4, 4, 4}, {4, 4 - 1, 4}}}) {
        OrthoCamera camera;
        camera.place(c.position, c.target);
        camera.standardView(StandardView::Front);
        ExpectNear(camera.position(), c.expected);
        const auto centre = Project(camera, c.target);
        EXPECT_NEAR(centre[0], 0.0, 1e-6);
        EXPECT_NEAR(centre[1], 0.0, 1e-6);
    }
}

TEST(OrthoCamera, ZoomMultipliesTheScaleAndNeverReachesZero) {
    struct Case {
        double start, factor, expected;
    };
    for (const Case c :
         {Case{2.0, 1.1, 2.2}, {2.2, 1.0 / 1.1, 2.0}, {2.0, 0.0, 0.001}, {2.0, -3.0, 0.001}, {2.0, NAN, 0.001}}) {
        OrthoCamera camera;
        camera.setSceneScale(c.start);
        camera.zoom(c.factor);
        EXPECT_NEAR(camera.sceneScale(), c.expected, 1e-12);
    }
}

TEST(OrthoCamera, OrbitKeepsTheDistanceAndStopsShortOfThePoles) {
    OrthoCamera camera;
    const Vec3 target{1, 2, 3};
    camera.place(target + Vec3{10, 0, 0}, target);
    camera.orbit(90, 0);
    ExpectNear(camera.position(), target + Vec3{0, 10, 0});
    camera.orbit(0, 500);
    EXPECT_NEAR(Length(camera.position() - target), 10.0, 1e-9);
    EXPECT_GT(camera.position().z - target.z, 9.99999);
    EXPECT_LT(camera.position().z - target.z, 10.0);
    // Still a well-defined view: the target projects to the centre.
    const auto centre = Project(camera, target);
    EXPECT_NEAR(centre[0], 0.0, 1e-6);
    EXPECT_NEAR(centre[1], 0.0, 1e-6);
}

TEST(OrthoCamera, PanMovesCameraAndTargetSoTheSceneFollowsThePointer) {
    OrthoCamera camera;
    camera.setViewport(400, 200);
    camera.setSceneScale(2.0);
    camera.place({0, -50, 0}, {0, 0, 0});  // front view: right is +X, up is +Z
    const Vec3 anchor{3, 0, 1};
    const auto before = Project(camera, anchor);
    camera.pan(-40, -10);  // as a drag of 40 pixels right and 10 pixels up
    ExpectNear(camera.target() - Vec3{0, 0, 0}, camera.position() - Vec3{0, -50, 0});
    const auto after = Project(camera, anchor);
    // 2 clip units are 200 pixels high and 400 wide.
    EXPECT_NEAR((after[0] - before[0]) * 200, 40.0, 1e-6);
    EXPECT_NEAR((after[1] - before[1]) * 100, 10.0, 1e-6);
}

TEST(OrthoCamera, FitBoxCentresOnTheBoxAndShowsAllOfIt) {
    OrthoCamera camera;
    camera.place({0, -1, 1}, {0, 0, 0});
    camera.fitBox({100, 50, 0}, {0, 0, -5});
    ExpectNear(camera.target(), {50, 25, -2.5});
    camera.setViewport(100, 100);
    for (Vec3 corner : {Vec3{0, 0, -5}, Vec3{100, 50, 0}, Vec3{0, 50, 0}, Vec3{100, 0, -5}}) {
        const auto p = Project(camera, corner);
        EXPECT_LE(std::fabs(p[0]), 1.0);
        EXPECT_LE(std::fabs(p[1]), 1.0);
        EXPECT_LE(std::fabs(p[2]), 1.0);
    }
    // From straight above it looks down slightly off the axis, so "up" stays defined.
    camera.place({0, 0, 10}, {0, 0, 0});
    camera.fitBox({-1, -1, -1}, {1, 1, 1});
    ExpectNear(camera.position() - camera.target(), {0, -0.0001, camera.position().z}, 1e-12);
}

TEST(ViewNavigation, LeftDragOrbitsPansOrZoomsByTheModifiers) {
    struct Case {
        const char* name;
        bool left, shift, control, panMode;
        int toX, toY;
        bool moved, panned, zoomedIn, zoomedOut;
    };
    const Case cases[] = {
        {"no button", false, false, false, false, 30, 30, false, false, false, false},
        {"orbit", true, false, false, false, 30, 30, true, false, false, false},
        {"shift pans", true, true, false, false, 30, 30, true, true, false, false},
        {"pan command pans", true, false, false, true, 30, 30, true, true, false, false},
        {"shift wins over ctrl", true, true, true, false, 30, 30, true, true, false, false},
        {"ctrl up zooms in", true, false, true, false, 30, 10, true, false, true, false},
        {"ctrl down zooms out", true, false, true, false, 10, 30, true, false, false, true},
        {"ctrl sideways does nothing", true, false, true, false, 30, 20, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OrthoCamera camera;
        camera.setViewport(100, 100);
        camera.place({10, -10, 10}, {0, 0, 0});
        ViewNavigation navigation;
        navigation.press(20, 20);
        EXPECT_EQ(navigation.move(camera, c.toX, c.toY, c.left, c.shift, c.control, c.panMode), c.moved);
        EXPECT_EQ((camera.target() != Vec3{0, 0, 0}), c.panned);
        EXPECT_EQ(camera.sceneScale() > 1.0, c.zoomedIn);
        EXPECT_EQ(camera.sceneScale() < 1.0, c.zoomedOut);
        EXPECT_NEAR(Length(camera.position() - camera.target()), Length(Vec3{10, -10, 10}), 1e-9);
        // The next move is measured from here, whether or not the camera moved.
        OrthoCamera still = camera;
        EXPECT_FALSE(navigation.move(camera, c.toX, c.toY, true, false, true, false));
        EXPECT_EQ(camera.position(), still.position());
    }
}

}  // namespace
}  // namespace calvoro
