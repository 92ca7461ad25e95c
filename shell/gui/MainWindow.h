// The main window. For now a frame that carries the program's caption and the
// texts of the language file; the wizard, the views and the panels hang on it
// as they are built.
#pragma once

#include <QMainWindow>

class QLabel;

namespace calvoro {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

private:
    QLabel* status_ = nullptr;
};

}  // namespace calvoro
