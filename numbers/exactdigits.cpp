#include "numbers/exactnarrowing.h"
#include "numbers/rational.h"

#include <mpfr.h>

#include <array>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <stdexcept>

// The digits, decimals and nearest double of an exact value, each rounded once from the true
// value.

namespace velmora {
namespace {

// Bounds on ⌊|value|·10^shift + ½⌋ of a value of settled sign: |value|·10^shift rounded to the
// nearest whole number with halves away from zero, each bound on its own, which keeps their order.
Interval scaledBounds(Interval bounds, long shift) {
    bounds.absolute();
    constexpr long InOneWord = 19; // 10¹⁹ < 2⁶⁴
    if (shift >= 0 && shift < InOneWord)
        bounds.multiplySmall(static_cast<long>(mpz_get_ui(powerOfTen(shift).get_mpz_t())));
    else if (shift >= 0)
        bounds.multiply(powerOfTen(static_cast<unsigned long>(shift)));
    else if (-shift < InOneWord)
        bounds.divideSmall(mpz_get_ui(powerOfTen(static_cast<unsigned long>(-shift)).get_mpz_t()));
    else
        bounds.divide(powerOfTen(static_cast<unsigned long>(-shift)));
    bounds.roundHalfUp();
    return bounds;
}

// ⌊|value|·10^shift + ½⌋ when both bounds of a value agree on it: none while its sign or that
// rounding is not settled.
std::optional<mpz_class> scaledOf(const Interval& bounds, long shift) {
    if (bounds.settledSign() == 0)
        return std::nullopt;
    const Interval rounded = scaledBounds(bounds, shift);
    if (!mpfr_equal_p(rounded.lo(), rounded.hi()))
        return std::nullopt;
    mpz_class scaled;
    mpfr_get_z(scaled.get_mpz_t(), rounded.lo(), MPFR_RNDZ);
    return scaled;
}

// The same in one word, without allocation: also none when it does not fit.
std::optional<unsigned long> scaledWordOf(const Interval& bounds, long shift) {
    if (bounds.settledSign() == 0)
        return std::nullopt;
    const Interval rounded = scaledBounds(bounds, shift);
    if (!mpfr_equal_p(rounded.lo(), rounded.hi()) || !mpfr_fits_ulong_p(rounded.hi(), MPFR_RNDZ))
        return std::nullopt;
    return mpfr_get_ui(rounded.lo(), MPFR_RNDZ);
}

// The decimal exponent e of an irrational value, 10^(e−1) ≤ |value| < 10^e, from its larger
// bound: exact but close to a power of ten, where the digits' search corrects it.
long exponentEstimate(const Interval& bounds) {
    const mpfr_srcptr larger =
        mpfr_cmpabs(bounds.lo(), bounds.hi()) > 0 ? bounds.lo() : bounds.hi();
    long binary = 0;
    const double mantissa = std::fabs(mpfr_get_d_2exp(&binary, larger, MPFR_RNDN));
    if (mantissa == 0)
        return 0;
    return static_cast<long>(std::floor(std::log10(mantissa) +
                                        static_cast<double>(binary) * 0.30102999566398120)) +
           1;
}

// |value| rounded to the significant digits lying in [low, high) = [10^(count−1), 10^count),
// with its decimal exponent, from a scaling ⌊|value|·10^shift + ½⌋ that may not settle (none
// then) and an estimate of the exponent that is off by one at most.
template <typename Integer> struct Found {
    Integer digits;
    long exponent;
};
template <typename Integer, typename Scale>
std::optional<Found<Integer>> significantFrom(Scale scale, long exponent, int count,
                                              const Integer& low, const Integer& high) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::optional<Integer> scaled = scale(count - exponent);
        if (!scaled)
            return std::nullopt;
        if (*scaled > high) {
            ++exponent;
        } else if (*scaled < low) {
            --exponent;
        } else if (*scaled == high) {
            // Rounded up to the next power of ten.
            return Found<Integer>{low, exponent + 1};
        } else {
            return Found<Integer>{*scaled, exponent};
        }
    }
    throw std::logic_error("decimal exponent estimate off by more than one");
}

