// Ini files on disk: the settings file and the post-processor definitions.
//
// Reads follow the profile-file rules of IniFileDocument, plus: one pair of
// matching quotes around a value is dropped; integers are read like
// StrToIntDef (decimal, "$" or "0x" hexadecimal, a sign; the default on
// anything else); Booleans are integers, any non-zero value is true; floats use
// "." whatever the locale and give the default on junk.
//
// Every write goes to disk at once: the file is read again (so that changes
// made to it meanwhile survive), the one line changes, and the whole file is
// written to a temporary name and renamed over the old one. A missing file
// reads as empty and is created by the first write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/platform/IniFileDocument.h"

namespace calvoro {

class IniFile {
public:
    // Reads the file when it exists. Throws std::runtime_error naming the file
    // when it exists but cannot be read.
    explicit IniFile(std::filesystem::path fileName);

    const std::filesystem::path& FileName() const { return fileName_; }
    // The encoding the file was read in (UTF-8 for a missing file).
    TextEncoding Encoding() const { return document_.Encoding(); }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;

    // Throw FileWriteError (kernel/platform/AtomicFile.h) when the file cannot
    // be written, which leaves it as it was, and std::invalid_argument for
    // names or values the format cannot hold.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"
    void WriteFloat(std::string_view section, std::string_view key, double value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // See IniFileDocument::ValueCutAtLoneCr.
    bool ValueCutAtLoneCr(std::string_view section, std::string_view key) const {
        return document_.ValueCutAtLoneCr(section, key);
    }
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(std::string_view section) const;  // key names

private:
    std::filesystem::path fileName_;
    IniFileDocument document_;
};

// StrToIntDef without the default: decimal with an optional sign, or
// hexadecimal after "$", "0x" or "x"; hexadecimal takes all 32 bits, so
// "$FFFFFFFF" is -1. Empty optional on anything else, on overflow included.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// A stored number, read as every typed number is (ReadNumber): a decimal
// number with "." and an optional exponent, blanks around it allowed; no
// "inf", "nan" or thousands separators. A refused value leaves ReadFloat's
// default in place.
std::optional<double> ParseIniFloat(std::string_view text);

// The shortest text that reads back as the same double: "10", "2.5", "0.1".
std::string FormatIniFloat(double value);

// The value as a profile file gives it: one pair of matching quotes dropped.
std::string_view UnquoteIniValue(std::string_view value);

}  // namespace calvoro
