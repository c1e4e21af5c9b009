#include "numbers/exactdecimal.h"

#include "numbers/decimal.h"

#include <cfloat>

namespace velmora {
namespace {

mpz_class powerOfTen(unsigned long exponent) {
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, exponent);
    return power;
}

} // namespace

std::optional<mpq_class> parseExactDecimal(QStringView text, QChar separator) {
    // The grammar and the upper bound are the double reading's, so both read the same texts.
    if (!parseDecimal(text, separator))
        return std::nullopt;
    const DecimalText number = *scanDecimal(text, separator);

    const std::size_t first = number.digits.find_first_not_of('0');
    if (first == std::string::npos)
        return mpq_class(0);
    const std::string significant = number.digits.substr(first);
    // The value lies in [10^leading, 10^(leading + 1)).
    const std::int64_t leading = static_cast<std::int64_t>(significant.size()) - 1 + number.scale;
    if (leading < SmallestInputExponent)
        return std::nullopt;

    mpq_class value(mpz_class(significant, 10));
    if (number.scale >= 0)
        value *= powerOfTen(static_cast<unsigned long>(number.scale));
    else
        value /= powerOfTen(static_cast<unsigned long>(-number.scale));
    if (number.negative)
        value = -value;
    return value;
}

SignificantDigits significantDigits(const mpq_class& value) {
    SignificantDigits number;
    if (sgn(value) == 0)
        return number;
    number.zero = false;
    number.negative = sgn(value) < 0;

    const mpz_class numerator = abs(value.get_num());
    const mpz_class& denominator = value.get_den();
    // value < 10^exponent: the estimate is off by one at most, the loop corrects it.
    long exponent = static_cast<long>(mpz_sizeinbase(numerator.get_mpz_t(), 10)) -
                    static_cast<long>(mpz_sizeinbase(denominator.get_mpz_t(), 10)) + 1;
    static const mpz_class low = powerOfTen(17);
    static const mpz_class high = powerOfTen(18);
    mpz_class scaled;
    for (;;) {
        // scaled = ⌊value · 10^(18 − exponent) + ½⌋ = ⌊(2·n·10^shift + d) / (2·d)⌋
        const long shift = 18 - exponent;
        mpz_class top;
        mpz_class bottom;
        if (shift >= 0) {
            top = 2 * numerator * powerOfTen(static_cast<unsigned long>(shift)) + denominator;
            bottom = 2 * denominator;
        } else {
            const mpz_class power = powerOfTen(static_cast<unsigned long>(-shift));
            top = 2 * numerator + denominator * power;
            bottom = 2 * denominator * power;
        }
        mpz_fdiv_q(scaled.get_mpz_t(), top.get_mpz_t(), bottom.get_mpz_t());
        if (scaled >= high)
            ++exponent;
        else if (scaled < low)
            --exponent;
        else
            break;
    }
    const std::string digits = scaled.get_str();
    std::copy_n(digits.begin(), number.digits.size(), number.digits.begin());
    number.exponent = exponent;
    return number;
}

const mpq_class& largestDouble() {
    static const mpq_class largest(DBL_MAX);
    return largest;
}

} // namespace velmora
