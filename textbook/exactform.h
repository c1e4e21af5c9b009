#pragma once

#include "numbers/truevalue.h"

#include <QChar>
#include <QString>

#include <gmpxx.h>

#include <chrono>
#include <vector>

namespace velmora::textbook {

// How long the search for square factors may take for one solution. A pasted 9E99 can make a
// radicand whose factors no trial division finds in time; its root is then written unsimplified.
class FactoringBudget {
public:
    explicit FactoringBudget(std::chrono::milliseconds allowed = std::chrono::milliseconds(50))
        : m_deadline(std::chrono::steady_clock::now() + allowed) {}
    bool exhausted() const { return std::chrono::steady_clock::now() >= m_deadline; }

private:
    std::chrono::steady_clock::time_point m_deadline;
};

// coefficient·√radicand; radicand 1 is a whole number.
struct RootTerm {
    mpz_class coefficient;
    mpz_class radicand;
};

// An exact real number as a textbook writes it:
// (t₁ + t₂ + …)/denominator, or, when nested, factor·√((t₁ + t₂ + …)/denominator).
// In simplest form every radicand but 1 is square-free, the denominator is positive and shares
// no factor with all the coefficients, and a sum has its whole-number term first.
struct ExactForm {
    std::vector<RootTerm> terms; // empty: zero
    mpz_class denominator = 1;
    bool nested = false;
    mpq_class factor = 1; // of a nested root
    // False when the square factors could not all be found in time: the form is still the
    // exact value, with a radicand that may hold a square.
    bool simplified = true;

    bool isRational() const {
        return !nested && terms.size() <= 1 && (terms.empty() || terms[0].radicand == 1);
    }
    mpq_class rational() const; // of a rational form
};

// n = outside²·inside for n > 0, with inside square-free when the budget allows (returns true),
// else with what was found so far (returns false).
bool splitSquare(const mpz_class& n, mpz_class& outside, mpz_class& inside,
                 const FactoringBudget& budget);

ExactForm simplestRational(const mpq_class& value);
// p + q·√m with m > 0.
ExactForm simplestSurd(const mpq_class& p, const mpq_class& q, const mpq_class& m,
                       const FactoringBudget& budget);
// sign·√(p + q·√m) of a p + q·√m ≥ 0 (q = 0: the root of a rational), denested when it equals
// √u ± √v with rational u and v.
ExactForm simplestRoot(int sign, const mpq_class& p, const mpq_class& q, const mpq_class& m,
                       const FactoringBudget& budget);

// The sign of the value: -1, 0 or 1.
int signOf(const ExactForm& form);

// The value rounded half away from zero to the given number of decimals, with U+2212 for a
// negative value and the separator given ("1,41"); a value that rounds to zero is written
// without a sign. Correctly rounded: exact for a rational, from narrowing intervals otherwise.
QString roundedDecimals(const ExactForm& form, int decimals, QChar separator,
                        QChar minus = QChar(0x2212));

// The plain ASCII form: integers, + - * / ( ) and sqrt(...), such as "(-3 - sqrt(65))/4".
QString asciiForm(const ExactForm& form);

// Whether a sum of two or more roots (no whole number) has only negative terms: it is written
// with its minus in front, −(√6 + √2)/2.
bool allRootsNegative(const ExactForm& form);

// A rational as "p" or "p/q".
QString rationalText(const mpq_class& value);

} // namespace velmora::textbook
