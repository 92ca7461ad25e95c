#include "shell/gui/MainWindow.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

#include "shell/app/AppInfo.h"

namespace calvoro {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
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
}

}  // namespace calvoro
