// The texts of the About box that do not come from the language file as they
// stand: the program line and the translator's credit.
#pragma once

#include <string>
#include <string_view>

namespace calvoro {

// The maker's web and mail addresses, shown as links.
inline constexpr std::string_view kMakerWebAddress = "calvoro.example.org";
inline constexpr std::string_view kMakerMailAddress = "info@calvoro.example.org";

// "Calvoro 0.1.0", a line break and the maker line.
std::string AboutInfoText();

// "Italian language translated by Maria Rossi": the language's name with its
// first letter made upper case; empty when the file names no translator.
std::string TranslatorCredit(std::string_view languageName, std::string_view translator);

}  // namespace calvoro
