// The X and Y words of a written NC program, read straight from its text
// (comments in parentheses and after ";" skipped): the smallest and largest
// of each, to hold against the work box.
#pragma once

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <string_view>

namespace calvoro::test {

struct ProgramExtents {
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();
    int words = 0;       // X and Y words read
    int unreadable = 0;  // an X or Y letter without a number after it
};

inline ProgramExtents WrittenExtents(std::string_view text) {
    ProgramExtents extents;
    bool comment = false;
    bool lineComment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') lineComment = comment = false;
        if (lineComment) continue;
        if (comment) {
            comment = c != ')';
            continue;
        }
        if (c == '(') comment = true;
        if (c == ';') lineComment = true;
        if (c != 'X' && c != 'Y' && c != 'x' && c != 'y') continue;
        // A letter inside a word (a name) is no address.
        if (i > 0 && std::isalpha(static_cast<unsigned char>(text[i - 1]))) continue;
        std::size_t start = i + 1;
        while (start < text.size() && text[start] == ' ') ++start;
        std::size_t end = start;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.' ||
                                     text[end] == '-' || text[end] == '+'))
            ++end;
        double value = 0;
        const char* first = text.data() + start + (start < end && text[start] == '+' ? 1 : 0);
        const auto [ptr, error] = std::from_chars(first, text.data() + end, value);
        if (start == end || error != std::errc() || ptr != text.data() + end) {
            ++extents.unreadable;
            continue;
        }
        ++extents.words;
        const bool isX = c == 'X' || c == 'x';
        (isX ? extents.minX : extents.minY) = std::min(isX ? extents.minX : extents.minY, value);
        (isX ? extents.maxX : extents.maxY) = std::max(isX ? extents.maxX : extents.maxY, value);
        i = end - 1;
    }
    return extents;
}

}  // namespace calvoro::test
