#pragma once

#include "numbers/numberformat.h"

#include <gmpxx.h>

#include <memory>

namespace velmora {

// p + q·√m, with exact rationals p, q and m > 0 that is no square of a rational when q ≠ 0:
// the form of every root of a quadratic with rational coefficients.
struct Surd {
    mpq_class p;
    mpq_class q;
    mpq_class m;
};

// The sign of a surd, decided exactly: -1, 0 or 1.
int signOf(const Surd& surd);

// Whether a rational is the square of a rational, and its root when it is (value ≥ 0).
bool isSquare(const mpq_class& value);
mpq_class squareRootOfSquare(const mpq_class& value);

// A real number a solve writes: a rational, a surd, or ± the square root of a positive surd.
// It knows its exact sign and its 18 correctly rounded significant digits, worked out to as
// much precision as they need, so what is written from it is the true value's rounding.
class TrueValue {
public:
    TrueValue() = default;
    explicit TrueValue(const mpq_class& rational);
    // p + q·√m; rational when q = 0 or m is a square.
    static TrueValue surd(const mpq_class& p, const mpq_class& q, const mpq_class& m);
    // √v of a value v ≥ 0 that is rational or a surd.
    static TrueValue squareRoot(const TrueValue& v);

    TrueValue negated() const;
    int sign() const { return m_sign; }
    bool isRational() const { return !m_radical; }
    // The exact value when isRational(); else the rational part p of p + q·√m.
    const mpq_class& rational() const { return m_p; }
    // The value is ±√(surd()) when isSquareRoot(), else surd() itself.
    bool isSquareRoot() const { return m_radical && m_radical->root; }
    Surd surd() const;

    const SignificantDigits& digits() const { return m_digits; }
    // Whether the magnitude exceeds the largest finite double.
    bool exceedsDoubleRange() const { return m_beyondDouble; }

private:
    // What an irrational value has besides p; shared between copies, never changed.
    struct Radical {
        mpq_class q;
        mpq_class m;
        bool root = false;     // the value is ±√(p + q·√m)
        bool negative = false; // of a square root
    };

    void settle();

    mpq_class m_p;
    std::shared_ptr<const Radical> m_radical;
    int m_sign = 0;
    SignificantDigits m_digits;
    bool m_beyondDouble = false;
};

} // namespace velmora
