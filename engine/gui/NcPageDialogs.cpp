#include <QFileDialog>
#include <QMessageBox>

#include "engine/gui/NcSimulationViews.h"

namespace calvoro {

QString QtNcPageDialogs::saveFileName(QWidget* parent, const QString& proposed, const QString& filter,
                                      const QString& defaultSuffix) {
    QFileDialog dialog(parent, QString(), proposed, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty()) dialog.selectFile(proposed);
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                  : QString();
}

void QtNcPageDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QString(), text);
}

void QtNcPageDialogs::inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QString(), text);
}

}  // namespace calvoro
