// The numbers of what runs in the 2D view, in one table: the window's
// ActiveCommand holds one of them while its command runs, and the end of an
// operation is told apart by it. The numbers are the program's own (a command
// below 41 draws or edits); code names them only through this table.
#pragma once

#include <cstdint>

namespace calvoro {

// Nothing runs.
inline constexpr std::int32_t kNoCommand = 999;
// The running command was left with the view bar's Cancel.
inline constexpr std::int32_t kCommandCancelled = 12;

// The drawing and editing commands that pick objects.
inline constexpr std::int32_t kCommandTrim = 15;
inline constexpr std::int32_t kCommandBreak = 16;
inline constexpr std::int32_t kCommandMoveNode = 18;
inline constexpr std::int32_t kCommandDelete = 21;
inline constexpr std::int32_t kCommandLineTangent2Arc = 31;
inline constexpr std::int32_t kCommandLinePerp = 33;
// Every code up to this one is a drawing or editing command.
inline constexpr std::int32_t kLastDrawingCommand = 40;

// The view's own commands.
inline constexpr std::int32_t kCommandPan = 51;
inline constexpr std::int32_t kCommandZoomWindow = 52;
// The Z no-cut point pick; while it runs the read-out also shows the relief depth.
inline constexpr std::int32_t kCommandZNoCutPick = 58;
// The ID of the point the Z no-cut pick leaves in the drawing.
inline constexpr std::int32_t kZncPointId = 777;

}  // namespace calvoro
