// Resolution conversions of picture files.
#include "engine/picture/Resolution.h"

#include <cmath>
#include <limits>

namespace calvoro {

long long DivideRoundingHalfToEven(long long numerator, long long denominator) {
    const long long quotient = numerator / denominator;
    const long long twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0)) return quotient + 1;
    return quotient;
}

int PixelsPerMetreToDpi(std::int32_t pixelsPerMetre) {
    if (pixelsPerMetre <= 0) return 0;
    return static_cast<int>(std::nearbyint(static_cast<long double>(pixelsPerMetre) / 39.37007874015748L));
}

std::int32_t DpiToPixelsPerMetre(int dpi) {
    if (dpi <= 0) return 0;
    const double pixelsPerMetre = std::nearbyint(dpi * 39.37007874015748);
    if (pixelsPerMetre >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(pixelsPerMetre);
}

int DotsPerCentimetreToDpi(int dotsPerCentimetre) {
    if (dotsPerCentimetre <= 0) return 0;
    return static_cast<int>(DivideRoundingHalfToEven(static_cast<long long>(dotsPerCentimetre) * 254, 100));
}

}  // namespace calvoro
