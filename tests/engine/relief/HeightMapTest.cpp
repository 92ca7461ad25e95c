#include "engine/relief/HeightMap.h"

#include <gtest/gtest.h>

#include <stdexcept>

using calvoro::HeightMap;

namespace {

TEST(HeightMapTest, CellsOutsideTakeTheNearestEdgeCell) {
    HeightMap map(2, 2);
    map.at(0, 0) = 1;
    map.at(1, 0) = 2;
    map.at(0, 1) = 3;
    map.at(1, 1) = 4;
    EXPECT_EQ(map.clampedAt(-5, -5), 1.0f);
    EXPECT_EQ(map.clampedAt(9, -1), 2.0f);
    EXPECT_EQ(map.clampedAt(-1, 7), 3.0f);
    EXPECT_EQ(map.clampedAt(2, 2), 4.0f);
}

}  // namespace
