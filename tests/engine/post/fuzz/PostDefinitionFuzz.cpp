// libFuzzer entry for post-processor definitions: whatever bytes the file
// holds, no control character other than a tab reaches the settings or the
// NC program, whose every line ends in CR LF; nothing crashes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/nc/NcProgram.h"
#include "engine/post/PostLoader.h"
#include "kernel/platform/AtomicFile.h"

namespace {

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && byte != '\t') || byte == 0x7f;
}

void CheckWord(std::string_view text) {
    for (char c : text)
        if (IsControl(c)) __builtin_trap();
}

// Every CR is followed by LF and every LF follows a CR; nothing else is a control.
void CheckLines(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 == text.size() || text[i + 1] != '\n') __builtin_trap();
        } else if (text[i] == '\n') {
            if (i == 0 || text[i - 1] != '\r') __builtin_trap();
        } else if (IsControl(text[i])) {
            __builtin_trap();
        }
    }
}

const std::filesystem::path& PostFile() {
    static const std::filesystem::path file = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("calvoro_post_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        return folder / "fuzz.pst";
    }();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    calvoro::WriteFileAtomically(PostFile(), std::string_view(reinterpret_cast<const char*>(data), size));
    const calvoro::PostSettings s = calvoro::LoadPostFile(PostFile(), calvoro::PostSettings()).settings;
    for (const std::string_view word :
         {std::string_view(s.seqPrefix), std::string_view(s.iPrefix), std::string_view(s.jPrefix),
          std::string_view(s.rPrefix), std::string_view(s.toolPrefix), std::string_view(s.toolLengthOffsetPrefix),
          std::string_view(s.feedPrefix), std::string_view(s.feedRapid), std::string_view(s.xilSuffixClockwise),
          std::string_view(s.xilSuffixCounterClockwise), std::string_view(s.sboXyPrefix),
          std::string_view(s.sboXyzPrefix), std::string_view(s.separator), std::string_view(s.fileExtension),
          std::string_view(s.startComment), std::string_view(s.endComment)})
        CheckWord(word);
    for (const calvoro::AxisSettings& axis : s.axes) CheckWord(axis.prefix);
    for (const std::string& g : s.gWords) CheckWord(g);
    for (const calvoro::CycleSettings& cycle : s.cycles) {
        CheckWord(cycle.cycleDef);
        CheckWord(cycle.cycleMove);
        CheckWord(cycle.cycleCancel);
    }
    for (const std::string* block : {&s.postComment, &s.startOfFile, &s.toolChange, &s.endOfFile}) CheckLines(*block);

    calvoro::MoveList moves;
    moves.feedPlaneZ = 5;
    moves.moves = {{calvoro::MoveKind::Rapid, 1.5, 2, 5},
                   {calvoro::MoveKind::Plunge, 1.5, 2, -1},
                   {calvoro::MoveKind::Feed, 3.25, 2, -1.5},
                   {calvoro::MoveKind::Feed, 3.25, 7, 0}};
    calvoro::NcJobValues job;
    job.feedText = "1000";
    job.plungeText = "300";
    job.toolName = "ball 3";
    job.ncFileName = "fuzz.nc";
    try {
        CheckLines(calvoro::GenerateNcProgram(moves, s, job, 1).text);
    } catch (const calvoro::NcProgramError&) {
        // Refused with a reason (numbers too long for the format, say).
    }
    return 0;
}
