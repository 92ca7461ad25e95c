// libFuzzer entry for the tool library file: whatever bytes "Tool.db" holds,
// every whole record keeps its stored bytes, and each one is either damaged,
// with the field named really not a number of 0 or more, or sound, with every
// value the tool form shows written and read back as such a number. The form
// fills the cutter in use only from records found sound here.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "engine/tools/ToolLibraryFile.h"
#include "engine/tools/ToolTable.h"
#include "kernel/platform/AtomicFile.h"

namespace {

const std::filesystem::path& LibraryFile() {
    static const std::filesystem::path file = [] {
        const auto folder = std::filesystem::temp_directory_path() / ("calvoro_tool_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        return folder / "Tool.db";
    }();
    return file;
}

// What the form's fields hold for the value, read back as the form reads them.
void CheckShownValue(float value, bool inches) {
    const std::string text = calvoro::FormatToolNumber(value, inches);
    float back = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), back, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(back) || back < 0)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A large library is the unit tests' business; here it would only slow the search.
    if (size > 64 * calvoro::ToolRecord::kSize) return 0;
    calvoro::WriteFileAtomically(LibraryFile(), std::string(reinterpret_cast<const char*>(data), size));
    calvoro::ToolLibraryFile library(LibraryFile());
    library.load();
    if (library.size() != size / calvoro::ToolRecord::kSize) __builtin_trap();
    for (std::size_t i = 0; i < library.size(); ++i) {
        if (std::memcmp(library.storedBytes(i).data(), data + i * calvoro::ToolRecord::kSize,
                        calvoro::ToolRecord::kSize) != 0)
            __builtin_trap();
        const calvoro::ToolRecord record = library.record(i);
        const float values[] = {record.feedRate,   record.plungeRate,   record.diameter, record.cornerRadius,
                                record.taperAngle, record.flatDiameter, record.passDepth};
        const std::optional<calvoro::ToolField> damaged = calvoro::DamagedToolField(record);
        if (damaged) {
            const float bad = values[static_cast<int>(*damaged)];
            if (std::isfinite(bad) && bad >= 0) __builtin_trap();
            for (int k = 0; k < static_cast<int>(*damaged); ++k)
                if (!std::isfinite(values[k]) || values[k] < 0) __builtin_trap();  // not the first
            continue;
        }
        for (const float value : values) {
            CheckShownValue(value, false);
            CheckShownValue(value, true);
        }
        calvoro::ToolFieldTexts texts;
        texts.type = record.toolType;
        texts.diameter = calvoro::FormatToolNumber(record.diameter);
        texts.cornerRadius = calvoro::FormatToolNumber(record.cornerRadius);
        texts.taperAngle = calvoro::FormatToolNumber(record.taperAngle);
        texts.flatDiameter = calvoro::FormatToolNumber(record.flatDiameter);
        texts.feedRate = calvoro::FormatToolNumber(record.feedRate);
        calvoro::MakeToolTableTexts(texts);
    }
    return 0;
}
