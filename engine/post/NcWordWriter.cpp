#include "engine/post/NcWordWriter.h"

#include <algorithm>
#include <stdexcept>

namespace calvoro {

namespace {

constexpr NumberFormat BlockNumberFormat{NumberFormat::Kind::Integer, 0, -1};

}  // namespace

NcWordWriter::NcWordWriter(PostSettings settings) : settings_(std::move(settings)) {
    ResetProgram();
}

void NcWordWriter::ResetProgram() {
    blockCounter_ = settings_.seqStart;
    lastGWord_.clear();
    for (auto& text : lastAxisText_) text.clear();
    lastFeedText_.clear();
}

void NcWordWriter::appendNumber(std::string& out, double value, const NumberFormat& format) const {
    const std::size_t start = out.size();
    AppendFixed(out, value, format);
    if (settings_.delZero) CutTrailingZeros(out, start);
}

float NcWordWriter::scaled(Axis axis, float value) const {
    if (!settings_.axisScaling) return value;
    return static_cast<float>(static_cast<double>(value) * settings_.axis(axis).scale);
}

void NcWordWriter::appendBlockNumber(std::string& out) {
    if (!settings_.outputSeq) return;
    out += settings_.seqPrefix;
    AppendInteger(out, blockCounter_, BlockNumberFormat);
    // 64 bits and an increment of at least one: the counter always reaches
    // SeqMax and wraps, whatever the definition holds.
    blockCounter_ += std::max<std::int32_t>(settings_.seqInc, 1);
    if (blockCounter_ > settings_.seqMax) blockCounter_ = settings_.seqStart;
}

namespace {

void CheckMoveKind(int kind) {
    if (kind < 0 || kind > 3) throw std::out_of_range("Move kind " + std::to_string(kind) + " has no G word");
}

}  // namespace

void NcWordWriter::appendGWord(std::string& out, int kind) {
    CheckMoveKind(kind);
    const std::string& g = settings_.gWords[static_cast<std::size_t>(kind)];
    if (settings_.gModal && g == lastGWord_) return;
    lastGWord_ = g;
    if (settings_.outputSeq) out += settings_.separator;
    out += g;
}

void NcWordWriter::appendAxisWord(std::string& out, Axis axis, float value) {
    number_.clear();
    appendNumber(number_, scaled(axis, value), settings_.axis(axis).format);
    std::string& last = lastAxisText_[static_cast<std::size_t>(axis)];
    if (settings_.xyzModal && number_ == last) return;
    last = number_;
    out += settings_.separator;
    out += settings_.axis(axis).prefix;
    out += number_;
}

void NcWordWriter::appendFeedWord(std::string& out, std::string_view feedText) {
    if (feedText == RapidFeedText) {
        if (!settings_.feedRapid.empty()) {
            out += settings_.separator;
            out += settings_.feedRapid;
        }
        return;
    }
    if (!(settings_.fModal && feedText == lastFeedText_)) {
        out += settings_.separator;
        out += settings_.feedPrefix;
        out += feedText;
    }
    lastFeedText_ = feedText;
}

std::string NcWordWriter::FormatBlockNumber() {
    std::string word;
    appendBlockNumber(word);
    return word;
}

std::string NcWordWriter::FormatGWord(int kind) {
    std::string word;
    appendGWord(word, kind);
    return word;
}

std::string NcWordWriter::FormatAxisWord(Axis axis, float value) {
    std::string word;
    appendAxisWord(word, axis, value);
    return word;
}

std::string NcWordWriter::FormatFeedWord(std::string_view feedText) {
    std::string word;
    appendFeedWord(word, feedText);
    return word;
}

std::string NcWordWriter::FormatToolWord(std::int32_t number) const {
    std::string word = settings_.separator + settings_.toolPrefix;
    AppendInteger(word, number, settings_.toolFormat);
    return word;
}

std::string NcWordWriter::FormatPlainNumber(float value) const {
    std::string word = settings_.separator;
    appendNumber(word, value, settings_.axis(Axis::X).format);
    return word;
}

std::string NcWordWriter::FormatSeparatedNumber(float value) const {
    std::string word = settings_.separator;
    appendNumber(word, value, settings_.displayNumberFormat());
    return word;
}

void NcWordWriter::WriteNcLine(std::string& out, int kind, std::string_view words) {
    if (words.empty()) return;
    CheckMoveKind(kind);  // before anything is written
    const std::size_t start = out.size();
    appendBlockNumber(out);
    appendGWord(out, kind);
    if (out.size() == start && words.front() == ' ') words.remove_prefix(1);
    out += words;
    out += "\r\n";
}

void NcWordWriter::WriteNcMove(std::string& out, int kind, std::string_view feedText, float x, float y, float z) {
    words_.clear();
    if (settings_.dialect == PostDialect::Sbo) {
        writeSboMove(x, y, z);
    } else {
        appendAxisWord(words_, Axis::X, x);
        appendAxisWord(words_, Axis::Y, y);
        appendAxisWord(words_, Axis::Z, z);
        appendFeedWord(words_, feedText);
    }
    WriteNcLine(out, kind, words_);
}

// The SBO form: "<xy prefix>x,y" or "<xyz prefix>x,y,z" when more than one axis
// moves, single axis words otherwise. The axis scales apply here as they do in
// the axis words, so that every move of one program is scaled alike.
void NcWordWriter::writeSboMove(float x, float y, float z) {
    const float values[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        sboText_[i] = settings_.separator;
        appendNumber(sboText_[i], scaled(static_cast<Axis>(i), values[i]), settings_.axis(Axis::X).format);
    }
    const bool sameX = sboText_[0] == lastAxisText_[0];
    const bool sameY = sboText_[1] == lastAxisText_[1];
    const bool sameZ = sboText_[2] == lastAxisText_[2];
    if (sameZ) {
        if (!sameX && !sameY) {
            words_ += settings_.sboXyPrefix;
            words_ += sboText_[0];
            words_ += ',';
            words_ += sboText_[1];
        } else {
            appendAxisWord(words_, Axis::X, x);
            appendAxisWord(words_, Axis::Y, y);
        }
    } else if (sameX && sameY) {
        appendAxisWord(words_, Axis::Z, z);
    } else {
        words_ += settings_.sboXyzPrefix;
        words_ += sboText_[0];
        words_ += ',';
        words_ += sboText_[1];
        words_ += ',';
        words_ += sboText_[2];
    }
    for (int i = 0; i < 3; ++i) lastAxisText_[i] = sboText_[i];
}

}  // namespace calvoro
