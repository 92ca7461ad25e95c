// The main window's commands as actions: each File, Settings and Help command,
// and each zoom of the view, is one QAction, shown by its menu item and by its
// tool-bar button
// (setDefaultAction), so the two can never disagree. Whether a command is
// enabled is decided here alone, from the reasons that lock it
// (CommandLocks), and recomputed whenever a reason changes.
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <vector>

#include "shell/app/CommandLocks.h"

class QAction;
class QToolButton;
class QWidget;

namespace calvoro {

struct MainState;
struct MainWindowUi;

class CommandActions : public QObject {
    Q_OBJECT
public:
    // Gives each tool-bar button its command's action.
    CommandActions(MainWindowUi& ui, MainState& state);

    // Once every controller is connected: a button is only its action's
    // face, so a handler connected to the button itself would run twice.
    void LeaveButtonsToTheirActions();

    void SetLock(LockReason reason, bool on);
    bool Has(LockReason reason) const { return locks_.Has(reason); }
    // Whether the command can run of itself (Save: something to save), asked
    // at every change.
    void SetAvailability(Lockable command, std::function<bool()> available);
    // Reads the reasons that are not told (is there a job) and applies all.
    void Refresh();
    const CommandLocks& Locks() const { return locks_; }

private:
    struct Entry {
        QAction* action = nullptr;
        QToolButton* button = nullptr;
        QWidget* widget = nullptr;  // a panel locked as a whole
        bool shown = true;          // the state last applied
        std::function<bool()> available;
    };
    void Follow(Lockable command);

    MainWindowUi& ui_;
    MainState& state_;
    CommandLocks locks_;
    std::array<Entry, kLockableCount> entries_{};
    std::vector<QToolButton*> shared_;  // buttons of commands nothing locks
    bool applying_ = false;
};

}  // namespace calvoro
