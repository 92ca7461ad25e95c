#include "shell/gui/LanguageDialogs.h"

#include <QInputDialog>
#include <QMessageBox>

namespace calvoro {

bool QtLanguageDialogs::askYesNo(QWidget* parent, const QString& caption, const QString& text, bool defaultYes) {
    return QMessageBox::warning(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                defaultYes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

void QtLanguageDialogs::warn(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
}

void QtLanguageDialogs::showError(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::critical(parent, caption, text, QMessageBox::Ok);
}

void QtLanguageDialogs::inform(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

std::optional<QString> QtLanguageDialogs::askText(QWidget* parent, const QString& caption, const QString& prompt,
                                                  const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
}

}  // namespace calvoro
