// The table of what locks what.
#include "shell/app/CommandLocks.h"

namespace calvoro {

namespace {

using R = LockReason;

// A computation or a simulation works on the job: nothing may replace,
// save or drop it meanwhile, nor change the settings it reads. A CAD task
// that holds the tool bars (the long work of the program's first design)
// also holds the view bar. Save needs a job.
constexpr LockReason kFiles[] = {R::Computing, R::Simulating, R::CadTask};
constexpr LockReason kSave[] = {R::Computing, R::Simulating, R::CadTask, R::NoJob};
constexpr LockReason kWorkPanel[] = {R::Computing};
constexpr LockReason kViewBar[] = {R::CadTask};
// The view's zooms wait while a zoom window or a pan of the view runs.
constexpr LockReason kZoom[] = {R::ViewTask};

}  // namespace

CommandLocks::CommandLocks() {
    available_.fill(true);
}

bool CommandLocks::Set(LockReason reason, bool on) {
    const auto bit = static_cast<std::size_t>(reason);
    if (reasons_.test(bit) == on) return false;
    reasons_.set(bit, on);
    return true;
}

void CommandLocks::SetAvailable(Lockable command, bool available) {
    available_[static_cast<std::size_t>(command)] = available;
}

std::span<const LockReason> CommandLocks::ReasonsFor(Lockable command) {
    switch (command) {
        case Lockable::Save:
            return kSave;
        case Lockable::WorkPanel:
            return kWorkPanel;
        case Lockable::ViewBar:
            return kViewBar;
        case Lockable::ZoomIn:
        case Lockable::ZoomOut:
        case Lockable::Autozoom:
        case Lockable::Pan:
        case Lockable::ZoomWindow:
            return kZoom;
        case Lockable::Done:
        case Lockable::CancelTask:
            // Available exactly while a task runs; nothing else locks them.
            return {};
        default:
            return kFiles;
    }
}

bool CommandLocks::Locked(Lockable command) const {
    for (const LockReason reason : ReasonsFor(command))
        if (Has(reason)) return true;
    return false;
}

}  // namespace calvoro
