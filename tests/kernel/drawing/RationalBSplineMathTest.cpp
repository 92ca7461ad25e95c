#include "kernel/entities/RationalBSplineMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace calvoro;

namespace {

struct Spline {
    int degree;
    std::vector<double> knots;
    std::vector<TPoint2D> points;
    std::vector<double> weights;

    RationalBSplineData Data() const { return RationalBSplineData{degree, knots, points, weights}; }
};

Spline QuarterCircle() {
    return Spline{
        2, {0, 0, 0, 1, 1, 1}, {MakePoint2D(1, 0), MakePoint2D(1, 1), MakePoint2D(0, 1)}, {1, std::sqrt(0.5), 1}};
}

TEST(RationalBSplineMath, ClampedUnitWeightsGiveTheBezierCurve) {
    const Spline s{2, {0, 0, 0, 1, 1, 1}, {MakePoint2D(0, 0), MakePoint2D(2, 4), MakePoint2D(4, 0)}, {1, 1, 1}};
    ASSERT_TRUE(IsEvaluableRationalBSpline(s.Data()));
    for (const double u : {0.0, 0.25, 0.5, 0.9, 1.0}) {
        const TPoint2D p = RationalBSplinePoint(s.Data(), u);
        const double b0 = (1 - u) * (1 - u), b1 = 2 * u * (1 - u), b2 = u * u;
        EXPECT_NEAR(p.X, b1 * 2 + b2 * 4, 1e-12) << u;
        EXPECT_NEAR(p.Y, b1 * 4, 1e-12) << u;
        EXPECT_DOUBLE_EQ(b0 + b1 + b2, 1.0);
    }
}

TEST(RationalBSplineMath, RationalQuarterCircleLiesOnTheCircle) {
    const Spline s = QuarterCircle();
    const std::vector<TPoint2D> profile = RationalBSplineProfile(s.Data(), 17);
    ASSERT_EQ(profile.size(), 17u);
    for (const TPoint2D& p : profile) EXPECT_NEAR(std::hypot(p.X, p.Y), 1.0, 1e-12);
    EXPECT_EQ(profile.front(), MakePoint2D(1, 0));
    EXPECT_NEAR(profile.back().X, 0.0, 1e-15);
    EXPECT_NEAR(profile.back().Y, 1.0, 1e-15);
}

TEST(RationalBSplineMath, SpanSearchCoversTheDomainAndItsEnds) {
    // Cubic, clamped, two inner knots: spans 3, 4 and 5.
    const Spline s{3,
                   {0, 0, 0, 0, 1, 2, 3, 3, 3, 3},
                   {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(2, 0), MakePoint2D(3, 1), MakePoint2D(4, 0),
                    MakePoint2D(5, 1)},
                   {1, 1, 1, 1, 1, 1}};
    struct Case {
        double u;
        int span;
    };
    const Case cases[] = {{-1, 3}, {0, 3}, {0.5, 3}, {1, 4}, {1.99, 4}, {2, 5}, {2.99999, 5}, {3, 5}, {4, 5}};
    for (const Case& c : cases) EXPECT_EQ(FindKnotSpan(s.Data(), c.u), c.span) << c.u;
}

TEST(RationalBSplineMath, UnclampedKnotsEvaluateOnTheirDomain) {
    // Uniform quadratic: the domain is [2, 3]; the ends are the midpoints of
    // the control polygon's legs.
    const Spline s{2, {0, 1, 2, 3, 4, 5}, {MakePoint2D(0, 0), MakePoint2D(2, 2), MakePoint2D(4, 0)}, {1, 1, 1}};
    ASSERT_TRUE(IsEvaluableRationalBSpline(s.Data()));
    const std::vector<TPoint2D> profile = RationalBSplineProfile(s.Data(), 5);
    EXPECT_NEAR(profile.front().X, 1.0, 1e-12);
    EXPECT_NEAR(profile.front().Y, 1.0, 1e-12);
    EXPECT_NEAR(profile[2].X, 2.0, 1e-12);
    EXPECT_NEAR(profile[2].Y, 1.5, 1e-12);
    EXPECT_NEAR(profile.back().X, 3.0, 1e-12);
    EXPECT_NEAR(profile.back().Y, 1.0, 1e-12);
}

TEST(RationalBSplineMath, EndKnotOfHighMultiplicityUsesTheLastRealSpan) {
    const Spline s{1, {0, 0, 1, 1, 1}, {MakePoint2D(0, 0), MakePoint2D(1, 1), MakePoint2D(9, 9)}, {1, 1, 1}};
    // Three control points of degree 1 need five knots: here the end knot
    // repeats three times, so the curve stops at the second point.
    ASSERT_TRUE(IsEvaluableRationalBSpline(s.Data()));
    EXPECT_EQ(FindKnotSpan(s.Data(), 1.0), 1);
    const TPoint2D end = RationalBSplinePoint(s.Data(), 1.0);
    EXPECT_DOUBLE_EQ(end.X, 1.0);
    EXPECT_DOUBLE_EQ(end.Y, 1.0);
}

TEST(RationalBSplineMath, DegenerateDataIsNotEvaluable) {
    const Spline good = QuarterCircle();
    ASSERT_TRUE(IsEvaluableRationalBSpline(good.Data()));
    struct Case {
        const char* what;
        Spline spline;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, auto change) {
        Spline s = good;
        change(s);
        cases.push_back({what, s});
    };
    add("degree 0", [](Spline& s) { s.degree = 0; });
    add("as many points as the degree", [](Spline& s) {
        s.points.pop_back();
        s.knots = {0, 0, 0, 1, 1};
    });
    add("knot count off by one", [](Spline& s) { s.knots.push_back(1); });
    add("decreasing knots", [](Spline& s) { s.knots[3] = -1; });
    add("no domain", [](Spline& s) { s.knots = {0, 0, 0, 0, 0, 0}; });
    add("not finite knot", [](Spline& s) { s.knots[5] = INFINITY; });
    add("zero weight", [](Spline& s) { s.weights[1] = 0; });
    add("negative weight", [](Spline& s) { s.weights[2] = -1; });
    add("weight missing", [](Spline& s) { s.weights.pop_back(); });
    add("degree too high", [](Spline& s) {
        s.degree = kMaxRationalBSplineDegree + 1;
        s.points.resize(40, MakePoint2D(0, 0));
        s.weights.resize(40, 1.0);
        s.knots.assign(40 + s.degree + 1, 0.0);
        for (std::size_t i = 0; i < s.knots.size(); ++i) s.knots[i] = static_cast<double>(i);
    });
    for (const Case& c : cases) EXPECT_FALSE(IsEvaluableRationalBSpline(c.spline.Data())) << c.what;
}

}  // namespace
