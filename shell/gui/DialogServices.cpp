#include "shell/gui/DialogServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace calvoro {

int DialogServices::runModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtDialogServices::askYesNo(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtDialogServices::inform(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text);
}

QString QtDialogServices::openFile(QWidget* parent, const QString& caption, const QString& start,
                                   const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

bool QtDialogServices::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace calvoro
