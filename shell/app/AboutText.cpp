#include "shell/app/AboutText.h"

#include <cctype>

#include "shell/app/AppInfo.h"

namespace calvoro {

std::string AboutInfoText() {
    return ProductName() + " " + VersionText() + "\nMade by the Calvoro developers";
}

std::string TranslatorCredit(std::string_view languageName, std::string_view translator) {
    if (translator.empty()) return {};
    std::string language(languageName);
    if (!language.empty()) language[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(language[0])));
    return language + " language translated by " + std::string(translator);
}

}  // namespace calvoro
