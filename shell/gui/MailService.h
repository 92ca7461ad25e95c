// Handing a mail to the user's own mail program, which shows it for the user
// to check and send. The hand-off is asynchronous: the program that opens the
// mail may run for a while, and the window that asked must stay responsive.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

#include "shell/lang/LanguageSubmission.h"

namespace calvoro {

struct MailHandOff {
    bool ok = false;
    // When not ok, why; when ok, what the user must still do (empty: nothing).
    QString message;
};

class MailService {
public:
    virtual ~MailService() = default;
    using Done = std::function<void(const MailHandOff& result)>;
    // Calls `done` once, when the mail has been handed over or has failed.
    virtual void send(const MailMessage& mail, Done done) = 0;
};

// The desktop's mail program through xdg-email, which takes the attachment.
// Where xdg-email is missing, a mailto: link opened by the desktop takes the
// recipient, subject and body, and the user is told to attach the file by hand.
class DesktopMailService : public MailService {
public:
    void send(const MailMessage& mail, Done done) override;
};

// The command line arguments for xdg-email (each one a separate argument, never
// a shell line: the body holds what the user typed).
QStringList XdgEmailArguments(const MailMessage& mail);
// The mailto: link of the fallback.
QUrl MailtoUrl(const MailMessage& mail);
// Why xdg-email failed, from its exit status.
QString XdgEmailErrorText(int exitCode);

}  // namespace calvoro
