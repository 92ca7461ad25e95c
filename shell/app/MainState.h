// What is the main window's own: the live settings, the caption, the view
// mode and the command in progress. Plain data on the GUI thread. The job in
// hand is not kept here: `job` points at the one Job, which the wizard alone
// changes and every view reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "shell/app/RunningCommand.h"
#include "shell/app/Settings.h"

namespace calvoro {

class Job;

struct MainState {
    // The settings as they stand now: read at start, changed by the settings
    // page and the view switches, written back at a confirmed close. The
    // default layer colour, units, post name, tool index and NC folder are
    // kept here and nowhere else.
    Settings settings;
    std::filesystem::path settingsFile;
    bool settingsRead = false;  // only settings that were read are written back

    // What runs in the 2D view; its one owner.
    RunningCommand ActiveCommand;
    std::string BaseCaption;
    bool View3D = false;
    // The job in hand, to read (the read-outs, the work-box zoom); set by the
    // wizard's wiring, which owns it.
    const Job* job = nullptr;
    // The finer grid of the 2D view and the snap switch; not kept in the
    // settings file.
    double GridSubX = 1.0;
    double GridSubY = 1.0;
    bool UseSnap = false;
};

}  // namespace calvoro
