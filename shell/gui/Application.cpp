#include "shell/gui/Application.h"

#include <QMessageBox>
#include <exception>

#include "shell/app/AppInfo.h"

namespace calvoro {

namespace {

void ShowCriticalBox(const QString& message) {
    QMessageBox::critical(QApplication::activeWindow(), QString::fromStdString(ProductName()), message);
}

Application::ErrorReporter& ReporterCell() {
    static Application::ErrorReporter reporter = ShowCriticalBox;
    return reporter;
}

QString DescribeCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return QStringLiteral("Unknown error.");
    }
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromStdString(ProductName()));
    setApplicationVersion(QString::fromStdString(VersionText()));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportError(DescribeCurrentException());
        return false;
    }
}

void Application::setErrorReporter(ErrorReporter reporter) {
    ReporterCell() = reporter ? std::move(reporter) : ErrorReporter(ShowCriticalBox);
}

void Application::reportError(const QString& message) {
    // A reporter that throws itself must not take the program down.
    try {
        ReporterCell()(message);
    } catch (...) {
    }
}

bool RunGuarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (...) {
        Application::reportError(DescribeCurrentException());
        return false;
    }
}

}  // namespace calvoro
