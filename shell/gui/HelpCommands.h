// The Help menu's commands: the help pages and the tutorial beside the
// program, the program's web page and the About box.
#pragma once

#include <QObject>
#include <filesystem>

namespace calvoro {

class AboutDialog;
class DialogServices;
struct MainState;
struct MainWindowUi;

// The web page of the program, opened from the Help menu.
inline constexpr const char* kWebAddress = "https://calvoro.example.org/";

class HelpCommands : public QObject {
    Q_OBJECT
public:
    HelpCommands(MainWindowUi& ui, MainState& state, DialogServices& dialogs);

    void ShowHelp();
    void ShowTutorial();
    void ShowWeb();
    void ShowAbout();

private:
    void OpenDocumentPage(const std::filesystem::path& page);

    MainWindowUi& ui_;
    MainState& state_;
    DialogServices& dialogs_;
    AboutDialog* about_ = nullptr;
};

}  // namespace calvoro
