#include "shell/gui/DialogServices.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace calvoro {

int DialogServices::runModal(QDialog& dialog) {
    return dialog.exec();
}

bool DialogServices::getText(QWidget* parent, const QString& caption, const QString& prompt, QString& text) {
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &ok);
    if (ok) text = answer;
    return ok;
}

QString DialogServices::saveFile(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter, QString* chosenFilter) {
    return QFileDialog::getSaveFileName(parent, caption, start, filter, chosenFilter);
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
