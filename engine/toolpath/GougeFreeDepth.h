// The lowest Z at which the cutter, centred over a cell of the height map,
// touches the relief without cutting into it anywhere under its footprint.
//
// Every cell is taken as a point at its centre; cells may be longer along one
// axis than along the other (a picture placed at sizes that do not keep its
// proportions), and distances are measured in work units. With the cutter
// centred over cell c, a cell k at distance rho <= R + S limits the tip to
//     Z(k) - height(rho),
// and the tip Z is S plus the largest of these limits (profile grown by S, see
// CutterProfile). Two allowances widen the footprint:
// - the written program places the cutter up to a position allowance e away
//   from the cell it was computed for (its numbers are rounded), so a cell
//   limits the tip as if it were e nearer: height(max(0, rho - e)) up to
//   rho = R + S + e;
// - the pixel size is a float (0.1 is 0.10000000149), so a cell the program
//   puts exactly on the rim lies a hair outside it in this arithmetic; cells
//   within a relative 1e-6 beyond the rim count as on it.
// Cells outside the picture count as the nearest edge cell; since the cutter
// is always centred over the picture, such a cell never limits the tip more
// than the edge cell itself does at its own, shorter, distance, so only cells
// of the picture need to be visited.
//
// The fast path prunes the footprint block by block against a pyramid of block
// maxima, for a few neighbouring centres at once; a block is only skipped when
// none of its cells can beat what each centre has already found, and every
// value is computed with the arithmetic of the reference (every cell of the
// footprint), so both give the same bits.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "engine/relief/HeightMap.h"
#include "engine/toolpath/CutterProfile.h"

namespace calvoro {

// Work units between neighbouring cell centres along X and along Y.
struct CellSizes {
    double x = 1.0;
    double y = 1.0;
};

class GougeFreeDepth {
public:
    // The map must outlive this object. Throws ToolPathError when a cell
    // size is not a positive number, the allowance is negative or the map is
    // empty. The block maxima are built on `threads` threads (0: every core).
    GougeFreeDepth(const HeightMap& map, const CutterProfile& profile, CellSizes cells, double positionAllowance = 0.0,
                   unsigned threads = 1);
    // Square cells.
    GougeFreeDepth(const HeightMap& map, const CutterProfile& profile, double pixelSize, double positionAllowance = 0.0,
                   unsigned threads = 1)
        : GougeFreeDepth(map, profile, CellSizes{pixelSize, pixelSize}, positionAllowance, threads) {}

    // Tip Z (work units) over cell (x, y), which must lie in the map. Rounded
    // up to the next float, so it is never below the exact value.
    float tipZ(int x, int y) const;

    // The tip Z of `count` neighbouring cells, (x + k, y) along a row or
    // (x, y + k) along a column for k = 0..count-1, into out[k]; the same
    // values as tipZ, found much faster by searching for several at once.
    void tipZRun(int x, int y, bool alongX, int count, float* out) const;

    // The same value by visiting every cell of the footprint, each clamped to
    // the picture; a reference for tests and measurements.
    float tipZBruteForce(int x, int y) const;

    // The lowest Z at which the cutter can be anywhere on the straight line
    // between two cells (cell coordinates) without cutting the relief: S plus
    // the largest Z(k) - height(distance from k to the segment). A move whose
    // two ends are both at or above it is safe along its whole length.
    double segmentClearanceZ(int x0, int y0, int x1, int y1) const;

    // How much both ends of the straight move from cell a at tipA to cell b at
    // tipB (cell coordinates; tips at least the tip Z of their cells) must be
    // raised so that the cutter, swept along the move with its Z changing
    // linearly, cuts no cell: never less than the need, and above it by at
    // most about 1/2000 of the two tips' difference. 0 when nothing is in
    // the way.
    double sweptLift(int ax, int ay, double tipA, int bx, int by, double tipB) const;

    // The same for the `moves` moves of a straight run of neighbouring
    // cells: point k at (x + k stepX, y + k stepY) with tip tips[k] (moves + 1
    // of them), the lift of the move from point k to k + 1 into lifts[k];
    // found much faster by searching for several moves at once.
    void sweptLiftRun(int x, int y, int stepX, int stepY, int moves, const double* tips, double* lifts) const;

