#include "numbers/truevalue.h"

#include "numbers/exactdecimal.h"
#include "numbers/interval.h"

#include <mpfr.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace velmora {
namespace {

// The bounds of a value and room for working out its digits.
class DigitBounds : public Interval {
public:
    explicit DigitBounds(mpfr_prec_t precision) : Interval(precision) {
        mpfr_init2(scaled, precision);
        mpfr_init2(power, precision);
    }
    ~DigitBounds() {
        mpfr_clear(scaled);
        mpfr_clear(power);
    }

    mpfr_t scaled;
    mpfr_t power;
};

// 10^exponent, exactly.
const mpz_class& powerOfTen(unsigned long exponent) {
    static const std::vector<mpz_class> powers = [] {
        std::vector<mpz_class> table(64);
        for (unsigned long k = 0; k < table.size(); ++k)
            mpz_ui_pow_ui(table[k].get_mpz_t(), 10, k);
        return table;
    }();
    static thread_local mpz_class other;
    if (exponent < powers.size())
        return powers[exponent];
    mpz_ui_pow_ui(other.get_mpz_t(), 10, exponent);
    return other;
}

// ⌊|x| · 10^shift + ½⌋ rounded towards the given direction at every step, so that the result
// bounds the true one from that side; false when it does not fit 64 bits.
bool scaledInteger(DigitBounds& work, mpfr_srcptr x, long shift, mpfr_rnd_t direction,
                   std::uint64_t& out) {
    mpfr_abs(work.scaled, x, direction);
    // Multiplying by a bound of 10^shift from the same side, or dividing by one from the other.
    const bool multiply = shift >= 0;
    const mpfr_rnd_t opposite = direction == MPFR_RNDD ? MPFR_RNDU : MPFR_RNDD;
    mpfr_set_z(work.power,
               powerOfTen(static_cast<unsigned long>(multiply ? shift : -shift)).get_mpz_t(),
               multiply ? direction : opposite);
    if (multiply)
        mpfr_mul(work.scaled, work.scaled, work.power, direction);
    else
        mpfr_div(work.scaled, work.scaled, work.power, direction);
    mpfr_add_d(work.scaled, work.scaled, 0.5, direction);
    if (mpfr_cmp_d(work.scaled, 1.8e19) >= 0)
        return false;
    out = mpfr_get_uj(work.scaled, MPFR_RNDD);
    return true;
}

// The 18 digits of the value, rounded half up, when both bounds give the same ones.
bool agreedDigits(DigitBounds& bounds, SignificantDigits& out) {
    if (mpfr_zero_p(bounds.lo) || mpfr_zero_p(bounds.hi) ||
        mpfr_sgn(bounds.lo) != mpfr_sgn(bounds.hi))
        return false; // the sign is not settled yet
    const bool negative = mpfr_sgn(bounds.lo) < 0;
    const mpfr_srcptr smaller = negative ? bounds.hi : bounds.lo; // in magnitude
    const mpfr_srcptr larger = negative ? bounds.lo : bounds.hi;

    constexpr std::uint64_t Low = 100'000'000'000'000'000;    // 10¹⁷
    constexpr std::uint64_t High = 1'000'000'000'000'000'000; // 10¹⁸
    // |value| < 2^binary, so its decimal exponent is about binary · log₁₀ 2.
    const long binary = mpfr_get_exp(larger);
    long exponent =
        static_cast<long>(std::floor(static_cast<double>(binary) * 0.30102999566398)) + 1;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const long shift = 18 - exponent;
        std::uint64_t low = 0;
        std::uint64_t high = 0;
        if (!scaledInteger(bounds, smaller, shift, MPFR_RNDD, low) ||
            !scaledInteger(bounds, larger, shift, MPFR_RNDU, high))
            return false;
        if (low >= High) {
            ++exponent;
        } else if (high < Low) {
            --exponent;
        } else if (low != high || high >= High || low < Low) {
            return false;
        } else {
            out.zero = false;
            out.negative = negative;
            std::to_chars(out.digits.data(), out.digits.data() + out.digits.size(), low);
            out.exponent = exponent;
            return true;
        }
    }
    return false;
}

// Whether the magnitude is beyond the largest double: 1 yes, 0 no, -1 not settled yet.
int beyondDouble(const Interval& bounds, int sign) {
    const mpfr_srcptr smallest = sign > 0 ? bounds.lo : bounds.hi;
    const mpfr_srcptr largest = sign > 0 ? bounds.hi : bounds.lo;
    if (mpfr_cmp_d(smallest, sign * DBL_MAX) * sign > 0)
        return 1;
    if (mpfr_cmp_d(largest, sign * DBL_MAX) * sign < 0)
        return 0;
    return -1;
}

} // namespace

