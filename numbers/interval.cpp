#include "numbers/interval.h"

#include <stdexcept>

namespace velmora {

Interval::Interval(mpfr_prec_t precision) {
    initialise(precision);
}

Interval::Interval(const Interval& other) {
    initialise(other.precision());
    mpfr_set(m_lo, other.m_lo, MPFR_RNDD);
    mpfr_set(m_hi, other.m_hi, MPFR_RNDU);
}

Interval& Interval::operator=(const Interval& other) {
    if (this != &other) {
        release();
        initialise(other.precision());
        mpfr_set(m_lo, other.m_lo, MPFR_RNDD);
        mpfr_set(m_hi, other.m_hi, MPFR_RNDU);
    }
    return *this;
}

Interval::~Interval() {
    release();
}

void Interval::initialise(mpfr_prec_t precision) {
    m_inline = mpfr_custom_get_size(precision) <= sizeof(m_limbs[0]);
    if (m_inline) {
        mpfr_custom_init(m_limbs[0], precision);
        mpfr_custom_init(m_limbs[1], precision);
        mpfr_custom_init_set(m_lo, MPFR_ZERO_KIND, 0, precision, m_limbs[0]);
        mpfr_custom_init_set(m_hi, MPFR_ZERO_KIND, 0, precision, m_limbs[1]);
    } else {
        mpfr_init2(m_lo, precision);
        mpfr_init2(m_hi, precision);
        mpfr_set_zero(m_lo, 1);
        mpfr_set_zero(m_hi, 1);
    }
}

void Interval::release() {
    if (!m_inline) {
        mpfr_clear(m_lo);
        mpfr_clear(m_hi);
    }
}

void Interval::setRational(const mpq_class& value) {
    mpfr_set_q(m_lo, value.get_mpq_t(), MPFR_RNDD);
    mpfr_set_q(m_hi, value.get_mpq_t(), MPFR_RNDU);
}

void Interval::setInteger(const mpz_class& value) {
    mpfr_set_z(m_lo, value.get_mpz_t(), MPFR_RNDD);
    mpfr_set_z(m_hi, value.get_mpz_t(), MPFR_RNDU);
}

void Interval::squareRoot() {
    if (mpfr_sgn(m_hi) < 0)
        throw std::domain_error("square root of an interval below zero");
    if (mpfr_sgn(m_lo) < 0)
        mpfr_set_zero(m_lo, 1);
    mpfr_sqrt(m_lo, m_lo, MPFR_RNDD);
    mpfr_sqrt(m_hi, m_hi, MPFR_RNDU);
}

void Interval::multiply(const mpq_class& factor) {
    if (sgn(factor) < 0)
        mpfr_swap(m_lo, m_hi);
    mpfr_mul_q(m_lo, m_lo, factor.get_mpq_t(), MPFR_RNDD);
    mpfr_mul_q(m_hi, m_hi, factor.get_mpq_t(), MPFR_RNDU);
}

void Interval::multiply(const mpz_class& factor) {
    if (sgn(factor) < 0)
        mpfr_swap(m_lo, m_hi);
    mpfr_mul_z(m_lo, m_lo, factor.get_mpz_t(), MPFR_RNDD);
    mpfr_mul_z(m_hi, m_hi, factor.get_mpz_t(), MPFR_RNDU);
}

void Interval::multiplySmall(long factor) {
    if (factor < 0)
        mpfr_swap(m_lo, m_hi);
    mpfr_mul_si(m_lo, m_lo, factor, MPFR_RNDD);
    mpfr_mul_si(m_hi, m_hi, factor, MPFR_RNDU);
}

void Interval::divideSmall(unsigned long positive) {
    if (positive == 0)
        throw std::domain_error("interval divided by zero");
    mpfr_div_ui(m_lo, m_lo, positive, MPFR_RNDD);
    mpfr_div_ui(m_hi, m_hi, positive, MPFR_RNDU);
}

void Interval::addSmall(long term) {
    mpfr_add_si(m_lo, m_lo, term, MPFR_RNDD);
    mpfr_add_si(m_hi, m_hi, term, MPFR_RNDU);
}

void Interval::divide(const mpz_class& positive) {
    if (sgn(positive) <= 0)
        throw std::domain_error("interval divided by a number that is not positive");
    mpfr_div_z(m_lo, m_lo, positive.get_mpz_t(), MPFR_RNDD);
    mpfr_div_z(m_hi, m_hi, positive.get_mpz_t(), MPFR_RNDU);
}

void Interval::add(const mpq_class& term) {
    mpfr_add_q(m_lo, m_lo, term.get_mpq_t(), MPFR_RNDD);
    mpfr_add_q(m_hi, m_hi, term.get_mpq_t(), MPFR_RNDU);
}

void Interval::add(double exact) {
    mpfr_add_d(m_lo, m_lo, exact, MPFR_RNDD);
    mpfr_add_d(m_hi, m_hi, exact, MPFR_RNDU);
}

void Interval::add(const Interval& other) {
    mpfr_add(m_lo, m_lo, other.m_lo, MPFR_RNDD);
    mpfr_add(m_hi, m_hi, other.m_hi, MPFR_RNDU);
}

void Interval::negate() {
    mpfr_swap(m_lo, m_hi);
    mpfr_neg(m_lo, m_lo, MPFR_RNDD);
    mpfr_neg(m_hi, m_hi, MPFR_RNDU);
}

void Interval::roundHalfUp() {
    if (mpfr_sgn(m_lo) < 0)
        throw std::domain_error("rounding halves upwards an interval below zero");
    // mpfr_round sends halves away from zero, which is upwards here; a bound too large for the
    // precision to hold its units is left as it is, and so never settles a rounding.
    mpfr_round(m_lo, m_lo);
    mpfr_round(m_hi, m_hi);
}

int Interval::settledSign() const {
    if (mpfr_sgn(m_lo) > 0)
        return 1;
    if (mpfr_sgn(m_hi) < 0)
        return -1;
    return 0;
}

void Interval::absolute() {
    const int sign = settledSign();
    if (sign == 0)
        throw std::domain_error("absolute value of an interval whose sign has not settled");
    if (sign < 0)
        negate();
}

} // namespace velmora
