// The points set: growth, the refusals that leave it whole, the cap of what a
// 16-bit count can hold, and copies between sets.
#include "kernel/geometry/PointsSet2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/model/CADCoreExceptions.h"
#include "tests/support/Drawings.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace calvoro;

namespace {

TPoint2D P(double x, double y) {
    return MakePoint2D(x, y);
}

// Appends the points (i, 10 * i) for i < count.
void Fill(TPointsSet2D& set, int count) {
    for (int i = 0; i < count; ++i) set.Put(set.Count(), P(i, 10 * i));
}

std::vector<TPoint2D> Contents(const TPointsSet2D& set) {
    return {set.Points().begin(), set.Points().end()};
}

TEST(PointsSet2D, RefusalsLeaveTheSetAsItWasAndNothingPassesSixteenBits) {
    constexpr int kFull = TPointsSet2D::kMaxPoints;
    const TPoint2D one[] = {P(1, 1)}, three[] = {P(1, 1), P(2, 2), P(3, 3)};
    struct Case {
        std::string routine;  // the one the message names
        int capacity, filled;
        bool growable;
        std::function<void(TPointsSet2D&)> action;
    };
    const Case cases[] = {
        {"Put", 2, 2, false, [](TPointsSet2D& s) { s.AppendPoint(P(5, 5)); }},
        {"Put", 2, 2, false, [](TPointsSet2D& s) { s.Insert(0, P(5, 5)); }},
        {"Put", 2, 2, false, [](TPointsSet2D& s) { s.Put(-1, P(5, 5)); }},
        {"Insert", 2, 2, false, [](TPointsSet2D& s) { s.Insert(2, P(5, 5)); }},
        {"Get", 10, 3, true, [](TPointsSet2D& s) { s.Get(3); }},  // the slot exists, the point does not
        {"Get", 2, 2, false, [](TPointsSet2D& s) { s.Get(-1); }},
        {"AddPoints", 4, 2, false, [&](TPointsSet2D& s) { s.AddPoints(three); }},
        {"Put", kFull, kFull, true, [](TPointsSet2D& s) { s.AppendPoint(P(1, 1)); }},
        {"Put", kFull, kFull, true, [](TPointsSet2D& s) { s.Insert(0, P(1, 1)); }},
        {"AddPoints", kFull, kFull, true, [&](TPointsSet2D& s) { s.AddPoints(one); }},
        {"Put", 1, 0, true, [](TPointsSet2D& s) { s.Put(65535, P(1, 1)); }},
        {"Put", 1, 0, true, [](TPointsSet2D& s) { s.Put(70000, P(1, 1)); }},
        {"GrowTo", 1, 0, true, [](TPointsSet2D& s) { s.GrowTo(65536); }},
    };
    for (const auto& c : cases) {
        const std::string message =
            "TPointsSet2D." + c.routine + (c.routine == "Get" ? ": Index out of bound" : ": Vector out of bound");
        SCOPED_TRACE(message);
        TPointsSet2D set(c.capacity);
        Fill(set, c.filled);
        set.SetGrowable(c.growable);
        const std::vector<TPoint2D> before = Contents(set);
        EXPECT_EQ(test::MessageOf<ECADOutOfBound>([&] { c.action(set); }), message);
        EXPECT_EQ(Contents(set), before);
        EXPECT_EQ(set.Capacity(), c.capacity);
    }
    EXPECT_THROW(TPointsSet2D(65536), ECADOutOfBound);
    EXPECT_THROW(TPointsSet2D(-1), ECADOutOfBound);
}

}  // namespace
