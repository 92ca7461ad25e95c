// The 2D object base: the two-stage transform, visibility, the base pick and
// the pick of control points.
#include "tests/kernel/entities/EntityTestSupport.h"

#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Picking.h"

#include <cmath>
#include <numbers>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr double kPi = std::numbers::pi;

TEST(Object2DTransform, IdentityIsNeverKept) {
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(2, 0));
    line.SetObjectMatrix(TranslationMatrix2D(1, 1));
    EXPECT_TRUE(line.HasTransform());
    line.SetObjectMatrix(IdentityMatrix2D);
    EXPECT_FALSE(line.TempMatrix().has_value());
    EXPECT_FALSE(line.HasTransform());
    EXPECT_EQ(line.Box(), MakeRect2D(0, 0, 2, 0));
}

TEST(Object2DTransform, AppliedTransformsComposeInOrderAndMoveTheBox) {
    TLine2D line(1, MakePoint2D(1, 0), MakePoint2D(2, 0));
    int changes = 0;
    line.SetOnChange([&](TGraphicObject&) { ++changes; });
    line.ApplyTransform(RotationMatrix2D(kPi / 2));  // first a quarter turn...
    line.ApplyTransform(TranslationMatrix2D(5, 6));  // ...then a shift
    EXPECT_EQ(changes, 2);
    const TPoint2D moved = PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix());
    EXPECT_POINT_NEAR(moved, 5, 7, 1e-12);
    EXPECT_NEAR(line.Box().Left, 5, 1e-12);
    EXPECT_NEAR(line.Box().Bottom, 7, 1e-12);
    EXPECT_NEAR(line.Box().Top, 8, 1e-12);

    // Frozen, the product is the stored stage and later edits apply after it.
    line.FreezeTransform();
    EXPECT_FALSE(line.TempMatrix().has_value());
    ASSERT_TRUE(line.ModelMatrix().has_value());
    line.ApplyTransform(ScalingMatrix2D(2, 2));
    EXPECT_EQ(line.GetObjectMatrix(), MultiplyMatrix2D(*line.ModelMatrix(), ScalingMatrix2D(2, 2)));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix()), 10, 14, 1e-12);

    line.ClearTransforms();
    EXPECT_FALSE(line.HasTransform());
    EXPECT_EQ(line.Box(), MakeRect2D(1, 0, 2, 0));
}

TEST(Object2DTransform, WorldToObjectUndoesTheObjectMatrix) {
    TPunto2D point(1, MakePoint2D(0, 0));
    point.SetObjectMatrix(MultiplyMatrix2D(ScalingMatrix2D(2, 4), TranslationMatrix2D(10, 0)));
    EXPECT_POINT_NEAR(point.WorldToObject(MakePoint2D(12, 4)), 1, 1, 1e-12);
    // A singular matrix maps everything to the origin, without an error.
    point.SetObjectMatrix(ScalingMatrix2D(0, 1));
    EXPECT_POINT_NEAR(point.WorldToObject(MakePoint2D(12, 4)), 0, 0, 0);
}

TEST(Object2DTransform, AssignTakesTheWholeObjectMatrixAsStoredStage) {
    TLine2D source(1, MakePoint2D(0, 0), MakePoint2D(1, 0));
    source.SetObjectMatrix(TranslationMatrix2D(3, 0));
    source.FreezeTransform();
    source.ApplyTransform(TranslationMatrix2D(0, 4));
    source.SetVisible(false);
    source.SetLayer(9);
    TLine2D target(2, MakePoint2D(5, 5), MakePoint2D(6, 6));
    target.SetObjectMatrix(RotationMatrix2D(1.0));
    target.Assign(source);
    ASSERT_TRUE(target.ModelMatrix().has_value());
    EXPECT_EQ(*target.ModelMatrix(), source.GetObjectMatrix());
    EXPECT_FALSE(target.TempMatrix().has_value());
    EXPECT_FALSE(target.Visible());
    EXPECT_EQ(target.ID(), 2);     // not copied
    EXPECT_EQ(target.Layer(), 0);  // not copied
    EXPECT_EQ(target.Box(), source.Box());
}

TEST(Object2DVisibility, BoxesThatTouchAreVisibleAndHiddenObjectsNever) {
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 10));
    EXPECT_TRUE(line.IsVisible(MakeRect2D(10, 10, 20, 20)));  // corner to corner
    EXPECT_TRUE(line.IsVisible(MakeRect2D(-5, -5, 0, 0)));
    EXPECT_FALSE(line.IsVisible(MakeRect2D(10.001, 0, 20, 20)));
    EXPECT_FALSE(line.IsVisible(MakeRect2D(0, -5, 10, -0.001)));
    line.SetVisible(false);
    EXPECT_FALSE(line.IsVisible(MakeRect2D(0, 0, 10, 10)));
}

struct PickCase {
    const char* what;
    TPoint2D at;
    int expected;
    double distance;
};

