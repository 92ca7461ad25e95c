// The shipped English file is the reference of every language: it must hold a
// text for every message the program asks for, and keep the line ends and
// layout that Windows-made language files have.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "kernel/platform/AtomicFile.h"
#include "kernel/platform/IniFileDocument.h"
#include "kernel/platform/MemIniFile.h"
#include "kernel/platform/TextEncoding.h"
#include "shell/lang/MessageTable.h"

namespace fs = std::filesystem;
using namespace calvoro;

namespace {

fs::path SourceDir() {
    const char* dir = std::getenv("CALVORO_SOURCE_DIR");
    return dir ? fs::path(dir) : fs::path(CALVORO_TEST_SOURCE_DIR);
}

fs::path EnglishFile() {
    return SourceDir() / "data" / "language" / "english.lng";
}

bool IsNumber(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The number in `LangString("451"` (or with the literal wrapped for Qt) at `pos`.
std::string MessageNumberAt(const std::string& text, std::size_t pos) {
    const auto skipBlanks = [&] {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\n')) ++pos;
    };
    skipBlanks();
    for (const std::string_view wrapper : {"QStringLiteral(", "QString::fromUtf8(", "u8"}) {
        if (std::string_view(text).substr(pos).starts_with(wrapper)) {
            pos += wrapper.size();
            skipBlanks();
        }
    }
    if (pos >= text.size() || text[pos] != '"') return {};
    const std::size_t close = text.find('"', pos + 1);
    if (close == std::string::npos) return {};
    const std::string literal = text.substr(pos + 1, close - pos - 1);
    return IsNumber(literal) ? literal : std::string();
}

// Numbers of messages asked for with a literal anywhere in the program.
std::set<std::string> MessageNumbersInSources() {
    const std::string call = "LangString(";
    std::set<std::string> numbers;
    for (const char* folder : {"kernel", "engine", "shell"}) {
        for (const auto& entry : fs::recursive_directory_iterator(SourceDir() / folder)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            const std::string text = ReadWholeFile(entry.path());
            for (std::size_t at = text.find(call); at != std::string::npos; at = text.find(call, at + 1)) {
                const std::string number = MessageNumberAt(text, at + call.size());
                if (!number.empty()) numbers.insert(number);
            }
        }
    }
    return numbers;
}

TEST(EnglishLanguageFileTest, HasCrLfLineEndsAndIsValidUtf8) {
    const std::string bytes = ReadWholeFile(EnglishFile());
    ASSERT_FALSE(bytes.empty());
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_TRUE(bytes.ends_with("\r\n"));
    for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1))
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "a bare line feed at byte " << i;
}

TEST(EnglishLanguageFileTest, EveryMessageKeyIsANumberWithAText) {
    const MemIniFile english(EnglishFile());
    const std::vector<std::string> keys = english.ReadSection("String");
    EXPECT_GT(keys.size(), 80u);
    for (const std::string& key : keys) {
        EXPECT_TRUE(IsNumber(key)) << key;
        EXPECT_NE(english.ReadString("String", key, ""), "") << key;
    }
}

TEST(EnglishLanguageFileTest, HasATextForEveryPageMessage) {
    const MemIniFile english(EnglishFile());
    for (const PageMessage& entry : kPageMessages)
        EXPECT_NE(english.ReadString("String", entry.number, ""), "") << "page " << entry.page;
}

TEST(EnglishLanguageFileTest, HasATextForEveryMessageTheProgramAsksFor) {
    const MemIniFile english(EnglishFile());
    for (const std::string& number : MessageNumbersInSources())
        EXPECT_NE(english.ReadString("String", number, ""), "") << "message " << number;
}

TEST(EnglishLanguageFileTest, NoKeyIsWrittenTwice) {
    // A second key of one name would never be read: the first one wins.
    const std::string text = ReadWholeFile(EnglishFile());
    std::set<std::string> seen;
    std::string section;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        if (line.starts_with('[')) {
            section = FoldIniName(line);
            EXPECT_TRUE(seen.insert(section).second) << line;
        } else if (!line.empty() && !line.starts_with(';') && line.find('=') != std::string::npos) {
            EXPECT_TRUE(seen.insert(section + FoldIniName(line.substr(0, line.find('=')))).second) << line;
        }
    }
}

}  // namespace
