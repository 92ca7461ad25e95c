#include "engine/nc/NcProgram.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <stdexcept>

#include "engine/nc/MachiningTime.h"
#include "engine/nc/NcText.h"
#include "engine/post/NcWordWriter.h"
#include "engine/post/PostTemplate.h"
#include "engine/toolpath/TaskControl.h"
#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/NumberReading.h"

namespace calvoro {

namespace {

double CheckedRate(std::string_view text, const char* what) {
    if (auto rate = ParseRateText(text)) return *rate;
    throw NcProgramError(std::string("The ") + what + " \"" + std::string(text) +
                         "\" is not a number above zero; no NC program was written");
}

// The Z a move is written with: a cutting move's Z (a pass above the lowest
// one is a float plus a step) goes to the float at or above it.
float MoveZ(const Move& move) {
    auto z = static_cast<float>(move.z);
    if (move.kind != MoveKind::Rapid && static_cast<double>(z) < move.z)
        z = std::nextafter(z, std::numeric_limits<float>::infinity());
    return z;
}

std::string_view FeedTextOf(const Move& move, const NcJobValues& job) {
    return move.kind == MoveKind::Rapid    ? NcWordWriter::RapidFeedText
           : move.kind == MoveKind::Plunge ? std::string_view(job.plungeText)
                                           : std::string_view(job.feedText);
}

void WriteMove(NcWordWriter& words, std::string& out, const Move& move, const NcJobValues& job) {
    words.WriteNcMove(out, NcMoveKind(move.kind), FeedTextOf(move, job), static_cast<float>(move.x),
                      static_cast<float>(move.y), MoveZ(move));
}

// What the writer remembers after a move: the text of each axis (every move
// sets all three), the feed text of the last cutting move and the G word of
// the last move that wrote a line.
struct ModalMemory {
    std::string gWord;
    std::string axes[3];
    std::string feed;
};

ModalMemory MemoryOf(const NcWordWriter& words) {
    return {std::string(words.lastGWord()),
            {std::string(words.lastAxisText(Axis::X)), std::string(words.lastAxisText(Axis::Y)),
             std::string(words.lastAxisText(Axis::Z))},
            std::string(words.lastFeedText())};
}

// The memory after move `end - 1` of a program whose head left `head`,
// worked out from the few moves before it rather than by writing them all.
ModalMemory MemoryBefore(std::span<const Move> moves, std::size_t end, const ModalMemory& head,
                         const NcWordWriter& words, const NcJobValues& job) {
    if (end == 0) return head;
    const PostSettings& s = words.settings();
    auto axisTexts = [&](std::size_t i, std::string(&texts)[3]) {
        if (i == static_cast<std::size_t>(-1)) {
            for (int a = 0; a < 3; ++a) texts[a] = head.axes[a];
            return;
        }
        const Move& m = moves[i];
        texts[0] = words.AxisText(Axis::X, static_cast<float>(m.x), false);
        texts[1] = words.AxisText(Axis::Y, static_cast<float>(m.y), false);
        texts[2] = words.AxisText(Axis::Z, MoveZ(m), m.kind != MoveKind::Rapid);
    };
    // The feed memory before move i: the last cutting move's feed text.
    auto feedBefore = [&](std::size_t i) {
        while (i-- > 0)
            if (moves[i].kind != MoveKind::Rapid) return std::string(FeedTextOf(moves[i], job));
        return head.feed;
    };
    ModalMemory memory;
    axisTexts(end - 1, memory.axes);
    memory.feed = feedBefore(end);
    memory.gWord = head.gWord;
    std::string texts[3];
    std::string before[3];
    for (std::size_t i = end; i-- > 0;) {
        axisTexts(i, texts);
        axisTexts(i - 1, before);  // i - 1 wraps to the head's memory for the first move
        bool line = !s.xyzModal;
        for (int a = 0; a < 3; ++a) line |= texts[a] != before[a];
        if (moves[i].kind == MoveKind::Rapid)
            line |= !s.feedRapid.empty();
        else
            line |= !s.fModal || FeedTextOf(moves[i], job) != feedBefore(i);
        if (line) {
            memory.gWord = s.gWords[static_cast<std::size_t>(NcMoveKind(moves[i].kind))];
            break;
        }
    }
    return memory;
}

// Writes every move. Large programs are written in pieces on several threads,
// each starting from the modal memory the moves before it leave; the block
// numbers are then filled in order, so the text is the same as one writer's.
void WriteMoves(const std::vector<Move>& moves, const NcJobValues& job, NcWordWriter& words, unsigned threads,
                std::string& out) {
    constexpr std::size_t kPieceMoves = 16384;
    if (threads == 0) threads = UsableCores();
    const std::size_t pieces = std::min<std::size_t>(4 * threads, moves.size() / kPieceMoves);
    if (threads <= 1 || pieces <= 1 || words.settings().dialect == PostDialect::Sbo) {
        out.reserve(out.size() + moves.size() * 36);
        for (const Move& move : moves) WriteMove(words, out, move, job);
        return;
    }
    const ModalMemory head = MemoryOf(words);
    std::vector<std::string> texts(pieces);
    std::vector<std::vector<std::size_t>> lineStarts(pieces);
    auto pieceStart = [&](std::size_t p) { return moves.size() * p / pieces; };
    ParallelFor(pieces, threads, nullptr, 0, 1, [&](std::size_t p) {
        NcWordWriter writer(words.settings());
        const ModalMemory memory = MemoryBefore(moves, pieceStart(p), head, words, job);
        writer.RestoreModalMemory(memory.gWord, memory.axes, memory.feed);
        writer.DeferBlockNumbers(&lineStarts[p]);
        texts[p].reserve((pieceStart(p + 1) - pieceStart(p)) * 36);
        for (std::size_t i = pieceStart(p); i < pieceStart(p + 1); ++i) WriteMove(writer, texts[p], moves[i], job);
    });
    if (words.settings().outputSeq) {
        // Each piece's first block number follows from the lines before it.
        std::vector<std::int64_t> firstNumber(pieces);
        for (std::size_t p = 0; p < pieces; ++p) {
            firstNumber[p] = words.blockCounter();
            for (std::size_t line = 0; line < lineStarts[p].size(); ++line) words.AdvanceBlockCounter();
        }
        ParallelFor(pieces, threads, nullptr, 0, 1, [&](std::size_t p) {
            NcWordWriter numbers(words.settings());
            numbers.SetBlockCounter(firstNumber[p]);
            const std::vector<std::size_t>& starts = lineStarts[p];
            std::string numbered;
            numbered.reserve(texts[p].size() + starts.size() * 8);
            for (std::size_t k = 0; k < starts.size(); ++k) {
                numbers.AppendBlockNumber(numbered);
                const std::size_t next = k + 1 < starts.size() ? starts[k + 1] : texts[p].size();
                numbered.append(texts[p], starts[k], next - starts[k]);
            }
            texts[p].swap(numbered);
        });
    }
    std::size_t total = out.size();
    for (const std::string& text : texts) total += text.size();
    out.reserve(total);
    for (const std::string& text : texts) out += text;
    const ModalMemory after = MemoryBefore(moves, moves.size(), head, words, job);
    words.RestoreModalMemory(after.gWord, after.axes, after.feed);
}

}  // namespace

double WrittenPositionRounding(const PostSettings& settings) {
    std::array<double, 2> halves{};
    for (Axis axis : {Axis::X, Axis::Y}) {
        // The comma form writes every axis in the X format.
        const Axis format = settings.dialect == PostDialect::Sbo ? Axis::X : axis;
        const double scale = settings.axisScaling ? std::fabs(static_cast<double>(settings.axis(axis).scale)) : 1.0;
        const double halfUnit = 0.5 * std::pow(10.0, -settings.axis(format).format.decimals());
        halves[axis == Axis::X ? 0 : 1] = scale > 0 ? halfUnit / scale : std::numeric_limits<double>::infinity();
    }
    return std::hypot(halves[0], halves[1]);
}

std::optional<double> ParseRateText(std::string_view text) {
    const std::optional<double> value = ReadNumber(text);
    if (!value || !(*value > 0)) return std::nullopt;
    return value;
}

NcProgram GenerateNcProgram(const MoveList& list, const PostSettings& settings, const NcJobValues& job,
                            unsigned threads) {
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
    // A coordinate that its axis scale drives past what a number can hold
    // cannot be written; the whole program is refused rather than cut.
    try {
        const Move& first = list.moves.front();
        program.text = ExpandPostTemplate(words.settings().startOfFile, {first.x, first.y}, words, job);
        WriteMoves(list.moves, job, words, threads, program.text);
        const Move& last = list.moves.back();
        program.text += ExpandPostTemplate(words.settings().endOfFile, {last.x, last.y}, words, job);
    } catch (const std::invalid_argument& error) {
        throw NcProgramError(std::string(error.what()) +
                             " (check the size of the work and the axis scales of the "
                             "post-processor); no NC program was written");
    }

    program.text = NcProgramBytes(std::move(program.text), settings.encoding);
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

void SaveNcProgram(const std::filesystem::path& file, std::string_view bytes) {
    WriteFileAtomically(file, bytes);
}

}  // namespace calvoro
