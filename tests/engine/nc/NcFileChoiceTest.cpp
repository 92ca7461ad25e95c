// The choices around the NC file: the proposed name, the filter, a shortened
// name for a label, the post-processor picked in the list, and the lines of a
// program as the page holds them.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/nc/NcFileChoice.h"
#include "engine/nc/NcLines.h"
#include "tests/support/SourceTree.h"
#include "tests/support/TempFolder.h"

using namespace calvoro;
namespace fs = std::filesystem;

namespace {

TEST(CleanFileName, DropsCharactersNoFileSystemTakes) {
    const std::pair<const char*, const char*> cases[] = {
        {"plain name", "plain name"}, {"a|b<c>d#e", "abcde"}, {"x:y*z?\"'", "xyz"}, {"???", "t"}, {"", "t"}};
    for (const auto& [name, cleaned] : cases) EXPECT_EQ(CleanFileName(name), cleaned) << name;
}

TEST(ProposeNcFileName, UsesTheCleanedPictureNameInTheNcFolderWhenItExists) {
    test::TempFolder folder;
    const std::string inFolder = (folder.path() / "face portrait").string();
    EXPECT_EQ(ProposeNcFileName("/pictures/face: portrait?.bmp", folder.path()), inFolder);
    EXPECT_EQ(ProposeNcFileName("/pictures/face: portrait?.bmp", folder / "gone"), "face portrait");
    EXPECT_EQ(ProposeNcFileName("/pictures/face.v2.jpg", ""), "face.v2");
    EXPECT_EQ(ProposeNcFileName("/pictures/noext", ""), "noext");
}

TEST(ChooseNcFile, TakesTheConfirmedNameWithTheExtensionAndKeepsEverythingWhenCancelled) {
    test::TempFolder folder;
    std::string proposed;
    const auto answer = [&](std::string name) {
        return [&proposed, name](const std::string& offered) {
            proposed = offered;
            return name;
        };
    };
    EXPECT_EQ(ChooseNcFile("/p/face?.bmp", folder.path(), "H", answer("")), std::nullopt);
    EXPECT_EQ(proposed, (folder / "face").string());
    const std::string chosen = (folder / "job").string();
    EXPECT_EQ(ChooseNcFile("/p/face.bmp", folder.path(), "H", answer(chosen)),
              (NcFileState{chosen + ".H", folder.path()}));
    EXPECT_EQ(ChooseNcFile("/p/face.bmp", folder.path(), "H", answer(chosen + ".nc")),
              (NcFileState{chosen + ".nc", folder.path()}));
}

TEST(ShortenToWidth, ReplacesTheMiddleUntilItFits) {
    const auto tenPerCharacter = [](std::string_view text) { return int(text.size()) * 10; };
    struct Case {
        const char* text;
        int width;
        const char* shortened;
    };
    const Case cases[] = {
        {"/home/user/nc/program.nc", 300, "/home/user/nc/program.nc"},  // fits
        {"/home/user/nc/program.nc", 205, "/home/use...ogram.nc"},     // two passes of two characters each
        {"/home/user/nc/program.nc", 10, "/home/use..."},               // as short as it gets
        {"short", 10, "short"},                                         // too short to shorten
        {"elevenchars", 10, "elevenchars"},                             // would only grow
    };
    for (const Case& c : cases) EXPECT_EQ(ShortenToWidth(c.text, c.width, tenPerCharacter), c.shortened) << c.text;
}

TEST(ChoosePostProcessor, ReadsTheDefinitionWithItsExtensionAndComment) {
    PostSettings current;
    current.refHeight = 12;
    const PostChoice heidenhain = ChoosePostProcessor(test::ShippedData(), "heidenhain_mm", current);
    EXPECT_EQ(heidenhain.extension, "H");
    EXPECT_EQ(heidenhain.settings.dialect, PostDialect::Hei);
    EXPECT_EQ(heidenhain.settings.postName, "heidenhain_mm");
    EXPECT_EQ(heidenhain.settings.refHeight, 12);  // not from the file
    EXPECT_NE(heidenhain.comment.find("Heidenhain"), std::string::npos);
    EXPECT_FALSE(heidenhain.comment.ends_with('\n'));
    EXPECT_TRUE(heidenhain.problems.empty());

    const PostChoice missing = ChoosePostProcessor(test::ShippedData(), "no such post", current);
    EXPECT_EQ(missing.extension, "NC");
    EXPECT_FALSE(missing.problems.empty());
}

TEST(NcLines, SplitsAtEveryLineEndAndJoinsWithCrLf) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
        const char* joined;
    };
    const Case cases[] = {{"", {}, ""},
                          {"G0 X1\r\nG1 X2\r\n", {"G0 X1", "G1 X2"}, "G0 X1\r\nG1 X2\r\n"},
                          {"G0\nG1", {"G0", "G1"}, "G0\r\nG1\r\n"},
                          {"A\rB\r\n\r\nC", {"A", "B", "", "C"}, "A\r\nB\r\n\r\nC\r\n"}};
    for (const Case& c : cases) {
        const NcLines lines{std::string(c.text)};
        std::vector<std::string> read;
        for (std::size_t i = 0; i < lines.size(); ++i) read.emplace_back(lines.line(i));
        EXPECT_EQ(read, c.lines) << c.text;
        EXPECT_EQ(lines.joined(), c.joined) << c.text;
    }
}

TEST(NcLines, FindsTheNextLineHoldingATextUpToTheLast) {
    const NcLines lines{std::string("G0 X1\nG1 X2\nG1 X3\n")};
    // Case counts.
    for (const auto& [text, from, found] : {std::tuple("G1", 0, 1), {"G1", 2, 2}, {"G1", 3, -1}, {"g1", 0, -1}})
        EXPECT_EQ(lines.find(text, from), found) << text << " from " << from;
}

}  // namespace
