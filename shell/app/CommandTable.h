// The drawing and editing commands of the main window as data: which linked
// button of the CAD tool bar carries each command, the glyph and hint the
// button takes when the command is chosen from its menu, the parameter page
// the command shows, and whether it does any work. The linked buttons
// remember the last command chosen in their group, which a click on the
// button repeats. No widgets here: the window's command panels read this.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "shell/app/CommandCodes.h"

namespace calvoro {

enum class LinkedGroup { Arc, Modify, Xform, Delete, Line, Point };
inline constexpr int kLinkedGroupCount = 6;

// By button, in menu order.
// clang-format off
enum class CadCommand {
    CircleCtPt, CircleCtDia, ArcCtPtSaEa, ArcPolar, ArcTangent,
    Fillet, Trim, Break, Extend, ChangeLayer, MoveNode, Explode, Copy,
    Translate, Rotate, Mirror, Scale, Offset,
    Delete, DeleteSmall, Undelete,
    Line, Polyline, LinePolar, LineTangent2Arc, LineTangentAngle, LinePerp,
    PointGrid,
};
// clang-format on

struct CommandRow {
    CadCommand Command;
    const char* MenuName;  // the menu item's object name
    LinkedGroup Group;
    int Glyph;         // index in the glyph strip
    const char* Hint;  // message number; empty: the button's own hint
    int Page;          // the parameter page shown, or page::kHide
    bool Works;        // false: chosen, it changes the button and nothing else
};

std::span<const CommandRow> CommandRows();
const CommandRow& RowOf(CadCommand command);
// The linked button's object name.
const char* ButtonName(LinkedGroup group);
// The hint of a row in the language in use.
std::string CommandHint(const CommandRow& row);

class LinkedCommands {
public:
    // Each button starts with the first command of its group.
    LinkedCommands();
    // The command becomes its button's current one; its row.
    const CommandRow& Choose(CadCommand command);
    // What a click on the button runs.
    const CommandRow& Current(LinkedGroup group) const;

private:
    std::array<CadCommand, kLinkedGroupCount> current_{};
};

}  // namespace calvoro
