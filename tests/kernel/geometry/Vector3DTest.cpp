#include "kernel/geometry/Vector3D.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace calvoro;

namespace {

TEST(Vector3D, CrossProductFollowsTheRightHand) {
    EXPECT_EQ(CrossProduct3D(TVector3D{1, 0, 0}, TVector3D{0, 1, 0}), (TVector3D{0, 0, 1}));
    EXPECT_EQ(CrossProduct3D(TVector3D{0, 1, 0}, TVector3D{1, 0, 0}), (TVector3D{0, 0, -1}));
    EXPECT_EQ(CrossProduct3D(TVector3D{2, 3, 4}, TVector3D{5, 6, 7}), (TVector3D{-3, 6, -3}));
}

TEST(Vector3D, NormalisingKeepsTheZeroVector) {
    EXPECT_EQ(Normalize3D(TVector3D{}), TVector3D{});
    EXPECT_EQ(Normalize3D(TVector3D{3, 0, -4}), (TVector3D{0.6f, 0.0f, -0.8f}));
    const TVector3D tiny = Normalize3D(TVector3D{1e-30f, 0, 0});
    EXPECT_EQ(tiny, (TVector3D{1, 0, 0}));
}

TEST(Vector3D, FacetNormalOfARelief) {
    // The two edges of a relief facet run one cell along X and along Y, with
    // the height differences dz1 and dz2: the normal is (-dz1, -dz2, 1) made unit.
    struct Case {
        float dz1, dz2;
    };
    const Case cases[] = {{0, 0}, {0.5f, 0}, {-2, 3}, {1e-6f, -1e-6f}};
    for (const auto& c : cases) {
        const TVector3D n = FacetNormal(TVector3D{1, 0, c.dz1}, TVector3D{0, 1, c.dz2});
        const double length = std::sqrt(1.0 + double(c.dz1) * c.dz1 + double(c.dz2) * c.dz2);
        EXPECT_FLOAT_EQ(n.X, float(-c.dz1 / length));
        EXPECT_FLOAT_EQ(n.Y, float(-c.dz2 / length));
        EXPECT_FLOAT_EQ(n.Z, float(1.0 / length));
    }
    EXPECT_EQ(FacetNormal(TVector3D{1, 2, 3}, TVector3D{2, 4, 6}), TVector3D{});
}

}  // namespace
