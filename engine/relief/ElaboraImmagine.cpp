#include "engine/relief/ElaboraImmagine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace calvoro {

namespace {

void CheckPicture(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) throw std::invalid_argument("The picture has no pixels.");
    if (picture.pixels.size() != picture.stride() * static_cast<std::size_t>(picture.height))
        throw std::invalid_argument("The picture's pixel data does not match its size of " +
                                    std::to_string(picture.width) + " x " + std::to_string(picture.height) + ".");
}

void CheckValues(const ReliefValues& values) {
    if (!std::isfinite(values.WhiteZ)) throw std::invalid_argument("The Z of white is not a finite number.");
    if (!std::isfinite(values.BlackZ)) throw std::invalid_argument("The Z of black is not a finite number.");
    if (!std::isfinite(values.DepthRange)) throw std::invalid_argument("The depth range is not a finite number.");
}

// GreyLevel of every colour by its weighted sum 299 R + 587 G + 114 B: the same
// rounding of sum / 1000 (halves to even), one lookup instead of a division and
// two tests per pixel, which on pictures of random colours costs mispredicted
// branches. The tests hold it to GreyLevel for every colour.
const std::vector<std::uint8_t>& GreyOfWeightedSum() {
    static const std::vector<std::uint8_t> table = [] {
        std::vector<std::uint8_t> grey(255001);
        for (unsigned sum = 0; sum < grey.size(); ++sum) {
            const unsigned whole = sum / 1000;
            const unsigned rest = sum % 1000;
            grey[sum] = static_cast<std::uint8_t>(whole + (rest + (whole & 1u) > 500u ? 1u : 0u));
        }
        return grey;
    }();
    return table;
}

using GreyToZ = std::array<float, 256>;

GreyToZ MakeGreyToZ(const ReliefValues& values) {
    GreyToZ table;
    for (int g = 0; g < 256; ++g) table[static_cast<std::size_t>(g)] = ReliefZ(values, g);
    return table;
}

// The picture is stored by rows from the top, the map by columns from the
// bottom, so the build is a transposition. It goes through square tiles: a tile
// of pixels becomes a tile of Z row by row, which is then written into the
// columns, each column receiving a run of consecutive cells. Both tiles stay in
// the first-level cache.
constexpr int kTile = 64;

// Tile cell (row k, column x) goes to map column x (counted from firstColumn),
// cell yTop - k. Groups of four by four are turned over in registers where the
// processor allows it.
void WriteTileToColumns(const float* tile, int rows, int columns, float* firstColumn, int height, int yTop) {
    int fullColumns = 0;
    int fullRows = 0;
#if defined(__SSE2__)
    fullColumns = columns & ~3;
    fullRows = rows & ~3;
    for (int x = 0; x < fullColumns; x += 4) {
        float* column = firstColumn + static_cast<std::size_t>(x) * height;
        for (int k = 0; k < fullRows; k += 4) {
            const float* source = tile + k * kTile + x;
            __m128 row0 = _mm_load_ps(source);
            __m128 row1 = _mm_load_ps(source + kTile);
            __m128 row2 = _mm_load_ps(source + 2 * kTile);
            __m128 row3 = _mm_load_ps(source + 3 * kTile);
            // Lowest row (k + 3) first: afterwards each register is one
            // column in ascending y.
            _MM_TRANSPOSE4_PS(row3, row2, row1, row0);
            float* cell = column + (yTop - k - 3);
            _mm_storeu_ps(cell, row3);
            _mm_storeu_ps(cell + height, row2);
            _mm_storeu_ps(cell + 2 * static_cast<std::size_t>(height), row1);
            _mm_storeu_ps(cell + 3 * static_cast<std::size_t>(height), row0);
        }
    }
#endif
    // What the groups of four left: the last rows of every column, then the
    // last columns whole.
    for (int x = 0; x < columns; ++x) {
        float* cell = firstColumn + static_cast<std::size_t>(x) * height + yTop;
        for (int k = x < fullColumns ? fullRows : 0; k < rows; ++k) cell[-k] = tile[k * kTile + x];
    }
}

