// The command table and the linked buttons' memory, without a window: each
// command's button, glyph and hint, a hint text for every row in the shipped
// English file, and a button that repeats the last command chosen in its group.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "kernel/platform/MemIniFile.h"
#include "shell/app/CommandTable.h"
#include "tests/support/SourceTree.h"

namespace calvoro {
namespace {

using C = CadCommand;
using G = LinkedGroup;

TEST(CommandTable, EachCommandHasItsButtonGlyphAndHint) {
    struct Row {
        C command;
        G group;
        int glyph;
        const char* hint;
    };
    const Row rows[] = {
        {C::CircleCtPt, G::Arc, 33, "200"},       {C::CircleCtDia, G::Arc, 1, "201"},
        {C::ArcCtPtSaEa, G::Arc, 2, "202"},       {C::ArcPolar, G::Arc, 3, "203"},
        {C::ArcTangent, G::Arc, 32, "247"},       {C::Fillet, G::Modify, 6, "206"},
        {C::Trim, G::Modify, 7, "207"},           {C::Break, G::Modify, 12, "208"},
        {C::Extend, G::Modify, 8, "209"},         {C::ChangeLayer, G::Modify, 9, "210"},
        {C::MoveNode, G::Modify, 11, "212"},      {C::Translate, G::Xform, 13, "213"},
        {C::Rotate, G::Xform, 14, "214"},         {C::Mirror, G::Xform, 15, "215"},
        {C::Scale, G::Xform, 16, "216"},          {C::Offset, G::Xform, 17, "217"},
        {C::Delete, G::Delete, 19, ""},           {C::DeleteSmall, G::Delete, 26, "222"},
        {C::Undelete, G::Delete, 21, "223"},      {C::LinePolar, G::Line, 28, "243"},
        {C::LineTangent2Arc, G::Line, 29, "244"}, {C::LineTangentAngle, G::Line, 30, "245"},
        {C::LinePerp, G::Line, 31, "246"},        {C::PointGrid, G::Point, 38, "248"},
    };
    for (const Row& r : rows) {
        const CommandRow& row = RowOf(r.command);
        EXPECT_EQ(row.Group, r.group) << row.MenuName;
        EXPECT_EQ(row.Glyph, r.glyph) << row.MenuName;
        EXPECT_STREQ(row.Hint, r.hint) << row.MenuName;
    }
}

TEST(CommandTable, EveryRowHasOneMenuItemAndAHintText) {
    const MemIniFile english(test::ShippedData() / "language" / "english.lng");
    std::set<std::string> names;
    for (const CommandRow& row : CommandRows()) {
        EXPECT_TRUE(names.insert(row.MenuName).second) << row.MenuName;
        EXPECT_EQ(&RowOf(row.Command), &row);
        const std::string text = *row.Hint
                                     ? english.ReadString("String", row.Hint, "")
                                     : english.ReadString("frmMain", std::string(ButtonName(row.Group)) + ".Hint", "");
        EXPECT_FALSE(text.empty()) << row.MenuName;
    }
}

TEST(CommandTable, AButtonRepeatsTheLastCommandChosenInItsGroupOnly) {
    LinkedCommands linked;
    EXPECT_EQ(linked.Current(G::Modify).Command, C::Fillet);
    EXPECT_EQ(linked.Current(G::Line).Command, C::Line);
    EXPECT_EQ(linked.Choose(C::Trim).Glyph, 7);
    EXPECT_EQ(linked.Choose(C::Extend).Command, C::Extend);
    EXPECT_EQ(linked.Choose(C::LinePerp).Group, G::Line);
    EXPECT_EQ(linked.Current(G::Modify).Command, C::Extend);
    EXPECT_EQ(linked.Current(G::Line).Command, C::LinePerp);
    EXPECT_EQ(linked.Current(G::Arc).Command, C::CircleCtPt);
    EXPECT_STREQ(ButtonName(G::Delete), "lsbDelete");
}

}  // namespace
}  // namespace calvoro
