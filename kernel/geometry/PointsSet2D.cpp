#include "kernel/geometry/PointsSet2D.h"

#include "kernel/draw/TransformedDrawing.h"
#include "kernel/model/CADCoreExceptions.h"

#include <algorithm>

namespace calvoro {

namespace {

[[noreturn]] void OutOfBound(const char* message) {
    throw ECADOutOfBound(message);
}

}  // namespace

TPointsSet2D::TPointsSet2D(int capacity) {
    if (capacity < 0 || capacity > kMaxPoints) OutOfBound("TPointsSet2D.Create: Vector out of bound");
    points_.resize(static_cast<std::size_t>(capacity));
}

TPoint2D TPointsSet2D::Get(int index) const {
    if (index < 0 || index >= count_) OutOfBound("TPointsSet2D.Get: Index out of bound");
    return points_[static_cast<std::size_t>(index)];
}

void TPointsSet2D::Put(int index, const TPoint2D& p) {
    if (index < 0 || index >= kMaxPoints) OutOfBound("TPointsSet2D.Put: Vector out of bound");
    if (index >= Capacity()) {
        if (!growable_) OutOfBound("TPointsSet2D.Put: Vector out of bound");
        GrowTo(std::min(std::max(index + 1, 2 * Capacity() + 1), kMaxPoints));
    }
    points_[static_cast<std::size_t>(index)] = p;
    count_ = std::max(count_, index + 1);
}

void TPointsSet2D::SetPoint(int index, const TPoint2D& p) {
    Put(index, p);
    Notify();
}

void TPointsSet2D::AddPoints(std::span<const TPoint2D> points) {
    const std::size_t needed = static_cast<std::size_t>(count_) + points.size();
    if (needed > static_cast<std::size_t>(kMaxPoints) || (!growable_ && needed > static_cast<std::size_t>(Capacity())))
        OutOfBound("TPointsSet2D.AddPoints: Vector out of bound");
    GrowTo(static_cast<int>(needed));
    for (const TPoint2D& p : points) Put(count_, p);
    Notify();
}

void TPointsSet2D::Insert(int index, const TPoint2D& p) {
    if (index < 0 || index >= count_) OutOfBound("TPointsSet2D.Insert: Vector out of bound");
    Put(count_, p);
    std::copy_backward(points_.begin() + index, points_.begin() + count_ - 1, points_.begin() + count_);
    points_[static_cast<std::size_t>(index)] = p;
    Notify();
}

void TPointsSet2D::GrowTo(int n) {
    if (n > kMaxPoints) OutOfBound("TPointsSet2D.GrowTo: Vector out of bound");
    if (n > Capacity()) points_.resize(static_cast<std::size_t>(n));
}

void TPointsSet2D::Notify() {
    if (notifyDisabled_ || !onChange_) return;
    // Events come back on however the callback ends.
    struct Reenable {
        bool& disabled;
        ~Reenable() { disabled = false; }
    } reenable{notifyDisabled_};
    notifyDisabled_ = true;
    onChange_(*this);
}

TRect2D TPointsSet2D::GetBox() const {
    if (count_ == 0) return MakeRect2D(0, 0, 0, 0);
    const TPoint2D first = CartesianPoint(points_[0]);
    TRect2D box = MakeRect2D(first.X, first.Y, first.X, first.Y);
    for (const TPoint2D& stored : Points().subspan(1)) {
        const TPoint2D p = CartesianPoint(stored);
        if (p.X > box.Right)
            box.Right = p.X;
        else if (p.X < box.Left)
            box.Left = p.X;
        if (p.Y > box.Top)
            box.Top = p.Y;
        else if (p.Y < box.Bottom)
            box.Bottom = p.Y;
    }
    return box;
}

void TPointsSet2D::CopyPoints(const TPointsSet2D& source, int first, int last) {
    // Checked before anything changes, so a refused copy leaves the set whole.
    if (first <= last && (first < 0 || last >= source.Count())) OutOfBound("TPointsSet2D.Get: Index out of bound");
    GrowTo(last + 1);
    for (int i = first; i <= last; ++i) Put(i, source.Get(i));
    Notify();
}

void TPointsSet2D::DrawAsPolyline(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box,
                                  const TMatrix2D& m) const {
    DrawPolyline2D(canvas, clip, box, Points(), 0, count_ - 1, false, m);
}

void TPointsSet2D::DrawAsPolygon(TDecorativeCanvas& canvas, const TRect2D& clip, const TRect2D& box,
                                 const TMatrix2D& m) const {
    DrawPolygon2D(canvas, clip, box, Points(), 0, count_ - 1, m);
}

}  // namespace calvoro
