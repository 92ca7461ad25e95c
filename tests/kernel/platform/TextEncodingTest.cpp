// Text encodings of language files: strict UTF-8, Windows-1252 both ways, and
// the detection that lets a file be written back as it was read.
#include "kernel/platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace calvoro;

namespace {

TEST(TextEncodingTest, TellsValidFromInvalidUtf8) {
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"Profondit\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x94\xA7", true},
        {"Profondit\xE0", false},     // the same word in Windows-1252
        {"\xC0\xAF", false},          // overlong '/'
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
        {"\xE2\x82", false},          // cut short
        {"\x80", false},              // a lone continuation byte
    };
    for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

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

TEST(TextEncodingTest, DecodesByDetectionAndEncodesBackToTheSameBytes) {
    const DecodedText legacy = DecodeText("Qualit\xE0");
    EXPECT_EQ(legacy.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(legacy.text, "Qualit\xC3\xA0");
    const DecodedText marked = DecodeText("\xEF\xBB\xBF[String]");
    EXPECT_TRUE(marked.byteOrderMark);
    EXPECT_EQ(marked.text, "[String]");
    for (const std::string bytes : {"Qualit\xE0 \x80", "Qualit\xC3\xA0", "\xEF\xBB\xBFx"}) {
        const DecodedText decoded = DecodeText(bytes);
        EXPECT_EQ(EncodeText(decoded.text, decoded.encoding, decoded.byteOrderMark), bytes);
    }
    EXPECT_EQ(DecodeText("Qualit\xC3\xA0").encoding, TextEncoding::Utf8);
    EXPECT_THROW(EncodeText("\xCE\xB1", TextEncoding::Windows1252), std::invalid_argument);
    EXPECT_THROW(EncodeText("\xE0", TextEncoding::Utf8), std::invalid_argument);
}

}  // namespace
