// The one parser behind IniFile and MemIniFile: an ini text held line by line,
// so that a change rewrites only the line it touches and every comment, blank
// line, unknown key and the order of the file survive.
//
// The rules are those of profile files: section and key names are compared
// without regard to (ASCII) case; of two sections or two keys with one name the
// first wins; a key is the text before the first '=' and its value the rest,
// both trimmed of blanks; lines starting with ';' are comments; keys before the
// first section belong to none and are never found.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kernel/platform/TextEncoding.h"

namespace calvoro {

class IniFileDocument {
public:
    IniFileDocument() = default;

    // Decodes the bytes of a file (UTF-8 or Windows-1252) and splits them into
    // lines; LF, CR LF (with any further CRs before the LF) and a CR alone all
    // end a line, so a value never holds a line break.
    static IniFileDocument Parse(std::string_view bytes);

    // The text in the encoding and with the line ends it was read with (CR LF
    // for a new document). A Windows-1252 document that has been given
    // characters its code page cannot spell is written as UTF-8, so nothing is
    // lost.
    std::string Serialize() const;

    // The trimmed value of the first key of that name in the first section of
    // that name; empty optional when there is none. The view lives until the
    // document changes.
    std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;
    // Whether the line of that key ended at a CR without LF in the middle of
    // the text: what followed the CR on the same line in the editor that
    // wrote it is not part of the value.
    bool ValueCutAtLoneCr(std::string_view section, std::string_view key) const;

    // Section names as first spelt in the file, each once, in file order.
    std::vector<std::string> SectionNames() const;
    // Key names of the first section of that name, each once, in file order.
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Replaces the value of an existing key in its line, or appends the key at
    // the end of its section, or appends the section at the end of the text.
    // Throws std::invalid_argument for names or values that the format cannot
    // hold (line breaks, '=' in a key, ']' in a section name, empty names).
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    TextEncoding Encoding() const { return encoding_; }
    bool HasByteOrderMark() const { return byteOrderMark_; }
    bool UsesCrLf() const { return crLf_; }

private:
    enum class LineKind { Other, Section, Entry };
    struct Line {
        std::string text;
        LineKind kind = LineKind::Other;
        std::string name;            // section or key name, trimmed
        std::size_t valueStart = 0;  // entries: where the value begins in text
        bool cutAtLoneCr = false;    // ended by a CR without LF
    };
    struct Section {
        std::size_t header = 0;                             // line index of "[name]"
        std::size_t end = 0;                                // one past its last line
        std::unordered_map<std::string, std::size_t> keys;  // folded key -> first line
    };

    static Line ParseLine(std::string text);
    void Reindex();
    const Section* FindSection(std::string_view section) const;

    std::vector<Line> lines_;
    std::vector<Section> sections_;                              // in file order, duplicates included
    std::unordered_map<std::string, std::size_t> firstSection_;  // folded name -> index in sections_
    TextEncoding encoding_ = TextEncoding::Utf8;
    bool byteOrderMark_ = false;
    bool crLf_ = true;
};

// ASCII case folding, the comparison used for section and key names.
std::string FoldIniName(std::string_view name);
// Blanks (spaces and tabs) trimmed from both ends.
std::string_view TrimIniBlanks(std::string_view text);

}  // namespace calvoro
