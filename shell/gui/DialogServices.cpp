#include "shell/gui/DialogServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include "shell/gui/Application.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

int DialogServices::runModal(QDialog& dialog) {
    return dialog.exec();
}

bool DialogServices::getText(QWidget* parent, const QString& caption, const QString& prompt, QString& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &ok);
    if (ok) text = answer;
    return ok;
}

QString DialogServices::saveFile(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter, QString* chosenFilter) {
    return QFileDialog::getSaveFileName(parent, caption, start, filter, chosenFilter);
}

bool QtDialogServices::askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtDialogServices::inform(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text);
}

QString QtDialogServices::openFile(QWidget* parent, const QString& caption, const QString& start,
                                   const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

bool QtDialogServices::openUrl(const QUrl& url) {
    // The desktop's opener starts at once and only later finds that no
    // program takes the address; its answer is waited for off the event
    // loop's way and a failure is told to the user.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return QDesktopServices::openUrl(url);
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const QString shown = url.isLocalFile() ? url.toLocalFile() : url.toString();
    QObject::connect(process, &QProcess::finished, process, [process, shown](int exitCode, QProcess::ExitStatus) {
        if (exitCode != 0)
            Application::reportError(
                QString::fromStdString(
                    LangStringOr(
                        "1031",
                        "No program was found to show \"%1\". Install a web browser, or open the page by hand."))
                    .arg(shown));
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, shown](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        Application::reportError(
            QString::fromStdString(
                LangStringOr("1031",
                             "No program was found to show \"%1\". Install a web browser, or open the page by hand."))
                .arg(shown));
        process->deleteLater();
    });
    process->start();
    return true;
}

}  // namespace calvoro
