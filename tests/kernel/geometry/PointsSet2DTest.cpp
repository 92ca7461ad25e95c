// The points set: growth, the refusals that leave it whole, the cap of what a
// 16-bit count can hold, change notifications, its box and its drawing.
#include "kernel/geometry/PointsSet2D.h"

#include "kernel/draw/DecorativeCanvas.h"
#include "kernel/draw/RecordingCanvas.h"
#include "kernel/model/CADCoreExceptions.h"
#include "tests/kernel/geometry/GeometryTestSupport.h"

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

// The message of the ECADOutOfBound the action raises; empty when it raises none.
std::string RefusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ECADOutOfBound& e) {
        return e.what();
    }
    return {};
}

TEST(PointsSet2D, GrowthOfAGrowableSet) {
    struct Case {
        const char* what;
        int capacity, filled, putAt;
        int newCapacity, newCount;
    };
    const Case cases[] = {
        {"append to a full set", 2, 2, 2, 5, 3},
        {"append to an empty set of no room", 0, 0, 0, 1, 1},
        {"inside the capacity, past the count", 8, 2, 5, 8, 6},
        {"far past the capacity", 2, 2, 10, 11, 11},
        {"growth stops at the largest count", 40000, 40000, 40000, 65535, 40001},
        {"the last index there is", 40000, 0, 65534, 65535, 65535},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TPointsSet2D set(c.capacity);
        Fill(set, c.filled);
        set.Put(c.putAt, P(-1, -2));
        EXPECT_EQ(set.Capacity(), c.newCapacity);
        EXPECT_EQ(set.Count(), c.newCount);
        EXPECT_EQ(set.Get(c.putAt), P(-1, -2));
        // Slots passed over hold the origin, never stray values.
        if (c.putAt > c.filled) {
            EXPECT_EQ(set.Get(c.putAt - 1), P(0, 0));
        }
    }
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
        EXPECT_EQ(RefusalOf([&] { c.action(set); }), message);
        EXPECT_EQ(Contents(set), before);
        EXPECT_EQ(set.Capacity(), c.capacity);
    }
    EXPECT_THROW(TPointsSet2D(65536), ECADOutOfBound);
    EXPECT_THROW(TPointsSet2D(-1), ECADOutOfBound);
}

TEST(PointsSet2D, AddPointsGrowsOnlyAsFarAsNeededAndNotifiesOnce) {
    const std::vector<TPoint2D> three = {P(1, 1), P(2, 2), P(3, 3)};
    struct Case {
        int capacity, filled;
        bool growable;
        int newCapacity;
    };
    for (const Case& c : {Case{10, 2, true, 10}, Case{3, 2, true, 5}, Case{5, 2, false, 5}}) {
        TPointsSet2D set(c.capacity);
        Fill(set, c.filled);
        set.SetGrowable(c.growable);
        int calls = 0;
        set.SetOnChange([&calls](TPointsSet2D&) { ++calls; });
        set.AddPoints(three);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(set.Capacity(), c.newCapacity) << c.capacity;
        EXPECT_EQ(set.Count(), c.filled + 3);
        EXPECT_EQ(set.Get(c.filled + 2), P(3, 3));
    }
}

TEST(PointsSet2D, InsertShiftsTheLaterPointsAndClearKeepsCapacityAndSlots) {
    TPointsSet2D set(1);
    int calls = 0;
    set.SetOnChange([&calls](TPointsSet2D&) { ++calls; });
    set.Put(0, P(7, 7));
    set.Insert(0, P(1, 1));
    set.Insert(1, P(4, 4));
    EXPECT_EQ(Contents(set), (std::vector<TPoint2D>{P(1, 1), P(4, 4), P(7, 7)}));
    EXPECT_EQ(calls, 2);
    set.Clear();
    EXPECT_EQ(set.Count(), 0);
    EXPECT_EQ(set.Capacity(), 3);
    set.Put(3, P(-3, -3));
    EXPECT_EQ(Contents(set), (std::vector<TPoint2D>{P(1, 1), P(4, 4), P(7, 7), P(-3, -3)}));
}

