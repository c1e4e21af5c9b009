#pragma once

#include "solver/equation.h"
#include "textbook/exactform.h"
#include "textbook/formula.h"

#include <QChar>
#include <QString>

#include <optional>
#include <vector>

namespace velmora::textbook {

// What the textbook view solves: the exact coefficients (a may be 0), the kind of equation and
// the substitution letter of the biquadratic one.
struct Problem {
    Coefficients coefficients;
    EquationType type = EquationType::Quadratic;
    QString letter = QStringLiteral("t");
};

// The coefficients as the equation page reads them, except that a = 0 is accepted: the texts the
// page refuses are refused here too, in the same order.
CoefficientReading readProblemCoefficients(const std::array<QString, 3>& texts,
                                           const std::array<QChar, 3>& separators);

// The words of the solution in the interface language (English here; the window and the
// command line take them from the language file). "%1" marks where the formula goes.
struct Words {
    QString let = QStringLiteral("Let");
    QString oneRoot = QStringLiteral("one root");
    QString noRealRoots = QStringLiteral("no real roots");
    QString rejected = QStringLiteral("rejected, since");
    QString linear = QStringLiteral("the equation is linear");
    QString noSolution = QStringLiteral("no solution");
    QString anyNumber = QStringLiteral(" is any number");
    QString factored = QStringLiteral("Factored form:");
    QString check = QStringLiteral("Check by Vieta's formulas:");
    QString answer = QStringLiteral("Answer: %1.");
    QString answerEach = QStringLiteral("x = %1");
    QString answerJoin = QStringLiteral(" or ");
    QString noRoots = QStringLiteral("no real roots");
    QString unsimplified =
        QStringLiteral("Some numbers are too large to simplify quickly; their roots are "
                       "exact but not in simplest form.");
};

struct Solution {
    Formula equation;           // the equation as typed, normalised
    std::vector<Formula> lines; // every line of the solution, the equation first
    // D of the equation (of the equation in the letter for the biquadratic one); none when a = 0.
    std::optional<mpq_class> discriminant;
    std::vector<ExactForm> roots; // the distinct real roots in x, ascending
    enum class Linear { No, OneRoot, NoSolution, AnyNumber };
    Linear linear = Linear::No;
    bool simplified = true;
};

// Writes the solution. separator is the decimal separator of the numbers; decimals the number
// of decimals of the approximations ("≈ 1,27").
Solution solve(const Problem& problem, const Words& words, QChar separator, int decimals,
               const FactoringBudget& budget = FactoringBudget());

// One line per line of the solution, in Unicode.
QString solutionText(const Solution& solution);
// The lines as an amsmath align* environment.
QString solutionLatex(const Solution& solution);
// {"equation", "discriminant", "roots", "approximations", "simplified", "lines"}: the roots in
// the ASCII grammar of asciiForm, the approximations with a decimal point.
QString solutionJson(const Solution& solution, int decimals);

// An exact rational with the separator: a finite decimal as decimals ("0,25", "−3"), any other
// as a reduced fraction ("1/3").
QString numberText(const mpq_class& value, QChar separator);

// The formula of an exact form; plusMinus writes the sign of its last term as "±".
Formula formulaOf(const ExactForm& form, bool plusMinus = false);

} // namespace velmora::textbook
