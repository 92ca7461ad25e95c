#include "engine/post/PostTemplate.h"

#include <algorithm>

namespace calvoro {

namespace {

// As long as delimiter occurs in text, the first character of its first
// occurrence becomes a blank. A delimiter that begins with a blank would never
// go away; its occurrences are passed over instead.
void BlankDelimiter(std::string& text, std::string_view delimiter) {
    if (delimiter.empty()) return;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(delimiter, from);
        if (at == std::string::npos) return;
        if (text[at] == ' ') {
            from = at + 1;
            continue;
        }
        text[at] = ' ';
        // Blanking may have made a new occurrence that starts a little earlier.
        from = at >= delimiter.size() ? at - delimiter.size() + 1 : 0;
    }
}

}  // namespace

std::string UpperCaseAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string CommentText(std::string_view text, const PostSettings& settings) {
    std::string inner(text);
    // A line break or other control character in a name would start a new
    // block of the program.
    for (char& c : inner)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    BlankDelimiter(inner, settings.startComment);
    BlankDelimiter(inner, settings.endComment);
    return UpperCaseAscii(settings.startComment + inner + settings.endComment);
}

std::string PostKeywordValue(std::string_view keyword, TemplatePoint point, NcWordWriter& words,
                             const NcJobValues& job) {
    const PostSettings& settings = words.settings();
    if (keyword == "tool") return words.FormatToolWord(job.toolNumber);
    if (keyword == "toolname") return CommentText(job.toolName, settings);
    if (keyword == "speed") return "S" + job.spindleSpeedText;
    if (keyword == "spindle_on") return "M3";
    if (keyword == "spindle_off") return "M5";
    if (keyword == "feed") return words.FormatFeedWord(job.feedText);
    if (keyword == "feedplunge") return words.FormatFeedWord(job.plungeText);
    if (keyword == "offlen") return settings.toolLengthOffsetPrefix + std::to_string(job.toolNumber);
    if (keyword == "progname") return CommentText(job.ncFileName, settings);
    if (keyword == "progn") return "O0001";
    if (keyword == "coolant_on") return "M8";
    if (keyword == "coolant_off") return "M9";
    if (keyword == "zrapid") return words.FormatAxisWord(Axis::Z, settings.refHeight);
    if (keyword == "xrapid" || keyword == "x") return words.FormatAxisWord(Axis::X, static_cast<float>(point.x));
    if (keyword == "yrapid" || keyword == "y") return words.FormatAxisWord(Axis::Y, static_cast<float>(point.y));
    if (keyword == "depth") return words.FormatSeparatedNumber(settings.templateDepth);
    if (keyword == "ref_height") return words.FormatSeparatedNumber(settings.refHeight);
    if (keyword == "n") return words.FormatBlockNumber();
    return {};
}

std::string ExpandPostTemplate(std::string_view text, TemplatePoint point, NcWordWriter& words,
                               const NcJobValues& job) {
    std::string result;
    result.reserve(text.size());
    std::string_view rest = text;
    for (;;) {
        const std::size_t open = rest.find('[');
        if (open == std::string_view::npos) {
            result += rest;
            return result;
        }
        // A keyword never spans a line break: a "[" not closed on its own line
        // is plain text, and the lines after it keep their keywords.
        const std::size_t lineEnd = rest.find_first_of("\r\n", open + 1);
        const std::size_t close = rest.substr(0, lineEnd).find(']', open + 1);
        if (close == std::string_view::npos) {
            result += rest.substr(0, open + 1);
            rest.remove_prefix(open + 1);
            continue;
        }
        result += rest.substr(0, open);
        const std::string_view keyword = rest.substr(open + 1, close - open - 1);
        rest.remove_prefix(close + 1);
        std::string value = PostKeywordValue(keyword, point, words, job);
        // Without block numbers a word at the start of a line would begin with
        // its separator.
        if (!words.settings().outputSeq && result.size() > 1 && result.back() == '\n' && value.size() > 1 &&
            value.front() == ' ')
            value.erase(0, 1);
        result += value;
    }
}

}  // namespace calvoro