    // The profile as the footprint sees it: widened by the position allowance
    // and with rim cells counted; +infinity beyond reachRadius().
    double grownHeight(double rho) const {
        return rho > reachRadius_ ? kOutside
                                  : profile_.height(std::min(std::max(0.0, rho - allowance_), profile_.outerRadius()));
    }
    double reachRadius() const { return reachRadius_; }
    // Height of the profile at the cell offset (dx, dy), +infinity outside the
    // footprint. The one place that decides which cells the footprint holds.
    double offsetHeight(int dx, int dy) const {
        const int ady = dy < 0 ? -dy : dy;
        if (ady > reach_) return kOutside;
        return profileRow(ady, true)[std::min(dx < 0 ? -dx : dx, reach_ + 1)];
    }

    const HeightMap& map() const { return map_; }
    const CutterProfile& profile() const { return profile_; }
    double pixelSize() const { return pixelSize_; }  // along X
    int footprintCells() const { return reach_; }  // no footprint cell lies farther away along X or Y

private:
    // levels_[l - 1] holds the maxima of aligned 2^l x 2^l blocks, stored in
    // tiles of 8 x 8 blocks so that a block, its neighbours along either axis
    // and its four children mostly share cache lines.
    struct Level {
        int width = 0;
        int height = 0;
        int tilesHigh = 0;
        std::vector<float> maxima;
        std::size_t index(int bx, int by) const {
            return ((static_cast<std::size_t>(bx >> 3) * tilesHigh + (by >> 3)) << 6) + ((bx & 7) << 3) + (by & 7);
        }
    };
    static constexpr double kOutside = std::numeric_limits<double>::infinity();

    static constexpr int kBatch = 8;  // centres searched together
    struct Cell {
        int u = 0;  // along the run
        int v = 0;  // across it
    };
    void tipZBatch(bool alongX, int first, int fixed, int count, Cell* contacts, int& contactCount, float* out) const;

    double computeOffsetHeight(int adx, int ady) const;
    double grownSlope(double rho) const {
        return rho < allowance_ ? 0.0 : profile_.slope(std::min(rho - allowance_, profile_.outerRadius()));
    }
    void sweptLiftBatch(int x, int y, int stepX, int stepY, int count, const double* tips, double* lifts) const;
    // The largest lift one cell demands of a sweptLift move, when more than `beat`.
    double cellSweptLift(int cx, int cy, int ax, int ay, double tipA, int bx, int by, double tipB, double beat) const;
    // The profile heights at offsets (0..reach + 1 + kBatch along a run,
    // `across` it) of a run along X or along Y; those past reach are +inf, so
    // a clamped offset, or one up to a batch beyond, reads as outside.
    int rowStride() const { return reach_ + 2 + kBatch; }
    const std::vector<double>& heightsAlong(bool alongX) const {
        return alongX || offsetHeightsAlongY_.empty() ? offsetHeights_ : offsetHeightsAlongY_;
    }
    const std::vector<double>& slopesAlong(bool alongX) const {
        return alongX || offsetSlopesAlongY_.empty() ? offsetSlopes_ : offsetSlopesAlongY_;
    }
    const double* profileRow(int across, bool alongX) const {
        return heightsAlong(alongX).data() + across * rowStride();
    }
    // Distance (work units) of the cell offset (dx, dy), in the arithmetic
    // every search shares.
    double offsetDistance(double dx, double dy) const {
        const double y = dy * aspect_;
        return std::sqrt(dx * dx + y * y) * pixelSize_;
    }
    float blockMax(int level, int bx, int by) const {
        if (level == 0) return map_.at(bx, by);
        const Level& l = levels_[level - 1];
        return l.maxima[l.index(bx, by)];
    }
    static float RoundUp(double value);

    const HeightMap& map_;
    CutterProfile profile_;
    double pixelSize_;  // along X
    double aspect_;     // cell size along Y over that along X: offsets along Y are scaled by it
    double allowance_;
    double reachRadius_ = 0.0;  // distance of the farthest cell that counts
    int reach_ = 0;
    std::vector<double> offsetHeights_;  // runs along X: across is dy, along is dx
    // For each offset (along, across) of the same layout: how fast the
    // profile height under the cell grows as the centre moves one cell away
    // along the run, per cell moved (0 straight across, where it starts flat).
    std::vector<double> offsetSlopes_;
    // The same for runs along Y (across is dx); empty for square cells,
    // whose two layouts are the same.
    std::vector<double> offsetHeightsAlongY_;
    std::vector<double> offsetSlopesAlongY_;
    std::vector<int> chordHalf_;  // largest |dy| in the footprint for each |dx|, -1 for none  // quadrant table
                                  // [|dx|][|dy|], empty for huge cutters

    std::vector<Level> levels_;
};

}  // namespace calvoro
