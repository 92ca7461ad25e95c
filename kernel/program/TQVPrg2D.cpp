// The 2D program and its snap.
#include "kernel/program/TQVPrg2D.h"

#include "kernel/entities/TArco2D.h"
#include "kernel/entities/TCerchio2D.h"
#include "kernel/entities/TCurve2D.h"
#include "kernel/entities/TLine2D.h"
#include "kernel/entities/TPolyline2D.h"
#include "kernel/entities/TPunto2D.h"
#include "kernel/geometry/Picking.h"
#include "kernel/view/TQVViewport2D.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace calvoro {

namespace {

constexpr int kObjectSnapAperture = 10;

struct SnapCandidate {
    TPoint2D Point;
    ViewCursor Cursor;
};

// The first candidate nearest to p: a later one wins only when strictly nearer.
// Distances are compared in single precision.
const SnapCandidate& Nearest(const TPoint2D& p, std::initializer_list<SnapCandidate> candidates) {
    const SnapCandidate* best = nullptr;
    float bestDistance = 0.0f;
    for (const SnapCandidate& c : candidates) {
        const auto d = static_cast<float>(std::hypot(c.Point.X - p.X, c.Point.Y - p.Y));
        if (best == nullptr || d < bestDistance) {
            best = &c;
            bestDistance = d;
        }
    }
    return *best;
}

}  // namespace

TQVPrg2D::TQVPrg2D(KernelHost* host) : host_(host) {
    SetXSnap(10.0);
    SetYSnap(10.0);
}

TQVPrg2D::~TQVPrg2D() {
    SetViewport(nullptr);
}

TQVViewport2D* TQVPrg2D::Viewport2D() const {
    return dynamic_cast<TQVViewport2D*>(Viewport());
}

void TQVPrg2D::SetViewport2D(TQVViewport2D* viewport) {
    SetViewport(viewport);
}

void TQVPrg2D::SetCurrentPoint(const TPoint2D& p) {
    // A W of 0 (a direction) has no cartesian form: its X and Y are kept.
    currentPoint_ = CartesianPoint(p);
    currentPoint_.W = 1.0;
}

TPoint2D TQVPrg2D::GetSnappedPoint() {
    TPoint2D p = currentPoint_;
    if (UseSnap()) {
        if (XSnap() > 0.0) p.X = std::nearbyint(p.X / XSnap()) * XSnap();
        if (YSnap() > 0.0) p.Y = std::nearbyint(p.Y / YSnap()) * YSnap();
        p.W = 1.0;
    }
    if (host_ != nullptr && host_->ObjectSnapMode() != 0 && host_->ObjectSnapActive()) ObjectSnap(p);
    if (snapFilter_) snapFilter_(*this, CurrentState(), p, referencePoint_);
    return p;
}

void TQVPrg2D::SetCursorShape(ViewCursor shape) {
    if (host_ != nullptr) host_->SetViewCursor(shape);
}

