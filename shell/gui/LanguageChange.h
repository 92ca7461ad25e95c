// Choosing the language of the program: at start, and when the user picks
// another one on the settings page.
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace calvoro {

// The settings page's change of language. The new file is loaded before the
// old one is let go: when it is missing or unreadable the error is shown once
// and the program goes on in the language it had (name, texts and messages).
// Otherwise it becomes the language in use, the page messages are read again
// and each form is translated (the main window and the tool form; the other
// dialogs translate themselves when shown). Returns whether it changed.
bool ChangeLanguage(const QString& name, const QList<QWidget*>& forms);

// At start: opens the language `name` (falling back to English, with the
// error shown, when its file is missing) and translates the main window.
void StartLanguage(const QString& name, QWidget* mainForm);

}  // namespace calvoro
