#include "kernel/geometry/GeomTolerance.h"

#include <gtest/gtest.h>

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

TEST(GeomTolerance, BothBoundsCount) {
    EXPECT_TRUE(IsSameValueEps(0.5, 0.25, 0.25));
    EXPECT_TRUE(IsSameValueEps(0.25, 0.5, 0.25));
    EXPECT_TRUE(IsDifferentValueEps(0.5, 0.2, 0.25));
    EXPECT_FALSE(IsDifferentValue(1.0, 1.00004));
    EXPECT_TRUE(IsDifferentValue(1.0, 1.0001));
    EXPECT_TRUE(IsGreaterOrSame(1.0, 1.0 + 4e-5));
    EXPECT_FALSE(IsGreaterOrSame(1.0, 1.0001));
}

TEST(GeomTolerance, ANewToleranceReachesEveryComparisonAndNonsenseIsRefused) {
    SetGeomTolerance(0.01);
    EXPECT_TRUE(IsSameValue(1.0, 1.005));
    EXPECT_THROW(SetGeomTolerance(-1e-6), std::invalid_argument);
    EXPECT_THROW(SetGeomTolerance(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
    EXPECT_EQ(GeomTolerance(), 0.01);
    SetGeomTolerance(kDefaultGeomTolerance);
    EXPECT_FALSE(IsSameValue(1.0, 1.005));
}

}  // namespace
