// Shared helpers of the geometry tests: readable point checks.
#pragma once

#include "kernel/geometry/Point2D.h"

#include <gtest/gtest.h>

#include <ostream>

namespace calvoro {

inline std::ostream& operator<<(std::ostream& out, const TPoint2D& p) {
    return out << "(" << p.X << ", " << p.Y << ", " << p.W << ")";
}

inline std::ostream& operator<<(std::ostream& out, const TVector2D& v) {
    return out << "(" << v.X << ", " << v.Y << ")";
}

}  // namespace calvoro

// X, Y and W each within a few units in the last place.
#define EXPECT_POINT_EQ(actual, x, y)                \
    do {                                             \
        const ::calvoro::TPoint2D point_ = (actual); \
        EXPECT_DOUBLE_EQ(point_.X, (x)) << point_;   \
        EXPECT_DOUBLE_EQ(point_.Y, (y)) << point_;   \
        EXPECT_DOUBLE_EQ(point_.W, 1.0) << point_;   \
    } while (false)

#define EXPECT_POINT_NEAR(actual, x, y, eps)         \
    do {                                             \
        const ::calvoro::TPoint2D point_ = (actual); \
        EXPECT_NEAR(point_.X, (x), (eps)) << point_; \
        EXPECT_NEAR(point_.Y, (y), (eps)) << point_; \
    } while (false)
