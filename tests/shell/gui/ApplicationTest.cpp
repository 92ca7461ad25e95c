// The program-wide error handler: an exception thrown inside an event handler
// is shown and the program goes on.
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "shell/gui/Application.h"
#include "shell/gui/MainWindow.h"

using calvoro::Application;

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void anExceptionInAHandlerIsReportedAndTheProgramGoesOn() {
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
        QCOMPARE(shown, QStringList{QStringLiteral("Cutter diameter must be positive.")});
        Application::setErrorReporter(nullptr);
    }

    void guardedWorkReportsFailureAndSuccess() {
        QStringList shown;
        Application::setErrorReporter([&](const QString& message) { shown << message; });
        QVERIFY(calvoro::RunGuarded([] {}));
        QVERIFY(!calvoro::RunGuarded([] { throw 42; }));
        QCOMPARE(shown, QStringList{QStringLiteral("Unknown error.")});
        Application::setErrorReporter(nullptr);
    }

    void theMainWindowCarriesItsNameAndCaption() {
        calvoro::MainWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("frmMain"));
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("Calvoro ")));
    }
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ApplicationTest.moc"
