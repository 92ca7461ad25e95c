// What a drawing asks of a viewport that shows it. The viewport joins the
// drawing's list when it is attached (TQVCmp::AddViewport) and leaves it when
// it detaches; the drawing tells it when objects are added, when everything
// must be drawn again, and when the drawing itself goes away.
#pragma once

namespace calvoro {

class TObject2D;

class DrawingViewport {
public:
    virtual ~DrawingViewport() = default;

    // Draws one object on the offscreen image, clipped to the client area.
    virtual void DrawObjectOffscreen(TObject2D& object) = 0;
    // Shows the offscreen image again without drawing the objects anew.
    virtual void Invalidate() = 0;
    // Draws everything anew.
    virtual void Repaint() = 0;
    // The drawing is being destroyed: the viewport must forget it.
    virtual void DrawingDestroyed() = 0;
};

}  // namespace calvoro
