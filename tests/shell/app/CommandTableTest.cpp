// The command table and the linked buttons' memory, without a window: a hint
// text for every row in the shipped English file, and a button that repeats
// the last command chosen in its group.
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
    linked.Choose(C::Trim);
    linked.Choose(C::Extend);
    linked.Choose(C::LinePerp);
    EXPECT_EQ(linked.Current(G::Modify).Command, C::Extend);
    EXPECT_EQ(linked.Current(G::Line).Command, C::LinePerp);
    EXPECT_EQ(linked.Current(G::Arc).Command, C::CircleCtPt);
}

}  // namespace
}  // namespace calvoro