using u128 = unsigned __int128;

u128 power10(int exponent) {
    u128 power = 1;
    while (exponent-- > 0)
        power *= 10;
    return power;
}

int decimalDigits(unsigned long value) {
    int count = 1;
    for (unsigned long power = 10; count < 20 && value >= power; power *= 10)
        ++count;
    return count;
}

constexpr int GeneralDigits = 15;

// The general format's digits of n/d in 128-bit arithmetic, as for the numbers of an ordinary
// solve, without GMP's allocations; none where a product would not fit.
std::optional<Found<u128>> smallSignificant(unsigned long n, unsigned long d) {
    constexpr int Room = 37; // 2·10³⁷ + 10³⁷ < 2¹²⁸
    const int nDigits = decimalDigits(n);
    const int dDigits = decimalDigits(d);
    const auto scale = [&](long shift) -> std::optional<u128> {
        if (shift >= 0) {
            if (nDigits + shift > Room || dDigits + 1 > Room)
                return std::nullopt;
            return (2 * u128(n) * power10(int(shift)) + d) / (2 * u128(d));
        }
        if (dDigits - shift > Room)
            return std::nullopt;
        const u128 power = power10(int(-shift));
        return (2 * u128(n) + u128(d) * power) / (2 * u128(d) * power);
    };
    static const u128 low = power10(GeneralDigits - 1);
    static const u128 high = power10(GeneralDigits);
    return significantFrom(scale, nDigits - dDigits + 1, GeneralDigits, low, high);
}

SignificantDigits digitsOf(int sign, const char* digits, long exponent) {
    SignificantDigits number;
    number.zero = false;
    number.negative = sign < 0;
    std::copy_n(digits, number.digits.size(), number.digits.begin());
    number.exponent = exponent;
    return number;
}

SignificantDigits digitsOf(int sign, const mpz_class& digits, long exponent) {
    std::array<char, GeneralDigits + 2> text{};
    mpz_get_str(text.data(), 10, digits.get_mpz_t());
    return digitsOf(sign, text.data(), exponent);
}

// The digits of a finite decimal of at most 15 significant digits and 18 decimals, as every
// typed number and most of their products are, found without division: n/d = N/10^k.
std::optional<SignificantDigits> shortDecimalDigits(const mpq_class& value) {
    if (!mpz_fits_ulong_p(value.get_den_mpz_t()) ||
        mpz_cmpabs_ui(value.get_num_mpz_t(), 999'999'999'999'999) > 0)
        return std::nullopt;
    const unsigned long denominator = mpz_get_ui(value.get_den_mpz_t());
    unsigned long power = 1;
    int decimals = 0;
    while (power % denominator != 0) {
        if (decimals == 18)
            return std::nullopt;
        power *= 10;
        ++decimals;
    }
    const unsigned long numerator = mpz_getlimbn(value.get_num_mpz_t(), 0);
    const unsigned long factor = power / denominator;
    if (numerator > 999'999'999'999'999 / factor)
        return std::nullopt; // more than 15 digits
    std::array<char, 20> text{};
    char* const end = std::to_chars(text.data(), text.data() + text.size(), numerator * factor).ptr;
    const long length = end - text.data();
    std::fill(end, text.data() + GeneralDigits, '0');
    return digitsOf(sgn(value), text.data(), length - decimals);
}

} // namespace

std::optional<ExactValue::Significant> ExactValue::significant(int count) const {
    if (m_sign == 0)
        return std::nullopt;
    const mpz_class low = powerOfTen(static_cast<unsigned long>(count - 1));
    const mpz_class high = powerOfTen(static_cast<unsigned long>(count));
    std::optional<Found<mpz_class>> found;
    if (!m_irrational) {
        const long estimate = static_cast<long>(mpz_sizeinbase(m_p.get_num_mpz_t(), 10)) -
                              static_cast<long>(mpz_sizeinbase(m_p.get_den_mpz_t(), 10)) + 1;
        found =
            significantFrom([this](long shift) { return std::optional(scaledHalfUp(m_p, shift)); },
                            estimate, count, low, high);
    } else {
        found = narrowed([&](const Interval& bounds) {
            return significantFrom([&bounds](long shift) { return scaledOf(bounds, shift); },
                                   exponentEstimate(bounds), count, low, high);
        });
    }
    return Significant{found->digits, found->exponent};
}

