// The settings file: the user's choices that outlive a run (colours, units,
// grid and snap, language, post-processor, cutter, last picture, NC folder and
// a few job defaults). Read once while the main window is made, written once
// when the user confirms closing. Nothing here touches a widget: the window's
// controllers apply the values and collect them again.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "kernel/draw/Color.h"

namespace calvoro {

class IniFile;

inline constexpr std::string_view kSettingsFileName = "Calvoro.ini";

// Every value of the file; the member initialisers are what a missing file or
// key gives.
struct Settings {
    // [Color]
    TColor Form = static_cast<TColor>(0xFF000005u);  // the system window colour
    TColor BackGround = clGray;
    // Not the background's grey: what is drawn must show on the view.
    TColor DefLayers = clLime;
    TColor Grid = clNavy;
    // [Default]
    std::int32_t Unit = 0;  // 0 millimetres, anything else inches (kept as read)
    bool SGrid = true;
    bool SAxis = true;
    std::string Language = "english";
    double GridX = 10.0;
    double GridY = 10.0;
    double SnapX = 10.0;
    double SnapY = 10.0;
    // Job defaults the user sets by editing the file; never written back.
    std::string ZWhite = "0";
    std::string ZBlack = "-5";
    std::string FeedPlane = "2";
    std::string StepOver = "1";
    std::string Filter = "0.025";
    std::string Pst = "Fanuc_mm";
    std::int32_t Tool = 0;
    std::string FOpen;   // last picture or job opened; empty: none yet
    std::string NcPath;  // folder of NC programs; empty: the user's documents

    friend bool operator==(const Settings&, const Settings&) = default;
};

// Reads every key; a missing key, or one whose value is not of its kind,
// gives the default above.
Settings ReadSettings(const IniFile& file);

// Writes the values that change while the program runs, in a fixed order:
// the four colours, Unit, SGrid, SAxis, GridX, GridY, SnapX, SnapY, FOpen,
// NcPath, Language, Pst, Tool. Every other line of the file (the job defaults,
// unknown keys, comments) stays as it is. A file the user made read-only is
// refused with FileWriteError before anything is written, as is any failed
// write; the file is then left as it was before that key.
void WriteSettings(IniFile& file, const Settings& settings);

// Where the settings live: beside the program when its folder can be written
// (a portable or development tree), otherwise in the user's own configuration
// folder.
std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder,
                                       const std::filesystem::path& userConfigFolder, bool programFolderWritable);

// The first run of a user who keeps the settings in the configuration folder
// starts from the file shipped beside the program. Copies it when the user has
// no settings file yet and the shipped one exists; returns whether it did.
// Throws FileWriteError when the copy cannot be written.
bool SeedSettingsFile(const std::filesystem::path& settingsFile, const std::filesystem::path& shippedFile);

// What the units choice sets: the decimals of every number shown, the unit
// label and whether the 2D view measures in millimetres.
struct UnitFormat {
    int decimals = 3;
    std::string_view label = "mm";
    bool isMM = true;
};
UnitFormat UnitSwitch(std::int32_t unitsFlag);

// A stored number as an edit shows it: fixed with the unit's decimals, then
// trailing zeros and a trailing point cut ("12.5", "10", "0", "-0").
std::string FormatDisplayNumber(float value, std::int32_t unitsFlag);

}  // namespace calvoro
