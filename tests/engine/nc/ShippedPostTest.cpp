// The post-processor definitions shipped in data/pst: each loads without a
// report and writes a program whose every line reads back, in order, to the
// moves it was written from.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "engine/nc/NcProgram.h"
#include "engine/nc/NcReader.h"
#include "engine/post/PostLoader.h"
#include "kernel/platform/AtomicFile.h"
#include "tests/support/PostDefinitions.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "the text ends without CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(lines.back().find_first_of("\r\n"), std::string::npos) << "a bare line end";
        start = end + 2;
    }
    return lines;
}

// A zig-zag over two passes with moves that repeat coordinates.
MoveList SampleMoves() {
    MoveList list;
    list.feedPlaneZ = 3;
    list.passCount = 2;
    for (double dz : {1.0, 0.0}) {
        list.moves.push_back({MoveKind::Rapid, 0.5, 0.25, 3});
        list.moves.push_back({MoveKind::Plunge, 0.5, 0.25, -1.25 + dz});
        for (int row = 0; row < 4; ++row) {
            const double y = 0.25 + row * 0.75;
            if (row > 0) list.moves.push_back({MoveKind::Feed, row % 2 ? 30.125 : 0.5, y, -1.5 + dz});
            list.moves.push_back({MoveKind::Feed, row % 2 ? 12.0 : 18.5, y, -2.0625 + dz});
            list.moves.push_back({MoveKind::Feed, row % 2 ? 0.5 : 30.125, y, -1.5 + dz});
        }
        list.moves.push_back({MoveKind::Rapid, 0.5, 2.5, 3});
    }
    return list;
}

// The program the definition writes of SampleMoves, line by line.
std::vector<std::string> SampleProgram(const PostSettings& settings) {
    NcJobValues job = test::JobValues("1200", "400");
    job.ncFileName = "sample." + settings.fileExtension;
    return SplitLines(GenerateNcProgram(SampleMoves(), settings, job).text);
}

struct State {
    int kind;
    double x, y, z;
};

// The positions the reader passes through, after every line that moves.
std::vector<State> ReadBack(const PostSettings& settings, const std::vector<std::string>& lines) {
    std::vector<State> states;
    if (settings.dialect == PostDialect::Sbo) {
        // The reader knows no SBO commands (the simulation is off for them);
        // the test reads them itself: J or M, then 3,x,y,z / 2,x,y / X,x / Y,y / Z,z.
        const std::map<char, std::vector<double State::*>> axes = {{'3', {&State::x, &State::y, &State::z}},
                                                                   {'2', {&State::x, &State::y}},
                                                                   {'X', {&State::x}},
                                                                   {'Y', {&State::y}},
                                                                   {'Z', {&State::z}}};
        State s{0, 0, 0, 0};
        for (const auto& line : lines) {
            if (line.size() < 3 || (line[0] != 'J' && line[0] != 'M') || line[2] != ',' || !axes.count(line[1]))
                continue;
            s.kind = line[0] == 'J' ? 0 : 1;
            std::size_t at = 3;
            for (double State::*axis : axes.at(line[1])) {
                const std::size_t comma = std::min(line.find(',', at), line.size());
                s.*axis = NAN;
                std::from_chars(line.data() + at, line.data() + comma, s.*axis);
                at = comma + 1;
            }
            states.push_back(s);
        }
        return states;
    }
    NcReader reader(settings);
    reader.ResetIsoRun("3");
    IsoMove move;
    for (const auto& line : lines) {
        if (!reader.ParseIsoLine(line, move)) continue;
        double z = NAN;
        std::from_chars(reader.isoZText.data(), reader.isoZText.data() + reader.isoZText.size(), z);
        states.push_back({move.kind, move.x, move.y, z});
    }
    return states;
}

TEST(ShippedPostTest, TheDefaultAndEveryDialectAreShippedWithCrLfLineEnds) {
    const std::vector<std::string> names = test::ShippedPostNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "Fanuc_mm"), names.end());
    std::set<PostDialect> dialects;
    bool inch = false, withoutNumbers = false;
    for (const auto& name : names) {
        const PostSettings settings = test::LoadShippedPost(name);
        dialects.insert(settings.dialect);
        inch = inch || settings.startOfFile.find("G20") != std::string::npos;
        withoutNumbers = withoutNumbers || (settings.dialect == PostDialect::Iso && !settings.outputSeq);
        EXPECT_FALSE(settings.postComment.empty()) << name;
        const std::string bytes = ReadWholeFile(test::ShippedData() / "pst" / (name + ".pst"));
        SplitLines(bytes);
        EXPECT_EQ(bytes.find('\t'), std::string::npos) << name;
    }
    EXPECT_EQ(dialects, (std::set<PostDialect>{PostDialect::Iso, PostDialect::Hei, PostDialect::Sbo}));
    EXPECT_TRUE(inch);
    EXPECT_TRUE(withoutNumbers);
}

TEST(ShippedPostTest, EveryProgramReadsBackToItsMoves) {
    for (const auto& name : test::ShippedPostNames()) {
        SCOPED_TRACE(name);
        const PostSettings settings = test::LoadShippedPost(name);
        const std::vector<std::string> lines = SampleProgram(settings);
        ASSERT_GT(lines.size(), 10u);
        const std::vector<State> states = ReadBack(settings, lines);

        // The moves are passed through in order (head lines may add positions
        // of their own before them).
        const double tolerance = 0.5 * std::pow(10.0, -settings.axis(Axis::X).format.decimals()) + 1e-6;
        const auto at = [&](const State& s, const Move& m) {
            return std::fabs(s.x - m.x) <= tolerance && std::fabs(s.y - m.y) <= tolerance &&
                   std::fabs(s.z - m.z) <= tolerance;
        };
        std::size_t next = 0;
        for (const Move& m : SampleMoves().moves) {
            // A move to where the cutter already is writes no line.
            if (next > 0 && at(states[next - 1], m)) continue;
            while (next < states.size() && !(states[next].kind == NcMoveKind(m.kind) && at(states[next], m))) ++next;
            ASSERT_LT(next, states.size()) << "move to " << m.x << " " << m.y << " " << m.z << " not read back";
            ++next;
        }
    }
}

}  // namespace
