// The word writers of an NC program: block numbers, G words, axis, feed and tool
// words, and whole move lines in the ISO form or the comma-separated SBO form,
// all spelled by one post-processor definition. The writer keeps the modal
// memory (the last text written per word) that suppresses repeated words, and
// the running block number; one writer serves one program.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/post/PostSettings.h"

namespace calvoro {

class NcWordWriter {
public:
    // The feed text that marks a rapid move.
    static constexpr std::string_view RapidFeedText = "-2";

    explicit NcWordWriter(PostSettings settings);

    const PostSettings& settings() const { return settings_; }

    // Block counter back to SeqStart and the modal memory cleared, so that the
    // next program starts with every word written.
    void ResetProgram();

    // Each returns the word with its leading separator, or nothing when the
    // word is suppressed; the modal memory and the block counter advance.
    std::string FormatBlockNumber();
    std::string FormatGWord(int kind);
    std::string FormatAxisWord(Axis axis, float value);
    std::string FormatFeedWord(std::string_view feedText);

    // No memory: the same value always gives the same word.
    std::string FormatToolWord(std::int32_t number) const;
    std::string FormatPlainNumber(float value) const;      // X axis format, no scale, no prefix
    std::string FormatSeparatedNumber(float value) const;  // the display format of the units

    // Appends block number + G word + words + CR LF to out; nothing at all when
    // words is empty (no block number is used up then).
    void WriteNcLine(std::string& out, int kind, std::string_view words);

    // One move in the dialect of the definition. Coordinates must be finite.
    void WriteNcMove(std::string& out, int kind, std::string_view feedText, float x, float y, float z);

    const std::string& lastGWord() const { return lastGWord_; }
    const std::string& lastAxisText(Axis axis) const { return lastAxisText_[static_cast<std::size_t>(axis)]; }
    const std::string& lastFeedText() const { return lastFeedText_; }
    std::int64_t blockCounter() const { return blockCounter_; }

private:
    void appendBlockNumber(std::string& out);
    void appendGWord(std::string& out, int kind);
    void appendAxisWord(std::string& out, Axis axis, float value);
    void appendFeedWord(std::string& out, std::string_view feedText);
    void appendNumber(std::string& out, double value, const NumberFormat& format) const;
    float scaled(Axis axis, float value) const;
    void writeSboMove(float x, float y, float z);

    PostSettings settings_;
    std::int64_t blockCounter_ = 0;
    std::string lastGWord_;
    std::string lastAxisText_[3];
    std::string lastFeedText_;
    std::string words_;   // words of the line being written
    std::string number_;  // a number being formatted
    std::string sboText_[3];
};

}  // namespace calvoro
