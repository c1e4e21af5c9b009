#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <vector>

namespace velmora {

enum class EquationType { Quadratic, Biquadratic };

// The numbers of one solve of a·x² + b·x + c = 0, or of a·x⁴ + b·x² + c = 0 through the
// substitution x² = y. Every intermediate is a double, formed in the order written here.
struct EquationNumbers {
    EquationType type = EquationType::Quadratic;
    double a = 0, b = 0, c = 0;
    double bSquared = 0; // b·b
    double fourAC = 0;   // (4·a)·c
    double d = 0;        // b·b − (4·a)·c
    double twoA = 0;     // 2·a
    double rootOfD = 0;  // √D (D ≥ 0)
    double x1 = 0, x2 = 0; // D > 0: (√D + (−b)) / (2·a), ((−b) − √D) / (2·a); D = 0: x1 only
    // The roots of the equation as the short answer lists them (biquadratic: back-substituted).
    std::vector<double> roots;
};

// Computes every number of the solve. a must be non-zero. Throws Failure("Floating point
// overflow") when any result leaves the double range, before anything is shown.
EquationNumbers solveEquation(double a, double b, double c, EquationType type);

// What the window shows for a solve besides D: the root fields and the detailed solution.
struct EquationText {
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
