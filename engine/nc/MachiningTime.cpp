#include "engine/nc/MachiningTime.h"

#include <cmath>
#include <limits>
#include <optional>

namespace calvoro {

namespace {

struct Point {
    double x, y, z;
};

double Distance(const Point& a, const Point& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// The program is written with Single coordinates; the length is measured on
// the same values.
Point WrittenPoint(const Move& move) {
    return {static_cast<float>(move.x), static_cast<float>(move.y), static_cast<float>(move.z)};
}

std::string TwoDigits(std::int64_t value) {
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

}  // namespace

double MachiningLength(const MoveList& list) {
    double length = 0.0;
    std::optional<Point> last;
    for (const Move& move : list.moves) {
        const Point end = WrittenPoint(move);
        switch (move.kind) {
            case MoveKind::Rapid:
                // Rapids run at the feed plane: the last point keeps its X and
                // Y and takes their Z; the first one places the cutter.
                if (last)
                    last->z = end.z;
                else
                    last = end;
                break;
            case MoveKind::Plunge:
                length += 2.0 * (last ? Distance(*last, end) : 0.0);
                last = end;
                break;
            case MoveKind::Feed:
                length += last ? Distance(*last, end) : 0.0;
                last = end;
                break;
        }
    }
    return length;
}

std::int64_t MachiningSeconds(double length, double feedRate) {
    if (!(feedRate > 0.0) || !(length > 0.0)) return 0;
    const double seconds = std::nearbyint(length / feedRate * 60.0);
    if (!(seconds < 9.0e18)) return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(seconds);
}

std::string FormatMachiningTime(std::int64_t seconds) {
    if (seconds < 0) seconds = 0;
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = (seconds / 60) % 60;
    std::string text = " ";
    text += std::to_string(hours);
    text += "h, ";
    text += TwoDigits(minutes);
    text += "m, ";
    text += TwoDigits(seconds % 60);
    text += 's';
    return text;
}

}  // namespace calvoro
