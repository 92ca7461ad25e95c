// The command table.
#include "shell/app/CommandTable.h"

#include "shell/app/PageSwitcher.h"
#include "shell/lang/UnitLang.h"

#include <stdexcept>

namespace calvoro {

namespace {

using C = CadCommand;
using G = LinkedGroup;
constexpr int kNone = page::kHide;

// The working commands that pick objects hide the panel; the drawing
// commands show the page their values are typed on.
constexpr CommandRow kRows[] = {
    {C::CircleCtPt, "mnuCircleCtPt", G::Arc, 33, "200", page::kCircleCtPt, true},
    {C::CircleCtDia, "mnuCircleCtDia", G::Arc, 1, "201", page::kCircleCtDia, true},
    {C::ArcCtPtSaEa, "mnuArcCtPtSaEa", G::Arc, 2, "202", kNone, true},
    {C::ArcPolar, "mnuArcPolar", G::Arc, 3, "203", page::kArcPolar, true},
    {C::ArcTangent, "mnuArcTangent", G::Arc, 32, "247", page::kArcTan, true},
    {C::Fillet, "mnuFillet", G::Modify, 6, "206", page::kFillet, true},
    {C::Trim, "mnuTrim", G::Modify, 7, "207", kNone, true},
    {C::Break, "mnuBreak", G::Modify, 12, "208", kNone, true},
    {C::Extend, "mnuExtend", G::Modify, 8, "209", kNone, false},
    {C::ChangeLayer, "mnuChangeLayer", G::Modify, 9, "210", kNone, true},
    {C::MoveNode, "mnuMoveNode", G::Modify, 11, "212", kNone, true},
    {C::Explode, "mnuExplode", G::Modify, 24, "1122", page::kExplodeInfo, true},
    {C::Copy, "mnuCopy", G::Modify, 18, "1123", kNone, true},
    {C::Translate, "mnuTranslate", G::Xform, 13, "213", page::kTranslate, false},
    {C::Rotate, "mnuRotate", G::Xform, 14, "214", page::kRotate, false},
    {C::Mirror, "mnuMirror", G::Xform, 15, "215", kNone, false},
    {C::Scale, "mnuScale", G::Xform, 16, "216", page::kScale, false},
    {C::Offset, "mnuOffset", G::Xform, 17, "217", page::kOffset, false},
    {C::Delete, "mnuDelete", G::Delete, 19, "", kNone, true},
    {C::DeleteSmall, "mnuDeleteSmall", G::Delete, 26, "222", page::kDelSmall, true},
    {C::Undelete, "mnuUndelete", G::Delete, 21, "223", kNone, false},
    {C::Line, "mnuLine", G::Line, 27, "1120", kNone, true},
    {C::Polyline, "mnuPolyline", G::Line, 34, "1121", page::kPoly, true},
    {C::LinePolar, "mnuLinePolar", G::Line, 28, "243", page::kLinePolar, true},
    {C::LineTangent2Arc, "mnuLineTangent2Arc", G::Line, 29, "244", kNone, true},
    {C::LineTangentAngle, "mnuLineTangentAngle", G::Line, 30, "245", page::kLineTanAngle, false},
    {C::LinePerp, "mnuLinePerp", G::Line, 31, "246", kNone, true},
    {C::PointGrid, "mnuPointGrid", G::Point, 38, "248", page::kPointGrid, false},
};

constexpr const char* kButtonNames[kLinkedGroupCount] = {"lsbArc",    "lsbModify", "lsbXform",
                                                         "lsbDelete", "lsbLine",   "lsbPoint"};

}  // namespace

std::span<const CommandRow> CommandRows() {
    return kRows;
}

const CommandRow& RowOf(CadCommand command) {
    for (const CommandRow& row : kRows)
        if (row.Command == command) return row;
    throw std::logic_error("a command without a row");
}

const char* ButtonName(LinkedGroup group) {
    return kButtonNames[static_cast<int>(group)];
}

std::string CommandHint(const CommandRow& row) {
    return *row.Hint != '\0' ? LangString(row.Hint) : LangMainHint(ButtonName(row.Group));
}

LinkedCommands::LinkedCommands() {
    for (int g = 0; g < kLinkedGroupCount; ++g) {
        for (const CommandRow& row : kRows) {
            if (static_cast<int>(row.Group) == g) {
                current_[static_cast<std::size_t>(g)] = row.Command;
                break;
            }
        }
    }
}

const CommandRow& LinkedCommands::Choose(CadCommand command) {
    const CommandRow& row = RowOf(command);
    current_[static_cast<std::size_t>(row.Group)] = command;
    return row;
}

const CommandRow& LinkedCommands::Current(LinkedGroup group) const {
    return RowOf(current_[static_cast<std::size_t>(group)]);
}

}  // namespace calvoro
