// The NC program of one tool path: the move list written through a
// post-processor definition, with the head and tail blocks of the definition
// around it, the nodes of the 3D path preview and the machining estimate.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/post/NcJobValues.h"
#include "engine/post/PostSettings.h"
#include "engine/toolpath/MoveList.h"

namespace calvoro {

// Raised when a program cannot be written from its inputs; nothing is
// produced then, so the previous program and NC file stay.
class NcProgramError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One node of the 3D path: the end point of a move as the program writes it.
struct NcPathNode {
    float x = 0;
    float y = 0;
    float z = 0;
    bool rapid = false;
};

// The nodes of the 3D path preview: one per move, in order.
std::vector<NcPathNode> PathNodes(const MoveList& moves);

// Node colours of the 3D path (red, green, blue): rapids yellow, feeds cyan.
constexpr std::array<float, 3> PathNodeColour(bool rapid) {
    return rapid ? std::array<float, 3>{1, 1, 0} : std::array<float, 3>{0, 1, 1};
}

struct NcProgram {
    // The bytes of the NC file, in the encoding of the post-processor
    // definition (NcText.h); every line ends in CR LF.
    std::string text;
    double machiningLength = 0;
    std::int64_t machiningSeconds = 0;  // the whole length at the feed rate
};

// A feed or plunge text as the tool form holds it: digits with at most one
// point, above zero. Empty optional for anything else.
std::optional<double> ParseRateText(std::string_view text);

// Writes the program: the Start_of_file block expanded with the first move's
// X and Y, every move (rapids with the rapid feed text, the move after a
// retract at the plunge rate, the others at the feed rate), and the
// End_of_file block expanded with the last move's X and Y. The feed plane of
// the list is the reference height of the keywords. The text is held in the
// definition's encoding: a character of a name or of the definition that it
// cannot spell is written as "?".
//
// Throws NcProgramError, before anything is written, when the list holds no
// cutting move or the feed or plunge rate is not a number above zero, and
// when a coordinate times its axis scale is too large to write as a number
// (the work size or a scale far out of range). Apart from std::bad_alloc,
// no other exception leaves it. Large programs are written on up to
// `threads` threads (0: every usable core); the text is the same whatever
// the number.
NcProgram GenerateNcProgram(const MoveList& moves, const PostSettings& settings, const NcJobValues& job,
                            unsigned threads = 0);

// How far the written X and Y words may place the cutter from the position
// they were written for, in work units: each word moves up to half a unit of
// its last decimal, and both move at once, so the point moves up to the
// diagonal of those two halves. A tool path for this definition allows for it
// (ToolPathRequest).
double WrittenPositionRounding(const PostSettings& settings);

// Writes the bytes of a program to the NC file: to a temporary name first,
// renamed over the old file once every byte is written. Throws FileWriteError
// (kernel/platform/AtomicFile.h) when it cannot, leaving the old file whole.
void SaveNcProgram(const std::filesystem::path& file, std::string_view bytes);

}  // namespace calvoro
