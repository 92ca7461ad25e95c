// What locks the main window's commands, decided in one place from named
// reasons: a computation running (relief or program), a simulation playing,
// a CAD task holding the tool bars, no job open yet, a zoom window or pan
// running in the view. A command is enabled
// when it is available of itself (Save: there is something to save) and no
// reason that locks it holds. No widgets here; the window's command actions
// apply what this says.
#pragma once

#include <array>
#include <bitset>
#include <span>

namespace calvoro {

enum class LockReason { Computing, Simulating, CadTask, NoJob, ViewTask };
inline constexpr int kLockReasonCount = 5;

// The commands and panels the locks decide on.
// Done, CancelTask, Pan and ZoomWindow are the right-click menu's items of the
// view (their view-bar buttons stay clickable, the menu follows the task).
enum class Lockable {
    Open,
    Save,
    New,
    Settings,
    About,
    Exit,
    WorkPanel,
    ViewBar,
    ZoomIn,
    ZoomOut,
    Autozoom,
    Done,
    CancelTask,
    Pan,
    ZoomWindow
};
inline constexpr int kLockableCount = 15;

class CommandLocks {
public:
    CommandLocks();

    // True when the reason changed.
    bool Set(LockReason reason, bool on);
    bool Has(LockReason reason) const { return reasons_.test(static_cast<std::size_t>(reason)); }
    void SetAvailable(Lockable command, bool available);
    bool Available(Lockable command) const { return available_[static_cast<std::size_t>(command)]; }

    // The reasons that lock a command, whatever holds now.
    static std::span<const LockReason> ReasonsFor(Lockable command);
    bool Locked(Lockable command) const;
    bool Enabled(Lockable command) const { return Available(command) && !Locked(command); }

private:
    std::bitset<kLockReasonCount> reasons_;
    std::array<bool, kLockableCount> available_{};
};

}  // namespace calvoro
