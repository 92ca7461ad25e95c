#include "engine/stl/StlWriter.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <random>
#include <tuple>
#include <vector>

#include "engine/relief/ElaboraImmagine.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/engine/document/TestFolder.h"

namespace calvoro {
namespace {

struct Point {
    float x, y, z;
    auto operator<=>(const Point&) const = default;
};

struct Facet {
    Point normal, a, b, c;
};

// Twelve floats and the attribute count, as a file holds them.
void AppendFacet(std::string& bytes, const Facet& f) {
    for (const Point& p : {f.normal, f.a, f.b, f.c})
        for (float v : {p.x, p.y, p.z}) {
            const std::uint32_t word = std::bit_cast<std::uint32_t>(v);
            for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>(word >> (8 * k)));
        }
    bytes.append(2, '\0');
}

std::string FileBytes(const std::vector<Facet>& facets) {
    std::string bytes(80, '\0');
    const auto count = static_cast<std::uint32_t>(facets.size());
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>(count >> (8 * k)));
    for (const Facet& f : facets) AppendFacet(bytes, f);
    return bytes;
}

std::vector<Facet> ParseFacets(const std::string& bytes) {
    EXPECT_GE(bytes.size(), 84u);
    std::uint32_t count = 0;
    std::memcpy(&count, bytes.data() + 80, 4);
    EXPECT_EQ(bytes.size(), 84u + 50u * count);
    std::vector<Facet> facets(count);
    for (std::uint32_t n = 0; n < count; ++n) {
        float v[12];
        std::memcpy(v, bytes.data() + 84 + 50 * static_cast<std::size_t>(n), sizeof v);
        facets[n] = {{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}, {v[9], v[10], v[11]}};
    }
    return facets;
}

HeightMap RandomMap(int width, int height, unsigned seed, float low, float high) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> z(low, high);
    HeightMap map(width, height);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y) map.at(x, y) = z(random);
    return map;
}

// The 2 x 2 map of the hand-computed file below: Z(0,0) = Z(1,0) = Z(1,1) = 1,
// Z(0,1) = 2.5, grid step 2, so X = -10, -8 and Y = 3, 5.
HeightMap TinyMap() {
    HeightMap map(2, 2, 1.0f);
    map.at(0, 1) = 2.5f;
    return map;
}

ReliefValues TinyValues() {
    ReliefValues values;
    values.setWhiteZ(3.0f);
    values.setBlackZ(0.0f);  // the base
    values.PixelSize = 2.0f;
    values.WorkOffsetX = -10.0f;
    values.WorkOffsetY = 3.0f;
    return values;
}

// Edge vectors (2, 0, 0), (0, 2, 1.5) give (0, -3, 4) / 5; the second facet's
// edges (-2, 0, 1.5), (0, -2, 0) give (3, 0, 4) / 5.
const std::vector<Facet> kTinySurface = {
    {{0, -0.6f, 0.8f}, {-10, 3, 1}, {-8, 3, 1}, {-10, 5, 2.5f}},
    {{0.6f, 0, 0.8f}, {-8, 5, 1}, {-10, 5, 2.5f}, {-8, 3, 1}},
};

TEST(StlWriterTest, SurfaceOfATinyMapByteForByte) {
    const std::string bytes = EncodeStl(TinyMap(), TinyValues(), StlShape::Surface);
    EXPECT_EQ(bytes.size(), 184u);
    EXPECT_EQ(bytes, FileBytes(kTinySurface));
}

