// The main window. For now a frame that carries the program's caption and the
// texts of the language file; the wizard, the views and the panels hang on it
// as they are built.
#pragma once

#include <QMainWindow>
#include <memory>

class QLabel;

namespace calvoro {

class TQVCmp2D;
class View2DHost;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The drawing the picture and the CAD commands work on, for the whole run.
    TQVCmp2D& LocalCad() { return *localCad_; }

private:
    std::unique_ptr<TQVCmp2D> localCad_;
    QLabel* status_ = nullptr;
    View2DHost* view2d_ = nullptr;
};

}  // namespace calvoro
