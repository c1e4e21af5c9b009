#pragma once

#include "numbers/exactvalue.h"

#include <QChar>
#include <QString>

#include <gmpxx.h>

#include <optional>
#include <vector>

namespace velmora::textbook {

// coefficient·√radicand; radicand 1 is a whole number.
struct RootTerm {
    mpz_class coefficient;
    mpz_class radicand;
};

// An exact value as a textbook writes it:
// (t₁ + t₂ + …)/denominator, or, when nested, factor·√((t₁ + t₂ + …)/denominator).
// In simplest form every radicand but 1 is square-free, the denominator is positive and shares
// no factor with all the coefficients, and a sum has its whole-number term first.
struct ExactForm {
    ExactValue value;            // what the form writes: its sign, order and decimals come from it
    std::vector<RootTerm> terms; // empty: zero
    mpz_class denominator = 1;
    bool nested = false;
    mpq_class factor = 1; // of a nested root
    // False when a radicand kept a part that the bounded search for square factors could not
    // prove square-free: the form is still the exact value, but may not be the simplest.
    bool simplified = true;
    // Where the typed numbers were decimals, a rational that is a finite decimal is written as
    // one, with this separator ("−0,7" rather than "−7/10").
    std::optional<QChar> decimalSeparator;

    bool isRational() const {
        return !nested && terms.size() <= 1 && (terms.empty() || terms[0].radicand == 1);
    }
    mpq_class rational() const; // of a rational form
};

// The simplest form of an exact value. The square factors of a surd's radicand are those its
// radical found once for every value that holds it.
ExactForm simplest(const ExactValue& value);

// A difference of roots starts with its positive term, as the class writes it: (√2 − √6)/2
// rather than (−√6 + √2)/2. A sum with a whole number keeps it first: (−3 + √65)/4.
void putPositiveFirst(ExactForm& form);

// Whether the form is written as a decimal: a rational finite decimal with a decimal separator.
bool writtenAsDecimal(const ExactForm& form);

// The plain ASCII form: integers, + - * / ( ) and sqrt(...), such as "(-3 - sqrt(65))/4".
QString asciiForm(const ExactForm& form);

// Whether a sum of two or more roots (no whole number) has only negative terms: it is written
// with its minus in front, −(√6 + √2)/2.
bool allRootsNegative(const ExactForm& form);

// A rational as "p" or "p/q".
QString rationalText(const mpq_class& value);

} // namespace velmora::textbook