// The general format's digits of an irrational value in one word, as every written root of an
// ordinary solve needs them.
SignificantDigits ExactValue::generalDigits() const {
    static const unsigned long low = mpz_get_ui(powerOfTen(GeneralDigits - 1).get_mpz_t());
    static const unsigned long high = mpz_get_ui(powerOfTen(GeneralDigits).get_mpz_t());
    const Found<unsigned long> found = narrowed([](const Interval& bounds) {
        return significantFrom([&bounds](long shift) { return scaledWordOf(bounds, shift); },
                               exponentEstimate(bounds), GeneralDigits, low, high);
    });
    std::array<char, 20> text{};
    std::to_chars(text.data(), text.data() + text.size(), found.digits);
    return digitsOf(1, text.data(), found.exponent);
}

SignificantDigits ExactValue::digits() const {
    if (m_sign == 0)
        return {};
    if (!m_irrational) {
        if (const std::optional<SignificantDigits> exact = shortDecimalDigits(m_p))
            return *exact;
    }
    if (!m_irrational && mpz_cmpabs_ui(m_p.get_num_mpz_t(), ULONG_MAX) <= 0 &&
        mpz_fits_ulong_p(m_p.get_den_mpz_t())) {
        if (const auto small = smallSignificant(mpz_getlimbn(m_p.get_num_mpz_t(), 0),
                                                mpz_get_ui(m_p.get_den_mpz_t()))) {
            std::array<char, 20> text{};
            std::to_chars(text.data(), text.data() + text.size(),
                          static_cast<unsigned long long>(small->digits));
            return digitsOf(m_sign, text.data(), small->exponent);
        }
    }
    if (!m_irrational) {
        const Significant found = *significant(GeneralDigits);
        return digitsOf(m_sign, found.digits, found.exponent);
    }
    Magnitude& magnitude = m_irrational->magnitude();
    const std::lock_guard lock(magnitude.mutex);
    if (!magnitude.general)
        magnitude.general = generalDigits();
    SignificantDigits digits = *magnitude.general;
    digits.negative = m_sign < 0;
    return digits;
}

mpz_class ExactValue::scaled(int decimals) const {
    if (!m_irrational)
        return scaledHalfUp(m_p, decimals);
    return narrowed([decimals](const Interval& bounds) { return scaledOf(bounds, decimals); });
}

double ExactValue::nearestDouble() const {
    if (!m_irrational)
        return velmora::nearestDouble(m_p);
    return narrowed([](const Interval& bounds) -> std::optional<double> {
        const double low = mpfr_get_d(bounds.lo(), MPFR_RNDN);
        const double high = mpfr_get_d(bounds.hi(), MPFR_RNDN);
        if (low != high)
            return std::nullopt;
        return low;
    });
}

bool ExactValue::exceedsDoubleRange() const {
    if (!m_irrational) {
        // Below 2¹⁰²³ by the sizes of numerator and denominator alone: the usual case.
        const auto bits = [](mpz_srcptr n) { return static_cast<long>(mpz_sizeinbase(n, 2)); };
        if (bits(m_p.get_num_mpz_t()) - bits(m_p.get_den_mpz_t()) < 1023)
            return false;
        return cmp(abs(m_p), largestDouble()) > 0;
    }
    // The largest double is 1,797…·10³⁰⁸: only a value of that size needs a closer look.
    const long exponent = digits().exponent;
    if (exponent != 309)
        return exponent > 309;
    return narrowed([](Interval bounds) -> std::optional<bool> {
        if (bounds.settledSign() == 0)
            return std::nullopt;
        bounds.absolute();
        if (mpfr_cmp_d(bounds.lo(), DBL_MAX) > 0)
            return true;
        if (mpfr_cmp_d(bounds.hi(), DBL_MAX) < 0)
            return false;
        return std::nullopt;
    });
}

} // namespace velmora