namespace {

int signOfSurd(const mpq_class& p, const mpq_class& q, const mpq_class& m) {
    const int ps = sgn(p);
    const int qs = sgn(q);
    if (qs == 0 || ps == qs)
        return ps != 0 ? ps : qs;
    if (ps == 0)
        return qs;
    // Opposite signs: the larger of p² and q²·m wins.
    return cmp(p * p, q * q * m) > 0 ? ps : qs;
}

} // namespace

int signOf(const Surd& s) {
    return signOfSurd(s.p, s.q, s.m);
}

bool isSquare(const mpq_class& value) {
    return sgn(value) >= 0 && mpz_perfect_square_p(value.get_num_mpz_t()) &&
           mpz_perfect_square_p(value.get_den_mpz_t());
}

mpq_class squareRootOfSquare(const mpq_class& value) {
    mpq_class root;
    mpz_sqrt(root.get_num_mpz_t(), value.get_num_mpz_t());
    mpz_sqrt(root.get_den_mpz_t(), value.get_den_mpz_t());
    return root;
}

TrueValue::TrueValue(const mpq_class& rational) : m_p(rational) {
    settle();
}

TrueValue TrueValue::surd(const mpq_class& p, const mpq_class& q, const mpq_class& m) {
    if (sgn(q) == 0 || isSquare(m))
        return TrueValue(p + q * squareRootOfSquare(m));
    TrueValue value;
    value.m_p = p;
    value.m_radical = std::make_shared<const Radical>(Radical{q, m});
    value.settle();
    return value;
}

TrueValue TrueValue::squareRoot(const TrueValue& v) {
    if (v.isRational()) {
        if (isSquare(v.rational()))
            return TrueValue(squareRootOfSquare(v.rational()));
        return surd(0, 1, v.rational());
    }
    TrueValue root;
    root.m_p = v.m_p;
    root.m_radical = std::make_shared<const Radical>(Radical{v.m_radical->q, v.m_radical->m, true});
    root.settle();
    return root;
}

Surd TrueValue::surd() const {
    if (!m_radical)
        return {m_p, 0, 0};
    return {m_p, m_radical->q, m_radical->m};
}

TrueValue TrueValue::negated() const {
    TrueValue n = *this;
    if (isSquareRoot()) {
        Radical flipped = *m_radical;
        flipped.negative = !flipped.negative;
        n.m_radical = std::make_shared<const Radical>(std::move(flipped));
    } else {
        n.m_p = -m_p;
        if (m_radical)
            n.m_radical = std::make_shared<const Radical>(Radical{-m_radical->q, m_radical->m});
    }
    n.m_sign = -m_sign;
    n.m_digits = m_digits.negated();
    return n;
}

void TrueValue::settle() {
    if (!m_radical) {
        m_sign = sgn(m_p);
        m_digits = significantDigits(m_p);
        m_beyondDouble = cmp(abs(m_p), largestDouble()) > 0;
        return;
    }
    const Radical& r = *m_radical;
    const int inner = signOfSurd(m_p, r.q, r.m);
    m_sign = r.root ? (inner > 0 ? (r.negative ? -1 : 1) : 0) : inner;

    // An irrational value lies on no rounding boundary, so a narrow enough interval settles
    // its digits; a cancelling p + q·√m only needs more bits before it does. The typed numbers
    // are bounded, and so is the precision they can need: far below the last step here.
    constexpr mpfr_prec_t LastPrecision = mpfr_prec_t(1) << 24;
    bool digitsSettled = false;
    int beyond = -1;
    for (mpfr_prec_t precision = 128; precision <= LastPrecision; precision *= 2) {
        DigitBounds bounds(precision);
        bounds.setRational(r.m);
        bounds.squareRoot();
        bounds.multiply(r.q);
        bounds.add(m_p);
        if (r.root)
            bounds.squareRoot();
        if (r.negative)
            bounds.negate();
        if (!digitsSettled)
            digitsSettled = agreedDigits(bounds, m_digits);
        // Only numbers of the size of the largest double need the closer look.
        if (digitsSettled && beyond < 0) {
            if (m_digits.exponent != 309)
                beyond = m_digits.exponent > 309 ? 1 : 0;
            else
                beyond = beyondDouble(bounds, m_sign);
        }
        if (digitsSettled && beyond >= 0)
            break;
    }
    m_beyondDouble = beyond > 0;
}

} // namespace velmora
