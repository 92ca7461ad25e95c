// Building the relief from a picture: every pixel's grey level becomes a Z on
// the straight line from the depth of black to the depth of white.
#pragma once

#include "engine/picture/Picture.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"

namespace calvoro {

// Z of grey level g (0 black .. 255 white): (WhiteZ - DepthRange) + g * GreyScale
// with GreyScale = DepthRange / 255 held as a float, the sum formed in extended
// precision and rounded once to float.
float ReliefZ(const ReliefValues& values, int greyLevel);
float GreyScaleOf(const ReliefValues& values);

// Sizes map to the picture and overwrites every cell: map[x][y] is the pixel in
// column x and picture row height - 1 - y, so y = 0 is the bottom row. Colour
// pixels give their GreyLevel (engine/picture/GreyLevel.h), grey pixels their
// value. Returns GreyScale.
// Throws std::invalid_argument for an empty or inconsistent picture and for
// depths that are not finite numbers; the map is then left as it was.
float ElaboraImmagine(const Picture& picture, const ReliefValues& values, HeightMap& map);

}  // namespace calvoro