TEST(Object2DPick, BaseCodesAndDistances) {
    // A line from (0, 0) to (10, 0) with aperture 1: the control points win
    // over the box; the line itself refines the box.
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    const PickCase cases[] = {
        {"far away", MakePoint2D(20, 20), kHitMiss, kNoDistance},
        {"just outside the grown box", MakePoint2D(5, 1.0001), kHitMiss, kNoDistance},
        {"on the grown box's edge", MakePoint2D(5, 1), kHitOutline, 1},
        {"on the segment", MakePoint2D(5, 0.25), kHitOutline, 0.25},
        {"in the box past the end", MakePoint2D(10.9, 0.9), kHitNearBox, 1},
        {"at the start", MakePoint2D(0.5, 0), 0, 0.5},
        {"at the end", MakePoint2D(10, -0.5), 1, 0.5},
    };
    for (const PickCase& c : cases) {
        double distance = -1;
        EXPECT_EQ(line.HitTest(c.at, distance, 1.0), c.expected) << c.what;
        EXPECT_DOUBLE_EQ(distance, c.distance) << c.what;
    }
}

TEST(Object2DPick, DisabledObjectsAreNeverHit) {
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    line.SetEnabled(false);
    double distance = 0;
    EXPECT_EQ(line.HitTest(MakePoint2D(0, 0), distance, 1.0), kHitMiss);
    EXPECT_EQ(distance, kNoDistance);
}

TEST(Object2DPick, EquallyNearControlPointsGoToTheLaterIndex) {
    TLine2D line(1, MakePoint2D(-1, 0), MakePoint2D(1, 0));
    double distance = 0;
    EXPECT_EQ(line.HitTest(MakePoint2D(0, 0.5), distance, 2.0), 1);
    EXPECT_DOUBLE_EQ(distance, std::sqrt(1.25));
}

TEST(Object2DPick, ControlPointsArePickedThroughTheObjectMatrix) {
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(1, 0));
    line.SetObjectMatrix(TranslationMatrix2D(100, 0));
    double distance = 0;
    EXPECT_EQ(line.HitTest(MakePoint2D(101, 0.1), distance, 0.5), 1);
    EXPECT_DOUBLE_EQ(distance, 0.1);
    EXPECT_EQ(line.HitTest(MakePoint2D(1, 0), distance, 0.5), kHitMiss);
}

TEST(Object2DPick, ALonePointHasNoOutline) {
    TPunto2D point(1, MakePoint2D(0, 0));
    double distance = 0;
    // Within the aperture square but farther than the aperture: the box only.
    EXPECT_EQ(point.HitTest(MakePoint2D(0.9, 0.9), distance, 1.0), kHitNearBox);
    EXPECT_EQ(distance, 1.0);
    EXPECT_EQ(point.HitTest(MakePoint2D(0.3, 0.4), distance, 1.0), 0);
    EXPECT_DOUBLE_EQ(distance, 0.5);
}

TEST(Object2DPick, PolylinesAreOpenAndPolygonsClosedAndFilled) {
    // Three points of a right angle; a polygon closes them along the diagonal
    // from (10, 10) back to (0, 0).
    const std::vector<TPoint2D> ell = {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10)};
    TPolyline2D polyline(1, ell);
    TPolygon2D polygon(2, ell);
    struct Case {
        const char* what;
        TObject2D* object;
        TPoint2D at;
        int expected;
        double distance;
    };
    const Case cases[] = {
        {"polyline on its first leg", &polyline, MakePoint2D(5, 0.3), kHitOutline, 0.3},
        {"polyline on its second leg", &polyline, MakePoint2D(9.6, 5), kHitOutline, 0.4},
        {"polyline where it would close", &polyline, MakePoint2D(5.2, 5), kHitNearBox, 1},
        {"polygon on its closing edge", &polygon, MakePoint2D(5.2, 5), kHitOutline, 0.2 / std::sqrt(2.0)},
        {"polygon inside", &polygon, MakePoint2D(7, 3), kHitInside, 1},
        {"polygon outside, in its box", &polygon, MakePoint2D(2, 6), kHitNearBox, 1},
        {"polygon at a corner", &polygon, MakePoint2D(10, 10.5), 2, 0.5},
    };
    for (const Case& c : cases) {
        double distance = 0;
        EXPECT_EQ(c.object->HitTest(c.at, distance, 1.0), c.expected) << c.what;
        EXPECT_NEAR(distance, c.distance, 1e-12) << c.what;
    }
}

TEST(Object2DPick, AnEmptyPolylineIsOnlyItsBox) {
    TPolyline2D polyline(1, std::vector<TPoint2D>{});
    EXPECT_EQ(polyline.Box(), MakeRect2D(0, 0, 0, 0));
    double distance = 0;
    EXPECT_EQ(polyline.HitTest(MakePoint2D(0.5, 0), distance, 1.0), kHitNearBox);
    EXPECT_EQ(distance, 1.0);
}

}  // namespace
