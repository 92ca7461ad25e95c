// What a two-object pick hands an editing command: the picked objects in the
// order they were picked and the world point where each was picked. The pick
// points choose among the solutions a command could build (which end of a
// line to keep, on which side a fillet lies, which tangent to draw).
#pragma once

#include "kernel/geometry/Point2D.h"

#include <array>
#include <cstdint>

namespace calvoro {

struct EditPick {
    // IDs in the drawing; Count says how many of the two slots are filled.
    std::array<std::int32_t, 2> Ids{-1, -1};
    std::array<TPoint2D, 2> Points{};
    int Count = 0;

    // Both objects picked, first one first.
    static EditPick Two(std::int32_t first, const TPoint2D& firstPoint, std::int32_t second,
                        const TPoint2D& secondPoint) {
        return EditPick{{first, second}, {firstPoint, secondPoint}, 2};
    }
};

}  // namespace calvoro
