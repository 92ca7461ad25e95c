// Text encodings of language files: strict UTF-8, Windows-1252 both ways, and
// the detection that lets a file be written back as it was read.
#include "kernel/platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace calvoro;

namespace {

TEST(TextEncodingTest, EveryWindows1252ByteRoundTripsAndTheSpecialsMap) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
    EXPECT_EQ(Windows1252ToUtf8("\x80 \x93x\x94 \xE8"), "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xC3\xA8");
    EXPECT_EQ(Utf8ToWindows1252("\xC5\x93"), std::string("\x9C"));  // oe ligature
    EXPECT_FALSE(Utf8ToWindows1252("\xCE\xB1"));                    // Greek alpha has no code
    EXPECT_FALSE(Utf8ToWindows1252("\xE0"));                        // not UTF-8 at all
}

}  // namespace
