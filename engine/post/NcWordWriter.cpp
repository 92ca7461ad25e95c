#include "engine/post/NcWordWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace calvoro {

namespace {

constexpr NumberFormat BlockNumberFormat{NumberFormat::Kind::Integer, 0, -1};
constexpr std::size_t BlockDigitsRoom = 21;  // "-9223372036854775808"

// Numbers that differ mostly differ in their last digit: that one is looked at
// before the library compares the rest.
bool SameText(const std::string& a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (b.empty()) return true;
    return a.back() == b.back() && std::memcmp(a.data(), b.data(), b.size() - 1) == 0;
}

char* Put(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

void Remember(std::string& memory, std::string_view text) {
    if (!SameText(memory, text)) memory.assign(text);
}

void CheckMoveKind(int kind) {
    if (kind < 0 || kind > 3) throw std::out_of_range("Move kind " + std::to_string(kind) + " has no G word");
}

}  // namespace

NcWordWriter::NcWordWriter(PostSettings settings) : settings_(std::move(settings)) {
    const PostSettings& s = settings_;
    std::size_t longestPrefix = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        axisLead_[i] = s.separator + s.axes[i].prefix;
        longestPrefix = std::max(longestPrefix, axisLead_[i].size());
    }
    feedLead_ = s.separator + s.feedPrefix;
    if (!s.feedRapid.empty()) rapidFeedWord_ = s.separator + s.feedRapid;
    std::size_t longestG = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        gWordText_[i] = (s.outputSeq ? s.separator : std::string()) + s.gWords[i];
        longestG = std::max(longestG, gWordText_[i].size());
    }
    leadRoom_ = s.seqPrefix.size() + BlockDigitsRoom + longestG;
    // Three axis words or one SBO form, then the feed word and CR LF.
    const std::size_t numberRoom = s.separator.size() + MaxNumberTextLength + 1;
    lineRoom_ = leadRoom_ + 3 * (longestPrefix + numberRoom) + s.sboXyPrefix.size() + s.sboXyzPrefix.size() +
                std::max(feedLead_.size(), rapidFeedWord_.size()) + 2;
    ResetProgram();
}

void NcWordWriter::ResetProgram() {
    blockCounter_ = settings_.seqStart;
    lastGWord_.clear();
    for (auto& text : lastAxisText_) text.clear();
    lastFeedText_.clear();
}

float NcWordWriter::scaled(Axis axis, float value) const {
    if (!settings_.axisScaling) return value;
    return static_cast<float>(static_cast<double>(value) * settings_.axis(axis).scale);
}

char* NcWordWriter::wordsStart(std::size_t extra) {
    if (line_.size() < lineRoom_ + extra) line_.resize(lineRoom_ + extra);
    return line_.data() + leadRoom_;
}

char* NcWordWriter::putBlockNumber(char* p) {
    if (!settings_.outputSeq) return p;
    p = Put(p, settings_.seqPrefix);
    NumberBuffer digits;
    p = Put(p, WriteInteger(digits, blockCounter_, BlockNumberFormat));
    AdvanceBlockCounter();
    return p;
}

void NcWordWriter::AdvanceBlockCounter() {
    // 64 bits and an increment of at least one: the counter always reaches
    // SeqMax and wraps, whatever the definition holds.
    blockCounter_ += std::max<std::int32_t>(settings_.seqInc, 1);
    if (blockCounter_ > settings_.seqMax) blockCounter_ = settings_.seqStart;
}

char* NcWordWriter::putGWord(char* p, int kind) {
    CheckMoveKind(kind);
    const std::string& g = settings_.gWords[static_cast<std::size_t>(kind)];
    if (settings_.gModal && SameText(lastGWord_, g)) return p;
    Remember(lastGWord_, g);
    return Put(p, gWordText_[static_cast<std::size_t>(kind)]);
}

// A raised value is rounded toward the work's +Z; it is scaled without the
// rounding to float (a float times a float is exact in a double), which could
// otherwise lower it by a hair.
std::string_view NcWordWriter::axisText(NumberBuffer& buffer, Axis axis, const NumberFormat& format, float value,
                                        bool raised) const {
    if (!raised) return WriteFixed(buffer, scaled(axis, value), format, settings_.delZero);
    const double scale = settings_.axisScaling ? static_cast<double>(settings_.axis(axis).scale) : 1.0;
    return WriteFixed(buffer, static_cast<double>(value) * scale, format, settings_.delZero,
                      scale < 0 ? Rounding::Downward : Rounding::Upward);
}

char* NcWordWriter::putAxisWord(char* p, Axis axis, float value, bool raised) {
    const auto index = static_cast<std::size_t>(axis);
    NumberBuffer number;
    const std::string_view text = axisText(number, axis, settings_.axes[index].format, value, raised);
    std::string& last = lastAxisText_[index];
    if (settings_.xyzModal && SameText(last, text)) return p;
    last.assign(text);
    p = Put(p, axisLead_[index]);
    return Put(p, text);
}

char* NcWordWriter::putFeedWord(char* p, std::string_view feedText) {
    if (feedText == RapidFeedText) return Put(p, rapidFeedWord_);  // the memory is not touched
    if (!(settings_.fModal && SameText(lastFeedText_, feedText))) {
        p = Put(p, feedLead_);
        p = Put(p, feedText);
    }
    Remember(lastFeedText_, feedText);
    return p;
}

