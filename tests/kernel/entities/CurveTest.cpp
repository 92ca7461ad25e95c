// Curves: their linearisation, the profile cache and its lifetime, the
// B-spline's order, picks of closed, filled and open curves, and the arc data
// of the object snap.
#include "tests/support/Drawings.h"

#include "kernel/entities/QV2D_Entities.h"
#include "kernel/geometry/Picking.h"
#include "kernel/model/CADCoreExceptions.h"

#include <cmath>
#include <numbers>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

std::vector<TPoint2D> ProfileOf(TCurve2D& curve) {
    const ProfileUse use(curve);
    const auto points = curve.GetProfilePoints().Points();
    return {points.begin(), points.end()};
}

// A closed conic runs clockwise from its rightmost point, in 50 segments, back
// to where it started.
TEST(CurveLinearisation, ConicsRunClockwiseAndCloseOnTheirFirstPoint) {
    TCerchio2D circle(1, MakePoint2D(10, 20), MakePoint2D(10, 25));
    TEllipse2D ellipse(2, MakePoint2D(4, 3), MakePoint2D(-4, -1));  // centre (0, 1), radii 4 and 2
    struct Case {
        TCurve2D& curve;
        TPoint2D first, halfWay;
    };
    const Case cases[] = {
        {circle, MakePoint2D(15, 20), MakePoint2D(5, 20)},
        {ellipse, MakePoint2D(4, 1), MakePoint2D(-4, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.curve.ClassName()));
        const std::vector<TPoint2D> profile = ProfileOf(c.curve);
        ASSERT_EQ(profile.size(), 51u);
        EXPECT_EQ(profile.front(), c.first);
        EXPECT_EQ(profile.back(), c.first);
        EXPECT_POINT_NEAR(profile[25], c.halfWay.X, c.halfWay.Y, 1e-12);
        EXPECT_LT(profile[1].Y, c.first.Y) << "clockwise";
        EXPECT_TRUE(c.curve.IsClosed());
    }
    EXPECT_NEAR(circle.Box().Left, 5, 1e-12);
    EXPECT_NEAR(circle.Box().Top, 25, 1e-2);  // the profile's box, not the circle's
}

TEST(CurveLinearisation, BSplineOrdersFromRecordsAreChecked) {
    const auto record = [](int points, std::uint8_t order) {
        RecordBytes r;
        r.Header(1).Identity().U16(static_cast<std::uint16_t>(points));
        for (int i = 0; i < points; ++i) r.Point(i, i * i);
        return r.U8(1).U16(50).U8(1).U8(order).str();
    };
    EXPECT_THROW(ReadRecord<TBSpline2D>(record(4, 0)), ECADFileNotValid);  // no basis at all
    EXPECT_THROW(ReadRecord<TBSpline2D>(record(4, 5)), ECADFileNotValid);
    EXPECT_THROW(ReadRecord<TBSpline2D>(record(2, 4)), ECADFileNotValid);
    // The program's own splines of order 3 with fewer points still load, as
    // their control polygon.
    auto small = ReadRecord<TBSpline2D>(record(2, 3));
    small->RecalcBox();
    EXPECT_EQ(ProfileOf(*small), (std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(1, 1)}));
    auto order4 = ReadRecord<TBSpline2D>(record(4, 4));
    order4->RecalcBox();
    EXPECT_EQ(order4->Order(), 4);
    const std::vector<TPoint2D> profile = ProfileOf(*order4);
    ASSERT_EQ(profile.size(), 51u);
    EXPECT_POINT_NEAR(profile.front(), 0, 0, 1e-12);
    EXPECT_EQ(profile.back(), MakePoint2D(3, 9));
    EXPECT_NE(profile[25], MakePoint2D(0, 0));
}

// A kept profile lives from box update to destruction; an unkept one only
// within the brackets of its readers.
TEST(CurveProfileCache, AProfileIsKeptOrLivesOnlyWithinItsBrackets) {
    TCerchio2D circle(1, MakePoint2D(0, 0), MakePoint2D(1, 0));
    EXPECT_EQ(circle.KeepProfile(), 1);
    EXPECT_EQ(circle.ProfileUseCount(), 1);
    EXPECT_EQ(circle.GetNPts(), 51);  // no bracket needed
    circle.Points().SetPoint(1, MakePoint2D(2, 0));
    EXPECT_EQ(circle.ProfileUseCount(), 1);
    EXPECT_EQ(circle.GetProfilePoints().Get(0), MakePoint2D(2, 0));
    {
        const ProfileUse use(circle);
        EXPECT_EQ(circle.ProfileUseCount(), 1);
    }
    EXPECT_TRUE(circle.HasProfilePoints());

    circle.Points().SetPoint(1, MakePoint2D(1, 0));
    circle.SetKeepProfile(0);
    EXPECT_FALSE(circle.HasProfilePoints());  // the kept one is dropped
    EXPECT_EQ(circle.ProfileUseCount(), 0);
    EXPECT_THAT([&] { circle.GetProfilePoints(); },
                testing::ThrowsMessage<ECADCoreException>(
                    testing::StrEq("TCurve2D: Call BeginUseProfilePoints before accessing the curve points.")));
    EXPECT_THROW(circle.GetNPts(), ECADCoreException);
    EXPECT_EQ(circle.Box().Left, -1.0) << "the box is kept without the profile";
    EXPECT_EQ(circle.Box().Right, 1.0);

    circle.BeginUseProfilePoints();
    circle.BeginUseProfilePoints();
    EXPECT_EQ(circle.ProfileUseCount(), 2);
    EXPECT_EQ(circle.GetNPts(), 51);
    circle.Points().SetPoint(1, MakePoint2D(3, 0));  // a box update inside the bracket keeps it
    EXPECT_EQ(circle.ProfileUseCount(), 2);
    EXPECT_EQ(circle.GetProfilePoints().Get(0), MakePoint2D(3, 0));
    circle.EndUseProfilePoints();
    EXPECT_TRUE(circle.HasProfilePoints());
    circle.EndUseProfilePoints();
    EXPECT_FALSE(circle.HasProfilePoints());
    EXPECT_EQ(circle.ProfileUseCount(), 0);

    EXPECT_TRUE(circle.IsClosed());  // brackets itself
    EXPECT_FALSE(circle.HasProfilePoints());
    circle.SetKeepProfile(1);
    EXPECT_EQ(circle.ProfileUseCount(), 1);
}

}  // namespace
