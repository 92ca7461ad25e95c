// The table of what locks the window's commands, and the one owner of what
// runs in the 2D view.
#include <gtest/gtest.h>

#include "shell/app/CommandLocks.h"
#include "shell/app/MainState.h"
#include "shell/app/RunningCommand.h"

namespace calvoro {
namespace {

using L = Lockable;
using R = LockReason;

TEST(CommandLocksTest, EachReasonLocksItsCommandsAndNoOthers) {
    struct Row {
        LockReason reason;
        std::vector<Lockable> locked;
    };
    const std::vector<Lockable> files = {L::Open, L::Save, L::New, L::Settings, L::About, L::Exit};
    std::vector<Lockable> filesAndPanel = files;
    filesAndPanel.push_back(L::WorkPanel);
    std::vector<Lockable> filesAndViewBar = files;
    filesAndViewBar.push_back(L::ViewBar);
    const Row rows[] = {
        {R::Computing, filesAndPanel},
        {R::Simulating, files},
        {R::CadTask, filesAndViewBar},
        {R::NoJob, {L::Save}},
        {R::ViewTask, {L::ZoomIn, L::ZoomOut, L::Autozoom, L::Pan, L::ZoomWindow}},
    };
    for (const Row& row : rows) {
        CommandLocks locks;
        EXPECT_TRUE(locks.Set(row.reason, true));
        for (int c = 0; c < kLockableCount; ++c) {
            const auto command = static_cast<Lockable>(c);
            const bool expected = std::find(row.locked.begin(), row.locked.end(), command) != row.locked.end();
            EXPECT_EQ(locks.Locked(command), expected) << "reason " << int(row.reason) << ", command " << c;
        }
    }
}

TEST(CommandLocksTest, AReasonClearedLeavesTheOthersInForce) {
    CommandLocks locks;
    locks.Set(R::Computing, true);
    locks.Set(R::CadTask, true);
    EXPECT_FALSE(locks.Set(R::CadTask, true));  // already held: no change
    locks.Set(R::CadTask, false);                // a command's end
    EXPECT_TRUE(locks.Locked(L::Open));
    EXPECT_TRUE(locks.Locked(L::WorkPanel));
    EXPECT_FALSE(locks.Locked(L::ViewBar));
    locks.Set(R::Computing, false);
    EXPECT_TRUE(locks.Enabled(L::Open));
}

TEST(CommandLocksTest, ACommandNotAvailableStaysOffWithoutAnyLock) {
    CommandLocks locks;
    locks.SetAvailable(L::Save, false);
    EXPECT_FALSE(locks.Locked(L::Save));
    EXPECT_FALSE(locks.Enabled(L::Save));
    locks.SetAvailable(L::Save, true);
    EXPECT_TRUE(locks.Enabled(L::Save));
}

TEST(RunningCommandTest, TellsEveryChangeOnceAndKnowsTheCommandsOfThePanels) {
    RunningCommand command;
    int changes = 0;
    command.SetOnChanged([&] { ++changes; });
    EXPECT_TRUE(command.DrawingCommand());  // before any command, as at the start
    command = kCommandPan;
    command.SetPanActive(true);
    command.SetPanActive(true);
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(command.DrawingCommand());
    command.StartFromPanels(kNoCommand);  // a placing command has no number
    EXPECT_TRUE(command.FromPanels() && !command.DrawingCommand());
    command.Start(kCommandZNoCutPick);
    EXPECT_FALSE(command.FromPanels());
    EXPECT_EQ(std::int32_t(command), kCommandZNoCutPick);
    command.Clear();
    EXPECT_TRUE(command.Is(kNoCommand));
}

}  // namespace
}  // namespace calvoro
