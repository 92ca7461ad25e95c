// The values of the current cutter and job that the NC program needs beyond
// the moves: the tool number, name, speed and rates for the template keywords
// and the feed words, and the NC file's name. The caller fills it once from the
// tool form and the job before a program is written (a snapshot), so nothing
// here reads a control while the program is being written. Texts are UTF-8,
// like every text inside the program: a tool name from the tool library is
// stored in Windows-1252 and is converted before it is put here.
#pragma once

#include <cstdint>
#include <string>

namespace calvoro {

struct NcJobValues {
    std::int32_t toolNumber = 1;
    std::string toolName;
    std::string spindleSpeedText = "1000";
    std::string feedText = "1000";    // units per minute, as typed; the feed word writes it unchanged
    std::string plungeText = "1000";  // the rate of the first feed move after a retract
    std::string ncFileName;           // with extension, without folder
};

}  // namespace calvoro
