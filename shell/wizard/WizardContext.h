// What the wizard's steps share: the job they change, the window around it,
// the settings in force, the page shown, the command mode, and the enabled
// state of the buttons, with the few moves every step makes (a button on or
// off, a page shown, the program outdated, the picture placed again).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/app/CommandCodes.h"
#include "shell/wizard/Job.h"
#include "shell/wizard/WizardServices.h"

namespace calvoro {

// The point the Z no-cut pick leaves in the drawing, the command mode of the
// pick and of no command: the names the wizard uses for the window's codes.
inline constexpr int kZncMarkId = kZncPointId;
inline constexpr int kZncPickMode = kCommandZNoCutPick;
inline constexpr int kNoCommandMode = kNoCommand;

struct WizardSettings {
    std::filesystem::path programFolder;  // holds the pst folder
    bool inches = false;                  // work units
    unsigned threads = 0;                 // of the tool path, 0: one per core
    std::string postName = "fanuc_mm";    // the post-processor in force at start
};

// A text of the language file, or ours when no language file is loaded.
std::string Say(std::string_view key, std::string_view fallback);

class WizardContext {
public:
    WizardContext(Job& job, WizardServices services, WizardSettings settings);

    bool isEnabled(WizardControl control) const;
    void setEnabled(WizardControl control, bool on);
    void showPage(int page, bool withStatus = true);
    void report(const std::string& text);
    // The program no longer matches what the pages say (TogliAssoc).
    void togliAssoc();
    // Size, origin and corner into the page's edits.
    void showPlacement();
    void placePictureAgain();
    // Every object moved with the picture; the program outdated.
    void applyShift(const DrawingShift& shift);
    void set3DMode(bool on);

    Job& job;
    WizardServices services;
    WizardSettings settings;
    int currentPage = 0;
    int activeCommandMode = kNoCommandMode;
    bool showing3D = false;

private:
    std::vector<bool> enabled_;
};

}  // namespace calvoro
