// DXF groups and their value formats.
#include "kernel/dxf/DXFWrite.h"

#include "kernel/model/CADCoreExceptions.h"

#include <charconv>
#include <cmath>
#include <string>

namespace calvoro {

namespace {

constexpr std::size_t kMaxTextLength = 255;

enum class ValueKind { Text, Real, Integer, None };

ValueKind KindOfCode(std::uint16_t code) {
    if (code <= 9 || (code >= 999 && code <= 1009)) return ValueKind::Text;
    if ((code >= 10 && code <= 59) || (code >= 140 && code <= 147) || (code >= 210 && code <= 239) ||
        (code >= 1010 && code <= 1059)) {
        return ValueKind::Real;
    }
    if ((code >= 60 && code <= 79) || (code >= 170 && code <= 175) || (code >= 1060 && code <= 1079)) {
        return ValueKind::Integer;
    }
    return ValueKind::None;
}

// The integer right-aligned in `width` columns, as "%<width>d" gives it.
std::string FormatInteger(long long value, std::size_t width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    std::string text(digits, result.ptr);
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

std::string ShortestReal(double value) {
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

double RealOf(const TDXFWrite::Value& value) {
    if (const double* real = std::get_if<double>(&value)) return *real;
    if (const int* integer = std::get_if<int>(&value)) return *integer;
    throw ECADCoreException("TDXFWrite.WriteGroup: A text where a number is needed");
}

long long IntegerOf(const TDXFWrite::Value& value) {
    if (const int* integer = std::get_if<int>(&value)) return *integer;
    const double real = RealOf(value);
    if (!std::isfinite(real) || std::fabs(real) > 2147483647.0) {
        throw ECADCoreException("TDXFWrite.WriteGroup: The value is out of the integer range");
    }
    return static_cast<long long>(std::nearbyint(real));
}

std::string TextOf(const TDXFWrite::Value& value) {
    std::string text;
    if (const std::string_view* s = std::get_if<std::string_view>(&value)) {
        text = std::string(s->substr(0, kMaxTextLength));
    } else if (const int* integer = std::get_if<int>(&value)) {
        text = FormatInteger(*integer, 0);
    } else {
        text = ShortestReal(std::get<double>(value));
    }
    for (char& c : text) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

}  // namespace

std::string FormatDXFReal(double value) {
    if (!std::isfinite(value)) throw ECADCoreException("TDXFWrite.WriteGroup: The value is not a finite number");
    char digits[400];  // the widest double in fixed notation with six decimals fits
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    std::string text(digits, result.ptr);
    // A value that rounds to zero is written without a sign.
    if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
    return text;
}

void TDXFWrite::WriteGroup(std::uint16_t code, Value value) {
    std::string line;
    switch (KindOfCode(code)) {
        case ValueKind::Text:
            line = TextOf(value);
            break;
        case ValueKind::Real:
            line = FormatDXFReal(RealOf(value));
            break;
        case ValueKind::Integer:
            line = FormatInteger(IntegerOf(value), 6);
            break;
        case ValueKind::None:
            break;
    }
    WriteLine(FormatInteger(code, 3));
    WriteLine(line);
}

void TDXFWrite::BeginSection(TDXFSection kind) {
    static constexpr std::string_view kNames[] = {"HEADER", "TABLES", "BLOCKS", "ENTITIES"};
    WriteGroup(0, "SECTION");
    WriteGroup(2, kNames[static_cast<std::size_t>(kind)]);
}

void TDXFWrite::EndSection() {
    WriteGroup(0, "ENDSEC");
}

void TDXFWrite::WriteLine(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
}

}  // namespace calvoro
