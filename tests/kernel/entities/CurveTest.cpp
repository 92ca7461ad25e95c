// Curves: their linearisation, the profile cache and its lifetime, the
// B-spline's order, picks of closed, filled and open curves, and the arc
// queries of the object snap.
#include "tests/kernel/entities/EntityTestSupport.h"

#include "kernel/entities/QV2D_Entities.h"
#include "kernel/geometry/Picking.h"
#include "kernel/model/CADCoreExceptions.h"

#include <cmath>
#include <numbers>
#include <vector>

using namespace calvoro;
using namespace calvoro::test;

namespace {

constexpr double kPi = std::numbers::pi;

// Start (1, 0) and end (0, -1) round the origin, Direction 0: only records hold
// clockwise arcs.
std::unique_ptr<TArco2D> ClockwiseArc() {
    return ReadRecord<TArco2D>(
        ArcRecord({MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(1, 0), MakePoint2D(0, -1)}, 0));
}

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

TEST(CurveLinearisation, FrameIsFivePointsAroundItsCorners) {
    TFrame2D frame(1, MakePoint2D(0, 0), TPoint2D{6, 4, 2});  // W = 2: the corner (3, 2)
    const std::vector<TPoint2D> expected = {MakePoint2D(0, 0), MakePoint2D(0, 2), MakePoint2D(3, 2), MakePoint2D(3, 0),
                                            MakePoint2D(0, 0)};
    EXPECT_EQ(ProfileOf(frame), expected);
    EXPECT_TRUE(frame.IsClosed());
    EXPECT_EQ(frame.Box(), MakeRect2D(0, 0, 3, 2));
}

TEST(CurveLinearisation, QuarterArcTakesItsLastStepTwice) {
    TArco2D arc(1, MakePoint2D(0, 0), MakePoint2D(2, 0), 0.0, kPi / 2);
    const std::vector<TPoint2D> profile = ProfileOf(arc);
    ASSERT_EQ(profile.size(), 51u);
    const double step = (kPi / 2) / 51;
    EXPECT_POINT_NEAR(profile[0], 2, 0, 0);
    EXPECT_POINT_NEAR(profile[49], 2 * std::cos(49 * step), 2 * std::sin(49 * step), 1e-15);
    EXPECT_EQ(profile[50], MakePoint2D(2 * std::cos(kPi / 2), 2));  // exactly at the end angle
    EXPECT_FALSE(arc.IsClosed());
    EXPECT_EQ(arc.StartAngle(), 0.0);
    EXPECT_EQ(arc.EndAngle(), kPi / 2);
}

TEST(CurveLinearisation, ArcSweepGoesTheLongWayWhenTheEndLiesBelowTheStart) {
    EXPECT_DOUBLE_EQ(ArcSweep(0.0, kPi / 2), kPi / 2);
    EXPECT_DOUBLE_EQ(ArcSweep(kPi / 2, 0.0), 1.5 * kPi);
    EXPECT_DOUBLE_EQ(ArcSweep(1.0, 1.0), 2 * kPi);  // equal angles: a full turn
    TArco2D arc(1, MakePoint2D(0, 0), MakePoint2D(1, 0), kPi / 2, 0.0);
    EXPECT_LT(arc.Box().Left, -0.99);  // through the left half
    EXPECT_LT(arc.Box().Bottom, -0.99);
}

TEST(CurveLinearisation, ClockwiseArcMirrorsAboutItsHorizontal) {
    // Start (1, 0), end (0, -1): with Direction 0 the angles are measured with
    // Y down (0 and pi/2), and the arc runs clockwise through the fourth quadrant.
    auto arc = ClockwiseArc();
    arc->RecalcBox();
    EXPECT_DOUBLE_EQ(arc->StartAngle(), 0.0);
    EXPECT_DOUBLE_EQ(arc->EndAngle(), kPi / 2);
    const std::vector<TPoint2D> profile = ProfileOf(*arc);
    for (const TPoint2D& p : profile) EXPECT_LE(p.Y, 1e-12) << p;
    EXPECT_POINT_NEAR(profile.back(), 0, -1, 1e-15);
}

TEST(CurveLinearisation, OpenEllipseBoxIsTheWholeEllipse) {
    auto arc = ReadRecord<TEllipseOpen2D>(
        ArcRecord({MakePoint2D(-4, -2), MakePoint2D(4, 2), MakePoint2D(4, 0), MakePoint2D(0, 2)}, 1));
    arc->RecalcBox();
    EXPECT_EQ(arc->Box(), MakeRect2D(-4, -2, 4, 2));
    const std::vector<TPoint2D> profile = ProfileOf(*arc);
    ASSERT_EQ(profile.size(), 51u);
    EXPECT_POINT_NEAR(profile.front(), 4, 0, 0);
    EXPECT_POINT_NEAR(profile.back(), 4 * std::cos(kPi / 2), 2, 1e-15);
    for (const TPoint2D& p : profile) EXPECT_GE(p.X, -1e-12);  // first quadrant only
}

TEST(CurveLinearisation, BSplinesOfOrderThreeAgreeWithBezierAndJoinAtMidpoints) {
    // Over three points the quadratic B-spline is the Bezier curve.
    TBSpline2D spline(1, std::vector<TPoint2D>{MakePoint2D(0, 0), MakePoint2D(2, 4), MakePoint2D(4, 0)});
    const std::vector<TPoint2D> profile = ProfileOf(spline);
    ASSERT_EQ(profile.size(), 51u);
    for (int i = 0; i < 50; ++i) {
        const double u = i / 50.0;
        const double b = 2 * u * (1 - u), c = u * u;  // Bernstein weights of points 1 and 2
        SCOPED_TRACE(i);
        EXPECT_POINT_NEAR(profile[i], b * 2 + c * 4, b * 4, 1e-12);
    }
    EXPECT_EQ(profile.back(), MakePoint2D(4, 0));
    // Over four points, two spans meeting half way between points 1 and 2.
    const std::vector<TPoint2D> four = {MakePoint2D(0, 0), MakePoint2D(2, 2), MakePoint2D(4, 2), MakePoint2D(6, 0)};
    const std::vector<TPoint2D> spans = BSplineProfile(four, 3, 4);
    ASSERT_EQ(spans.size(), 5u);
    EXPECT_POINT_NEAR(spans[0], 0, 0, 0);
    EXPECT_POINT_NEAR(spans[2], 3, 2, 1e-15);
    EXPECT_EQ(spans[4], MakePoint2D(6, 0));
    // Collinear control points give a straight profile.
    const std::vector<TPoint2D> straight = {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(5, 5), MakePoint2D(6, 6)};
    for (const TPoint2D& p : BSplineProfile(straight, 3, 20)) EXPECT_NEAR(p.X, p.Y, 1e-12);
}

TEST(CurveLinearisation, HigherOrdersSpanTheWholePolygon) {
    // Order 4 over five points, as a record may hold: the profile runs from
    // the first to the last point and never collapses to the origin.
    const std::vector<TPoint2D> control = {MakePoint2D(10, 10), MakePoint2D(12, 14), MakePoint2D(16, 14),
                                           MakePoint2D(18, 10), MakePoint2D(20, 12)};
    const std::vector<TPoint2D> profile = BSplineProfile(control, 4, 50);
    ASSERT_EQ(profile.size(), 51u);
    EXPECT_POINT_NEAR(profile.front(), 10, 10, 1e-12);
    for (const TPoint2D& p : profile) {
        EXPECT_GE(p.X, 10 - 1e-9);
        EXPECT_LE(p.X, 20 + 1e-9);
        EXPECT_GE(p.Y, 10 - 1e-9);
    }
    EXPECT_POINT_NEAR(profile[49], 20, 12, 1.0);  // the last sample lies close to the end
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

// IsClosed never raises: a curve without a profile and an outline without
// enough points are open.
TEST(CurveProfileCache, WithoutAProfileOrEnoughPointsAnOutlineIsOpen) {
    auto frame =
        ReadRecord<TFrame2D>(RecordBytes().Header(1).Identity().U16(2).Point(1, 1).Point(5, 3).U8(0).U16(0).U8(1));
    frame->RecalcBox();
    EXPECT_FALSE(frame->HasProfilePoints());
    EXPECT_EQ(frame->Box(), MakeRect2D(0, 0, 0, 0));
    EXPECT_FALSE(frame->IsClosed());
    double distance = 0;
    EXPECT_EQ(frame->HitTest(MakePoint2D(0.5, 0), distance, 1.0), kHitNearBox);
    EXPECT_THROW(frame->GetProfilePoints(), ECADCoreException);

    const auto closed = [](std::vector<TPoint2D> points) { return TPolyline2D(1, points).IsClosed(); };
    EXPECT_FALSE(closed({MakePoint2D(1, 1), MakePoint2D(1, 1)}));
    EXPECT_TRUE(closed({MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(0.00004, 0)}));
    EXPECT_FALSE(closed({MakePoint2D(0, 0), MakePoint2D(1, 0), MakePoint2D(0.0001, 0)}));
    EXPECT_TRUE(TPolygon2D(1, std::vector<TPoint2D>{MakePoint2D(0, 0)}).IsClosed());
}

TEST(CurvePick, FilledShapesAndOpenArcs) {
    TRectangle2D rectangle(1, MakePoint2D(0, 0), MakePoint2D(10, 10));
    TFrame2D frame(2, MakePoint2D(0, 0), MakePoint2D(10, 10));
    TFilledEllipse2D filledEllipse(3, MakePoint2D(0, 0), MakePoint2D(10, 10));
    TFilledCerchio2D filledCircle(4, MakePoint2D(5, 5), MakePoint2D(10, 5));
    TArco2D arc(5, MakePoint2D(5, 5), MakePoint2D(10, 5), 0.0, kPi / 2);
    struct Case {
        const char* what;
        TObject2D& object;
        TPoint2D at;
        int expected;
        double distance;
    };
    const Case cases[] = {
        {"rectangle inside", rectangle, MakePoint2D(4, 6), kHitInside, 0.5},
        {"rectangle border", rectangle, MakePoint2D(4, 9.8), kHitOutline, 0.2},
        {"frame inside", frame, MakePoint2D(4, 6), kHitNearBox, 0.5},
        {"filled ellipse inside", filledEllipse, MakePoint2D(4, 6), kHitInside, 0.5},
        {"filled ellipse corner", filledEllipse, MakePoint2D(0.5, 0.5), kHitNearBox, 0.5},
        {"filled circle inside: only its outline counts", filledCircle, MakePoint2D(4, 6), kHitNearBox, 0.5},
        // 0.1 below the middle of the profile's chord at the bottom.
        {"filled circle outline", filledCircle, MakePoint2D(5, 5 - 5 * std::cos(kPi / 50) - 0.1), kHitOutline, 0.1},
        {"arc on its curve", arc, MakePoint2D(5 + 5 * std::cos(0.7), 5 + 5 * std::sin(0.7) + 0.1), kHitOutline, -1},
        {"arc inside its box", arc, MakePoint2D(6, 6), kHitNearBox, 0.5},
        {"arc away from its box", arc, MakePoint2D(1, 5), kHitMiss, kNoDistance},
    };
    for (const Case& c : cases) {
        double distance = 0;
        EXPECT_EQ(c.object.HitTest(c.at, distance, 0.5), c.expected) << c.what;
        if (c.distance >= 0) {
            EXPECT_NEAR(distance, c.distance, 1e-9) << c.what;
        }
    }
}

TEST(ArcQueries, DataFollowTheObjectMatrixAndSnapToTheEnds) {
    TArco2D arc(1, MakePoint2D(1, 1), MakePoint2D(3, 1), 0.0, kPi / 2);
    TArcData data = arc.GetArcData();
    EXPECT_POINT_NEAR(data.Centre, 1, 1, 0);
    EXPECT_DOUBLE_EQ(data.Radius, 2);
    EXPECT_NEAR(data.StartAngle, 0, 1e-15);
    EXPECT_NEAR(data.EndAngle, kPi / 2, 1e-15);
    EXPECT_NEAR(data.Sweep, kPi / 2, 1e-15);
    EXPECT_POINT_NEAR(data.StartPoint, 3, 1, 1e-15);
    EXPECT_POINT_NEAR(data.EndPoint, 1, 3, 1e-15);
    EXPECT_EQ(arc.ArcPointAt(1e-15), data.StartPoint);
    EXPECT_EQ(arc.ArcPointAt(1 - 1e-15), data.EndPoint);
    EXPECT_POINT_NEAR(arc.ArcPointAt(0.5), 1 + 2 * std::cos(kPi / 4), 1 + 2 * std::sin(kPi / 4), 1e-12);

    arc.SetObjectMatrix(MultiplyMatrix2D(RotationMatrix2D(kPi / 2), TranslationMatrix2D(10, 0)));
    data = arc.GetArcData();
    EXPECT_POINT_NEAR(data.Centre, 9, 1, 1e-12);
    EXPECT_NEAR(data.StartAngle, kPi / 2, 1e-12);
    EXPECT_NEAR(data.EndAngle, kPi, 1e-12);
    EXPECT_POINT_NEAR(data.StartPoint, 9, 3, 1e-12);
}

TEST(ArcQueries, AMirrorSwapsTheEndsAndAnUnevenScaleDoesNot) {
    // The quarter from pi/4 to 3pi/4, around the top of the circle.
    TArco2D arc(1, MakePoint2D(0, 0), MakePoint2D(1, 0), kPi / 4, 3 * kPi / 4);
    arc.SetObjectMatrix(MirrorMatrix2D(kMirrorY));  // upside down: now around the bottom
    TArcData data = arc.GetArcData();
    EXPECT_NEAR(data.StartAngle, -3 * kPi / 4, 1e-12);
    EXPECT_NEAR(data.EndAngle, -kPi / 4, 1e-12);
    EXPECT_NEAR(data.Sweep, kPi / 2, 1e-12);
    // Stretched three times in Y the arc narrows, but still runs over the top.
    arc.SetObjectMatrix(ScalingMatrix2D(1, 3));
    data = arc.GetArcData();
    EXPECT_NEAR(data.StartAngle, std::atan2(3.0, 1.0), 1e-12);
    EXPECT_NEAR(data.EndAngle, std::atan2(3.0, -1.0), 1e-12);
    EXPECT_LT(data.Sweep, kPi / 2);
    EXPECT_GT(data.StartPoint.Y, 0);

    // A clockwise arc is reported counter-clockwise, and through a mirror
    // runs counter-clockwise again.
    auto clockwise = ClockwiseArc();
    data = clockwise->GetArcData();
    EXPECT_NEAR(data.StartAngle, -kPi / 2, 1e-12);
    EXPECT_NEAR(data.EndAngle, 0, 1e-12);
    EXPECT_NEAR(data.Sweep, kPi / 2, 1e-12);
    clockwise->SetObjectMatrix(MirrorMatrix2D(kMirrorY));
    data = clockwise->GetArcData();
    EXPECT_NEAR(data.StartAngle, 0, 1e-12);
    EXPECT_NEAR(data.EndAngle, kPi / 2, 1e-12);
}

TEST(ArcAngles, StartAngleIsPlacedCounterClockwiseWhateverTheDirection) {
    TArco2D arc(1, MakePoint2D(0, 0), MakePoint2D(1, 0), 0.0, kPi);
    arc.SetStartAngle(kPi / 2);
    EXPECT_POINT_NEAR(arc.Points().Get(2), 0, 1, 1e-15);
    EXPECT_DOUBLE_EQ(arc.StartAngle(), kPi / 2);
    EXPECT_NEAR(arc.Box().Bottom, 0, 1e-12);  // the box followed
    arc.SetEndAngle(-kPi / 2);
    EXPECT_POINT_NEAR(arc.Points().Get(3), 0, -1, 1e-15);

    auto clockwise = ClockwiseArc();
    clockwise->SetStartAngle(kPi / 4);
    EXPECT_POINT_NEAR(clockwise->Points().Get(2), std::cos(kPi / 4), std::sin(kPi / 4), 1e-15);
    EXPECT_DOUBLE_EQ(clockwise->StartAngle(), -kPi / 4);  // measured with Y down
}

}  // namespace