void TQVPrg2D::ObjectSnap(TPoint2D& p) {
    TQVViewport2D* viewport = Viewport2D();
    const int mode = host_ != nullptr ? host_->ObjectSnapMode() : 0;
    int code = kHitMiss;
    TObject2D* object = viewport != nullptr ? viewport->HitObjectAt(p, kObjectSnapAperture, code, false) : nullptr;
    if (object == nullptr) {
        SetCursorShape(ViewCursor::Cross);
        return;
    }
    const bool shapeHit = code == kHitOutline || code >= 0;
    const bool vertexHit = code >= 0;
    const TMatrix2D m = object->GetObjectMatrix();
    auto world = [&m](const TPoint2D& q) { return CartesianPoint(PointTimesMatrix2D(q, m)); };
    auto take = [&](const SnapCandidate& c) {
        SetCursorShape(c.Cursor);
        p = c.Point;
    };

    if (object->InheritsFrom(TPunto2D::Class)) {
        if (!shapeHit) return;
        if (mode == 15 || mode == 17) {
            take({world(static_cast<TPunto2D*>(object)->Points().Get(0)), ViewCursor::Point});
        } else {
            SetCursorShape(ViewCursor::Cross);
        }
    } else if (object->InheritsFrom(TLine2D::Class)) {
        if (!shapeHit) return SetCursorShape(ViewCursor::Cross);
        auto* line = static_cast<TLine2D*>(object);
        const TPoint2D a = world(line->Points().Get(0));
        const TPoint2D b = world(line->Points().Get(1));
        const TPoint2D mid = MakePoint2D((a.X + b.X) / 2.0, (a.Y + b.Y) / 2.0);
        if (mode == 9) {
            // The second end wins a tie.
            const auto da = static_cast<float>(std::hypot(a.X - p.X, a.Y - p.Y));
            const auto db = static_cast<float>(std::hypot(b.X - p.X, b.Y - p.Y));
            take({da < db ? a : b, ViewCursor::EndPoint});
        } else if (mode == 11) {
            take({mid, ViewCursor::MidPoint});
        } else if (mode == 17) {
            take(Nearest(p, {{a, ViewCursor::EndPoint}, {b, ViewCursor::EndPoint}, {mid, ViewCursor::MidPoint}}));
        }
    } else if (object->InheritsFrom(TPolyline2D::Class)) {
        if (!vertexHit) return SetCursorShape(ViewCursor::Cross);
        if (mode == 9 || mode == 17) {
            take({world(static_cast<TPrimitive2D*>(object)->Points().Get(code)), ViewCursor::EndPoint});
        }
    } else if (object->InheritsFrom(TCerchio2D::Class)) {
        if (!shapeHit) return SetCursorShape(ViewCursor::Cross);
        auto* circle = static_cast<TCerchio2D*>(object);
        const TPoint2D c = world(circle->Points().Get(0));
        const TPoint2D onCircle = world(circle->Points().Get(1));
        const double r = std::hypot(onCircle.X - c.X, onCircle.Y - c.Y);
        const SnapCandidate right{MakePoint2D(c.X + r, c.Y), ViewCursor::EndPoint};
        const SnapCandidate left{MakePoint2D(c.X - r, c.Y), ViewCursor::MidPoint};
        const SnapCandidate centre{c, ViewCursor::Centre};
        if (mode == 9) take(right);
        if (mode == 11) take(left);
        if (mode == 13) take(centre);
        if (mode == 17) take(Nearest(p, {centre, right, left}));
    } else if (object->InheritsFrom(TArco2D::Class)) {
        if (!shapeHit) return SetCursorShape(ViewCursor::Cross);
        auto* arc = static_cast<TArco2D*>(object);
        const TArcData data = arc->GetArcData();
        const SnapCandidate centre{CartesianPoint(data.Centre), ViewCursor::Centre};
        const SnapCandidate start{CartesianPoint(data.StartPoint), ViewCursor::EndPoint};
        const SnapCandidate end{CartesianPoint(data.EndPoint), ViewCursor::EndPoint};
        const SnapCandidate middle{CartesianPoint(arc->ArcPointAt(0.5)), ViewCursor::MidPoint};
        if (mode == 9) {
            // The end point wins a tie.
            const auto ds = static_cast<float>(std::hypot(start.Point.X - p.X, start.Point.Y - p.Y));
            const auto de = static_cast<float>(std::hypot(end.Point.X - p.X, end.Point.Y - p.Y));
            take(ds < de ? start : end);
        }
        if (mode == 11) take(middle);
        if (mode == 13) take(centre);
        if (mode == 17) take(Nearest(p, {centre, start, end, middle}));
    } else if (object->InheritsFrom(TCurve2D::Class)) {
        if (!vertexHit) return SetCursorShape(ViewCursor::Cross);
        if (mode == 9 || mode == 17) {
            take({world(static_cast<TPrimitive2D*>(object)->Points().Get(code)), ViewCursor::EndPoint});
        }
    } else {
        SetCursorShape(ViewCursor::Cross);
    }
}

bool TQVPrg2D::CanDrawCursor() const {
    return Viewport() != nullptr && !Viewport()->ClientRect().IsEmpty();
}

