// The page message table: one status-line text per page of the main window's
// work panel, taken from the numbered messages of the language file. Pages not
// listed in kPageMessages keep an empty text.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace calvoro {

inline constexpr std::size_t kMessageTableSize = 51;

struct PageMessage {
    std::size_t page;         // index of the page in the work panel
    std::string_view number;  // key of its message in section "String"
};

inline constexpr std::array<PageMessage, 28> kPageMessages = {{
    {13, "422"}, {20, "470"}, {21, "471"}, {22, "472"}, {23, "473"}, {24, "474"}, {25, "475"},
    {26, "476"}, {27, "482"}, {28, "483"}, {29, "477"}, {30, "478"}, {31, "479"}, {32, "480"},
    {33, "481"}, {34, "484"}, {35, "485"}, {40, "446"}, {41, "421"}, {42, "406"}, {43, "415"},
    {44, "416"}, {45, "423"}, {46, "426"}, {47, "428"}, {48, "424"}, {49, "425"}, {50, "427"},
}};

// The prompts of the 2D view's tasks (zoom window, pan, placing, picking,
// moving points, the crop rectangle), shown on the status line while a task
// runs: the index in the kernel's prompt table and the message's key.
inline constexpr std::array<PageMessage, 9> kTaskPromptMessages = {{
    {0, "1200"}, {1, "1201"}, {2, "1202"}, {4, "1204"}, {9, "1209"},
    {11, "1211"}, {12, "1212"}, {14, "1214"}, {15, "1215"},
}};

// The table, read by the page switch of the main window and by the wizard.
std::array<std::string, kMessageTableSize>& MessageTable();

// Fills the listed entries, and the kernel's task prompts, from the language
// file in use (empty texts when none is loaded); the others are not touched.
void LoadMessageStrings();

}  // namespace calvoro
