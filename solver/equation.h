#pragma once

#include "numbers/exactvalue.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <gmpxx.h>

#include <array>
#include <vector>

namespace velmora {

enum class EquationType { Quadratic, Biquadratic };

// The coefficients exactly as typed.
struct Coefficients {
    mpq_class a, b, c;
};

// How the three coefficient texts were taken, checked in this order: an empty a, an a that is not
// a number, a zero a, then a b and a c that are not numbers. Empty b and c are 0.
struct CoefficientReading {
    enum Outcome { Accepted, MissingA, NotANumber, ZeroA };
    Outcome outcome = Accepted;
    char refusedLetter = 0; // NotANumber: 'a', 'b' or 'c'
    Coefficients coefficients;
    // Whether all three are numbers: always when Accepted; with a ZeroA, when b and c are (the
    // textbook view then solves the linear equation from these coefficients).
    bool complete = false;
};
// With ZeroAIs::Allowed a zero a is no refusal (the textbook view solves the linear equation).
enum class ZeroAIs { Refused, Allowed };
CoefficientReading readCoefficients(const std::array<QString, 3>& texts,
                                    const std::array<QChar, 3>& separators,
                                    ZeroAIs zeroA = ZeroAIs::Refused);

// An equation as the equation page read it, handed to the textbook view: the exact coefficients
// (a may be 0 there), the kind of equation, the substitution letter of the biquadratic one and
// the decimal separator it was typed with.
struct Equation {
    Coefficients coefficients;
    EquationType type = EquationType::Quadratic;
    QString letter = QStringLiteral("y");
    QChar separator = u',';
    // The unknown's letter: x on the page, any letter in a typed equation.
    QString unknown = QStringLiteral("x");
    // Whether numbers were typed as decimals (and none as a fraction), so that exact results
    // that are finite decimals are written as decimals too.
    bool decimalForms = false;
    // The method asked for ("discriminant", "factor", "square-root"); empty: the class's own
    // choice. The textbook view's solve uses it.
    QString method;
};

// The real roots of a·v² + b·v + c = 0 with a ≠ 0, all in the one radical √D:
// x₁ = (−b + √D)/2a and x₂ = (−b − √D)/2a when D > 0, x₁ = −b/2a when D = 0, none when D < 0.
struct QuadraticRoots {
    mpq_class d;
    std::vector<ExactValue> roots; // x₁, x₂
};
QuadraticRoots quadraticRoots(const Coefficients& coefficients);
// The same with D = b² − 4ac already worked out.
QuadraticRoots quadraticRoots(const Coefficients& coefficients, const mpq_class& d);

// The roots of a·x⁴ + b·x² + c = 0 from those of the equation in y = x²: ±√y of every y > 0 (in
// the order of y₁, y₂) and 0 for y = 0.
std::vector<ExactValue> backSubstituted(const std::vector<ExactValue>& ys);

// The numbers of one solve of a·x² + b·x + c = 0, or of a·x⁴ + b·x² + c = 0 through the
// substitution x² = y: the true values of the typed coefficients' arithmetic, each with the
// digits it is written with.
struct EquationNumbers {
    EquationType type = EquationType::Quadratic;
    ExactValue a, b, c;
    ExactValue bSquared; // b·b
    ExactValue fourAC;   // 4·a·c
    ExactValue d;        // b² − 4ac
    ExactValue twoA;     // 2·a
    ExactValue rootOfD;  // √D (D ≥ 0)
    ExactValue x1, x2;   // D > 0: (−b + √D) / 2a, (−b − √D) / 2a; D = 0: x1 = −b / 2a
    // The roots of the equation as the short answer lists them (biquadratic: back-substituted).
    std::vector<ExactValue> roots;
};

// Computes every number of the solve. a must be non-zero. Throws Failure("Floating point
// overflow") when a number the solution writes is beyond the double range, before anything is
// shown.
EquationNumbers solveEquation(const Coefficients& coefficients, EquationType type);

// What the window shows for a solve: D, the root fields and the detailed solution.
struct EquationText {
    QString discriminant;              // Edit4
    std::array<QString, 4> rootFields; // Edit5..Edit8; empty = stays inactive
    std::vector<QString> lines;        // the detailed solution; lines[0] is the equation line
    bool noRealRoots = false;          // D < 0: the "no real roots" message box follows
};

// The words of the answer line, in the user's language. The Russian ones are the defaults.
struct AnswerWords {
    QString answer = QStringLiteral("Ответ:");      // starts the line, followed by a space
    QString noRoots = QStringLiteral("нет корней"); // the answer when there is no real root
};

// Writes the solve out. letter is the substitution variable of the biquadratic equation, used
// exactly as given; the quadratic equation uses "x".
EquationText describeEquation(const EquationNumbers& numbers, const QString& letter,
                              QChar separator, const AnswerWords& words = {});

} // namespace velmora