TEST(StlWriterTest, SolidOfATinyMapByteForByte) {
    std::vector<Facet> facets = kTinySurface;
    const std::vector<Facet> rest = {
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
    facets.insert(facets.end(), rest.begin(), rest.end());
    const std::string bytes = EncodeStl(TinyMap(), TinyValues(), StlShape::Solid);
    EXPECT_EQ(bytes.size(), 784u);
    EXPECT_EQ(bytes, FileBytes(facets));
}

TEST(StlWriterTest, FacetCountsAndFileSizes) {
    struct Case {
        int width, height;
        StlShape shape;
        std::uint64_t facets;
    };
    const Case cases[] = {
        {3, 2, StlShape::Surface, 4}, {3, 2, StlShape::Solid, 22},  // 4 + 8 + 4 walls + 6 bottom
        {2, 2, StlShape::Surface, 2}, {2, 2, StlShape::Solid, 14}, {5, 4, StlShape::Solid, 24 + 16 + 12 + 14},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StlFacetCount(c.width, c.height, c.shape), c.facets) << c.width << "x" << c.height;
        const std::string bytes = EncodeStl(HeightMap(c.width, c.height, -1.0f), ReliefValues{}, c.shape);
        EXPECT_EQ(bytes.size(), 84 + 50 * c.facets) << c.width << "x" << c.height;
    }
    EXPECT_EQ(StlFacetCount(3, 2, StlShape::Surface) * 50 + 84, 284u);
    EXPECT_EQ(StlFacetCount(3, 2, StlShape::Solid) * 50 + 84, 1184u);
    EXPECT_EQ(StlFacetCount(1, 5, StlShape::Solid), 0u);
    // The largest pictures need more facets than the file's count can hold.
    EXPECT_GT(StlFacetCount(65535, 65535, StlShape::Surface), 4294967295u);
    EXPECT_EQ(StlFacetCount(65535, 65535, StlShape::Surface), 2ull * 65534 * 65534);
}

// Every edge of a closed body is walked once in each direction.
TEST(StlWriterTest, SolidIsClosed) {
    struct Case {
        int width, height;
        float low;  // lowest cell; at BlackZ the border has walls of no height
    };
    for (const Case& c : {Case{2, 2, -4.0f}, Case{3, 2, -4.0f}, Case{6, 5, -4.0f}, Case{4, 7, -5.0f}}) {
        HeightMap map = RandomMap(c.width, c.height, 11, c.low, 0.0f);
        if (c.low == -5.0f) {
            map.at(0, 0) = -5.0f;
            map.at(c.width - 1, 3) = -5.0f;
        }
        const std::vector<Facet> facets = ParseFacets(EncodeStl(map, ReliefValues{}, StlShape::Solid));
        std::map<std::pair<Point, Point>, int> directed;
        for (const Facet& f : facets) {
            ++directed[{f.a, f.b}];
            ++directed[{f.b, f.c}];
            ++directed[{f.c, f.a}];
        }
        for (const auto& [edge, count] : directed) {
            if (edge.first == edge.second) continue;  // a wall of no height
            const auto reverse = directed.find({edge.second, edge.first});
            ASSERT_NE(reverse, directed.end()) << c.width << "x" << c.height << " open edge";
            EXPECT_EQ(count, reverse->second);
            if (c.low > -5.0f) {
                EXPECT_EQ(count, 1) << "edge used by more than two facets";
            }
        }
    }
}

// Normals have length 1 and point to the side from which the vertices run
// counter-clockwise: also with small pixels, and with black above white.
TEST(StlWriterTest, NormalsAgreeWithTheWinding) {
    struct Case {
        float pixelSize, whiteZ, blackZ;
    };
    for (const Case& c :
         {Case{1.0f, 0.0f, -5.0f}, Case{0.1f, 0.0f, -5.0f}, Case{7.5f, 2.0f, -1.0f}, Case{0.1f, -5.0f, 0.0f}}) {
        Picture picture;
        picture.allocate(6, 5, PixelFormat::Grey8);
        std::mt19937 random(5);
        for (auto& grey : picture.pixels) grey = static_cast<std::uint8_t>(random());
        ReliefValues values;
        values.setWhiteZ(c.whiteZ);
        values.setBlackZ(c.blackZ);
        values.PixelSize = c.pixelSize;
        HeightMap map;
        ElaboraImmagine(picture, values, map);
        const std::vector<Facet> facets = ParseFacets(EncodeStl(map, values, StlShape::Solid));
        float lowestBase = std::numeric_limits<float>::max();
        for (const Facet& f : facets) {
            const double ux = f.b.x - f.a.x, uy = f.b.y - f.a.y, uz = f.b.z - f.a.z;
            const double vx = f.c.x - f.a.x, vy = f.c.y - f.a.y, vz = f.c.z - f.a.z;
            const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
            const double area = std::sqrt(cx * cx + cy * cy + cz * cz);
            const Point& n = f.normal;
            EXPECT_NEAR(std::sqrt(double{n.x} * n.x + double{n.y} * n.y + double{n.z} * n.z), 1.0, 1e-6);
            if (area > 1e-9) {
                EXPECT_GT((cx * n.x + cy * n.y + cz * n.z) / area, 0.999) << c.pixelSize;
            }
            if (n.z == -1.0f) lowestBase = std::min({lowestBase, f.a.z, f.b.z, f.c.z});
        }
        // The base lies at or below every cell.
        for (float z : map.values()) EXPECT_LE(lowestBase, z);
    }
}

