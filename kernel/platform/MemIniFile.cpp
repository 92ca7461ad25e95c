#include "kernel/platform/MemIniFile.h"

#include <system_error>

#include "kernel/platform/AtomicFile.h"

namespace calvoro {

MemIniFile::MemIniFile(std::filesystem::path fileName) : fileName_(std::move(fileName)) {
    std::error_code error;
    if (std::filesystem::exists(fileName_, error)) document_ = IniFileDocument::Parse(ReadWholeFile(fileName_));
}

MemIniFile MemIniFile::FromBytes(std::string_view bytes, std::filesystem::path fileName) {
    MemIniFile file;
    file.fileName_ = std::move(fileName);
    file.document_ = IniFileDocument::Parse(bytes);
    return file;
}

std::string MemIniFile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    return std::string(document_.FindValue(section, key).value_or(defaultValue));
}

void MemIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    document_.SetValue(section, key, value);
}

bool MemIniFile::SectionExists(std::string_view section) const {
    return document_.SectionExists(section);
}

bool MemIniFile::ValueExists(std::string_view section, std::string_view key) const {
    return document_.FindValue(section, key).has_value();
}

std::vector<std::string> MemIniFile::ReadSections() const {
    return document_.SectionNames();
}

std::vector<std::string> MemIniFile::ReadSection(std::string_view section) const {
    return document_.KeyNames(section);
}

void MemIniFile::UpdateFile() const {
    if (fileName_.empty()) throw FileWriteError("The ini text has no file to be written to.");
    WriteFileAtomically(fileName_, document_.Serialize());
}

}  // namespace calvoro
