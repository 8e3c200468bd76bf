#pragma once

#include <clocale>
#include <locale>
#include <string>

namespace fenta21::test {

// Puts the process under a locale whose decimal point is a comma for as long as it lives:
// de_DE.UTF-8 when the system has it (that changes printf and iostreams alike), otherwise
// the classic locale with a comma decimal point for iostreams. Restores what was there.
class GermanLocale {
public:
    GermanLocale() : previousGlobal_(std::locale()), previousC_(std::setlocale(LC_ALL, nullptr)) {
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
            named_ = true;
            std::locale::global(std::locale("de_DE.UTF-8"));
        } else {
            std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
        }
    }
    ~GermanLocale() {
        std::locale::global(previousGlobal_);
        std::setlocale(LC_ALL, previousC_.c_str());
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

    // True when the C library itself runs under the German locale.
    bool named() const { return named_; }

private:
    struct CommaPoint : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };

    std::locale previousGlobal_;
    std::string previousC_;
    bool named_ = false;
};

}  // namespace fenta21::test
