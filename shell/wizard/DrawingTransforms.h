// Moving, turning, mirroring and scaling every object of the drawing except
// the picture, so that a drawing made over the picture follows a new
// placement; and moving everything with the view, so that the picture keeps
// its place on the screen while the origin moves under it.
#pragma once

namespace calvoro {

class TCADPrg;
class TQVCmp2D;
class TQVViewport;

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
// Every object except the picture mirrored about an axis through the origin:
// axis is the item chosen among the mirror axes (0: y becomes -y, 1: x
// becomes -x, 2: both). With no item chosen (any other number) nothing
// happens. The CAD task running in program, if any, is then accepted.
void MirrorAll(TQVCmp2D& drawing, int axis, TCADPrg* program = nullptr);
// Every object, the picture too, loses its transforms: it stands where it
// was made.
void RimuoveTuttoTrasforma(TQVCmp2D& drawing);
// Every object, the picture too, moved by (dx, dy), and the view moved by the
// same amount: the picture stays where it was on the screen while the world
// coordinates under it change (a new origin).
void MoveAllKeepingView(TQVCmp2D& drawing, TQVViewport& view, double dx, double dy);

}  // namespace calvoro
