// The machining sequence handed to the NC program writer: every move the
// cutter makes, in order, for all passes.
//
// Shape of the list (what the writer can rely on):
// - A retract is the sequence  Rapid up to the feed plane above the last point,
//   Rapid at the feed plane to above the next start,  Plunge down to that start.
//   The first retract of the list has no "Rapid up" (the cutter starts above
//   the work), so moves.front() is always the Rapid to above the first point:
//   the program head belongs before it, expanded with its X and Y.
// - A Plunge is a feed move at the plunge rate; it only ever follows a retract.
// - Feed moves follow one another through the points of a polyline; two
//   polylines close enough together are joined by a plain Feed move.
// - Every pass ends with a Rapid straight up to the feed plane; the next pass
//   starts again with a retract (without its "Rapid up", the cutter is already
//   up). The tail of the program follows the last move, expanded with its X
//   and Y.
#pragma once

#include <cstdint>
#include <vector>

namespace calvoro {

enum class MoveKind : std::uint8_t {
    Rapid,   // positioning at rapid speed
    Plunge,  // feed move at the plunge rate, the first move after a retract
    Feed,    // feed move at the feed rate
};

// The kind the NC word writers use: 0 rapid, 1 linear feed.
constexpr int NcMoveKind(MoveKind kind) {
    return kind == MoveKind::Rapid ? 0 : 1;
}

struct Move {
    MoveKind kind = MoveKind::Rapid;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    bool operator==(const Move&) const = default;
};

struct MoveList {
    std::vector<Move> moves;
    double feedPlaneZ = 0.0;  // Z of every rapid at height and of every retract
    int passCount = 0;        // number of Z passes the list holds

    bool empty() const { return moves.empty(); }
};

}  // namespace calvoro