template <int bytes, typename GreyOfPixel>
void FillRows(const Picture& picture, const GreyToZ& zOf, HeightMap& map, int rowBegin, int rowEnd,
              GreyOfPixel greyOf) {
    alignas(16) float tile[kTile * kTile];
    const float* const zTable = zOf.data();
    for (int top = rowBegin; top < rowEnd; top += kTile) {
        const int rows = std::min(kTile, rowEnd - top);
        for (int left = 0; left < picture.width; left += kTile) {
            const int columns = std::min(kTile, picture.width - left);
            for (int k = 0; k < rows; ++k) {
                const std::uint8_t* pixel = picture.row(top + k) + static_cast<std::size_t>(left) * bytes;
                float* __restrict z = tile + k * kTile;
                for (int x = 0; x < columns; ++x, pixel += bytes) z[x] = zTable[greyOf(pixel)];
            }
            // Picture row top + k lands at y = height - 1 - top - k.
            WriteTileToColumns(tile, rows, columns, map.column(left), picture.height, picture.height - 1 - top);
        }
    }
}

// Large pictures are shared out to several threads by bands of whole tiles;
// each cell depends on its own pixel only, so the result is that of one thread.
template <int bytes, typename GreyOfPixel>
void FillMap(const Picture& picture, const GreyToZ& zOf, HeightMap& map, GreyOfPixel greyOf) {
    constexpr std::size_t kPixelsPerThread = 1u << 20;
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
    const int tileRows = (picture.height + kTile - 1) / kTile;
    const int threads = static_cast<int>(std::clamp<std::size_t>(
        std::min<std::size_t>({pixels / kPixelsPerThread, std::thread::hardware_concurrency(), 8u}), 1u,
        static_cast<std::size_t>(tileRows)));
    const int bandRows = (tileRows + threads - 1) / threads * kTile;
    auto fillBand = [&](int band) {
        const int begin = band * bandRows;
        FillRows<bytes>(picture, zOf, map, begin, std::min(picture.height, begin + bandRows), greyOf);
    };
    std::vector<std::thread> workers;
    for (int band = 1; band < threads && band * bandRows < picture.height; ++band) {
        try {
            workers.emplace_back(fillBand, band);
        } catch (const std::system_error&) {
            fillBand(band);  // no thread to be had: this one does the band
        }
    }
    fillBand(0);
    for (std::thread& worker : workers) worker.join();
}

}  // namespace

float GreyScaleOf(const ReliefValues& values) {
    return static_cast<float>(static_cast<long double>(values.DepthRange) / 255);
}

float ReliefZ(const ReliefValues& values, int greyLevel) {
    const long double base = static_cast<long double>(values.WhiteZ) - values.DepthRange;
    return static_cast<float>(base + static_cast<long double>(greyLevel) * GreyScaleOf(values));
}

float ElaboraImmagine(const Picture& picture, const ReliefValues& values, HeightMap& map) {
    CheckPicture(picture);
    CheckValues(values);
    const GreyToZ zOf = MakeGreyToZ(values);
    map.allocate(picture.width, picture.height);  // every cell is written below
    const auto colour = [grey = GreyOfWeightedSum().data()](const std::uint8_t* p) {
        return grey[114u * p[0] + 587u * p[1] + 299u * p[2]];
    };
    switch (picture.format) {
        case PixelFormat::Grey8:
            FillMap<1>(picture, zOf, map, [](const std::uint8_t* p) { return p[0]; });
            break;
        case PixelFormat::Bgr24:
            FillMap<3>(picture, zOf, map, colour);
            break;
        case PixelFormat::Bgra32:
            FillMap<4>(picture, zOf, map, colour);
            break;
    }
    return GreyScaleOf(values);
}

}  // namespace calvoro
