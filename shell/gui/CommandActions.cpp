// The main window's commands as actions, and the one place that enables them.
#include "shell/gui/CommandActions.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>
#include <QToolButton>

#include "shell/app/MainState.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/wizard/Job.h"

namespace calvoro {

CommandActions::CommandActions(MainWindowUi& ui, MainState& state) : QObject(ui.form), ui_(ui), state_(state) {
    const auto share = [this](Lockable command, QAction* action, QToolButton* button) {
        // The action takes what the button showed: its icon and its hint.
        action->setIcon(button->icon());
        action->setToolTip(button->toolTip());
        button->setDefaultAction(action);
        entries_[static_cast<std::size_t>(command)] = Entry{action, button, nullptr, action->isEnabled(), {}};
        Follow(command);
    };
    share(Lockable::Open, ui.mnuOpen, ui.sbtOpen);
    share(Lockable::Save, ui.mnuSave, ui.sbtSave);
    share(Lockable::New, ui.mnuNew, ui.sbtNew);
    share(Lockable::Settings, ui.mnuSetting, ui.sbtSetting);
    share(Lockable::About, ui.mnuAbout1, ui.sbtAbout);
    share(Lockable::Exit, ui.mnuExit, ui.sbtExit);
    share(Lockable::ZoomIn, ui.mnuZoomIn, ui.sbtZoomIn);
    share(Lockable::ZoomOut, ui.mnuZoomOut, ui.sbtZoomBack);
    share(Lockable::Autozoom, ui.mnuAutozoom, ui.sbtAutozoom);
    // Shared, and locked by nothing.
    ui.sbtLayer->setDefaultAction(ui.mnuLayer);
    shared_.push_back(ui.sbtLayer);
    // The right-click menu's own items: no button shares them.
    const std::pair<Lockable, QAction*> menuOnly[] = {{Lockable::Done, ui.mnuDone},
                                                      {Lockable::CancelTask, ui.mnuCancel},
                                                      {Lockable::Pan, ui.mnuPan},
                                                      {Lockable::ZoomWindow, ui.mnuZoomWindow}};
    for (const auto& [command, action] : menuOnly) {
        entries_[static_cast<std::size_t>(command)] = Entry{action, nullptr, nullptr, action->isEnabled(), {}};
        Follow(command);
    }
    entries_[static_cast<std::size_t>(Lockable::WorkPanel)].widget = ui.pnlCmd;
    entries_[static_cast<std::size_t>(Lockable::ViewBar)].widget = ui.pnlTbr2;
    Refresh();
}

void CommandActions::Follow(Lockable command) {
    // An action enabled from anywhere else only tells that something
    // changed: the locks and the command's own availability have the last
    // word.
    const Entry& entry = entries_[static_cast<std::size_t>(command)];
    connect(entry.action, &QAction::changed, this, [this, command] {
        const Entry& e = entries_[static_cast<std::size_t>(command)];
        if (!applying_ && e.action->isEnabled() != e.shown) Refresh();
    });
}

void CommandActions::LeaveButtonsToTheirActions() {
    for (const Entry& entry : entries_)
        if (entry.button) QObject::disconnect(entry.button, &QToolButton::clicked, nullptr, nullptr);
    for (QToolButton* button : shared_) QObject::disconnect(button, &QToolButton::clicked, nullptr, nullptr);
}

void CommandActions::SetLock(LockReason reason, bool on) {
    locks_.Set(reason, on);
    Refresh();
}

void CommandActions::SetAvailability(Lockable command, std::function<bool()> available) {
    entries_[static_cast<std::size_t>(command)].available = std::move(available);
    Refresh();
}

void CommandActions::Refresh() {
    locks_.Set(LockReason::NoJob, !JobOpen(state_.job));
    applying_ = true;
    for (int i = 0; i < kLockableCount; ++i) {
        Entry& entry = entries_[static_cast<std::size_t>(i)];
        if (entry.available) locks_.SetAvailable(static_cast<Lockable>(i), entry.available());
        const bool enabled = locks_.Enabled(static_cast<Lockable>(i));
        entry.shown = enabled;
        if (entry.action) entry.action->setEnabled(enabled);
        // A button set by hand is put right too.
        if (entry.button) entry.button->setEnabled(enabled);
        if (entry.widget) entry.widget->setEnabled(enabled);
    }
    applying_ = false;
}

}  // namespace calvoro
