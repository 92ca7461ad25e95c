#include "shell/app/Settings.h"

#include <charconv>
#include <system_error>

#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFile.h"

namespace calvoro {

namespace {
constexpr std::string_view kColor = "Color";
constexpr std::string_view kDefault = "Default";

bool IsReadOnlyFile(const std::filesystem::path& file) {
    using std::filesystem::perms;
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status)) return false;
    // Permission bits, not access(): the superuser may write anything, but a
    // file its owner locked is still not meant to change.
    return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}
}  // namespace

Settings ReadSettings(const IniFile& file) {
    Settings s;
    s.Form = file.ReadInteger(kColor, "Form", s.Form);
    s.BackGround = file.ReadInteger(kColor, "BackGround", s.BackGround);
    s.DefLayers = file.ReadInteger(kColor, "DefLayers", s.DefLayers);
    s.Grid = file.ReadInteger(kColor, "Grid", s.Grid);
    s.Unit = file.ReadInteger(kDefault, "Unit", s.Unit);
    s.SGrid = file.ReadBool(kDefault, "SGrid", s.SGrid);
    s.SAxis = file.ReadBool(kDefault, "SAxis", s.SAxis);
    s.Language = file.ReadString(kDefault, "Language", s.Language);
    s.GridX = file.ReadFloat(kDefault, "GridX", s.GridX);
    s.GridY = file.ReadFloat(kDefault, "GridY", s.GridY);
    s.SnapX = file.ReadFloat(kDefault, "SnapX", s.SnapX);
    s.SnapY = file.ReadFloat(kDefault, "SnapY", s.SnapY);
    s.ZWhite = file.ReadString(kDefault, "ZWhite", s.ZWhite);
    s.ZBlack = file.ReadString(kDefault, "ZBlack", s.ZBlack);
    s.FeedPlane = file.ReadString(kDefault, "FeedPlane", s.FeedPlane);
    s.StepOver = file.ReadString(kDefault, "StepOver", s.StepOver);
    s.Filter = file.ReadString(kDefault, "Filter", s.Filter);
    s.Pst = file.ReadString(kDefault, "Pst", s.Pst);
    s.Tool = file.ReadInteger(kDefault, "Tool", s.Tool);
    s.FOpen = file.ReadString(kDefault, "FOpen", s.FOpen);
    s.NcPath = file.ReadString(kDefault, "NcPath", s.NcPath);
    return s;
}

void WriteSettings(IniFile& file, const Settings& s) {
    if (IsReadOnlyFile(file.FileName()))
        throw FileWriteError("The settings file \"" + file.FileName().string() + "\" is read-only.");
    file.WriteInteger(kColor, "Form", s.Form);
    file.WriteInteger(kColor, "BackGround", s.BackGround);
    file.WriteInteger(kColor, "DefLayers", s.DefLayers);
    file.WriteInteger(kColor, "Grid", s.Grid);
    file.WriteInteger(kDefault, "Unit", s.Unit);
    file.WriteBool(kDefault, "SGrid", s.SGrid);
    file.WriteBool(kDefault, "SAxis", s.SAxis);
    file.WriteFloat(kDefault, "GridX", s.GridX);
    file.WriteFloat(kDefault, "GridY", s.GridY);
    file.WriteFloat(kDefault, "SnapX", s.SnapX);
    file.WriteFloat(kDefault, "SnapY", s.SnapY);
    file.WriteString(kDefault, "FOpen", s.FOpen);
    file.WriteString(kDefault, "NcPath", s.NcPath);
    file.WriteString(kDefault, "Language", s.Language);
    file.WriteString(kDefault, "Pst", s.Pst);
    file.WriteInteger(kDefault, "Tool", s.Tool);
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& programFolder,
                                       const std::filesystem::path& userConfigFolder, bool programFolderWritable) {
    return (programFolderWritable ? programFolder : userConfigFolder) / kSettingsFileName;
}

bool SeedSettingsFile(const std::filesystem::path& settingsFile, const std::filesystem::path& shippedFile) {
    std::error_code error;
    if (std::filesystem::exists(settingsFile, error) || !std::filesystem::is_regular_file(shippedFile, error))
        return false;
    std::filesystem::create_directories(settingsFile.parent_path(), error);
    if (error)
        throw FileWriteError("Cannot create the folder \"" + settingsFile.parent_path().string() +
                             "\": " + error.message());
    WriteFileAtomically(settingsFile, ReadWholeFile(shippedFile));
    return true;
}

UnitFormat UnitSwitch(std::int32_t unitsFlag) {
    if (unitsFlag == 0) return {3, "mm", true};
    return {4, "Inch", false};
}

std::string FormatDisplayNumber(float value, std::int32_t unitsFlag) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, UnitSwitch(unitsFlag).decimals);
    std::string text = result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string("0");
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    return text;
}

}  // namespace calvoro
