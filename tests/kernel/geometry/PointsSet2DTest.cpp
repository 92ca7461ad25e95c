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

// A set filled with the points (i, 10 * i) for i < count.
void Fill(TPointsSet2D& set, int count) {
    for (int i = 0; i < count; ++i) set.Put(set.Count(), P(i, 10 * i));
}

std::vector<TPoint2D> Contents(const TPointsSet2D& set) {
    return {set.Points().begin(), set.Points().end()};
}

// Runs action, expects ECADOutOfBound with the message, and checks that the
// set kept its points and capacity.
void ExpectRefused(TPointsSet2D& set, const std::string& message, const std::function<void()>& action) {
    const std::vector<TPoint2D> before = Contents(set);
    const int capacity = set.Capacity();
    try {
        action();
        ADD_FAILURE() << "not refused: " << message;
    } catch (const ECADOutOfBound& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
    EXPECT_EQ(Contents(set), before);
    EXPECT_EQ(set.Capacity(), capacity);
}

struct NotificationCounter {
    int calls = 0;
    void Attach(TPointsSet2D& set) {
        set.SetOnChange([this](TPointsSet2D&) { ++calls; });
    }
};

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

TEST(PointsSet2D, RefusalsLeaveTheSetAsItWas) {
    TPointsSet2D fixed(2);
    fixed.SetGrowable(false);
    Fill(fixed, 2);
    ExpectRefused(fixed, "TPointsSet2D.Put: Vector out of bound", [&] { fixed.AppendPoint(P(5, 5)); });
    ExpectRefused(fixed, "TPointsSet2D.Put: Vector out of bound", [&] { fixed.Insert(0, P(5, 5)); });
    ExpectRefused(fixed, "TPointsSet2D.Put: Vector out of bound", [&] { fixed.Put(-1, P(5, 5)); });
    ExpectRefused(fixed, "TPointsSet2D.Insert: Vector out of bound", [&] { fixed.Insert(2, P(5, 5)); });
    ExpectRefused(fixed, "TPointsSet2D.Get: Index out of bound", [&] { fixed.Get(2); });
    ExpectRefused(fixed, "TPointsSet2D.Get: Index out of bound", [&] { fixed.Get(-1); });

    TPointsSet2D roomy(10);
    Fill(roomy, 3);
    // Get refuses at the count even though the slot exists.
    ExpectRefused(roomy, "TPointsSet2D.Get: Index out of bound", [&] { roomy.Get(3); });
}

TEST(PointsSet2D, NeverHoldsMoreThanSixteenBitsCanCount) {
    TPointsSet2D set(TPointsSet2D::kMaxPoints);
    Fill(set, TPointsSet2D::kMaxPoints);
    EXPECT_EQ(set.Count(), 65535);
    ExpectRefused(set, "TPointsSet2D.Put: Vector out of bound", [&] { set.AppendPoint(P(1, 1)); });
    ExpectRefused(set, "TPointsSet2D.Put: Vector out of bound", [&] { set.Insert(0, P(1, 1)); });
    ExpectRefused(set, "TPointsSet2D.AddPoints: Vector out of bound", [&] {
        const TPoint2D one[] = {P(1, 1)};
        set.AddPoints(one);
    });
    EXPECT_EQ(set.Get(65534), P(65534, 655340));

    TPointsSet2D small(1);
    ExpectRefused(small, "TPointsSet2D.Put: Vector out of bound", [&] { small.Put(65535, P(1, 1)); });
    ExpectRefused(small, "TPointsSet2D.Put: Vector out of bound", [&] { small.Put(70000, P(1, 1)); });
    ExpectRefused(small, "TPointsSet2D.GrowTo: Vector out of bound", [&] { small.GrowTo(65536); });
    EXPECT_THROW(TPointsSet2D(65536), ECADOutOfBound);
    EXPECT_THROW(TPointsSet2D(-1), ECADOutOfBound);
}

TEST(PointsSet2D, AddPointsGrowsOnlyAsFarAsNeededAndNotifiesOnce) {
    const std::vector<TPoint2D> three = {P(1, 1), P(2, 2), P(3, 3)};
    struct Case {
        const char* what;
        int capacity, filled;
        bool growable;
        int newCapacity;
    };
    const Case cases[] = {
        {"growable with room", 10, 2, true, 10},
        {"growable without room", 3, 2, true, 5},
        {"fixed with just enough room", 5, 2, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TPointsSet2D set(c.capacity);
        Fill(set, c.filled);
        set.SetGrowable(c.growable);
        NotificationCounter counter;
        counter.Attach(set);
        set.AddPoints(three);
        EXPECT_EQ(counter.calls, 1);
        EXPECT_EQ(set.Capacity(), c.newCapacity);
        EXPECT_EQ(set.Count(), c.filled + 3);
        EXPECT_EQ(set.Get(c.filled + 2), P(3, 3));
    }

    TPointsSet2D fixed(4);
    fixed.SetGrowable(false);
    Fill(fixed, 2);
    ExpectRefused(fixed, "TPointsSet2D.AddPoints: Vector out of bound", [&] { fixed.AddPoints(three); });
}

TEST(PointsSet2D, InsertShiftsTheLaterPointsAndNotifiesOnce) {
    TPointsSet2D set(1);
    set.Put(0, P(7, 7));
    NotificationCounter counter;
    counter.Attach(set);
    set.Insert(0, P(1, 1));
    EXPECT_EQ(Contents(set), (std::vector<TPoint2D>{P(1, 1), P(7, 7)}));
    EXPECT_EQ(counter.calls, 1);
    set.Insert(1, P(4, 4));
    EXPECT_EQ(Contents(set), (std::vector<TPoint2D>{P(1, 1), P(4, 4), P(7, 7)}));
    EXPECT_EQ(counter.calls, 2);
}

TEST(PointsSet2D, ClearKeepsTheCapacityAndTheOldSlots) {
    TPointsSet2D set(4);
    Fill(set, 4);
    set.Clear();
    EXPECT_EQ(set.Count(), 0);
    EXPECT_EQ(set.Capacity(), 4);
    set.Put(3, P(-3, -3));
    EXPECT_EQ(Contents(set), (std::vector<TPoint2D>{P(0, 0), P(1, 10), P(2, 20), P(-3, -3)}));
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
    set.Put(0, TPoint2D{4, 6, 2});
    EXPECT_EQ(set.GetBox(), MakeRect2D(2, 3, 2, 3));
    set.Put(1, TPoint2D{-2, 10, 2});
    set.Put(2, TPoint2D{8, -4, 2});
    EXPECT_EQ(set.GetBox(), MakeRect2D(-1, -2, 4, 5));
    set.Put(3, P(0.5, 0.5));  // inside: changes nothing
    EXPECT_EQ(set.GetBox(), MakeRect2D(-1, -2, 4, 5));
}

TEST(PointsSet2D, CopyPointsFillsTheSameIndicesOnly) {
    TPointsSet2D source(5);
    Fill(source, 5);
    TPointsSet2D target(2);
    target.SetGrowable(false);
    target.Put(0, P(-1, -1));
    NotificationCounter counter;
    counter.Attach(target);
    target.CopyPoints(source, 2, 4);
    EXPECT_EQ(Contents(target), (std::vector<TPoint2D>{P(-1, -1), P(0, 0), P(2, 20), P(3, 30), P(4, 40)}));
    EXPECT_EQ(target.Capacity(), 5);
    EXPECT_EQ(counter.calls, 1);
    ExpectRefused(target, "TPointsSet2D.Get: Index out of bound", [&] { target.CopyPoints(source, 3, 5); });
    EXPECT_EQ(counter.calls, 1);
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
    const TRect2D clip = MakeRect2D(0, 0, 100, 100);
    TPointsSet2D set(8);  // slots past the count must not be drawn
    for (const TPoint2D& p : {P(1, 1), P(5, 1), P(5, 4)}) set.AppendPoint(p);
    const TMatrix2D tenfold = ScalingMatrix2D(10, 10);
    set.DrawAsPolyline(decorated, clip, set.GetBox(), tenfold);
    set.DrawAsPolygon(decorated, clip, set.GetBox(), tenfold);
    const std::vector<TPixelPoint> pixels = {{10, 10}, {50, 10}, {50, 40}};
    ASSERT_EQ(canvas.CallsOf(CanvasOp::Polyline).size(), 1u);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Polyline)[0].Points, pixels) << "open: no closing segment";
    ASSERT_EQ(canvas.CallsOf(CanvasOp::Polygon).size(), 1u);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Polygon)[0].Points, pixels);

    canvas.ClearCalls();
    set.Clear();
    set.DrawAsPolyline(decorated, clip, set.GetBox(), tenfold);
    set.DrawAsPolygon(decorated, clip, set.GetBox(), tenfold);
    EXPECT_TRUE(canvas.CallsOf(CanvasOp::Polyline).empty());
    EXPECT_TRUE(canvas.CallsOf(CanvasOp::Polygon).empty());
}

}  // namespace
