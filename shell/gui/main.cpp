// Program entry: the splash while the main window is made and started, then
// the event loop.
#include <QDir>
#include <QStandardPaths>
#include <clocale>

#include "engine/picture/PictureRaster.h"
#include "kernel/entities/EntityModule.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/SplashScreen.h"
#include "shell/lang/UnitLang.h"

int main(int argc, char** argv) {
    calvoro::Application app(argc, argv);
    // Qt takes the desktop's locale; the program's numbers always use ".".
    std::setlocale(LC_NUMERIC, "C");
    auto* splash = new calvoro::SplashScreen;
    splash->show();
    app.processEvents();

    calvoro::SetProgramFolder(QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString());
    // The user's own language files, laid over the shipped ones.
    calvoro::SetUserLanguageFolder(
        (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/language").toStdString());
    calvoro::InitializeEntityModule();
    calvoro::InstallPictureDecoder();

    calvoro::MainWindow window;
    window.Start();
    window.show();
    splash->raise();
    splash->closeAfter(500);
    return app.exec();
}
