#include "engine/post/PostLoader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <system_error>

#include "engine/post/PostTemplate.h"
#include "kernel/platform/IniFile.h"
#include "kernel/platform/InputFile.h"

namespace calvoro {

namespace {

// An axis scale counts as 1 within the geometric tolerance.
constexpr double ScaleTolerance = 5e-05;
// Far beyond any change of units (25.4, 1000): a larger scale makes the
// numbers of ordinary coordinates too long to write, or overflow.
constexpr double MaxAxisScale = 1e6;

constexpr const char* AxisSections[3] = {"X Axis", "Y Axis", "Z Axis"};
constexpr const char* AxisPrefixes[3] = {"X", "Y", "Z"};

// Joins the pieces of a report line.
std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

std::string Quoted(std::string_view text) {
    return Concat({"\"", text, "\""});
}

// A line break or other control character inside a value would split or
// garble every NC block it reaches (a control reads a CR as the end of a
// block). A tab is a blank to a control and stays.
bool IsControlCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && byte != '\t') || byte == 0x7f;
}

// The value as a report shows it: each control character as <hex>.
std::string Escaped(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControlCharacter(c))
            shown.append("<").append(1, Hex[byte >> 4]).append(1, Hex[byte & 15]).append(">");
        else
            shown += c;
    }
    return shown;
}

// The definition's values, each checked on its way out: a value that holds a
// control character, or whose line a lone CR cut short, is reported with its
// key and replaced by the key's file default, so it never reaches a program.
class PostValues {
public:
    PostValues(const IniFile& ini, std::vector<std::string>& problems) : ini_(ini), problems_(problems) {}

    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
        return sound(section, key, defaultValue) ? ini_.ReadString(section, key, defaultValue)
                                                 : std::string(defaultValue);
    }
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
        return sound(section, key, std::to_string(defaultValue)) ? ini_.ReadInteger(section, key, defaultValue)
                                                                 : defaultValue;
    }
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
        return sound(section, key, defaultValue ? "1" : "0") ? ini_.ReadBool(section, key, defaultValue)
                                                             : defaultValue;
    }
    double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const {
        return sound(section, key, FormatIniFloat(defaultValue)) ? ini_.ReadFloat(section, key, defaultValue)
                                                                 : defaultValue;
    }
    TextEncoding Encoding() const { return ini_.Encoding(); }

private:
    bool sound(std::string_view section, std::string_view key, std::string_view defaultValue) const {
        const std::string value = ini_.ReadString(section, key, "");
        const bool cut = ini_.ValueCutAtLoneCr(section, key);
        if (!cut && std::none_of(value.begin(), value.end(), IsControlCharacter)) return true;
        problems_.push_back(Concat({"[", section, "] ", key, " ", Quoted(Escaped(value)),
                                    cut ? " ends at a CR without LF, and its line goes on after it"
                                        : " holds a control character",
                                    defaultValue.empty() ? "; the key is left empty"
                                                         : Concat({"; ", Quoted(defaultValue), " is used"})}));
        return false;
    }

    const IniFile& ini_;
    std::vector<std::string>& problems_;
};

// A Format value is taken only when it is a plain width[.precision]; anything
// else never reaches the formatter and the file default is used.
NumberFormat ReadFormat(const PostValues& ini, const char* section, NumberFormat::Kind kind,
                        std::string_view defaultText, std::vector<std::string>& problems) {
    const std::string text = ini.ReadString(section, "Format", defaultText);
    if (auto format = NumberFormat::Parse(text, kind)) return *format;
    problems.push_back(Concat({"[", section, "] Format ", Quoted(text), " is not a number format (width.precision); ",
                               Quoted(defaultText), " is used"}));
    return *NumberFormat::Parse(defaultText, kind);
}

std::optional<PostDialect> DialectFromText(std::string_view text) {
    if (text == "ISO") return PostDialect::Iso;
    if (text == "HEI") return PostDialect::Hei;
    if (text == "XIL") return PostDialect::Xil;
    if (text == "SBO") return PostDialect::Sbo;
    if (text == "CSH") return PostDialect::Csh;
    return std::nullopt;
}

// Where a "[" is not closed on its own line, or npos. A keyword never spans
// a line break, so such a bracket is written as it stands.
std::size_t UnclosedBracket(std::string_view line) {
    for (std::size_t open = line.find('['); open != std::string_view::npos;) {
        const std::size_t close = line.find(']', open + 1);
        if (close == std::string_view::npos) return open;
        open = line.find('[', close + 1);
    }
    return std::string_view::npos;
}

