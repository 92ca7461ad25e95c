#include "shell/gui/MailService.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Lang(const char* number, const char* design) {
    return QString::fromStdString(LangStringOr(number, design));
}

QString Recipient(const MailMessage& mail) {
    return Text(mail.recipientAddress);
}

}  // namespace

QStringList XdgEmailArguments(const MailMessage& mail) {
    // xdg-email ends every line of the body with CR LF itself; a CR of our
    // own would reach the mail program twice.
    QString body = Text(mail.body);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList arguments{"--utf8", "--subject", Text(mail.subject), "--body", body};
    if (!mail.attachment.empty()) arguments << "--attach" << QString::fromStdString(mail.attachment.string());
    if (!mail.recipientAddress.empty()) arguments << Recipient(mail);
    return arguments;
}

QUrl MailtoUrl(const MailMessage& mail) {
    QUrl url;
    url.setScheme("mailto");
    url.setPath(Recipient(mail));
    // Every character that means something in a query is escaped, so the
    // user's text cannot add fields of its own.
    const auto encoded = [](const std::string& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(text)));
    };
    url.setQuery("subject=" + encoded(mail.subject) + "&body=" + encoded(mail.body), QUrl::StrictMode);
    return url;
}

QString XdgEmailErrorText(int exitCode) {
    switch (exitCode) {
        case 2:
            return Lang("1051", "The language file to attach was not found.");
        case 3:
            return Lang("1052", "No mail program was found to take the mail.");
        case 5:
            return Lang("1053", "The mail program was not allowed to read the language file.");
        default:
            return Lang("1054", "The mail program could not take the mail (xdg-email ended with code %1).")
                .arg(exitCode);
    }
}

void DesktopMailService::send(const MailMessage& mail, Done done) {
    const QString program = QStandardPaths::findExecutable("xdg-email");
    if (program.isEmpty()) {
        if (!QDesktopServices::openUrl(MailtoUrl(mail))) {
            done(
                {false, Lang("1049", "No mail program was found: neither xdg-email nor a program for mailto: links.")});
            return;
        }
        done(
            {true,
             Lang("1050",
                  "Your mail program could not be given the attachment. Please attach this file to the mail by hand:") +
                 "\n" + QString::fromStdString(mail.attachment.string())});
        return;
    }
    auto* process = new QProcess;
    process->setProgram(program);
    process->setArguments(XdgEmailArguments(mail));
    // Only its error text is read; a chatty mail program must not fill a pipe and stall.
    process->setStandardOutputFile(QProcess::nullDevice());
    // Reported once, whichever signal comes first.
    auto reported = std::make_shared<bool>(false);
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, done, reported](QProcess::ProcessError error) {
                         // Every other error ends with finished() as well.
                         if (error != QProcess::FailedToStart || *reported) return;
                         *reported = true;
                         done({false, Lang("1056", "The mail program could not be started: ") + process->errorString()});
                         process->deleteLater();
                     });
    QObject::connect(
        process, &QProcess::finished, process, [process, done, reported](int exitCode, QProcess::ExitStatus status) {
            if (*reported) return;
            *reported = true;
            if (status == QProcess::NormalExit && exitCode == 0) {
                done({true, {}});
            } else {
                QString text = status == QProcess::NormalExit ? XdgEmailErrorText(exitCode)
                                                              : Lang("1055", "The mail program stopped unexpectedly.");
                const QString details = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
                if (!details.isEmpty()) text += "\n" + details;
                done({false, text});
            }
            process->deleteLater();
        });
    process->start();
}

}  // namespace calvoro
