#include "numbers/exactdecimal.h"

#include "numbers/decimal.h"

#include <mpfr.h>

#include <cfloat>
#include <charconv>
#include <climits>
#include <string_view>

namespace velmora {
namespace {

mpz_class powerOfTen(unsigned long exponent) {
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, exponent);
    return power;
}

} // namespace

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
    mpz_set_str(value.get_num_mpz_t(), std::string(significant).c_str(), 10);
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

namespace {

using u128 = unsigned __int128;

int decimalDigits(unsigned long value) {
    int count = 1;
    for (unsigned long power = 10; count < 20 && value >= power; power *= 10)
        ++count;
    return count;
}

u128 power10(int exponent) {
    u128 power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

// The digits of n / d where every product below fits 128 bits, as for the numbers typed and
// computed on an ordinary solve; false where it would not.
bool smallDigits(unsigned long n, unsigned long d, SignificantDigits& number) {
    constexpr int Room = 37; // 2·10³⁷ + 10³⁷ < 2¹²⁸
    const int nDigits = decimalDigits(n);
    const int dDigits = decimalDigits(d);
    long exponent = nDigits - dDigits + 1; // n / d < 10^exponent, off by one at most
    static const u128 low = power10(17);
    static const u128 high = power10(18);
    for (;;) {
        const long shift = 18 - exponent;
        u128 top;
        u128 bottom;
        if (shift >= 0) {
            if (nDigits + shift > Room || dDigits + 1 > Room)
                return false;
            top = 2 * u128(n) * power10(int(shift)) + d;
            bottom = 2 * u128(d);
        } else {
            if (dDigits - shift > Room)
                return false;
            const u128 power = power10(int(-shift));
            top = 2 * u128(n) + u128(d) * power;
            bottom = 2 * u128(d) * power;
        }
        const u128 scaled = top / bottom;
        if (scaled >= high) {
            ++exponent;
        } else if (scaled < low) {
            --exponent;
        } else {
            std::to_chars(number.digits.data(), number.digits.data() + number.digits.size(),
                          static_cast<unsigned long long>(scaled));
            number.exponent = exponent;
            return true;
        }
    }
}

} // namespace

SignificantDigits significantDigits(const mpq_class& value) {
    SignificantDigits number;
    if (sgn(value) == 0)
        return number;
    number.zero = false;
    number.negative = sgn(value) < 0;
    if (mpz_cmpabs_ui(value.get_num_mpz_t(), ULONG_MAX) <= 0 &&
        mpz_fits_ulong_p(value.get_den_mpz_t()) &&
        smallDigits(mpz_getlimbn(value.get_num_mpz_t(), 0), mpz_get_ui(value.get_den_mpz_t()),
                    number))
        return number;

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

double nearestDouble(const mpq_class& value) {
    mpfr_t nearest;
    mpfr_init2(nearest, 53);
    mpfr_set_q(nearest, value.get_mpq_t(), MPFR_RNDN);
    const double result = mpfr_get_d(nearest, MPFR_RNDN);
    mpfr_clear(nearest);
    return result;
}

const mpq_class& largestDouble() {
    static const mpq_class largest(DBL_MAX);
    return largest;
}

} // namespace velmora
