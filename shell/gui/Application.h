// The program's QApplication. It is the one place where an exception that no
// handler caught ends up: the text is shown in a critical message box and the
// program goes on. Qt itself must never see an exception leave an event
// handler.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>

namespace calvoro {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // What shows an uncaught error. The default is a critical message box;
    // tests put their own in its place.
    using ErrorReporter = std::function<void(const QString& message)>;
    static void setErrorReporter(ErrorReporter reporter);
    static void reportError(const QString& message);
};

// Runs a piece of work and sends any exception it throws to the error reporter.
// For code that runs outside an event (start-up, timers driven by hand).
bool RunGuarded(const std::function<void()>& work);

}  // namespace calvoro
