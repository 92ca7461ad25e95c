// Moving, turning and scaling every object of the drawing except the picture,
// so that a drawing made over the picture follows a new placement.
#pragma once

namespace calvoro {

class TQVCmp2D;

// Every object except the picture moved by (dx, dy).
void MuoveTutto(TQVCmp2D& drawing, double dx, double dy);
// Every object except the picture turned by degrees about the origin.
void RuotaTutto(TQVCmp2D& drawing, double degrees);
// Every object except the picture scaled about the origin. Under unequal
// factors a circle or an arc is no circle any more: it is replaced by the
// polyline of its outline, on the same layer. The replacements are collected
// during the walk over the drawing and made after it, since the drawing
// refuses to change its list while it is being walked.
void ScalaTutto(TQVCmp2D& drawing, double sx, double sy);

}  // namespace calvoro
