#pragma once

#include "solver/equation.h"
#include "textbook/exactform.h"
#include "textbook/formula.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora::textbook {

// What the textbook view solves: the equation as the page read it (a may be 0).
using Problem = Equation;

// The coefficients as the equation page reads them, except that a = 0 is accepted: the texts the
// page refuses are refused here too, in the same order.
CoefficientReading readProblemCoefficients(const std::array<QString, 3>& texts,
                                           const std::array<QChar, 3>& separators);

// The words of the solution in the interface language, from the language file
// (textbookwords.h). "%1" marks where the formula goes.
struct Words {
    QString let;
    QString oneRoot;
    QString noRealRoots;
    QString rejected;
    QString linear;
    QString noSolution;
    QString anyNumber;
    QString factored;
    QString check;
    QString answer;
    QString answerEach;
    QString answerJoin;
    QString noRoots;
    QString unsimplified;
    // The steps of a typed equation to its standard form (typedsolution.h).
    QString openBrackets;
    QString multiplyBoth; // %1: the number
    QString moveToLeft;
    QString collect;
    QString divideBoth; // %1: the number
    QString changeSigns;
    QString identity;
    QString contradiction;
    QString factorOut;
    QString zeroProduct;
};

struct Solution {
    Formula equation;           // the equation as typed, normalised
    std::vector<Formula> lines; // every line of the solution, the equation first
    // D of the equation (of the equation in the letter for the biquadratic one); none when a = 0.
    std::optional<mpq_class> discriminant;
    std::vector<ExactForm> roots; // the distinct real roots in x, ascending
    // The roots of the equation in the unknown the formula solves (x, or the biquadratic's
    // letter), x₁ then x₂; empty for a linear equation.
    std::vector<ExactValue> formulaRoots;
    // How the equation in the formula's unknown was solved: "discriminant", "factor" (a
    // common factor taken out), "square-root" (v² = −c/a) or "linear".
    QString method;
    // The standard form's coefficients, highest power first (a, b, c; for the biquadratic
    // equation a, 0, b, 0, c), without leading zeros.
    std::vector<mpq_class> coefficients;
    enum class Linear { No, OneRoot, NoSolution, AnyNumber };
    Linear linear = Linear::No;
    bool simplified = true;
};

// The methods that solve the problem's equation (in its letter for the biquadratic one), the
// class's own choice first: "factor" when c = 0, "square-root" when b = 0, and "discriminant";
// "linear" alone when a = 0.
QStringList methodsFor(const Problem& problem);

// Writes the solution. separator is the decimal separator of the numbers; decimals the number
// of decimals of the approximations ("≈ 1,27").
Solution solve(const Problem& problem, const Words& words, QChar separator, int decimals);

// The answer line: "Answer: x = −1 or x = 2." with the roots in their simplest forms, ascending.
Formula answerLine(const Solution& solution, const QString& unknown, const Words& words);

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
