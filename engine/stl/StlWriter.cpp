#include "engine/stl/StlWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "kernel/geometry/Vector3D.h"
#include "kernel/platform/AtomicFile.h"

namespace calvoro {

namespace {

constexpr std::size_t kFacetBytes = 50;

// Facets are gathered in a buffer of a few megabytes and handed on in large
// blocks, never one small write per facet.
class FacetStream {
public:
    using Output = std::function<void(std::string_view)>;

    FacetStream(std::uint32_t facetCount, Output output)
        : output_(std::move(output)), buffer_(kBufferFacets * kFacetBytes) {
        std::fill_n(buffer_.data(), 80, '\0');
        used_ = 80;
        putUint32(facetCount);
    }

    void facet(const TVector3D& normal, const TVector3D& first, const TVector3D& second, const TVector3D& third) {
        if (buffer_.size() - used_ < kFacetBytes) flush();
        put(normal);
        put(first);
        put(second);
        put(third);
        buffer_[used_++] = 0;  // attribute byte count
        buffer_[used_++] = 0;
        ++written_;
    }

    void flush() {
        output_(std::string_view(buffer_.data(), used_));
        used_ = 0;
    }

    std::uint64_t written() const { return written_; }

private:
    static constexpr std::size_t kBufferFacets = 1 << 16;

    void putUint32(std::uint32_t value) {
        char* out = buffer_.data() + used_;
        for (int k = 0; k < 4; ++k) out[k] = static_cast<char>(value >> (8 * k));
        used_ += 4;
    }
    void put(const TVector3D& v) {
        putUint32(std::bit_cast<std::uint32_t>(v.X));
        putUint32(std::bit_cast<std::uint32_t>(v.Y));
        putUint32(std::bit_cast<std::uint32_t>(v.Z));
    }

