// Every move the word writers put on a line reads back, through the program
// reader, as the same kind and end point within the precision of the format.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <functional>
#include <random>

#include "engine/nc/NcReader.h"
#include "engine/post/NcWordWriter.h"

using namespace calvoro;

namespace {

void CheckRoundTrip(const PostSettings& settings) {
    NcWordWriter writer(settings);
    NcReader reader(settings);
    reader.ResetIsoRun("0");
    IsoMove read;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-120.0f, 120.0f);
    std::uniform_int_distribution<int> choice(0, 3);
    float x = 0, y = 0, z = 0;
    // Half a unit of the last decimal written, and the float's own rounding.
    const auto tolerance = [&](Axis axis, float value) {
        return 0.5 * std::pow(10.0, -settings.axis(axis).format.decimals()) + 1e-5 * std::fabs(value) + 1e-6;
    };
    for (int n = 0; n < 3000; ++n) {
        // Coordinates often repeat, so that modal suppression leaves words out.
        if (choice(random) != 0) x = coordinate(random);
        if (choice(random) != 0) y = coordinate(random);
        if (choice(random) == 0) z = coordinate(random) / 10;
        const int kind = choice(random) == 0 ? 0 : 1;
        const char* feed = kind == 0 ? "-2" : (choice(random) == 0 ? "300" : "1200");

        std::string line;
        writer.WriteNcMove(line, kind, feed, x, y, z);
        if (!line.empty()) {
            ASSERT_EQ(line.substr(line.size() - 2), "\r\n");
            ASSERT_EQ(line.find('\n'), line.size() - 1) << "one line per move";
            reader.ParseIsoLine(std::string_view(line).substr(0, line.size() - 2), read);
            ASSERT_EQ(read.kind, kind) << line;
        }
        // A move without a line is one whose words all stand already.
        float readZ = NAN;
        std::from_chars(reader.isoZText.data(), reader.isoZText.data() + reader.isoZText.size(), readZ);
        const float scaledX = settings.axisScaling ? x * settings.axis(Axis::X).scale : x;
        ASSERT_NEAR(read.x, scaledX, tolerance(Axis::X, scaledX)) << line;
        ASSERT_NEAR(read.y, y, tolerance(Axis::Y, y)) << line;
        // A cutting move's Z is rounded upward: up to a whole unit.
        ASSERT_NEAR(readZ, z, (kind == 0 ? 1 : 2) * tolerance(Axis::Z, z)) << line;
    }
}

TEST(NcRoundTripTest, WrittenMovesReadBackAsTheSameKindAndPoint) {
    const std::pair<const char*, std::function<void(PostSettings&)>> variants[] = {
        {"initial values", [](PostSettings&) {}},
        {"no block numbers", [](PostSettings& s) { s.outputSeq = false; }},
        {"no blanks", [](PostSettings& s) { s.separator.clear(); }},
        {"no blanks, no block numbers", [](PostSettings& s) { s.separator.clear(), s.outputSeq = false; }},
        {"trailing zeros kept", [](PostSettings& s) { s.delZero = false; }},
        {"nothing modal", [](PostSettings& s) { s.xyzModal = s.gModal = s.fModal = false; }},
        {"four, one and two decimals",
         [](PostSettings& s) {
             s.axis(Axis::X).format.precision = 4;
             s.axis(Axis::Y).format.precision = 1;
             s.axis(Axis::Z).format = {NumberFormat::Kind::Fixed, 0, 2};
         }},
        {"X scaled", [](PostSettings& s) { s.axis(Axis::X).scale = 2.5f, s.axisScaling = true; }},
        {"rapid text", [](PostSettings& s) { s.feedRapid = "F9999"; }},
        {"CSH dialect", [](PostSettings& s) { s.dialect = PostDialect::Csh; }},
        {"HEI dialect",
         [](PostSettings& s) {
             s.dialect = PostDialect::Hei;
             s.gWords = {"L", "L", "C", "C"};
             s.gModal = false;
             s.feedRapid = "FMAX";
             s.seqPrefix.clear();
             s.startComment = ";";
             s.endComment.clear();
         }},
    };
    for (const auto& [name, adjust] : variants) {
        SCOPED_TRACE(name);
        PostSettings settings;
        adjust(settings);
        CheckRoundTrip(settings);
    }
}

}  // namespace
