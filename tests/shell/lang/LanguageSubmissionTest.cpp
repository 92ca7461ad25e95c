// The mail that sends a translation: its exact subject and body, with what
// the user allowed to be published and the note line by line.
#include "shell/lang/LanguageSubmission.h"

#include <gtest/gtest.h>

using namespace calvoro;

namespace {

TEST(LanguageSubmissionTest, TheBodySaysWhatMayBePublishedLineByLine) {
    const struct {
        bool publish;
        std::vector<std::string> note;
        const char* body;
    } cases[] = {
        {true,
         {"First", "", "Third"},
         "Language:\r\nItaliano\r\n\r\nName:\r\nAda\r\nI authorize to publish my name\r\n\r\nEmail:\r\nada@example.org"
         "\r\nI authorize to publish my email\r\n\r\nLanguage Note:\r\nFirst\r\n\r\nThird\r\n\r\n"},
        {false,
         {},
         "Language:\r\nItaliano\r\n\r\nName:\r\nAda\r\nI don't authorize to publish my name\r\n\r\nEmail:\r\n"
         "ada@example.org\r\nI don't authorize to publish my email\r\n\r\nLanguage Note:\r\n\r\n"},
    };
    for (const auto& c : cases) {
        const MailMessage mail =
            BuildSubmissionMail({"Italiano", "Ada", "ada@example.org", c.publish, c.publish, c.note}, "/u/it.lng");
        EXPECT_EQ(mail.body, c.body);
        EXPECT_EQ(mail.subject, "New Calvoro language traslation (Italiano)");
        EXPECT_EQ(mail.attachment, "/u/it.lng");
    }
}

TEST(LanguageSubmissionTest, ANoteEndingInALineEndHasNoEmptyLastLine) {
    EXPECT_EQ(SplitTextLines(""), std::vector<std::string>());
    EXPECT_EQ(SplitTextLines("one\n"), std::vector<std::string>({"one"}));
    EXPECT_EQ(SplitTextLines("\none\r\n\n"), std::vector<std::string>({"", "one", ""}));
}

}  // namespace
