// Building the relief from a picture: every pixel's grey level becomes a Z on
// the straight line from the depth of black to the depth of white.
#pragma once

#include <cstdint>

#include "engine/picture/Picture.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"

namespace calvoro {

// The grey level of a weighted sum 299 R + 587 G + 114 B (0 .. 255000):
// sum / 1000 rounded, halves to the even level.
constexpr std::uint8_t GreyOfWeightedSum(unsigned weightedSum) {
    const unsigned whole = weightedSum / 1000u;
    const unsigned rest = weightedSum % 1000u;
    // Above a half always up; at exactly a half up only from an odd level.
    return static_cast<std::uint8_t>(whole + (rest + (whole & 1u) > 500u ? 1u : 0u));
}

// Round(0.299 R + 0.587 G + 0.114 B), halves to the even level. The weighted
// sum is 1/1000 of an integer, so integer arithmetic gives the exact result of
// the floating-point formula, ties included.
constexpr std::uint8_t GreyLevel(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return GreyOfWeightedSum(299u * red + 587u * green + 114u * blue);
}

// Z of grey level g (0 black .. 255 white): (WhiteZ - DepthRange) + g * GreyScale
// with GreyScale = DepthRange / 255 held as a float, the sum formed in extended
// precision and rounded once to float.
float ReliefZ(const ReliefValues& values, int greyLevel);
float GreyScaleOf(const ReliefValues& values);

// Sizes map to the picture and overwrites every cell: map[x][y] is the pixel in
// column x and picture row height - 1 - y, so y = 0 is the bottom row. Colour
// pixels give their GreyLevel, grey pixels their value. Returns GreyScale.
// Throws std::invalid_argument for an empty or inconsistent picture and for
// depths that are not finite numbers; the map is then left as it was.
float ElaboraImmagine(const Picture& picture, const ReliefValues& values, HeightMap& map);

}  // namespace calvoro
