#include "shell/lang/LanguageSubmission.h"

namespace calvoro {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Permission(bool granted, std::string_view what) {
    return std::string(granted ? "I authorize to publish my " : "I don't authorize to publish my ") + std::string(what);
}

}  // namespace

MailMessage BuildSubmissionMail(const LanguageSubmission& submission, const std::filesystem::path& languageFile) {
    MailMessage mail;
    mail.recipientName = kSubmissionRecipientName;
    mail.recipientAddress = kSubmissionRecipientAddress;
    // The mailbox's filters sort on this subject, spelling included.
    mail.subject = "New Calvoro language traslation (" + submission.language + ")";
    std::string& body = mail.body;
    const auto line = [&body](std::string_view text) {
        body += text;
        body += kLineEnd;
    };
    line("Language:");
    line(submission.language);
    line("");
    line("Name:");
    line(submission.name);
    line(Permission(submission.publishName, "name"));
    line("");
    line("Email:");
    line(submission.email);
    line(Permission(submission.publishEmail, "email"));
    line("");
    line("Language Note:");
    for (const std::string& note : submission.noteLines) line(note);
    body += kLineEnd;
    mail.attachment = languageFile;
    return mail;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view piece = text.substr(0, end);
        if (piece.ends_with('\r')) piece.remove_suffix(1);
        lines.emplace_back(piece);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace calvoro
