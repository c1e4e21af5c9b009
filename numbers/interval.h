#pragma once

#include <gmpxx.h>
#include <mpfr.h>

namespace velmora {

// Bounds [lo, hi] on a real number, each step rounded outwards, so the true value stays inside
// at any precision; a value is worked out by narrowing them until what is asked of it settles.
class Interval {
public:
    explicit Interval(mpfr_prec_t precision) {
        mpfr_init2(lo, precision);
        mpfr_init2(hi, precision);
        mpfr_set_zero(lo, 1);
        mpfr_set_zero(hi, 1);
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
    void setInteger(const mpz_class& value) {
        mpfr_set_z(lo, value.get_mpz_t(), MPFR_RNDD);
        mpfr_set_z(hi, value.get_mpz_t(), MPFR_RNDU);
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
    void multiply(const mpz_class& factor) {
        if (sgn(factor) < 0)
            mpfr_swap(lo, hi);
        mpfr_mul_z(lo, lo, factor.get_mpz_t(), MPFR_RNDD);
        mpfr_mul_z(hi, hi, factor.get_mpz_t(), MPFR_RNDU);
    }
    void divide(const mpz_class& positive) {
        mpfr_div_z(lo, lo, positive.get_mpz_t(), MPFR_RNDD);
        mpfr_div_z(hi, hi, positive.get_mpz_t(), MPFR_RNDU);
    }
    void add(const mpq_class& term) {
        mpfr_add_q(lo, lo, term.get_mpq_t(), MPFR_RNDD);
        mpfr_add_q(hi, hi, term.get_mpq_t(), MPFR_RNDU);
    }
    void add(const Interval& other) {
        mpfr_add(lo, lo, other.lo, MPFR_RNDD);
        mpfr_add(hi, hi, other.hi, MPFR_RNDU);
    }
    void negate() {
        mpfr_swap(lo, hi);
        mpfr_neg(lo, lo, MPFR_RNDD);
        mpfr_neg(hi, hi, MPFR_RNDU);
    }

    mpfr_t lo;
    mpfr_t hi;
};

} // namespace velmora
