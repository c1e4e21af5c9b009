#pragma once

#include <gmpxx.h>
#include <mpfr.h>

namespace velmora {

// Bounds [lo, hi] on a real number, each step rounded outwards, so the true value stays inside
// at any precision; a value is worked out by narrowing them until what is asked of it settles.
// The operations check what they need of their operands and throw std::domain_error when a
// caller breaks it: that is a fault in the caller, never an outcome of what was typed.
class Interval {
public:
    explicit Interval(mpfr_prec_t precision);
    Interval(const Interval& other);
    Interval& operator=(const Interval& other);
    ~Interval();

    mpfr_prec_t precision() const { return mpfr_get_prec(m_lo); }
    mpfr_srcptr lo() const { return m_lo; }
    mpfr_srcptr hi() const { return m_hi; }

    void setRational(const mpq_class& value);
    void setInteger(const mpz_class& value);

    // Of a value known to be ≥ 0 (a lower bound below zero is then only the interval's width);
    // throws when the upper bound is negative.
    void squareRoot();
    void multiply(const mpq_class& factor);
    void multiply(const mpz_class& factor);
    // Word-sized operands, with no allocation.
    void multiplySmall(long factor);
    void divideSmall(unsigned long positive);
    void addSmall(long term);
    // By a positive integer; throws for zero or a negative one.
    void divide(const mpz_class& positive);
    void add(const mpq_class& term);
    // A term that is a double exactly, such as ½.
    void add(double exact);
    void add(const Interval& other);
    void negate();

    // Each bound of a value ≥ 0 to its nearest whole number, halves upwards: bounds on
    // ⌊x + ½⌋. The precision must hold the whole numbers (it does for the scaled digits).
    void roundHalfUp();
    // -1 or 1 when both bounds lie on that side of zero, else 0 (not settled yet).
    int settledSign() const;
    // The bounds of |x| of a value whose sign has settled.
    void absolute();

private:
    void initialise(mpfr_prec_t precision);
    void release();

    // The bounds' digits live inside the object up to this many limbs each, so the many
    // short-lived intervals of an ordinary solve allocate nothing; larger ones on the heap.
    static constexpr int InlineLimbs = 4;
    mpfr_t m_lo;
    mpfr_t m_hi;
    bool m_inline = false;
    mp_limb_t m_limbs[2][InlineLimbs];
};

} // namespace velmora