// Every non-empty value of the keys "1".."count", in key order, each followed
// by CR LF; missing keys are skipped.
std::string ReadTextBlock(const PostValues& ini, const char* section, int count, std::vector<std::string>& problems) {
    std::string block;
    for (int key = 1; key <= count; ++key) {
        const std::string line = ini.ReadString(section, std::to_string(key), "");
        if (line.empty()) continue;
        if (UnclosedBracket(line) != std::string_view::npos)
            problems.push_back(Concat({"[", section, "] ", std::to_string(key), " ", Quoted(line),
                                       " opens a keyword with \"[\" that is not closed on its line; the \"[\" is "
                                       "written as it stands"}));
        block += line;
        block += "\r\n";
    }
    return block;
}

void ReadSettings(const IniFile& file, PostSettings& s, std::vector<std::string>& problems) {
    const PostValues ini(file, problems);
    s.outputSeq = ini.ReadBool("Block Numbering", "OutputSeq", false);
    s.seqPrefix = ini.ReadString("Block Numbering", "Pref", "N");
    s.seqStart = ini.ReadInteger("Block Numbering", "SeqStart", 1);
    s.seqInc = ini.ReadInteger("Block Numbering", "SeqInc", 1);
    if (s.seqInc < 1) {
        problems.push_back(Concat({"[Block Numbering] SeqInc ", std::to_string(s.seqInc), " is below 1; 1 is used"}));
        s.seqInc = 1;
    }
    s.seqMax = ini.ReadInteger("Block Numbering", "SeqMax", 999999);

    s.axisScaling = false;
    for (int i = 0; i < 3; ++i) {
        AxisSettings& axis = s.axes[static_cast<std::size_t>(i)];
        axis.prefix = ini.ReadString(AxisSections[i], "Pref", AxisPrefixes[i]);
        axis.format = ReadFormat(ini, AxisSections[i], NumberFormat::Kind::Fixed, "1.3", problems);
        const double scale = ini.ReadFloat(AxisSections[i], "Scale", 1.0);
        axis.scale = static_cast<float>(scale);
        // Every word of the axis would be 0, junk, or too long to write.
        if (axis.scale == 0.0f || !std::isfinite(axis.scale) || std::fabs(axis.scale) > MaxAxisScale) {
            problems.push_back(
                Concat({"[", AxisSections[i], "] Scale ", Quoted(ini.ReadString(AxisSections[i], "Scale", "")),
                        " is not usable; 1 is used"}));
            axis.scale = 1.0f;
        }
        if (std::fabs(static_cast<double>(axis.scale) - 1.0) > ScaleTolerance) s.axisScaling = true;
    }

    s.iPrefix = ini.ReadString("ArcDef", "IPref", "I");
    s.jPrefix = ini.ReadString("ArcDef", "JPref", "J");
    s.rPrefix = ini.ReadString("ArcDef", "RPref", "R");
    s.arcOutput = ini.ReadInteger("ArcDef", "ArcOutput", 0);
    s.arcCenter = ini.ReadInteger("ArcDef", "ArcCenter", 1);

    s.toolPrefix = ini.ReadString("Tool", "Pref", "T");
    s.toolFormat = ReadFormat(ini, "Tool", NumberFormat::Kind::Integer, "1.1", problems);
    s.toolLengthOffsetPrefix = ini.ReadString("Tool", "Tofflen", "H");

    s.feedPrefix = ini.ReadString("Feed", "Pref", "F");
    s.feedFormat = ReadFormat(ini, "Feed", NumberFormat::Kind::Fixed, "1.1", problems);
    s.feedRapid = ini.ReadString("Feed", "Rapid", "");

    s.gWords[0] = ini.ReadString("GCode", "Rapid", "G0");
    s.gWords[1] = ini.ReadString("GCode", "Linear", "G1");
    s.gWords[2] = ini.ReadString("GCode", "Circular_CW", "G2");
    s.gWords[3] = ini.ReadString("GCode", "Circular_CCW", "G3");
    s.xilSuffixClockwise = ini.ReadString("GCode", "XILSuffix_CW", "");
    s.xilSuffixCounterClockwise = ini.ReadString("GCode", "XILSuffix_CCW", "");

    s.sboXyPrefix = ini.ReadString("ShopBot", "SBO_XYPref", "");
    s.sboXyzPrefix = ini.ReadString("ShopBot", "SBO_XYZPref", "");

    s.xyzModal = ini.ReadBool("Default", "XYZModal", false);
    s.gModal = ini.ReadBool("Default", "GModal", false);
    s.fModal = ini.ReadBool("Default", "FModal", true);
    s.delZero = ini.ReadBool("Default", "DelZero", false);
    s.separator = ini.ReadBool("Default", "Spaces", true) ? " " : "";
    s.fileExtension = UpperCaseAscii(ini.ReadString("Default", "File_extension", "NC"));
    s.startComment = ini.ReadString("Default", "StartComment", "(");
    s.endComment = ini.ReadString("Default", "EndComment", ")");
    const std::string dialect = ini.ReadString("Default", "Dialect", "ISO");
    if (auto code = DialectFromText(dialect))
        s.dialect = *code;
    else
        problems.push_back(Concat({"[Default] Dialect ", Quoted(dialect),
                                   " is none of ISO, HEI, XIL, SBO, CSH (upper case); the dialect stays as it was"}));

    s.postComment = ReadTextBlock(ini, "Post Comment", 10, problems);
    s.startOfFile = ReadTextBlock(ini, "Start_of_file", 30, problems);
    s.toolChange = ReadTextBlock(ini, "Tool_change", 30, problems);
    s.endOfFile = ReadTextBlock(ini, "End_of_file", 30, problems);

    for (int i = 0; i < 3; ++i) {
        const std::string section = "Cycle_" + std::to_string(i + 1);
        CycleSettings& cycle = s.cycles[static_cast<std::size_t>(i)];
        cycle.exploded = ini.ReadBool(section, "Exploded", true);
        cycle.cycleDef = ini.ReadString(section, "Cycle_def", "");
        cycle.cycleMove = ini.ReadString(section, "Cycle_move", "");
        cycle.cycleCancel = ini.ReadString(section, "Cycle_cancel", "");
    }
    s.simulate = ini.ReadBool("Default", "Simulate", true);
    s.encoding = ini.Encoding();
}

}  // namespace