TEST(StlWriterTest, FlatReliefHasUpwardNormalsAndPlacedCoordinates) {
    ReliefValues values;
    values.PixelSize = 0.5f;
    values.WorkOffsetX = -10.0f;
    values.WorkOffsetY = 0.25f;
    const int width = 7;
    const std::vector<Facet> facets = ParseFacets(EncodeStl(HeightMap(width, 3, -2.0f), values, StlShape::Surface));
    ASSERT_EQ(facets.size(), 24u);
    for (const Facet& f : facets) EXPECT_EQ(f.normal, (Point{0, 0, 1}));
    EXPECT_EQ(facets.front().a, (Point{-10.0f, 0.25f, -2.0f}));
    EXPECT_EQ(facets[2 * (width - 2) + 1].a.x, -10.0f + (width - 1) * 0.5f);  // last column
    EXPECT_EQ(facets.back().a, (Point{-7.0f, 1.25f, -2.0f}));
}

TEST(StlWriterTest, RefusesWhatCannotMakeAFile) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ReliefValues zeroPixel;
    zeroPixel.PixelSize = 0.0f;
    ReliefValues negativePixel;
    negativePixel.PixelSize = -1.0f;
    ReliefValues nanOffset;
    nanOffset.WorkOffsetY = nan;
    ReliefValues infiniteBlack;
    infiniteBlack.setBlackZ(-std::numeric_limits<float>::infinity());
    HeightMap holed(3, 3, 0.0f);
    holed.at(1, 2) = nan;
    struct Case {
        HeightMap map;
        ReliefValues values;
    };
    const Case cases[] = {
        {HeightMap(), {}},
        {HeightMap(1, 5), {}},
        {HeightMap(5, 1), {}},
        {HeightMap(2, 2), zeroPixel},
        {HeightMap(2, 2), negativePixel},
        {HeightMap(2, 2), nanOffset},
        {HeightMap(2, 2), infiniteBlack},
        {holed, {}},
    };
    for (const Case& c : cases)
        for (StlShape shape : {StlShape::Surface, StlShape::Solid})
            EXPECT_THROW(EncodeStl(c.map, c.values, shape), std::invalid_argument);
}

class StlFileTest : public ::testing::Test {
protected:
    TestFolder folder_;
};

TEST_F(StlFileTest, WritesTheSameBytesAsInMemory) {
    const HeightMap map = RandomMap(40, 30, 9, -5.0f, 0.0f);
    const auto file = folder_ / "relief.stl";
    WriteStl(file, map, ReliefValues{}, StlShape::Solid);
    EXPECT_EQ(ReadWholeFile(file), EncodeStl(map, ReliefValues{}, StlShape::Solid));
    EXPECT_EQ(folder_.entries(), 1u);
}

TEST_F(StlFileTest, RefusedExportLeavesTheOldFile) {
    const auto file = folder_ / "relief.stl";
    WriteFileAtomically(file, "old contents");
    EXPECT_THROW(WriteStl(file, HeightMap(1, 1), ReliefValues{}, StlShape::Solid), std::invalid_argument);
    EXPECT_EQ(ReadWholeFile(file), "old contents");
    EXPECT_EQ(folder_.entries(), 1u);
}

TEST_F(StlFileTest, FailedWriteLeavesWhatWasThereAndNoTemporaryFile) {
    // A folder in the way of the file: the rename at the end fails.
    const auto blocked = folder_ / "relief.stl";
    std::filesystem::create_directory(blocked);
    WriteFileAtomically(blocked / "keep", "kept");
    EXPECT_THROW(WriteStl(blocked, HeightMap(3, 3), ReliefValues{}, StlShape::Surface), FileWriteError);
    EXPECT_EQ(ReadWholeFile(blocked / "keep"), "kept");
    EXPECT_EQ(folder_.entries(), 1u);
    // A folder that does not exist.
    EXPECT_THROW(
        WriteStl(folder_.path() / "missing" / "relief.stl", HeightMap(3, 3), ReliefValues{}, StlShape::Surface),
        FileWriteError);
}

}  // namespace
}  // namespace calvoro
