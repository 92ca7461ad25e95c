// The word writers of an NC program: block numbers, G words, axis, feed and tool
// words, and whole move lines in the ISO form or the comma-separated SBO form,
// all spelled by one post-processor definition. The writer keeps the modal
// memory (the last text written per word) that suppresses repeated words, and
// the running block number; one writer serves one program.
//
// Programs run to millions of lines, so a line is put together in a buffer of
// the writer and appended to the program once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
    // words is empty (no block number is used up then). Kind is 0 to 3.
    void WriteNcLine(std::string& out, int kind, std::string_view words);

    // One move in the dialect of the definition. Coordinates must be finite.
    // The Z of a cutting move (kind 1 to 3) is rounded toward the work's +Z
    // at the written decimals, so the program never places the cutter lower
    // than the move asks; a rapid's Z is rounded like every other number.
    void WriteNcMove(std::string& out, int kind, std::string_view feedText, float x, float y, float z);

    // The text an axis word of this value would carry (raised: the Z of a
    // cutting move), without touching the modal memory.
    std::string AxisText(Axis axis, float value, bool raised) const;

    // For writing one program in pieces on several threads: the modal memory
    // set to what it was at the start of a piece, and block numbers left out
    // of the lines, the position of each line in `out` recorded instead, to
    // be filled in order afterwards with AppendBlockNumber.
    void RestoreModalMemory(std::string_view gWord, const std::string (&axisTexts)[3], std::string_view feedText);
    void DeferBlockNumbers(std::vector<std::size_t>* lineStarts) { deferredLines_ = lineStarts; }
    void AppendBlockNumber(std::string& out);
    void SetBlockCounter(std::int64_t counter) { blockCounter_ = counter; }
    void AdvanceBlockCounter();  // as a written block number does

    std::string_view lastGWord() const { return lastGWord_; }
    std::string_view lastAxisText(Axis axis) const { return lastAxisText_[static_cast<std::size_t>(axis)]; }
    std::string_view lastFeedText() const { return lastFeedText_; }
    std::int64_t blockCounter() const { return blockCounter_; }

private:
    // Where the words of a line begin in the line buffer, after room for the
    // block number and G word; the buffer then holds extra more characters.
    char* wordsStart(std::size_t extra);
    void finishLine(std::string& out, int kind, char* words, char* wordsEnd);

    // Each writes its word at p and returns the end of what it wrote.
    char* putBlockNumber(char* p);
    char* putGWord(char* p, int kind);
    char* putAxisWord(char* p, Axis axis, float value, bool raised = false);
    std::string_view axisText(NumberBuffer& buffer, Axis axis, const NumberFormat& format, float value,
                              bool raised) const;
    char* putFeedWord(char* p, std::string_view feedText);
    char* putSboMove(char* p, float x, float y, float z, bool raisedZ);

    float scaled(Axis axis, float value) const;

    PostSettings settings_;
    std::int64_t blockCounter_ = 0;
    std::string lastGWord_;
    std::string lastAxisText_[3];
    std::string lastFeedText_;

    // Texts that are the same on every line, put together once.
    std::string axisLead_[3];    // separator + axis prefix
    std::string feedLead_;       // separator + feed prefix
    std::string rapidFeedWord_;  // separator + rapid text, or nothing
    std::string gWordText_[4];   // the G word with its separator when blocks are numbered
    std::size_t leadRoom_ = 0;   // the longest block number and G word
    std::size_t lineRoom_ = 0;   // the longest line without the feed text
    std::vector<char> line_;     // the line being put together
    std::vector<std::size_t>* deferredLines_ = nullptr;
    std::string sboText_[3];
};

}  // namespace calvoro
