#include "numbers/interval.h"

#include <stdexcept>

namespace velmora {

Interval::Interval(mpfr_prec_t precision) {
    mpfr_init2(m_lo, precision);
    mpfr_init2(m_hi, precision);
    mpfr_set_zero(m_lo, 1);
    mpfr_set_zero(m_hi, 1);
}

Interval::Interval(const Interval& other) {
    mpfr_init2(m_lo, other.precision());
    mpfr_init2(m_hi, other.precision());
    mpfr_set(m_lo, other.m_lo, MPFR_RNDD);
    mpfr_set(m_hi, other.m_hi, MPFR_RNDU);
}

Interval& Interval::operator=(const Interval& other) {
    if (this != &other) {
        mpfr_set_prec(m_lo, other.precision());
        mpfr_set_prec(m_hi, other.precision());
        mpfr_set(m_lo, other.m_lo, MPFR_RNDD);
        mpfr_set(m_hi, other.m_hi, MPFR_RNDU);
    }
    return *this;
}

Interval::~Interval() {
    mpfr_clear(m_lo);
    mpfr_clear(m_hi);
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
