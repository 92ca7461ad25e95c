// The growable array of points that holds the control points of every
// primitive entity and the cached profile points of curves. It tells its
// owner about changes through one callback, can be frozen against growth for
// entities with a fixed number of points, and computes its own box.
#pragma once

#include "kernel/geometry/Matrix2D.h"
#include "kernel/geometry/Point2D.h"
#include "kernel/geometry/Rect2D.h"

#include <functional>
#include <span>
#include <vector>

namespace calvoro {

class TDecorativeCanvas;

class TPointsSet2D {
public:
    using ChangeEvent = std::function<void(TPointsSet2D& sender)>;

    // Entity records store the count in 16 bits.
    static constexpr int kMaxPoints = 65535;

    // Room for `capacity` points (each (0, 0, 1)), none of them valid yet.
    explicit TPointsSet2D(int capacity);
    virtual ~TPointsSet2D() = default;
    TPointsSet2D(const TPointsSet2D&) = delete;
    TPointsSet2D& operator=(const TPointsSet2D&) = delete;

    // Point `index` of 0 .. Count - 1; ECADOutOfBound otherwise.
    virtual TPoint2D Get(int index) const;
    // Stores p at index without notifying. Within the capacity the count grows
    // to index + 1 when needed, the points between keeping what the slots held.
    // Beyond it a growable set grows (to at least twice its capacity plus one);
    // a fixed set, or one that would pass kMaxPoints, refuses with
    // ECADOutOfBound and stays as it was.
    virtual void Put(int index, const TPoint2D& p);

    // Put, then Notify.
    void SetPoint(int index, const TPoint2D& p);
    void AppendPoint(const TPoint2D& p) { SetPoint(count_, p); }
    // Appends them all and notifies once. A fixed set without room for them
    // all, or a set that would pass kMaxPoints, refuses before storing any.
    void AddPoints(std::span<const TPoint2D> points);
    // Inserts p before index (0 .. Count - 1) and notifies once.
    void Insert(int index, const TPoint2D& p);
    // No valid points; the capacity and the slots' contents stay. No notification.
    void Clear() { count_ = 0; }
    // Raises the capacity to n (new slots (0, 0, 1)); a smaller n does nothing.
    void GrowTo(int n);

    void DisableEvents(bool disabled) { notifyDisabled_ = disabled; }
    // Calls OnChange unless events are disabled. Events stay disabled while it
    // runs, so a callback that changes the set is not called again.
    void Notify();

    // The box of the cartesian points; (0, 0)-(0, 0) for an empty set.
    TRect2D GetBox() const;
    // Points first .. last of source into the same indices (growing even a
    // fixed set as far as needed), then Notify.
    void CopyPoints(const TPointsSet2D& source, int first, int last);

    // The valid points through the world-to-pixel matrix m, clipped to the
    // pixel box clip; box is the owner's world box, for the wholly-inside test.
    // As an open polyline in the layer's decorative pen:
    void DrawAsPolyline(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box, const TMatrix2D& m) const;
    // As a filled polygon in the canvas's pen and brush:
    void DrawAsPolygon(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box, const TMatrix2D& m) const;

    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(points_.size()); }
    bool Growable() const { return growable_; }
    void SetGrowable(bool growable) { growable_ = growable; }
    bool NotifyDisabled() const { return notifyDisabled_; }
    const ChangeEvent& OnChange() const { return onChange_; }
    void SetOnChange(ChangeEvent onChange) { onChange_ = std::move(onChange); }
    // The valid points, 0 .. Count - 1, as stored.
    std::span<const TPoint2D> Points() const { return {points_.data(), static_cast<std::size_t>(count_)}; }

private:
    std::vector<TPoint2D> points_;  // one slot per point of capacity
    int count_ = 0;
    bool growable_ = true;
    bool notifyDisabled_ = false;
    ChangeEvent onChange_;
};

}  // namespace calvoro