TEST(PointsSet2D, CallbacksRunOncePerChangeAndNeverReenter) {
    TPointsSet2D set(2);
    int calls = 0;
    set.SetOnChange([&calls](TPointsSet2D& sender) {
        ++calls;
        sender.AppendPoint(P(9, 9));  // a change made by the callback itself
    });
    set.Put(0, P(1, 1));  // Put, Clear and GrowTo never call back
    set.GrowTo(8);
    set.Clear();
    EXPECT_EQ(calls, 0);
    set.AppendPoint(P(1, 1));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(set.Count(), 2);
    set.DisableEvents(true);
    set.SetPoint(0, P(2, 2));
    EXPECT_EQ(calls, 1);

    set.DisableEvents(false);
    set.SetOnChange([](TPointsSet2D&) { throw std::runtime_error("box failed"); });
    EXPECT_THROW(set.AppendPoint(P(1, 1)), std::runtime_error);
    EXPECT_FALSE(set.NotifyDisabled());
}

TEST(PointsSet2D, BoxOfTheCartesianPoints) {
    TPointsSet2D set(4);
    EXPECT_EQ(set.GetBox(), MakeRect2D(0, 0, 0, 0));
    for (const TPoint2D& p : {TPoint2D{4, 6, 2}, TPoint2D{-2, 10, 2}, TPoint2D{8, -4, 2}, P(0.5, 0.5)})
        set.AppendPoint(p);
    EXPECT_EQ(set.GetBox(), MakeRect2D(-1, -2, 4, 5));
}

TEST(PointsSet2D, CopyPointsFillsTheSameIndicesOnlyAndARefusedCopyChangesNothing) {
    TPointsSet2D source(5);
    Fill(source, 5);
    TPointsSet2D target(2);
    target.SetGrowable(false);
    target.Put(0, P(-1, -1));
    int calls = 0;
    target.SetOnChange([&calls](TPointsSet2D&) { ++calls; });
    target.CopyPoints(source, 2, 4);
    const std::vector<TPoint2D> copied = {P(-1, -1), P(0, 0), P(2, 20), P(3, 30), P(4, 40)};
    EXPECT_EQ(Contents(target), copied);
    EXPECT_EQ(target.Capacity(), 5);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(RefusalOf([&] { target.CopyPoints(source, 3, 5); }), "TPointsSet2D.Get: Index out of bound");
    EXPECT_EQ(Contents(target), copied);
    EXPECT_EQ(target.Capacity(), 5);
    EXPECT_EQ(calls, 1);
}

// Subclasses may map indices: every store goes through the virtual Put.
class MirroredSet : public TPointsSet2D {
public:
    using TPointsSet2D::TPointsSet2D;
    void Put(int index, const TPoint2D& p) override { TPointsSet2D::Put(index, TPoint2D{-p.X, p.Y, p.W}); }
};

TEST(PointsSet2D, BulkOperationsStoreThroughTheOverriddenPut) {
    MirroredSet set(1);
    const TPoint2D two[] = {P(1, 1), P(2, 2)};
    set.AddPoints(two);
    set.AppendPoint(P(3, 3));
    EXPECT_EQ(Contents(set), (std::vector<TPoint2D>{P(-1, 1), P(-2, 2), P(-3, 3)}));
}

TEST(PointsSet2D, DrawsItsValidPointsOpenOrFilled) {
    RecordingCanvas canvas{TPixelRect{0, 0, 100, 100}};
    TDecorativeCanvas decorated{canvas};
    TPointsSet2D set(8);  // slots past the count must not be drawn
    const auto draw = [&] {
        canvas.ClearCalls();
        set.DrawAsPolyline(decorated, MakeRect2D(0, 0, 100, 100), set.GetBox(), ScalingMatrix2D(10, 10));
        set.DrawAsPolygon(decorated, MakeRect2D(0, 0, 100, 100), set.GetBox(), ScalingMatrix2D(10, 10));
    };
    for (const TPoint2D& p : {P(1, 1), P(5, 1), P(5, 4)}) set.AppendPoint(p);
    draw();
    const std::vector<TPixelPoint> pixels = {{10, 10}, {50, 10}, {50, 40}};
    ASSERT_EQ(canvas.CallsOf(CanvasOp::Polyline).size(), 1u);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Polyline)[0].Points, pixels) << "open: no closing segment";
    ASSERT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 1u);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon)[0].Points, pixels);
    set.Clear();
    draw();
    EXPECT_TRUE(canvas.CallsOf(CanvasOp::Polyline).empty());
    EXPECT_TRUE(canvas.CallsOf(CanvasOp::Polygon).empty());
}

}  // namespace
