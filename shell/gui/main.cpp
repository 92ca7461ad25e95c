// Program entry: the application object, the main window, the event loop.
#include <QDir>

#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/MainWindow.h"

int main(int argc, char** argv) {
    calvoro::Application app(argc, argv);
    calvoro::SetProgramFolder(QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString());

    calvoro::MainWindow window;
    window.show();
    return app.exec();
}
