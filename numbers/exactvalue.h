#pragma once

#include "numbers/interval.h"
#include "numbers/numberformat.h"
#include "numbers/squarefactors.h"

#include <gmpxx.h>

#include <memory>
#include <mutex>
#include <optional>

namespace velmora {

// √m of a rational m > 0 that is not the square of a rational. The roots of one equation hold
// the same one, so its bounds and its square factors are worked out once for all of them.
// Safe to share between threads.
class Radical {
public:
    // Throws std::domain_error when m ≤ 0 or m is a square.
    static std::shared_ptr<const Radical> of(const mpq_class& m);

    const mpq_class& radicand() const { return m_radicand; }
    // Bounds on √m at the given precision or finer.
    Interval bounds(mpfr_prec_t precision) const;
    // The square factors of m's numerator·denominator (√(P/Q) = √(P·Q)/Q), found on first use.
    const SquareSplit& squareSplit() const;

    explicit Radical(const mpq_class& m) : m_radicand(m) {}

private:
    mpq_class m_radicand;
    mutable std::mutex m_mutex;
    mutable std::optional<Interval> m_bounds;
    mutable std::optional<SquareSplit> m_split;
};

// An exact real number as the solves make them: a rational, p + q·√m, or ±√(p + q·√m) of a
// positive p + q·√m. It knows its exact sign, compares exactly, and is written from its true
// value: significant digits and fixed decimals correctly rounded half up, the nearest double.
// Irrational values are narrowed in intervals until what is asked of them settles; that ends
// at a fixed precision with a Failure, never a silent wrong digit.
class ExactValue {
public:
    enum class Shape { Rational, Surd, Root };

    ExactValue() = default; // zero
    explicit ExactValue(const mpq_class& rational) : m_p(rational), m_sign(sgn(m_p)) {}
    explicit ExactValue(mpq_class&& rational) : m_p(std::move(rational)), m_sign(sgn(m_p)) {}
    // p + q·√m; rational when q = 0 or m is a square.
    static ExactValue surd(const mpq_class& p, const mpq_class& q, const mpq_class& m);
    static ExactValue surd(const mpq_class& p, const mpq_class& q,
                           std::shared_ptr<const Radical> radical);
    // √v of a rational or a surd v ≥ 0; throws std::domain_error for a negative one.
    static ExactValue squareRoot(const ExactValue& v);

    ExactValue negated() const;

    Shape shape() const;
    bool isRational() const { return !m_irrational; }
    // The value when rational; else p of p + q·√m, or of the root's p + q·√m.
    const mpq_class& p() const { return m_p; }
    // q and √m of a surd or of the root's inner surd (q = 0 and no radical for a rational).
    mpq_class q() const;
    const std::shared_ptr<const Radical>& radical() const;
    // ±√(inner()) for a root: the sign, and the surd (or rational) under the root.
    ExactValue inner() const;

    int sign() const { return m_sign; }
    // -1, 0 or 1 as this value is below, equal to or above the other, exactly.
    int compare(const ExactValue& other) const;
    bool operator==(const ExactValue& other) const { return compare(other) == 0; }

    // The general format's 15 significant digits, rounded once from the true value.
    SignificantDigits digits() const;
    // |value| with `count` significant digits: 0.d₁…d_count × 10^exponent, d₁ ≠ 0, rounded half
    // up; none for zero.
    struct Significant {
        mpz_class digits; // count digits
        long exponent = 0;
    };
    std::optional<Significant> significant(int count) const;
    // ⌊|value|·10^decimals + ½⌋: |value| rounded half up to that many decimals.
    mpz_class scaled(int decimals) const;
    double nearestDouble() const;
    // Whether the magnitude exceeds the largest finite double.
    bool exceedsDoubleRange() const;

    // Bounds on the value at the given precision or finer.
    Interval bounds(mpfr_prec_t precision) const;

private:
    // What a value and its negation share: |value|'s general digits, worked out once.
    struct Magnitude {
        std::mutex mutex;
        std::optional<SignificantDigits> general; // of |value|
    };
    struct Irrational {
        Irrational(mpq_class q, std::shared_ptr<const Radical> radical, bool root, bool negative,
                   std::shared_ptr<const Irrational> original = {})
            : q(std::move(q)), radical(std::move(radical)), root(root), negative(negative),
              original(std::move(original)) {}
        Magnitude& magnitude() const { return original ? original->own : own; }

        mpq_class q;
        std::shared_ptr<const Radical> radical;
        bool root = false;     // the value is ±√(p + q·√m)
        bool negative = false; // of a root
        // The digits: this value's own, or, for a negation, those of the value it was made from.
        mutable Magnitude own;
        std::shared_ptr<const Irrational> original;
    };

    template <typename Attempt> auto narrowed(Attempt attempt) const;
    SignificantDigits generalDigits() const; // of |value|, irrational
    mpfr_prec_t startingPrecision() const;

    mpq_class m_p;
    std::shared_ptr<const Irrational> m_irrational;
    int m_sign = 0;
};

} // namespace velmora
