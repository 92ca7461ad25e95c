#include "kernel/geometry/GeomTolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace calvoro;

namespace {

// Runs while the program's statics are built, before main: the tolerance must
// already hold its value then.
const bool kComparedBeforeMain = IsSameValue(1.0, 1.00004) && !IsSameValue(1.0, 1.0001);

TEST(GeomTolerance, HoldsItsDefaultBeforeAnyCodeRuns) {
    EXPECT_TRUE(kComparedBeforeMain);
    EXPECT_EQ(GeomTolerance(), 5e-05);
}

struct ComparisonCase {
    double a, b, eps;
    bool same;
};

TEST(GeomTolerance, BothBoundsOfTheToleranceCount) {
    const ComparisonCase cases[] = {
        {0.5, 0.25, 0.25, true},
        {0.25, 0.5, 0.25, true},
        {0.5, 0.2, 0.25, false},
        {-1.0, -1.0, 0.0, true},
        {1.0, std::nextafter(1.0, 2.0), 0.0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSameValueEps(c.a, c.b, c.eps), c.same) << c.a << " " << c.b << " " << c.eps;
        EXPECT_EQ(IsDifferentValueEps(c.a, c.b, c.eps), !c.same) << c.a << " " << c.b << " " << c.eps;
    }
}

TEST(GeomTolerance, SharedComparisonsUseTheDefault) {
    EXPECT_TRUE(IsSameValue(1.0, 1.00004));
    EXPECT_FALSE(IsDifferentValue(1.0, 1.00004));
    EXPECT_FALSE(IsSameValue(1.0, 1.0001));
    EXPECT_TRUE(IsDifferentValue(1.0, 1.0001));
    EXPECT_TRUE(IsGreaterOrSame(1.0, 1.0 + 4e-5));
    EXPECT_FALSE(IsGreaterOrSame(1.0, 1.0001));
    EXPECT_TRUE(IsGreaterOrSame(1e9, 1.0));
}

TEST(GeomTolerance, ANewToleranceReachesEveryComparison) {
    SetGeomTolerance(0.01);
    EXPECT_TRUE(IsSameValue(1.0, 1.005));
    EXPECT_TRUE(IsGreaterOrSame(1.0, 1.009));
    SetGeomTolerance(kDefaultGeomTolerance);
    EXPECT_FALSE(IsSameValue(1.0, 1.005));
}

TEST(GeomTolerance, RefusesANegativeOrMissingTolerance) {
    EXPECT_THROW(SetGeomTolerance(-1e-6), std::invalid_argument);
    EXPECT_THROW(SetGeomTolerance(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
    EXPECT_THROW(SetGeomTolerance(std::numeric_limits<double>::infinity()), std::invalid_argument);
    EXPECT_EQ(GeomTolerance(), kDefaultGeomTolerance);
}

}  // namespace
