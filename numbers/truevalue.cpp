#include "numbers/truevalue.h"

#include "numbers/exactdecimal.h"

#include <mpfr.h>

#include <array>
#include <cfloat>
#include <cstring>
#include <utility>

namespace velmora {
namespace {

// An interval [lo, hi] that holds the value, with bounds rounded outwards.
class Interval {
public:
    explicit Interval(mpfr_prec_t precision) {
        mpfr_init2(lo, precision);
        mpfr_init2(hi, precision);
    }
    ~Interval() {
        mpfr_clear(lo);
        mpfr_clear(hi);
    }
    Interval(const Interval&) = delete;
    Interval& operator=(const Interval&) = delete;

    void setRational(const mpq_class& value) {
        mpfr_set_q(lo, value.get_mpq_t(), MPFR_RNDD);
        mpfr_set_q(hi, value.get_mpq_t(), MPFR_RNDU);
    }
    // Of a value known to be ≥ 0: a lower bound below zero is only the interval's width.
    void squareRoot() {
        if (mpfr_sgn(lo) < 0)
            mpfr_set_zero(lo, 1);
        mpfr_sqrt(lo, lo, MPFR_RNDD);
        mpfr_sqrt(hi, hi, MPFR_RNDU);
    }
    void multiply(const mpq_class& factor) {
        if (sgn(factor) < 0)
            mpfr_swap(lo, hi);
        mpfr_mul_q(lo, lo, factor.get_mpq_t(), MPFR_RNDD);
        mpfr_mul_q(hi, hi, factor.get_mpq_t(), MPFR_RNDU);
    }
    void add(const mpq_class& term) {
        mpfr_add_q(lo, lo, term.get_mpq_t(), MPFR_RNDD);
        mpfr_add_q(hi, hi, term.get_mpq_t(), MPFR_RNDU);
    }
    void negate() {
        mpfr_swap(lo, hi);
        mpfr_neg(lo, lo, MPFR_RNDD);
        mpfr_neg(hi, hi, MPFR_RNDU);
    }

    mpfr_t lo;
    mpfr_t hi;
};

// The 18 digits both bounds round to, when they agree.
bool agreedDigits(const Interval& bounds, SignificantDigits& out) {
    std::array<char, 24> low{};
    std::array<char, 24> high{};
    mpfr_exp_t lowExponent = 0;
    mpfr_exp_t highExponent = 0;
    mpfr_get_str(low.data(), &lowExponent, 10, 18, bounds.lo, MPFR_RNDN);
    mpfr_get_str(high.data(), &highExponent, 10, 18, bounds.hi, MPFR_RNDN);
    if (lowExponent != highExponent || std::strcmp(low.data(), high.data()) != 0)
        return false;
    const bool negative = low[0] == '-';
    const char* digits = low.data() + (negative ? 1 : 0);
    if (digits[0] == '0') // both bounds zero: the value is not settled yet
        return false;
    out.zero = false;
    out.negative = negative;
    std::memcpy(out.digits.data(), digits, out.digits.size());
    out.exponent = lowExponent;
    return true;
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

int signOf(const Surd& s) {
    const int p = sgn(s.p);
    const int q = sgn(s.q);
    if (q == 0 || p == q)
        return p != 0 ? p : q;
    if (p == 0)
        return q;
    // Opposite signs: the larger of p² and q²·m wins.
    const int cmpSquares = cmp(s.p * s.p, s.q * s.q * s.m);
    return cmpSquares > 0 ? p : q;
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

TrueValue::TrueValue(const mpq_class& rational) {
    m_surd.p = rational;
    settle();
}

TrueValue TrueValue::surd(const mpq_class& p, const mpq_class& q, const mpq_class& m) {
    if (sgn(q) == 0 || isSquare(m))
        return TrueValue(p + q * squareRootOfSquare(m));
    TrueValue value;
    value.m_surd = {p, q, m};
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
    root.m_surd = v.m_surd;
    root.m_root = true;
    root.settle();
    return root;
}

TrueValue TrueValue::negated() const {
    TrueValue n = *this;
    if (m_root) {
        n.m_negative = !m_negative;
    } else {
        n.m_surd.p = -m_surd.p;
        n.m_surd.q = -m_surd.q;
    }
    n.m_sign = -m_sign;
    n.m_digits = m_digits.negated();
    return n;
}

void TrueValue::settle() {
    const int inner = signOf(m_surd);
    m_sign = m_root ? (inner > 0 ? (m_negative ? -1 : 1) : 0) : inner;
    if (isRational()) {
        m_digits = significantDigits(m_surd.p);
        m_beyondDouble = cmp(abs(m_surd.p), largestDouble()) > 0;
        return;
    }

    // An irrational value lies on no rounding boundary, so a narrow enough interval settles
    // its digits; a cancelling p + q·√m only needs more bits before it does. The typed numbers
    // are bounded, and so is the precision they can need: far below the last step here.
    constexpr mpfr_prec_t LastPrecision = mpfr_prec_t(1) << 24;
    bool digitsSettled = false;
    int beyond = -1;
    for (mpfr_prec_t precision = 128; precision <= LastPrecision; precision *= 2) {
        Interval bounds(precision);
        bounds.setRational(m_surd.m);
        bounds.squareRoot();
        bounds.multiply(m_surd.q);
        bounds.add(m_surd.p);
        if (m_root)
            bounds.squareRoot();
        if (m_negative)
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
