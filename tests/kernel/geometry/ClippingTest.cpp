#include "kernel/geometry/Clipping.h"

#include "tests/kernel/geometry/GeometryTestSupport.h"

#include <gtest/gtest.h>

using namespace calvoro;

namespace {

using ClipRoutine = int (*)(const TRect2D&, TPoint2D&, TPoint2D&);

struct ClipCase {
    const char* what;
    TPoint2D p0, p1;
    int code;
    TPoint2D clipped0, clipped1;
};

void RunClipCases(ClipRoutine clip, std::initializer_list<ClipCase> cases) {
    const TRect2D box = MakeRect2D(0, 0, 4, 4);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TPoint2D p0 = c.p0;
        TPoint2D p1 = c.p1;
        EXPECT_EQ(clip(box, p0, p1), c.code);
        // The moved ends land exactly on the edges: the values are chosen so
        // that the arithmetic is exact.
        EXPECT_EQ(p0, c.clipped0) << p0;
        EXPECT_EQ(p1, c.clipped1) << p1;
    }
}

TEST(ClipSegmentToRect2D, CodesAndExactEndPoints) {
    const TPoint2D a = MakePoint2D(1, 1);
    const TPoint2D b = MakePoint2D(3, 2);
    RunClipCases(
        ClipSegmentToRect2D,
        {
            {"wholly inside", a, b, 8, a, b},
            {"on the edges", MakePoint2D(0, 0), MakePoint2D(4, 4), 8, MakePoint2D(0, 0), MakePoint2D(4, 4)},
            {"start outside", MakePoint2D(-2, 2), MakePoint2D(2, 2), 1, MakePoint2D(0, 2), MakePoint2D(2, 2)},
            {"end outside", MakePoint2D(2, 2), MakePoint2D(2, 8), 2, MakePoint2D(2, 2), MakePoint2D(2, 4)},
            {"across both sides", MakePoint2D(-2, 1), MakePoint2D(6, 3), 3, MakePoint2D(0, 1.5), MakePoint2D(4, 2.5)},
            {"across, backwards", MakePoint2D(6, 3), MakePoint2D(-2, 1), 3, MakePoint2D(4, 2.5), MakePoint2D(0, 1.5)},
            {"across a corner", MakePoint2D(-1, 3), MakePoint2D(3, 7), 3, MakePoint2D(0, 4), MakePoint2D(0, 4)},
            {"along the bottom edge", MakePoint2D(-1, 0), MakePoint2D(5, 0), 3, MakePoint2D(0, 0), MakePoint2D(4, 0)},
            {"above", MakePoint2D(5, 5), MakePoint2D(6, 7), 4, MakePoint2D(5, 5), MakePoint2D(6, 7)},
            {"vertical, left of the box", MakePoint2D(-1, -1), MakePoint2D(-1, 5), 4, MakePoint2D(-1, -1),
             MakePoint2D(-1, 5)},
            {"passing a corner", MakePoint2D(3, -2), MakePoint2D(6, 1), 4, MakePoint2D(3, -2), MakePoint2D(6, 1)},
            {"no length, inside", a, a, 8, a, a},
            {"no length, on an edge", MakePoint2D(4, 2), MakePoint2D(4, 2), 8, MakePoint2D(4, 2), MakePoint2D(4, 2)},
            {"no length, outside", MakePoint2D(5, 2), MakePoint2D(5, 2), 4, MakePoint2D(5, 2), MakePoint2D(5, 2)},
            {"homogeneous ends", TPoint2D{-4, 2, 2}, TPoint2D{12, 6, 2}, 3, MakePoint2D(0, 1.5), MakePoint2D(4, 2.5)},
        });
}

TEST(ClipSegmentToRect2D, TheOneAxisVariantsIgnoreTheOtherEdges) {
    RunClipCases(ClipSegmentToRectX2D, {
                                           {"across, above the box", MakePoint2D(-2, 10), MakePoint2D(6, 10), 3,
                                            MakePoint2D(0, 10), MakePoint2D(4, 10)},
                                           {"vertical through the box", MakePoint2D(2, -2), MakePoint2D(2, 6), 8,
                                            MakePoint2D(2, -2), MakePoint2D(2, 6)},
                                           {"vertical beside the box", MakePoint2D(10, -2), MakePoint2D(10, 6), 4,
                                            MakePoint2D(10, -2), MakePoint2D(10, 6)},
                                           {"no length, above", MakePoint2D(2, 9), MakePoint2D(2, 9), 8,
                                            MakePoint2D(2, 9), MakePoint2D(2, 9)},
                                       });
    RunClipCases(
        ClipSegmentToRectY2D,
        {
            {"up, beside the box", MakePoint2D(10, -2), MakePoint2D(10, 6), 3, MakePoint2D(10, 0), MakePoint2D(10, 4)},
            {"horizontal through the box", MakePoint2D(-2, 2), MakePoint2D(6, 2), 8, MakePoint2D(-2, 2),
             MakePoint2D(6, 2)},
            {"horizontal above the box", MakePoint2D(-2, 10), MakePoint2D(6, 10), 4, MakePoint2D(-2, 10),
             MakePoint2D(6, 10)},
            {"down, end below", MakePoint2D(1, 3), MakePoint2D(3, -1), 2, MakePoint2D(1, 3), MakePoint2D(2.5, 0)},
        });
}

}  // namespace
