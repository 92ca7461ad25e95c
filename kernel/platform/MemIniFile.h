// A whole ini file held in memory: the language files. Values are the trimmed
// text after the first '=', taken as they stand (no quotes dropped). Changes
// stay in memory until UpdateFile writes the file, in the encoding and with
// the line ends it was read with.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/platform/IniFileDocument.h"

namespace calvoro {

class MemIniFile {
public:
    MemIniFile() = default;
    // Reads the whole file; a missing file gives an empty one. Throws
    // std::runtime_error naming the file when it exists but cannot be read.
    explicit MemIniFile(std::filesystem::path fileName);
    // Over text already in memory; UpdateFile then needs a file name.
    static MemIniFile FromBytes(std::string_view bytes, std::filesystem::path fileName = {});

    const std::filesystem::path& FileName() const { return fileName_; }
    TextEncoding Encoding() const { return document_.Encoding(); }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(std::string_view section) const;  // key names

    // Writes the file atomically; throws FileWriteError when it cannot.
    void UpdateFile() const;

private:
    std::filesystem::path fileName_;
    IniFileDocument document_;
};

}  // namespace calvoro
