// What the main window knows about the job in hand and the run: the live
// settings, the picture, its work size and relief, and the flags the engine
// and the panels read and write. Plain data on the GUI thread; the
// controllers beside the window change it and the window shows it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/picture/ImageInfo.h"
#include "engine/post/PostSettings.h"
#include "engine/relief/HeightMap.h"
#include "engine/relief/ReliefValues.h"
#include "shell/app/RunningCommand.h"
#include "shell/app/Settings.h"

namespace calvoro {

struct MainState {
    // The settings as they stand now: read at start, changed by the settings
    // page and the view switches, written back at a confirmed close. The
    // default layer colour, units, post name, tool index and NC folder are
    // kept here and nowhere else.
    Settings settings;
    std::filesystem::path settingsFile;
    bool settingsRead = false;  // only settings that were read are written back

    bool UpdatingControls = false;
    // What runs in the 2D view; its one owner.
    RunningCommand ActiveCommand;
    std::string BaseCaption;
    bool View3D = false;
    // The job itself (picture, NC file, program and what is outdated) is the
    // wizard's; what the read-out, the pages and the 3D view read of it is
    // kept in step here by the wizard's wiring.
    bool PictureLoaded = false;
    ImageInfo Info;
    ReliefValues Relief;
    std::shared_ptr<const HeightMap> Map;  // shared with the 3D view
    PostSettings Post;  // the wizard's post-processor
    // The finer grid of the 2D view and the snap switch; not kept in the
    // settings file.
    double GridSubX = 1.0;
    double GridSubY = 1.0;
    bool UseSnap = false;
};

}  // namespace calvoro