// The SBO form: "<xy prefix>x,y" or "<xyz prefix>x,y,z" when more than one axis
// moves, single axis words otherwise. The axis scales apply here as they do in
// the axis words, so that every move of one program is scaled alike.
char* NcWordWriter::putSboMove(char* p, float x, float y, float z, bool raisedZ) {
    const float values[3] = {x, y, z};
    for (std::size_t i = 0; i < 3; ++i) {
        NumberBuffer number;
        sboText_[i] = settings_.separator;
        sboText_[i] +=
            axisText(number, static_cast<Axis>(i), settings_.axis(Axis::X).format, values[i], raisedZ && i == 2);
    }
    const bool sameX = sboText_[0] == lastAxisText_[0];
    const bool sameY = sboText_[1] == lastAxisText_[1];
    const bool sameZ = sboText_[2] == lastAxisText_[2];
    if (sameZ) {
        if (!sameX && !sameY) {
            p = Put(p, settings_.sboXyPrefix);
            p = Put(p, sboText_[0]);
            *p++ = ',';
            p = Put(p, sboText_[1]);
        } else {
            p = putAxisWord(p, Axis::X, x);
            p = putAxisWord(p, Axis::Y, y);
        }
    } else if (sameX && sameY) {
        p = putAxisWord(p, Axis::Z, z, raisedZ);
    } else {
        p = Put(p, settings_.sboXyzPrefix);
        p = Put(p, sboText_[0]);
        *p++ = ',';
        p = Put(p, sboText_[1]);
        *p++ = ',';
        p = Put(p, sboText_[2]);
    }
    for (std::size_t i = 0; i < 3; ++i) lastAxisText_[i] = sboText_[i];
    return p;
}

void NcWordWriter::finishLine(std::string& out, int kind, char* words, char* wordsEnd) {
    if (words == wordsEnd) return;
    CheckMoveKind(kind);  // before anything is written
    char* const lead = line_.data();
    // A deferred block number keeps its place: the blank after it stays.
    const bool deferred = deferredLines_ != nullptr && settings_.outputSeq;
    if (deferred) deferredLines_->push_back(out.size());
    char* leadEnd = deferred ? lead : putBlockNumber(lead);
    leadEnd = putGWord(leadEnd, kind);
    const auto leadLength = static_cast<std::size_t>(leadEnd - lead);
    if (leadLength == 0 && !deferred && *words == ' ') ++words;
    char* const start = words - leadLength;
    std::memmove(start, lead, leadLength);
    *wordsEnd++ = '\r';
    *wordsEnd++ = '\n';
    out.append(start, static_cast<std::size_t>(wordsEnd - start));
}

std::string NcWordWriter::AxisText(Axis axis, float value, bool raised) const {
    NumberBuffer number;
    return std::string(axisText(number, axis, settings_.axis(axis).format, value, raised));
}

void NcWordWriter::RestoreModalMemory(std::string_view gWord, const std::string (&axisTexts)[3],
                                      std::string_view feedText) {
    lastGWord_.assign(gWord);
    for (std::size_t i = 0; i < 3; ++i) lastAxisText_[i] = axisTexts[i];
    lastFeedText_.assign(feedText);
}

void NcWordWriter::AppendBlockNumber(std::string& out) {
    char* const start = wordsStart(0);
    out.append(start, putBlockNumber(start));
}

std::string NcWordWriter::FormatBlockNumber() {
    char* const start = wordsStart(0);
    return std::string(start, putBlockNumber(start));
}

std::string NcWordWriter::FormatGWord(int kind) {
    char* const start = wordsStart(0);
    return std::string(start, putGWord(start, kind));
}

std::string NcWordWriter::FormatAxisWord(Axis axis, float value) {
    char* const start = wordsStart(0);
    return std::string(start, putAxisWord(start, axis, value));
}

std::string NcWordWriter::FormatFeedWord(std::string_view feedText) {
    char* const start = wordsStart(feedText.size());
    return std::string(start, putFeedWord(start, feedText));
}

std::string NcWordWriter::FormatToolWord(std::int32_t number) const {
    std::string word = settings_.separator + settings_.toolPrefix;
    AppendInteger(word, number, settings_.toolFormat);
    return word;
}

std::string NcWordWriter::FormatPlainNumber(float value) const {
    std::string word = settings_.separator;
    AppendFixed(word, value, settings_.axis(Axis::X).format, settings_.delZero);
    return word;
}

std::string NcWordWriter::FormatSeparatedNumber(float value) const {
    std::string word = settings_.separator;
    AppendFixed(word, value, settings_.displayNumberFormat(), settings_.delZero);
    return word;
}

void NcWordWriter::WriteNcLine(std::string& out, int kind, std::string_view words) {
    char* const start = wordsStart(words.size());
    finishLine(out, kind, start, Put(start, words));
}

void NcWordWriter::WriteNcMove(std::string& out, int kind, std::string_view feedText, float x, float y, float z) {
    char* const start = wordsStart(feedText.size());
    char* end = start;
    const bool cutting = kind != 0;
    if (settings_.dialect == PostDialect::Sbo) {
        end = putSboMove(end, x, y, z, cutting);
    } else {
        end = putAxisWord(end, Axis::X, x);
        end = putAxisWord(end, Axis::Y, y);
        end = putAxisWord(end, Axis::Z, z, cutting);
        end = putFeedWord(end, feedText);
    }
    finishLine(out, kind, start, end);
}

}  // namespace calvoro
