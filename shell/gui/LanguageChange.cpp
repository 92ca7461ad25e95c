#include "shell/gui/LanguageChange.h"

#include <string>

#include "shell/gui/Application.h"
#include "shell/gui/FormTranslation.h"
#include "shell/lang/UnitLang.h"

namespace calvoro {

bool ChangeLanguage(const QString& name, const QList<QWidget*>& forms) {
    std::string error;
    if (!SwitchLanguage(name.toStdString(), error)) {
        Application::reportError(QString::fromStdString(error));
        return false;
    }
    for (QWidget* form : forms) TranslateForms({form});
    return true;
}

void StartLanguage(const QString& name, QWidget* mainForm) {
    const std::string error = OpenStartLanguage(name.toStdString());
    if (!error.empty()) Application::reportError(QString::fromStdString(error));
    TranslateForms({mainForm});
}

}  // namespace calvoro
