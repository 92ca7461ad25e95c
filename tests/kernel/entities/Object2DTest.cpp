// The 2D object base: the two-stage transform and its freezing on write,
// visibility, and the pick codes and distances of the base and of the
// point-list entities.
#include "tests/support/Drawings.h"

#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolygon2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Picking.h"

#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr double kPi = std::numbers::pi;

// Edits accumulate in the temporary stage; writing freezes it into the stored
// matrix, after which edits apply after it.
TEST(Object2DTransform, EditsComposeInOrderAndWritingFreezesThem) {
    TLine2D line(1, MakePoint2D(1, 0), MakePoint2D(2, 0));
    line.SetObjectMatrix(IdentityMatrix2D);
    EXPECT_FALSE(line.TempMatrix().has_value()) << "an identity is never kept";
    EXPECT_FALSE(line.HasTransform());
    int changes = 0;
    line.SetOnChange([&](TGraphicObject&) { ++changes; });
    line.ApplyTransform(RotationMatrix2D(kPi / 2));  // first a quarter turn...
    line.ApplyTransform(TranslationMatrix2D(5, 6));  // ...then a shift
    EXPECT_EQ(changes, 2);
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix()), 5, 7, 1e-12);
    EXPECT_NEAR(line.Box().Left, 5, 1e-12);
    EXPECT_NEAR(line.Box().Bottom, 7, 1e-12);
    EXPECT_NEAR(line.Box().Top, 8, 1e-12);
    ASSERT_TRUE(line.TempMatrix().has_value());
    EXPECT_FALSE(line.ModelMatrix().has_value());

    const TMatrix2D combined = MultiplyMatrix2D(RotationMatrix2D(kPi / 2), TranslationMatrix2D(5, 6));
    const std::string record = RecordOf(line);
    EXPECT_BYTES_EQ(record.substr(6, 72), RecordBytes().Matrix(combined).str());
    EXPECT_FALSE(line.TempMatrix().has_value());
    ASSERT_TRUE(line.ModelMatrix().has_value());
    EXPECT_EQ(*line.ModelMatrix(), combined);
    EXPECT_TRUE(line.HasTransform());
    EXPECT_BYTES_EQ(RecordOf(line), record);  // writing the frozen object again changes nothing
    line.ApplyTransform(ScalingMatrix2D(2, 2));
    EXPECT_EQ(line.GetObjectMatrix(), MultiplyMatrix2D(combined, ScalingMatrix2D(2, 2)));
    EXPECT_POINT_NEAR(PointTimesMatrix2D(MakePoint2D(1, 0), line.GetObjectMatrix()), 10, 14, 1e-12);
    line.ClearTransforms();
    EXPECT_FALSE(line.HasTransform());
    EXPECT_EQ(line.Box(), MakeRect2D(1, 0, 2, 0));

    // Read back, the matrix is the stored one and nothing is pending; a stored
    // identity is no transform at all.
    auto back = ReadRecord<TLine2D>(record);
    ASSERT_TRUE(back->ModelMatrix().has_value());
    EXPECT_EQ(*back->ModelMatrix(), combined);
    EXPECT_FALSE(back->TempMatrix().has_value());
    auto plain = ReadRecord<TLine2D>(RecordBytes().Header(1).Identity().U16(2).Point(0, 0).Point(1, 1).U8(0));
    EXPECT_FALSE(plain->HasTransform());
    EXPECT_FALSE(plain->Points().Growable());
}

// Control points win over the outline, the outline refines the box, and a
// disabled object is never hit.
TEST(Object2DPick, CodesAndDistances) {
    TLine2D line(1, MakePoint2D(0, 0), MakePoint2D(10, 0));
    TLine2D disabled(2, MakePoint2D(0, 0), MakePoint2D(10, 0));
    disabled.SetEnabled(false);
    TLine2D shortLine(3, MakePoint2D(-1, 0), MakePoint2D(1, 0));
    TLine2D moved(4, MakePoint2D(0, 0), MakePoint2D(1, 0));
    moved.SetObjectMatrix(TranslationMatrix2D(100, 0));
    TPunto2D point(5, MakePoint2D(0, 0));
    // Three points of a right angle; the polygon closes them along the diagonal.
    const std::vector<TPoint2D> ell = {MakePoint2D(0, 0), MakePoint2D(10, 0), MakePoint2D(10, 10)};
    TPolyline2D polyline(6, ell);
    TPolygon2D polygon(7, ell);
    TPolyline2D empty(8, std::vector<TPoint2D>{});
    struct Case {
        const char* what;
        TObject2D& object;
        TPoint2D at;
        double aperture;
        int expected;
        double distance;
    };
    const Case cases[] = {
        {"far away", line, MakePoint2D(20, 20), 1, kHitMiss, kNoDistance},
        {"just outside the grown box", line, MakePoint2D(5, 1.0001), 1, kHitMiss, kNoDistance},
        {"on the grown box's edge", line, MakePoint2D(5, 1), 1, kHitOutline, 1},
        {"on the segment", line, MakePoint2D(5, 0.25), 1, kHitOutline, 0.25},
        {"in the box past the end", line, MakePoint2D(10.9, 0.9), 1, kHitNearBox, 1},
        {"at the start", line, MakePoint2D(0.5, 0), 1, 0, 0.5},
        {"at the end", line, MakePoint2D(10, -0.5), 1, 1, 0.5},
        {"disabled", disabled, MakePoint2D(0, 0), 1, kHitMiss, kNoDistance},
        {"equally near: the later index", shortLine, MakePoint2D(0, 0.5), 2, 1, std::sqrt(1.25)},
        {"through the matrix", moved, MakePoint2D(101, 0.1), 0.5, 1, 0.1},
        {"where it was before the matrix", moved, MakePoint2D(1, 0), 0.5, kHitMiss, kNoDistance},
        {"a lone point has no outline", point, MakePoint2D(0.9, 0.9), 1, kHitNearBox, 1},
        {"a lone point", point, MakePoint2D(0.3, 0.4), 1, 0, 0.5},
        {"polyline on its first leg", polyline, MakePoint2D(5, 0.3), 1, kHitOutline, 0.3},
        {"polyline on its second leg", polyline, MakePoint2D(9.6, 5), 1, kHitOutline, 0.4},
        {"polyline where it would close", polyline, MakePoint2D(5.2, 5), 1, kHitNearBox, 1},
        {"polygon on its closing edge", polygon, MakePoint2D(5.2, 5), 1, kHitOutline, 0.2 / std::sqrt(2.0)},
        {"polygon inside", polygon, MakePoint2D(7, 3), 1, kHitInside, 1},
        {"polygon outside, in its box", polygon, MakePoint2D(2, 6), 1, kHitNearBox, 1},
        {"polygon at a corner", polygon, MakePoint2D(10, 10.5), 1, 2, 0.5},
        {"empty polyline: only its box", empty, MakePoint2D(0.5, 0), 1, kHitNearBox, 1},
    };
    for (const Case& c : cases) {
        double distance = -1;
        EXPECT_EQ(c.object.HitTest(c.at, distance, c.aperture), c.expected) << c.what;
        EXPECT_NEAR(distance, c.distance, 1e-12) << c.what;
    }
    EXPECT_EQ(empty.Box(), MakeRect2D(0, 0, 0, 0));
}

}  // namespace
