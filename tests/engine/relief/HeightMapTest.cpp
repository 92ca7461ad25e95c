#include "engine/relief/HeightMap.h"

#include <gtest/gtest.h>

using calvoro::HeightMap;

namespace {

TEST(HeightMapTest, ResizeKeepsCellsThatExistInBothSizesAndZeroesNewOnes) {
    HeightMap map(3, 2);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y) map.at(x, y) = static_cast<float>(10 * x + y);
    map.resize(2, 4);
    ASSERT_EQ(map.width(), 2);
    ASSERT_EQ(map.height(), 4);
    EXPECT_EQ(map.at(1, 1), 11.0f);
    EXPECT_EQ(map.at(0, 0), 0.0f);
    EXPECT_EQ(map.at(1, 3), 0.0f);
    EXPECT_EQ(map.at(0, 2), 0.0f);
}

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

TEST(HeightMapTest, ColumnsAreContiguousFromTheBottomRow) {
    HeightMap map(2, 3, -1.5f);
    map.at(1, 2) = 7;
    const float* column = map.column(1);
    EXPECT_EQ(column[0], -1.5f);
    EXPECT_EQ(column[2], 7.0f);
    EXPECT_THROW(map.resize(-1, 2), std::invalid_argument);
}

}  // namespace
