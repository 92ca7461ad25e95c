// The drawing's loader messages reach the user: a block library that holds a
// block whose source is missing and an entry of an unknown class shows both
// messages at start-up, and the program starts without those blocks.
#include <QTemporaryDir>
#include <QTest>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "kernel/entities/TBlock2D.h"
#include "kernel/entities/TSourceBlock2D.h"
#include "kernel/model/BinaryWriter.h"
#include "kernel/platform/AtomicFile.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/MainWindow.h"

using namespace calvoro;

namespace {

// A library with one block that uses a block left out of it, then an entry
// of class 300, which no class takes.
std::string DamagedLibrary() {
    TQVCmp2D drawing;
    auto& missing = static_cast<TSourceBlock2D&>(
        *drawing.AddSourceBlock(-1, std::make_unique<TSourceBlock2D>(-1, MakeBlockName("Missing"))));
    auto user = std::make_unique<TSourceBlock2D>(-1, MakeBlockName("User"));
    user->Objects().Add(std::make_unique<TBlock2D>(1, missing, MakePoint2D(0, 0)));
    user->SetFromLibrary(true);
    drawing.AddSourceBlock(-1, std::move(user));
    BinaryWriter library;
    drawing.SaveLibrary(library);
    library.patchInt32(7, 2);  // after the version tag and the kind byte
    library.writeUInt16(300);
    library.writeBytes(std::string(100, '\0'));
    return library.takeBytes();
}

}  // namespace

class MainWindowMessagesTest : public QObject {
    Q_OBJECT
private slots:
    void theLibraryLoadersMessagesAreShown() {
        QStringList shown;
        Application::setErrorReporter([&](const QString& message) { shown << message; });
        InitializeEntityModule();
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        WriteFileAtomically(folder.filePath("Library.blk").toStdString(), DamagedLibrary());
        SetProgramFolder(folder.path().toStdString());
        MainWindow window;
        QCOMPARE(shown, QStringList({"Source block not found. The block will not be loaded",
                                     "Object class not found. Object not load"}));
        QCOMPARE(window.LocalCad().SourceBlockCount(), 0);
        Application::setErrorReporter(nullptr);
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    MainWindowMessagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowMessagesTest.moc"
