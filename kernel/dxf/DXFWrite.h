// Writes the groups of an ASCII DXF file: each group is a line with the group
// code right-aligned in three columns and a line with the value, formatted by
// the range the code lies in. Lines end CR LF; numbers always use "." whatever
// the locale. The text is collected in memory and written to disk in one go.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace calvoro {

enum class TDXFSection : std::uint8_t { Header = 0, Tables = 1, Blocks = 2, Entities = 3 };

class TDXFWrite {
public:
    // A group value: text, a real or an integer; the code decides how it is written.
    using Value = std::variant<std::string_view, double, int>;

    // Codes 0-9 and 999-1009: text of at most 255 bytes (a CR or LF inside
    // becomes a blank, so that codes and values keep pairing up);
    // 10-59, 140-147, 210-239, 1010-1059: a real with six decimals;
    // 60-79, 170-175, 1060-1079: an integer right-aligned in six columns;
    // any other code: an empty line. A real that is not finite is refused
    // with ECADCoreException.
    void WriteGroup(std::uint16_t code, Value value);
    // 0 "SECTION", 2 and the section's name.
    void BeginSection(TDXFSection kind);
    // 0 "ENDSEC".
    void EndSection();

    const std::string& Text() const { return text_; }

private:
    void WriteLine(std::string_view line);

    std::string text_;
};

// "%.6f" without the locale.
std::string FormatDXFReal(double value);

}  // namespace calvoro
