#include "numbers/exactdecimal.h"

#include "numbers/decimal.h"
#include "numbers/rational.h"

#include <string_view>

namespace velmora {
std::optional<mpq_class> parseExactDecimal(QStringView text, QChar separator) {
    const std::optional<DecimalText> number = scanDecimal(text, separator);
    if (!number)
        return std::nullopt;

    const std::size_t first = number->digits.find_first_not_of('0');
    if (first == std::string::npos)
        return mpq_class(0);
    const std::string_view significant = std::string_view(number->digits).substr(first);
    // The value lies in [10^leading, 10^(leading + 1)).
    const std::int64_t leading = static_cast<std::int64_t>(significant.size()) - 1 + number->scale;
    if (leading < SmallestInputExponent || leading > 308)
        return std::nullopt;

    mpq_class value;
    if (significant.size() <= 18) {
        // Up to 18 digits fit a word, without GMP's reading of a text.
        unsigned long whole = 0;
        for (const char digit : significant)
            whole = whole * 10 + static_cast<unsigned long>(digit - '0');
        mpz_set_ui(value.get_num_mpz_t(), whole);
    } else {
        mpz_set_str(value.get_num_mpz_t(), std::string(significant).c_str(), 10);
    }
    if (number->scale >= 0)
        value.get_num() *= powerOfTen(static_cast<unsigned long>(number->scale));
    else
        value.get_den() = powerOfTen(static_cast<unsigned long>(-number->scale));
    value.canonicalize();
    // The double reading takes what rounds to a finite double: below 2¹⁰²⁴ − 2⁹⁷⁰, half a step
    // above the largest double.
    static const mpq_class doubleLimit = [] {
        mpz_class limit;
        mpz_ui_pow_ui(limit.get_mpz_t(), 2, 1024);
        mpz_class half;
        mpz_ui_pow_ui(half.get_mpz_t(), 2, 970);
        return mpq_class(limit - half);
    }();
    if (leading == 308 && value >= doubleLimit)
        return std::nullopt;
    if (number->negative)
        value = -value;
    return value;
}

} // namespace velmora
