// The work size of a picture, the reader chosen by a file's extension and the
// grey level of a colour.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/picture/GreyLevel.h"
#include "engine/picture/ImageInfo.h"
#include "engine/picture/PictureFile.h"

using namespace calvoro;

TEST(GreyLevel, MatchesTheWeightedSumRoundedInSinglePrecisionForEveryColour) {
    // The defining formula: the weighted sum in extended precision, stored
    // as a float, then rounded to the nearest level with halves to even.
    for (int red = 0; red < 256; ++red)
        for (int green = 0; green < 256; ++green)
            for (int blue = 0; blue < 256; ++blue) {
                const float sum = static_cast<float>(0.299L * red + 0.587L * green + 0.114L * blue);
                ASSERT_EQ(GreyLevel(red, green, blue), static_cast<int>(std::nearbyint(sum)))
                    << red << ", " << green << ", " << blue;
            }
}
