#pragma once

#include "algebra/equationparser.h"

#include <vector>

namespace velmora {

// A term c·x^power of a line that shows its terms as they stand, before like terms are collected.
struct Term {
    mpq_class coefficient;
    int power = 0;
};

// One step of bringing a typed equation to the standard form P(x) = 0, as a textbook shows it.
struct FormStep {
    enum class Kind {
        OpenBrackets, // both sides with their brackets opened, products and powers worked out
        MultiplyBoth, // both sides times `factor`, the least common denominator of their numbers
        MoveToLeft,   // every term on the left and 0 on the right: `terms` as they stand
        CollectTerms, // like terms collected
        DivideBoth,   // both sides divided by `factor`: a common factor, negative to make a > 0
        ChangeSigns,  // both sides times −1, so that the highest power's coefficient is positive
    };
    Kind kind = Kind::OpenBrackets;
    mpq_class factor;
    Polynomial left, right;  // the equation after the step
    std::vector<Term> terms; // MoveToLeft: the left side's terms, then the right side's, turned
};

// The way from a typed equation to P(x) = 0 and what P is.
struct StandardForm {
    std::vector<FormStep> steps;
    Polynomial polynomial; // P after every step
    // An identity (P = 0: every number solves it), a contradiction (P a number other than 0: none
    // does), or an equation to solve.
    enum class Outcome { Equation, Identity, Contradiction };
    Outcome outcome = Outcome::Equation;
    // The highest k for which x^k divides P; 0 for an identity or a contradiction.
    int lowestPower = 0;
};

// The steps a class takes: brackets opened when the line had any; fractions cleared with the
// least common denominator unless every typed number was a decimal (those stay decimals); every
// term moved to the left and like terms collected; whole coefficients divided by their greatest
// common factor, by its negative when the highest power's coefficient is negative, and
// otherwise a negative highest coefficient made positive by −1.
StandardForm standardForm(const ParsedEquation& parsed, bool bracketsTyped);

// The non-zero terms of a polynomial, highest power first.
std::vector<Term> termsOf(const Polynomial& polynomial);

} // namespace velmora
