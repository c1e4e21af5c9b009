#pragma once

#include "algebra/equationparser.h"
#include "textbook/solution.h"

#include <variant>

namespace velmora::textbook {

// An equation typed as a book prints it ("(2x − 1)² = 9"), solved as the class does: the line as
// typed, the steps to the standard form, then the standard form solved as the equation page's
// equations are. A common factor xᵏ is taken out when what remains is linear, quadratic or
// biquadratic. The letter is the typed unknown's; decimals stay decimals when every typed number
// was one.
struct TypedSolution {
    Solution solution;
    Problem problem;    // the standard form solved (for the graph)
    bool solved = true; // false for an identity, a contradiction or a degree not solved here
};

// Refused lines: the reader's error, or the degree of an equation that is not linear, quadratic
// or biquadratic after xᵏ is taken out (its text from words.notSolved).
struct UnsolvedDegree {
    int degree = 0;
};
using TypedOutcome = std::variant<TypedSolution, EquationError, UnsolvedDegree>;

// method: as Problem::method, the class's own choice when empty.
TypedOutcome solveTyped(QStringView text, const Words& words, QChar separator, int decimals,
                        const QString& method = {});

// The line as typed, with the signs a book prints: − for '-', · for '*', superscripts for ^2…
QString tidyEquation(QStringView text);

} // namespace velmora::textbook
