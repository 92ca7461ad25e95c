// A translation sent to the makers: the mail that carries a language file,
// built from what the user typed in the submission form.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace calvoro {

// The mailbox translations go to.
inline constexpr std::string_view kSubmissionRecipientName = "Calvoro languages";
inline constexpr std::string_view kSubmissionRecipientAddress = "languages@calvoro.example.org";

struct MailMessage {
    std::string recipientName;
    std::string recipientAddress;
    std::string subject;
    std::string body;                  // CR LF line ends
    std::filesystem::path attachment;  // empty: none
};

struct LanguageSubmission {
    std::string language;
    std::string name;   // the translator, who may allow the name and the
    std::string email;  // address to be published with the translation
    bool publishName = true;
    bool publishEmail = true;
    std::vector<std::string> noteLines;
};

// The mail for the makers' mailbox with the language file attached. The
// translator's name and address travel only in the body: the mail program
// fills in the sender.
MailMessage BuildSubmissionMail(const LanguageSubmission& submission, const std::filesystem::path& languageFile);

// The lines of a multi-line text as a list: a final line end closes the last
// line rather than starting an empty one, and empty text has no lines.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace calvoro
