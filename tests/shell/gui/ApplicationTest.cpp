// The program-wide error handler: an exception thrown inside an event handler
// or in guarded work is shown and the program goes on.
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "kernel/drawing/QVCmp2D.h"
#include "kernel/entities/EntityModule.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"
#include "shell/gui/MainWindow.h"

using calvoro::Application;

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void anExceptionIsReportedAndTheProgramGoesOn() {
        QStringList shown;
        Application::setErrorReporter([&](const QString& message) { shown << message; });
        QPushButton button;
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            if (clicks == 1) throw std::runtime_error("Cutter diameter must be positive.");
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QVERIFY(calvoro::RunGuarded([] {}));
        QVERIFY(!calvoro::RunGuarded([] { throw 42; }));
        QCOMPARE(shown, QStringList({"Cutter diameter must be positive.", "Unknown error."}));
        Application::setErrorReporter(nullptr);
    }

    void theMainWindowStartsWithTheShippedBlockLibrary() {
        QStringList shown;
        Application::setErrorReporter([&](const QString& message) { shown << message; });
        calvoro::InitializeEntityModule();
        calvoro::SetProgramFolder(qEnvironmentVariable("CALVORO_BIN_DIR").toStdString());
        calvoro::MainWindow window;
        QCOMPARE(shown, QStringList());
        QCOMPARE(window.LocalCad().SourceBlockCount(), 3);
        Application::setErrorReporter(nullptr);
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationTest.moc"
