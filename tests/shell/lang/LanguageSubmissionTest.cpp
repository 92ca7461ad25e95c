// The mail that sends a translation: its exact subject and body, what the
// user allowed to be published, and the note line by line.
#include "shell/lang/LanguageSubmission.h"

#include <gtest/gtest.h>

using namespace calvoro;

namespace {

TEST(LanguageSubmissionTest, TheBodySaysWhatMayBePublishedLineByLine) {
    const struct {
        bool name, email;
        std::vector<std::string> note;
        const char* body;
    } cases[] = {
        {true,
         true,
         {"First line", "", "Third line"},
         "Language:\r\nItaliano\r\n\r\nName:\r\nAda Rossi\r\nI authorize to publish my name\r\n\r\n"
         "Email:\r\nada@example.org\r\nI authorize to publish my email\r\n\r\n"
         "Language Note:\r\nFirst line\r\n\r\nThird line\r\n\r\n"},
        {false,
         false,
         {},
         "Language:\r\nItaliano\r\n\r\nName:\r\nAda Rossi\r\nI don't authorize to publish my name\r\n\r\n"
         "Email:\r\nada@example.org\r\nI don't authorize to publish my email\r\n\r\n"
         "Language Note:\r\n\r\n"},
        {true,
         false,
         {"x"},
         "Language:\r\nItaliano\r\n\r\nName:\r\nAda Rossi\r\nI authorize to publish my name\r\n\r\n"
         "Email:\r\nada@example.org\r\nI don't authorize to publish my email\r\n\r\n"
         "Language Note:\r\nx\r\n\r\n"},
    };
    for (const auto& c : cases) {
        const MailMessage mail =
            BuildSubmissionMail({"Italiano", "Ada Rossi", "ada@example.org", c.name, c.email, c.note}, "/u/it.lng");
        EXPECT_EQ(mail.body, c.body);
        EXPECT_EQ(mail.subject, "New Calvoro language traslation (Italiano)");
        EXPECT_EQ(mail.recipientAddress, kSubmissionRecipientAddress);
        EXPECT_EQ(mail.attachment, "/u/it.lng");
    }
}

TEST(LanguageSubmissionTest, SplitsANoteIntoItsLines) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\n", {"one"}},
        {"one\r\ntwo", {"one", "two"}},
        {"\n\nthree\n\n", {"", "", "three", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitTextLines(c.text), c.lines) << c.text;
}

}  // namespace
