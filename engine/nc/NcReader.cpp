#include "engine/nc/NcReader.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace calvoro {

namespace {

bool IsRealCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Finds word in line, deletes it and the number characters that follow it
// (as far as accept allows) and leaves those characters in number. False when
// the word is not on the line.
template <typename Accept>
bool TakeWord(std::string& line, std::string_view word, std::string& number, Accept accept) {
    const std::size_t at = line.find(word);
    if (at == std::string::npos) return false;
    std::size_t end = at + word.size();
    while (end < line.size() && accept(line[end])) ++end;
    number.assign(line, at + word.size(), end - at - word.size());
    line.erase(at, end - at);
    return true;
}

// The whole text must be one number in the single-precision range: "1.2.3",
// "-" or "1-2" read nothing.
bool ConvertReal(const std::string& text, float& value) {
    if (text.empty()) return false;
    double result = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    if (std::fabs(result) > std::numeric_limits<float>::max()) return false;
    value = static_cast<float>(result);
    return true;
}

bool ConvertInteger(const std::string& text, int& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool Contains(const std::string& line, std::string_view text) {
    return line.find(text) != std::string::npos;
}

bool RemoveFirst(std::string& line, std::string_view text) {
    const std::size_t at = line.find(text);
    if (at == std::string::npos) return false;
    line.erase(at, text.size());
    return true;
}

}  // namespace

NcReader::NcReader(const PostSettings& settings)
    : dialect_(settings.dialect), commentOpener_(settings.startComment), rapidText_(settings.feedRapid) {}

void NcReader::ResetIsoRun(std::string_view feedPlaneText) {
    isoMinX = 9999;
    isoMaxX = -9999;
    isoMinY = 9999;
    isoMaxY = -9999;
    isoCentreI = 0;
    isoCentreJ = 0;
    isoZText = feedPlaneText;
    isoModalKind = 0;
}

bool NcReader::ParseIsoLine(std::string_view text, IsoMove& move) {
    line_.assign(text);
    auto readReal = [this](std::string_view word, float& value) {
        if (!TakeWord(line_, word, number_, IsRealCharacter)) return false;
        return ConvertReal(number_, value);
    };
    bool result = false;

    // A comment runs to the end of the line, however long. An empty opener
    // means the definition has no comments (it would otherwise match anywhere).
    if (!commentOpener_.empty()) {
        const std::size_t at = line_.find(commentOpener_);
        if (at != std::string::npos) line_.erase(at);
    }
    if (const std::size_t at = line_.find("G28"); at != std::string::npos) line_.erase(at);

    switch (dialect_) {
        case PostDialect::Iso:
        case PostDialect::Csh: {
            move.kind = isoModalKind;
            while (Contains(line_, "G")) {
                int g = 0;
                if (TakeWord(line_, "G", number_, IsDigit) && ConvertInteger(number_, g) &&
                    ((g >= 0 && g <= 3) || (g >= 81 && g <= 86))) {
                    move.kind = g;
                    isoModalKind = g;
                }
            }
            if (move.kind == 2 || move.kind == 3) {
                readReal("I", move.i);
                readReal("J", move.j);
                if (Contains(line_, "R"))
                    readReal("R", move.r);
                else
                    move.r = 0;
            }
            if (move.kind >= 81 && move.kind <= 86 && Contains(line_, "R")) readReal("R", move.cycleR);
            break;
        }
        case PostDialect::Hei: {
            move.r = 0;
            move.kind = isoModalKind;
            if (Contains(line_, "L")) {
                move.kind = 1;
                isoModalKind = 1;
            }
            if (RemoveFirst(line_, "CC")) {  // the centre words: no coordinate of the move
                readReal("X", move.i);
                readReal("Y", move.j);
            }
            if (RemoveFirst(line_, "C")) {
                if (RemoveFirst(line_, "DR+")) {
                    move.kind = 3;
                    isoModalKind = 3;
                }
                if (RemoveFirst(line_, "DR-")) {
                    move.kind = 2;
                    isoModalKind = 2;
                }
            }
            break;
        }
        case PostDialect::Xil:
        case PostDialect::Sbo:
            break;
    }

    if (!rapidText_.empty() && (move.kind == 0 || move.kind == 1) && Contains(line_, rapidText_)) {
        move.kind = 0;
        isoModalKind = 0;
    }

    if (readReal("X", move.x)) result = true;
    if (readReal("Y", move.y)) result = true;
    if (TakeWord(line_, "Z", number_, IsRealCharacter)) {
        float z = 0;
        if (ConvertReal(number_, z)) {
            isoZText = number_;
            result = true;
        }
    }
    return result;
}

}  // namespace calvoro