    Output output_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
};

TVector3D Minus(const TVector3D& a, const TVector3D& b) {
    return TVector3D{a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}

// The normal of the facet as it lies, from its own vertices, counter-clockwise
// being the outside.
TVector3D NormalOf(const TVector3D& first, const TVector3D& second, const TVector3D& third) {
    return FacetNormal(Minus(second, first), Minus(third, first));
}

struct Grid {
    const HeightMap& map;
    std::vector<float> x;  // X of every column
    std::vector<float> y;  // Y of every row
    float baseZ = 0.0f;

    TVector3D top(int i, int j) const { return TVector3D{x[i], y[j], map.at(i, j)}; }
    TVector3D base(int i, int j) const { return TVector3D{x[i], y[j], baseZ}; }
};

// Position i * size + offset, formed in extended precision like every other
// work coordinate and rounded once.
std::vector<float> Positions(int count, float size, float offset) {
    std::vector<float> positions(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        positions[static_cast<std::size_t>(i)] =
            static_cast<float>(static_cast<long double>(i) * size + static_cast<long double>(offset));
    return positions;
}

void CheckFinite(float value, const char* what) {
    if (!std::isfinite(value)) throw std::invalid_argument(std::string(what) + " is not a finite number.");
}

Grid MakeGrid(const HeightMap& map, const ReliefValues& values) {
    if (map.width() < 2 || map.height() < 2)
        throw std::invalid_argument("An STL file needs a relief of at least 2 x 2 pixels; this one has " +
                                    std::to_string(map.width()) + " x " + std::to_string(map.height()) + ".");
    CheckFinite(values.PixelSize, "The pixel size");
    CheckFinite(values.CellSizeY(), "The pixel size along Y");
    if (values.PixelSize <= 0.0f || values.CellSizeY() <= 0.0f)
        throw std::invalid_argument("The pixel size must be greater than 0.");
    CheckFinite(values.WorkOffsetX, "The work offset X");
    CheckFinite(values.WorkOffsetY, "The work offset Y");
    CheckFinite(values.BlackZ, "The Z of black");
    CheckFinite(values.WhiteZ, "The Z of white");
    float lowest = std::min(values.BlackZ, values.WhiteZ);
    for (float z : map.values()) {
        CheckFinite(z, "A height of the relief");
        lowest = std::min(lowest, z);
    }
    Grid grid{map, Positions(map.width(), values.PixelSize, values.WorkOffsetX),
              Positions(map.height(), values.CellSizeY(), values.WorkOffsetY), lowest};
    return grid;
}

void WriteSurface(const Grid& grid, FacetStream& out) {
    const int width = grid.map.width();
    const int height = grid.map.height();
    for (int j = 0; j + 1 < height; ++j) {
        for (int i = 0; i + 1 < width; ++i) {
            const TVector3D p00 = grid.top(i, j);
            const TVector3D p10 = grid.top(i + 1, j);
            const TVector3D p01 = grid.top(i, j + 1);
            const TVector3D p11 = grid.top(i + 1, j + 1);
            out.facet(NormalOf(p00, p10, p01), p00, p10, p01);
            out.facet(NormalOf(p11, p01, p10), p11, p01, p10);
        }
    }
}

bool AtBase(const Grid& grid, int i, int j) {
    return grid.map.at(i, j) == grid.baseZ;
}

// The two facets of the wall under the border segment from grid point P to its
// neighbour Q. Where P or Q lies on the base, the wall there has no height and
// one facet (both, where both do) would have no area; mesh checkers refuse
// such facets, so they are left out. The body stays closed: the facet that
// remains, or the surface and the bottom directly, meet along the same edges.
void WriteStlWallStrip(const Grid& grid, int i, int j, int di, int dj, const TVector3D& normal, FacetStream& out) {
    const TVector3D pTop = grid.top(i, j);
    const TVector3D pBase = grid.base(i, j);
    const TVector3D qTop = grid.top(i + di, j + dj);
    const TVector3D qBase = grid.base(i + di, j + dj);
    if (!AtBase(grid, i, j)) out.facet(normal, pTop, pBase, qBase);
    if (!AtBase(grid, i + di, j + dj)) out.facet(normal, pTop, qBase, qTop);
}

// The border walked counter-clockwise seen from above, one segment from P to
// its neighbour Q at a time: front, right, back, left.
void ForEachBorderSegment(const Grid& grid, const std::function<void(int, int, int, int, const TVector3D&)>& visit) {
    const int last = grid.map.width() - 1;
    const int top = grid.map.height() - 1;
    for (int i = 0; i < last; ++i) visit(i, 0, 1, 0, TVector3D{0, -1, 0});
    for (int j = 0; j < top; ++j) visit(last, j, 0, 1, TVector3D{1, 0, 0});
    for (int i = last; i > 0; --i) visit(i, top, -1, 0, TVector3D{0, 1, 0});
    for (int j = top; j > 0; --j) visit(0, j, 0, -1, TVector3D{-1, 0, 0});
}

void WriteWallsAndBottom(const Grid& grid, FacetStream& out) {
    ForEachBorderSegment(grid, [&](int i, int j, int di, int dj, const TVector3D& normal) {
        WriteStlWallStrip(grid, i, j, di, dj, normal, out);
    });
    // A fan from the middle of the bottom to every base point of the walls, so
    // that each wall edge meets one bottom edge and the body is closed.
    const TVector3D centre{static_cast<float>((static_cast<double>(grid.x.front()) + grid.x.back()) / 2),
                           static_cast<float>((static_cast<double>(grid.y.front()) + grid.y.back()) / 2), grid.baseZ};
    const TVector3D down{0, 0, -1};
    ForEachBorderSegment(grid, [&](int i, int j, int di, int dj, const TVector3D&) {
        out.facet(down, grid.base(i, j), centre, grid.base(i + di, j + dj));
    });
}

// Wall facets left out because they would have no area.
std::uint64_t FlatWallFacets(const Grid& grid) {
    std::uint64_t count = 0;
    ForEachBorderSegment(grid, [&](int i, int j, int di, int dj, const TVector3D&) {
        count += (AtBase(grid, i, j) ? 1 : 0) + (AtBase(grid, i + di, j + dj) ? 1 : 0);
    });
    return count;
}

void Write(const HeightMap& map, const ReliefValues& values, StlShape shape, const FacetStream::Output& output) {
    const Grid grid = MakeGrid(map, values);
    std::uint64_t count = StlFacetCount(map.width(), map.height(), shape);
    if (shape == StlShape::Solid) count -= FlatWallFacets(grid);
    if (count > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument("The relief would need " + std::to_string(count) +
                                    " facets; an STL file holds at most 4294967295.");
    FacetStream out(static_cast<std::uint32_t>(count), output);
    WriteSurface(grid, out);
    if (shape == StlShape::Solid) WriteWallsAndBottom(grid, out);
    if (out.written() != count) throw std::logic_error("STL facet count does not match the facets written");
    out.flush();
}

}  // namespace

std::uint64_t StlFacetCount(int width, int height, StlShape shape) {
    if (width < 2 || height < 2) return 0;
    const std::uint64_t cellsX = static_cast<std::uint64_t>(width) - 1;
    const std::uint64_t cellsY = static_cast<std::uint64_t>(height) - 1;
    std::uint64_t count = 2 * cellsX * cellsY;
    if (shape == StlShape::Solid) count += 4 * (cellsX + cellsY) + 2 * (cellsX + cellsY);
    return count;
}

void WriteStl(const std::filesystem::path& fileName, const HeightMap& map, const ReliefValues& values, StlShape shape) {
    std::unique_ptr<AtomicFileWriter> file;
    Write(map, values, shape, [&](std::string_view bytes) {
        // Opened with the first block, after every check has passed.
        if (!file) file = std::make_unique<AtomicFileWriter>(fileName);
        file->write(bytes);
    });
    file->commit();
}

std::string EncodeStl(const HeightMap& map, const ReliefValues& values, StlShape shape) {
    std::string bytes;
    Write(map, values, shape, [&](std::string_view block) { bytes.append(block); });
    return bytes;
}

}  // namespace calvoro
