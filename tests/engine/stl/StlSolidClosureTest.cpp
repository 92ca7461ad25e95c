// Solids whose relief touches the base along the border: no facet without
// area, and still closed, every edge shared by exactly two facets that walk
// it in opposite directions.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "engine/stl/StlWriter.h"

namespace calvoro {
namespace {

using Vertex = std::array<float, 3>;

struct SolidCheck {
    std::uint32_t declared = 0;
    std::uint32_t facets = 0;
    int withoutArea = 0;
    int edgesNotUsedTwice = 0;  // counted per direction: each must be walked once
};

SolidCheck Check(const std::string& bytes) {
    SolidCheck check;
    std::memcpy(&check.declared, bytes.data() + 80, 4);
    check.facets = static_cast<std::uint32_t>((bytes.size() - 84) / 50);
    std::map<std::pair<Vertex, Vertex>, int> directed;
    for (std::size_t n = 0; n < check.facets; ++n) {
        Vertex v[3];
        std::memcpy(v, bytes.data() + 84 + 50 * n + 12, sizeof v);
        double u[3], w[3];
        for (int k = 0; k < 3; ++k) u[k] = v[1][k] - v[0][k], w[k] = v[2][k] - v[0][k];
        const double cross =
            std::hypot(u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]);
        if (cross == 0) ++check.withoutArea;
        for (int k = 0; k < 3; ++k) ++directed[{v[k], v[(k + 1) % 3]}];
    }
    for (const auto& [edge, count] : directed) {
        const auto reverse = directed.find({edge.second, edge.first});
        if (count != 1 || reverse == directed.end() || reverse->second != 1) ++check.edgesNotUsedTwice;
    }
    return check;
}

TEST(StlSolidClosure, WallsWithoutHeightLeaveNoFacetAndTheSolidStaysClosed) {
    ReliefValues values;  // black at -5, white at 0
    const struct {
        const char* name;
        int width, height;
        std::function<float(int, int)> z;
        std::uint64_t flatFacets;  // wall facets left out
    } cases[] = {
        {"a black frame", 20, 16, [](int x, int y) { return x == 0 || y == 0 || x == 19 || y == 15 ? -5.0f : -1.0f; },
         136},
        {"a dome", 31, 31,
         [](int x, int y) {
             return std::max(-5.0f, -0.03f * static_cast<float>((x - 15) * (x - 15) + (y - 15) * (y - 15)));
         },
         4 * 30 * 2},
        {"every third border point down", 7, 5, [](int x, int y) { return (x + y) % 3 == 0 ? -5.0f : -2.0f; }, 2 * 7},
        {"one corner down", 3, 3, [](int x, int y) { return x == 0 && y == 0 ? -5.0f : 0.0f; }, 2},
        {"nothing down", 5, 4, [](int x, int y) { return -1.0f - 0.1f * static_cast<float>(x + y); }, 0},
        {"all flat at the base", 4, 4, [](int, int) { return -5.0f; }, 4 * 3 * 2},
    };
    for (const auto& c : cases) {
        HeightMap map(c.width, c.height);
        for (int x = 0; x < c.width; ++x)
            for (int y = 0; y < c.height; ++y) map.at(x, y) = c.z(x, y);
        const SolidCheck check = Check(EncodeStl(map, values, StlShape::Solid));
        EXPECT_EQ(check.declared, check.facets) << c.name;
        EXPECT_EQ(check.facets, StlFacetCount(c.width, c.height, StlShape::Solid) - c.flatFacets) << c.name;
        EXPECT_EQ(check.withoutArea, 0) << c.name;
        EXPECT_EQ(check.edgesNotUsedTwice, 0) << c.name;
    }
}

}  // namespace
}  // namespace calvoro
