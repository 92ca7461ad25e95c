#include "engine/nc/NcProgram.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

#include "engine/nc/MachiningTime.h"
#include "engine/post/NcWordWriter.h"
#include "engine/post/PostTemplate.h"
#include "kernel/platform/AtomicFile.h"

namespace calvoro {

namespace {

double CheckedRate(std::string_view text, const char* what) {
    if (auto rate = ParseRateText(text)) return *rate;
    throw NcProgramError(std::string("The ") + what + " \"" + std::string(text) +
                         "\" is not a number above zero; no NC program was written");
}

}  // namespace

std::optional<double> ParseRateText(std::string_view text) {
    if (text.empty() || std::count(text.begin(), text.end(), '.') > 1) return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
        return std::nullopt;
    if (text == ".") return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

NcProgram GenerateNcProgram(const MoveList& list, const PostSettings& settings, const NcJobValues& job) {
    const double feedRate = CheckedRate(job.feedText, "feed rate");
    CheckedRate(job.plungeText, "plunge rate");
    const bool cuts =
        std::any_of(list.moves.begin(), list.moves.end(), [](const Move& m) { return m.kind != MoveKind::Rapid; });
    if (!cuts) throw NcProgramError("The tool path holds no cutting move; no NC program was written");

    PostSettings programSettings = settings;
    programSettings.refHeight = static_cast<float>(list.feedPlaneZ);
    NcWordWriter words(std::move(programSettings));
    words.ResetProgram();

    NcProgram program;
    program.text.reserve(list.moves.size() * 36 + 1024);
    // A coordinate that its axis scale drives past what a number can hold
    // cannot be written; the whole program is refused rather than cut.
    try {
        const Move& first = list.moves.front();
        program.text += ExpandPostTemplate(words.settings().startOfFile, {first.x, first.y}, words, job);
        for (const Move& move : list.moves) {
            const std::string_view feed = move.kind == MoveKind::Rapid    ? NcWordWriter::RapidFeedText
                                          : move.kind == MoveKind::Plunge ? std::string_view(job.plungeText)
                                                                          : std::string_view(job.feedText);
            words.WriteNcMove(program.text, NcMoveKind(move.kind), feed, static_cast<float>(move.x),
                              static_cast<float>(move.y), static_cast<float>(move.z));
        }
        const Move& last = list.moves.back();
        program.text += ExpandPostTemplate(words.settings().endOfFile, {last.x, last.y}, words, job);
    } catch (const std::invalid_argument& error) {
        throw NcProgramError(std::string(error.what()) +
                             " (check the size of the work and the axis scales of the "
                             "post-processor); no NC program was written");
    }

    program.machiningLength = MachiningLength(list);
    program.machiningSeconds = MachiningSeconds(program.machiningLength, feedRate);
    return program;
}

std::vector<NcPathNode> PathNodes(const MoveList& list) {
    std::vector<NcPathNode> nodes;
    nodes.reserve(list.moves.size());
    for (const Move& move : list.moves)
        nodes.push_back({static_cast<float>(move.x), static_cast<float>(move.y), static_cast<float>(move.z),
                         move.kind == MoveKind::Rapid});
    return nodes;
}

void SaveNcProgram(const std::filesystem::path& file, std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Windows1252)
        WriteFileAtomically(file, Utf8ToWindows1252Replacing(text));
    else
        WriteFileAtomically(file, text);
}

}  // namespace calvoro
