// Program entry: the application object, the main window in the language of
// the settings, the event loop.
#include <QDir>
#include <QStandardPaths>

#include "engine/picture/PictureRaster.h"
#include "kernel/entities/EntityModule.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/LanguageChange.h"
#include "shell/gui/MainWindow.h"
#include "shell/lang/UnitLang.h"

int main(int argc, char** argv) {
    calvoro::Application app(argc, argv);
    calvoro::SetProgramFolder(QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString());
    // The user's own language files, laid over the shipped ones.
    calvoro::SetUserLanguageFolder(
        (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/language").toStdString());
    calvoro::InitializeEntityModule();
    calvoro::InstallPictureDecoder();

    calvoro::MainWindow window;
    calvoro::RunGuarded([&] {
        calvoro::StartLanguage(QString::fromUtf8(calvoro::kDefaultLanguage.data(),
                                                 static_cast<qsizetype>(calvoro::kDefaultLanguage.size())),
                               &window);
    });
    // The caption is the program's own, whatever the language file says for it
    // at start; a later change of language may retitle the window.
    window.setWindowTitle(QString::fromStdString(calvoro::ProductCaption()));
    window.show();
    return app.exec();
}
