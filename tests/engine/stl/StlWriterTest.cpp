// The binary STL of the relief: a tiny map byte for byte, and solids that are
// closed, every edge shared by exactly two facets that walk it in opposite
// directions, with normals that agree with their winding, a base below every
// cell, and no facet without area where the relief touches the base.
#include "engine/stl/StlWriter.h"
#include "tests/support/HeightMaps.h"
#include "tests/support/Streams.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace calvoro {
namespace {

struct Point {
    float x, y, z;
    auto operator<=>(const Point&) const = default;
};

struct Facet {
    Point normal, a, b, c;
};

// Header, count and facets as a file holds them, every number little-endian.
std::string FileBytes(const std::vector<Facet>& facets) {
    test::RecordBytes bytes;
    bytes.Fixed("", 80).I32(static_cast<std::int32_t>(facets.size()));
    for (const Facet& f : facets) {
        for (const Point& p : {f.normal, f.a, f.b, f.c}) bytes.F32(p.x).F32(p.y).F32(p.z);
        bytes.U16(0);
    }
    return bytes.str();
}

std::vector<Facet> ParseFacets(const std::string& bytes) {
    std::uint32_t count = 0;
    if (bytes.size() >= 84) std::memcpy(&count, bytes.data() + 80, 4);
    EXPECT_EQ(bytes.size(), 84u + 50u * count);
    std::vector<Facet> facets(bytes.size() == 84u + 50u * count ? count : 0);
    for (std::size_t n = 0; n < facets.size(); ++n) std::memcpy(&facets[n], bytes.data() + 84 + 50 * n, sizeof(Facet));
    return facets;
}

// A 2 x 2 map with Z(0,0) = Z(1,0) = Z(1,1) = 1, Z(0,1) = 2.5 and grid step 2,
// so X = -10, -8 and Y = 3, 5; the base at 0. Edge vectors (2, 0, 0),
// (0, 2, 1.5) give the first normal (0, -3, 4) / 5; the second facet's edges
// (-2, 0, 1.5), (0, -2, 0) give (3, 0, 4) / 5.
TEST(StlWriterTest, TinyMapByteForByte) {
    HeightMap map(2, 2, 1.0f);
    map.at(0, 1) = 2.5f;
    const ReliefValues values = test::Relief(3.0f, 0.0f, 2.0f, -10.0f, 3.0f);
    std::vector<Facet> facets = {
        {{0, -0.6f, 0.8f}, {-10, 3, 1}, {-8, 3, 1}, {-10, 5, 2.5f}},
        {{0.6f, 0, 0.8f}, {-8, 5, 1}, {-10, 5, 2.5f}, {-8, 3, 1}},
    };
    EXPECT_EQ(EncodeStl(map, values, StlShape::Surface), FileBytes(facets));
    const std::vector<Facet> solid = {
        // Walls: front, right, back, left; (P top, P base, Q base), (P top, Q base, Q top).
        {{0, -1, 0}, {-10, 3, 1}, {-10, 3, 0}, {-8, 3, 0}},
        {{0, -1, 0}, {-10, 3, 1}, {-8, 3, 0}, {-8, 3, 1}},
        {{1, 0, 0}, {-8, 3, 1}, {-8, 3, 0}, {-8, 5, 0}},
        {{1, 0, 0}, {-8, 3, 1}, {-8, 5, 0}, {-8, 5, 1}},
        {{0, 1, 0}, {-8, 5, 1}, {-8, 5, 0}, {-10, 5, 0}},
        {{0, 1, 0}, {-8, 5, 1}, {-10, 5, 0}, {-10, 5, 2.5f}},
        {{-1, 0, 0}, {-10, 5, 2.5f}, {-10, 5, 0}, {-10, 3, 0}},
        {{-1, 0, 0}, {-10, 5, 2.5f}, {-10, 3, 0}, {-10, 3, 1}},
        // Bottom: a fan around (-9, 4), one facet per wall.
        {{0, 0, -1}, {-10, 3, 0}, {-9, 4, 0}, {-8, 3, 0}},
        {{0, 0, -1}, {-8, 3, 0}, {-9, 4, 0}, {-8, 5, 0}},
        {{0, 0, -1}, {-8, 5, 0}, {-9, 4, 0}, {-10, 5, 0}},
        {{0, 0, -1}, {-10, 5, 0}, {-9, 4, 0}, {-10, 3, 0}},
    };
    facets.insert(facets.end(), solid.begin(), solid.end());
    EXPECT_EQ(EncodeStl(map, values, StlShape::Solid), FileBytes(facets));
}

// Every edge of a solid is walked once in each direction; normals have length
// 1 and point to the side from which the vertices run counter-clockwise; the
// base lies at the lowest of black, white and every cell. Also with small
// pixels, with black above white, and with cells down at the base (walls of no
// height there).
// Pixels longer along Y than along X (or shorter): columns at the pixel size,
// rows at the size along Y, each position rounded once.
TEST(StlWriterTest, OblongPixelsPutRowsAtTheirOwnSize) {
    for (float sizeY : {0.37f, 3.0f}) {
        ReliefValues values = test::Relief(0, -5, 2.0f, -1.5f, 0.25f);
        values.PixelSizeY = sizeY;
        const HeightMap map(4, 3, -1.0f);
        std::set<float> xs, ys;
        for (const auto& facet : ParseFacets(EncodeStl(map, values, StlShape::Surface))) {
            for (const auto& v : {facet.a, facet.b, facet.c}) xs.insert(v.x), ys.insert(v.y);
            EXPECT_NEAR(std::hypot(facet.normal.x, facet.normal.y, facet.normal.z), 1.0, 1e-6);
        }
        EXPECT_EQ(xs, (std::set<float>{-1.5f, 0.5f, 2.5f, 4.5f}));
        EXPECT_EQ(
            ys, (std::set<float>{0.25f, static_cast<float>(0.25L + sizeY), static_cast<float>(0.25L + 2.0L * sizeY)}));
    }
}

TEST(StlWriterTest, SolidIsClosedWithNormalsOfItsWindingAndTheBaseBelowAll) {
    struct Case {
        int width, height;
        ReliefValues values;
        bool cellsAtBase;
    };
    const Case cases[] = {{2, 2, test::Relief(0, -5), false},       {3, 2, test::Relief(0, -5), false},
                          {6, 5, test::Relief(0, -5, 0.1f), false}, {6, 5, test::Relief(2, -1, 7.5f), false},
                          {6, 5, test::Relief(-5, 0, 0.1f), false}, {4, 7, test::Relief(0, -5), true}};
    for (const auto& [width, height, values, cellsAtBase] : cases) {
        SCOPED_TRACE(testing::Message() << width << "x" << height << " pixel " << values.PixelSize);
        std::mt19937 random(11);
        std::uniform_real_distribution<float> z(std::min(values.WhiteZ, values.BlackZ) + 0.01f,
                                                std::max(values.WhiteZ, values.BlackZ));
        HeightMap map(width, height);
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) map.at(x, y) = cellsAtBase && (x + y) % 3 == 0 ? values.BlackZ : z(random);
        std::map<std::pair<Point, Point>, int> directed;
        float lowestBase = std::numeric_limits<float>::max();
        for (const auto& [n, a, b, c] : ParseFacets(EncodeStl(map, values, StlShape::Solid))) {
            ++directed[{a, b}];
            ++directed[{b, c}];
            ++directed[{c, a}];
            const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
            const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
            const double area = std::sqrt(cx * cx + cy * cy + cz * cz);
            EXPECT_NEAR(std::sqrt(double{n.x} * n.x + double{n.y} * n.y + double{n.z} * n.z), 1.0, 1e-6);
            if (area < 1e-9) continue;  // a wall of no height
            EXPECT_GT((cx * n.x + cy * n.y + cz * n.z) / area, 0.999);
            if (n.z == -1.0f) lowestBase = std::min({lowestBase, a.z, b.z, c.z});
        }
        const float lowestCell = *std::min_element(map.values().begin(), map.values().end());
        EXPECT_EQ(lowestBase, std::min({values.WhiteZ, values.BlackZ, lowestCell}));
        for (const auto& [edge, count] : directed) {
            if (edge.first == edge.second) continue;
            const auto reverse = directed.find({edge.second, edge.first});
            ASSERT_NE(reverse, directed.end()) << "open edge";
            EXPECT_EQ(count, reverse->second);
            if (!cellsAtBase) {
                EXPECT_EQ(count, 1) << "edge used by more than two facets";
            }
        }
    }
}

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
