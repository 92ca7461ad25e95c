// Puts the process under a locale whose decimal separator is a comma for the
// life of the object: the C++ global locale always, the C locale too when a
// comma locale is installed on the machine.
#pragma once

#include <clocale>
#include <locale>
#include <string>

namespace calvoro::test {

class CommaLocale {
public:
    CommaLocale() : previousCpp_(std::locale::global(std::locale(std::locale::classic(), new Comma))) {
        previousC_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "it_IT.UTF-8", "fr_FR.UTF-8", "de_DE", "it_IT"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) break;
        }
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, previousC_.c_str());
        std::locale::global(previousCpp_);
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

private:
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };

    std::locale previousCpp_;
    std::string previousC_;
};

}  // namespace calvoro::test
