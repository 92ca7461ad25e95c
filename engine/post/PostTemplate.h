// The text blocks of a post-processor definition (program head and tail) hold
// bracketed keywords such as [n], [tool] or [xrapid]; these functions replace
// them by their words. Axis, feed and block words come from the program's word
// writer, so they follow its modal memory and use up block numbers.
#pragma once

#include <string>
#include <string_view>

#include "engine/post/NcJobValues.h"
#include "engine/post/NcWordWriter.h"

namespace calvoro {

struct TemplatePoint {
    double x = 0;
    double y = 0;
};

// Replaces every [keyword] of text by PostKeywordValue. Text outside brackets
// is kept as it stands, also an opening bracket that has no closing one on
// its line: a keyword never spans a line break.
std::string ExpandPostTemplate(std::string_view text, TemplatePoint point, NcWordWriter& words, const NcJobValues& job);

// The value of one keyword (case-sensitive); unknown keywords give nothing.
std::string PostKeywordValue(std::string_view keyword, TemplatePoint point, NcWordWriter& words,
                             const NcJobValues& job);

// ASCII letters upper-cased, every other byte as it is (no locale).
std::string UpperCaseAscii(std::string_view text);

// text between the comment delimiters, upper-cased, with every delimiter inside
// it blanked, so that a name can never end the comment early.
std::string CommentText(std::string_view text, const PostSettings& settings);

}  // namespace calvoro