std::filesystem::path FindPostFile(const std::filesystem::path& folder, std::string_view postName) {
    const std::filesystem::path pstFolder = folder / "pst";
    const std::string wanted = std::string(postName) + ".pst";
    std::error_code error;
    std::vector<std::filesystem::path> matches;
    for (std::filesystem::directory_iterator it(pstFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name == wanted) return it->path();
        if (FoldIniName(name) == FoldIniName(wanted)) matches.push_back(it->path());
    }
    if (matches.empty()) return {};
    std::sort(matches.begin(), matches.end());  // the same choice on every run
    return matches.front();
}

namespace {

// file is empty when the definition was looked for and not found.
PostLoadResult Load(const std::filesystem::path& file, const std::filesystem::path& shownName,
                    const PostSettings& current) {
    PostLoadResult result;
    result.settings = current;
    std::optional<IniFile> ini;
    std::error_code error;
    if (file.empty() || !std::filesystem::exists(file, error)) {
        result.found = false;
        result.problems.push_back(Concat({PostNotFoundText, ": ", shownName.string()}));
    } else {
        // A folder, pipe or device of that name is refused by the reader with
        // its own reason.
        try {
            ini.emplace(file);
        } catch (const InputFileError& e) {
            result.found = false;
            result.problems.push_back(Concat({PostNotFoundText, ": the post-processor definition ",
                                              Quoted(file.string()), " cannot be read: ", e.reason()}));
        } catch (const std::exception& e) {
            result.found = false;
            result.problems.push_back(Concat({PostNotFoundText, ": ", e.what()}));
        }
    }
    // A definition that cannot be read gives the file defaults, which are what
    // a file without keys holds.
    if (!ini) ini.emplace(std::filesystem::path());
    ReadSettings(*ini, result.settings, result.problems);
    return result;
}

}  // namespace

PostLoadResult LoadPostFile(const std::filesystem::path& file, const PostSettings& current) {
    return Load(file, file, current);
}

PostLoadResult LoadPostProcessor(const std::filesystem::path& folder, const PostSettings& current) {
    // Only names found in the folder are read, so a name can never lead
    // outside it.
    return Load(FindPostFile(folder, current.postName), folder / "pst" / (current.postName + ".pst"), current);
}

}  // namespace calvoro