void TQVPrg2D::DrawCursorCross(const TPoint2D& p) {
    TQVViewport* viewport = Viewport();
    const TPixelPoint pixel = viewport->WorldToPixel(p);
    Canvas& canvas = viewport->ScreenCanvas();
    canvas.SetClipRect(viewport->ClientRect());
    canvas.MoveTo(pixel.X, 0);
    canvas.LineTo(pixel.X, viewport->Height());
    canvas.MoveTo(0, pixel.Y);
    canvas.LineTo(viewport->Width(), pixel.Y);
}

void TQVPrg2D::DrawCursor() {
    if (!CanDrawCursor()) return;
    TQVViewport* viewport = Viewport();
    viewport->ScreenCanvas().SetPen(PenAttributes{ColorToRGB(CursorColor()) ^ ColorToRGB(viewport->BackGroundColor()),
                                                  TPenStyle::psSolid, TPenMode::pmXor, 1});
    if (crossShown_) DrawCursorCross(cursorPoint_);
    cursorPoint_ = GetSnappedPoint();
    DrawCursorCross(cursorPoint_);
    crossShown_ = true;
    viewport->ScreenChanged(viewport->ClientRect());
}

void TQVPrg2D::EraseCursor() {
    if (!CanDrawCursor() || !crossShown_) return;
    crossShown_ = false;
    TQVViewport* viewport = Viewport();
    viewport->ScreenCanvas().SetPen(PenAttributes{ColorToRGB(CursorColor()) ^ ColorToRGB(viewport->BackGroundColor()),
                                                  TPenStyle::psSolid, TPenMode::pmXor, 1});
    DrawCursorCross(cursorPoint_);
    viewport->ScreenChanged(viewport->ClientRect());
}

bool TQVPrg2D::MouseMoveHandler(TShiftState shift, int& x, int& y) {
    TQVViewport2D* viewport = Viewport2D();
    if (viewport == nullptr) return TCADPrg::MouseMoveHandler(shift, x, y);
    SetCurrentPoint(viewport->ScreenToWorld(MakePoint2D(x, y)));
    if (!mouseMoveFilter_) {
        TCADPrg::MouseMoveHandler(shift, x, y);
        return true;
    }
    mouseMoveFilter_(*this, CurrentState(), x, y, currentPoint_);
    if (viewport->OnMouseMove2D()) viewport->OnMouseMove2D()(*viewport, shift, x, y, currentPoint_.X, currentPoint_.Y);
    TCADPrg::MouseMoveHandler(shift, x, y);
    return false;
}

bool TQVPrg2D::MouseDownHandler(TMouseButton button, TShiftState shift, int& x, int& y) {
    TQVViewport2D* viewport = Viewport2D();
    if (viewport == nullptr) return TCADPrg::MouseDownHandler(button, shift, x, y);
    SetCurrentPoint(viewport->ScreenToWorld(MakePoint2D(x, y)));
    if (!mouseButtonFilter_) {
        TCADPrg::MouseDownHandler(button, shift, x, y);
        return true;
    }
    mouseButtonFilter_(*this, CurrentState(), x, y, currentPoint_, button);
    if (viewport->OnMouseDown2D()) {
        viewport->OnMouseDown2D()(*viewport, button, shift, x, y, currentPoint_.X, currentPoint_.Y);
    }
    TCADPrg::MouseDownHandler(button, shift, x, y);
    return false;
}

bool TQVPrg2D::MouseUpHandler(TMouseButton button, TShiftState shift, int& x, int& y) {
    TQVViewport2D* viewport = Viewport2D();
    if (viewport == nullptr) return TCADPrg::MouseUpHandler(button, shift, x, y);
    SetCurrentPoint(viewport->ScreenToWorld(MakePoint2D(x, y)));
    if (!mouseButtonFilter_) {
        TCADPrg::MouseUpHandler(button, shift, x, y);
        return true;
    }
    mouseButtonFilter_(*this, CurrentState(), x, y, currentPoint_, button);
    if (viewport->OnMouseUp2D()) {
        viewport->OnMouseUp2D()(*viewport, button, shift, x, y, currentPoint_.X, currentPoint_.Y);
    }
    TCADPrg::MouseUpHandler(button, shift, x, y);
    return false;
}

}  // namespace calvoro
