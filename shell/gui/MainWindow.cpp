#include "shell/gui/MainWindow.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "kernel/drawing/BlockLibraryFile.h"
#include "kernel/drawing/QVCmp2D.h"
#include "shell/app/AppInfo.h"
#include "shell/gui/Application.h"

namespace calvoro {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), localCad_(std::make_unique<TQVCmp2D>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromStdString(ProductCaption()));
    resize(1024, 700);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* welcome = new QLabel(central);
    welcome->setObjectName(QStringLiteral("lblWelcome"));
    welcome->setAlignment(Qt::AlignCenter);
    welcome->setText(tr("Open a picture to start a job."));
    layout->addWidget(welcome);
    setCentralWidget(central);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    statusBar()->addWidget(status_, 1);

    // What the drawing's loaders skip (a block whose source is missing, an
    // unknown class) is shown like any other error.
    localCad_->SetMessageHandler(
        [](const std::string& message) { Application::reportError(QString::fromStdString(message)); });
    // The block library beside the program, when there is one; a damaged
    // library is reported and the program starts without it.
    RunGuarded([this] { LoadBlockLibraryFile(*localCad_, ProgramFolder() / "Library.blk"); });
}

MainWindow::~MainWindow() = default;

}  // namespace calvoro
