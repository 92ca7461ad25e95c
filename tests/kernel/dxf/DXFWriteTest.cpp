// DXF groups: the value line each range of codes takes, written with a
// decimal point under a comma locale, and the values refused.
#include "kernel/dxf/DXFWrite.h"
#include "kernel/model/CADCoreExceptions.h"

#include <gtest/gtest.h>

#include "CommaLocale.h"

#include <cmath>
#include <string>

using namespace calvoro;

namespace {

std::string Group(std::uint16_t code, TDXFWrite::Value value) {
    TDXFWrite writer;
    try {
        writer.WriteGroup(code, value);
    } catch (const ECADCoreException&) {
        return "refused";
    }
    return writer.Text();
}

TEST(DXFWrite, ValueLineFollowsTheRangeOfTheCode) {
    const test::CommaLocale comma;
    const std::string longText(300, 'x');
    struct Case {
        std::uint16_t code;
        TDXFWrite::Value value;
        std::string text;
    };
    const Case cases[] = {
        {0, "SECTION", "  0\r\nSECTION\r\n"},
        {9, "$ACADVER", "  9\r\n$ACADVER\r\n"},
        {999, "a comment", "999\r\na comment\r\n"},
        {1009, 12, "1009\r\n12\r\n"},
        {1, longText, "  1\r\n" + std::string(255, 'x') + "\r\n"},
        {1, "two\r\nlines", "  1\r\ntwo  lines\r\n"},
        {10, 1.5, " 10\r\n1.500000\r\n"},
        {40, -0.5, " 40\r\n-0.500000\r\n"},
        {59, -0.0000004, " 59\r\n0.000000\r\n"},  // no sign on a zero
        {140, 2, "140\r\n2.000000\r\n"},
        {239, -12345.6789, "239\r\n-12345.678900\r\n"},
        {1010, 1e-7, "1010\r\n0.000000\r\n"},
        {62, -7, " 62\r\n    -7\r\n"},
        {70, 256, " 70\r\n   256\r\n"},
        {175, 2.5, "175\r\n     2\r\n"},  // halves go to the even integer
        {1079, 1234567, "1079\r\n1234567\r\n"},
        {100, "ignored", "100\r\n\r\n"},
        {80, 3.0, " 80\r\n\r\n"},
        {10, NAN, "refused"},
        {40, INFINITY, "refused"},
        {10, "text", "refused"},
        {70, 1e12, "refused"},
    };
    for (const Case& c : cases) EXPECT_EQ(Group(c.code, c.value), c.text) << c.code;
}

}  // namespace
