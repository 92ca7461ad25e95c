// libFuzzer entry for the settings file: whatever bytes it holds, any value
// read from it can be written back in place and reads back the same; and on
// the program's road the values read at start are written back at quit
// without a refusal, read again the same, and every key the program does not
// write keeps its value.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFile.h"
#include "shell/app/Settings.h"

namespace {

const std::filesystem::path& SettingsFile() {
    static const std::filesystem::path file = [] {
        const auto folder =
            std::filesystem::temp_directory_path() / ("calvoro_settings_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        return folder / "Calvoro.ini";
    }();
    return file;
}

bool WrittenBySettings(std::string_view section, std::string_view key) {
    static const char* const color[] = {"form", "background", "deflayers", "grid"};
    static const char* const defaults[] = {"unit",  "sgrid", "saxis",  "gridx",    "gridy", "snapx",
                                           "snapy", "fopen", "ncpath", "language", "pst",   "tool"};
    const std::string s = calvoro::FoldIniName(calvoro::TrimIniBlanks(section));
    const std::string k = calvoro::FoldIniName(calvoro::TrimIniBlanks(key));
    if (s == "color")
        for (const char* name : color)
            if (k == name) return true;
    if (s == "default")
        for (const char* name : defaults)
            if (k == name) return true;
    return false;
}

}  // namespace

// Any key's value, written back in place in memory, reads back the same.
void CheckEveryValueWritesBack(const calvoro::IniFileDocument& document) {
    calvoro::IniFileDocument copy = document;
    for (const std::string& section : document.SectionNames())
        for (const std::string& key : document.KeyNames(section)) {
            const std::string value(*document.FindValue(section, key));
            try {
                copy.SetValue(section, key, value);
            } catch (const std::invalid_argument&) {
                // Only names the format cannot hold (an empty section name) may refuse.
                try {
                    copy.SetValue(section, key, "0");
                } catch (const std::invalid_argument&) {
                    continue;
                }
                __builtin_trap();
            }
            const calvoro::IniFileDocument again = calvoro::IniFileDocument::Parse(copy.Serialize());
            if (again.FindValue(section, key) != std::optional<std::string_view>(value)) __builtin_trap();
        }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const calvoro::IniFileDocument before = calvoro::IniFileDocument::Parse(bytes);
    CheckEveryValueWritesBack(before);

    // The program's own road: read at start, written at quit.
    const std::filesystem::path& file = SettingsFile();
    calvoro::WriteFileAtomically(file, bytes);

    calvoro::IniFile ini(file);
    const calvoro::Settings read = calvoro::ReadSettings(ini);
    try {
        calvoro::WriteSettings(ini, read);
    } catch (const std::exception&) {
        __builtin_trap();  // a value read could not be written back
    }
    const std::string written = calvoro::ReadWholeFile(file);
    const calvoro::IniFileDocument after = calvoro::IniFileDocument::Parse(written);
    if (!(calvoro::ReadSettings(calvoro::IniFile(file)) == read)) __builtin_trap();
    for (const std::string& section : before.SectionNames())
        for (const std::string& key : before.KeyNames(section)) {
            if (WrittenBySettings(section, key)) continue;
            const std::optional<std::string_view> old = before.FindValue(section, key);
            const std::optional<std::string_view> now = after.FindValue(section, key);
            if (!now || *now != *old) __builtin_trap();  // a key the program does not write was lost
        }
    return 0;
}
