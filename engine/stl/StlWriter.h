// The relief as a binary STL file, for other programs (slicers, mesh tools):
// either the open surface of the height map or a closed solid with walls down
// to a base and a bottom. Every number in the file is a little-endian float.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"

namespace calvoro {

enum class StlShape {
    Surface,  // two facets for every cell of the map
    Solid,    // the surface, four walls and a bottom: a watertight body
};

// Facets of a map of width x height: 2 (W - 1)(H - 1) for the surface; the
// solid adds at most 4 (W - 1) + 4 (H - 1) wall facets and 2 (W - 1) +
// 2 (H - 1) bottom facets. The walls leave out the facets that would have no
// area: two for every border point of the relief that lies on the base, one
// in each wall beside it. 0 when the map is smaller than 2 x 2.
std::uint64_t StlFacetCount(int width, int height, StlShape shape);

// Grid point (i, j) of the map lies at X = i * PixelSize + WorkOffsetX,
// Y = j * CellSizeY() + WorkOffsetY, Z = map[i][j]. The solid's walls and bottom
// reach down to the lowest of BlackZ, WhiteZ and the map's cells, so the base
// lies below the relief whichever way the depths run.
//
// Throws std::invalid_argument, before anything is written, for a map smaller
// than 2 x 2, a pixel size that is not a positive number, values or cells that
// are not finite, or more facets than the file's 32-bit count can hold.
// Writing goes to a temporary file renamed at the end; a failure throws
// FileWriteError and leaves an existing file as it was.
void WriteStl(const std::filesystem::path& fileName, const HeightMap& map, const ReliefValues& values, StlShape shape);

// The same file as bytes in memory.
std::string EncodeStl(const HeightMap& map, const ReliefValues& values, StlShape shape);

}  // namespace calvoro
