// The Help menu's commands.
#include "shell/gui/HelpCommands.h"

#include <QAction>
#include <QMainWindow>
#include <QUrl>

#include "shell/app/AppInfo.h"
#include "shell/app/MainState.h"
#include "shell/gui/AboutDialog.h"
#include "shell/gui/Application.h"
#include "shell/gui/DialogServices.h"
#include "shell/gui/MainWindowUi.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

namespace {

QString Lang(const char* number, const char* design) {
    return QString::fromStdString(LangStringOr(number, design));
}

}  // namespace

HelpCommands::HelpCommands(MainWindowUi& ui, MainState& state, DialogServices& dialogs)
    : QObject(ui.form), ui_(ui), state_(state), dialogs_(dialogs) {
    connect(ui.mnuAbout1, &QAction::triggered, this, &HelpCommands::ShowAbout);
    connect(ui.mnuHelp, &QAction::triggered, this, &HelpCommands::ShowHelp);
    connect(ui.mnuTutor, &QAction::triggered, this, &HelpCommands::ShowTutorial);
    connect(ui.mnuWeb, &QAction::triggered, this, &HelpCommands::ShowWeb);
}

void HelpCommands::OpenDocumentPage(const std::filesystem::path& page) {
    const std::filesystem::path file = ProgramFolder() / "hlp" / page;
    const QString name = QString::fromStdString(file.string());
    if (!std::filesystem::exists(file))
        Application::reportError(Lang("1030", "The help page \"%1\" is not installed.").arg(name));
    else if (!dialogs_.openUrl(QUrl::fromLocalFile(name)))
        Application::reportError(
            Lang("1031", "No program was found to show \"%1\". Install a web browser, or open the page by hand.")
                .arg(name));
}

void HelpCommands::ShowHelp() {
    OpenDocumentPage("index.html");
}

void HelpCommands::ShowTutorial() {
    OpenDocumentPage("tutorial.html");
}

void HelpCommands::ShowWeb() {
    state_.ActiveCommand.Clear();
    if (!dialogs_.openUrl(QUrl(kWebAddress)))
        Application::reportError(
            Lang("1031", "No program was found to show \"%1\". Install a web browser, or open the page by hand.")
                .arg(kWebAddress));
}

void HelpCommands::ShowAbout() {
    state_.ActiveCommand.Clear();
    if (!about_) about_ = new AboutDialog(dialogs_, ui_.form);
    about_->show();
    about_->raise();
}

}  // namespace calvoro
