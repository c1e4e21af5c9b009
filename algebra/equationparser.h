#pragma once

#include "algebra/polynomial.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <variant>

namespace velmora {

// What a line may ask for, each checked before the work it would take is done.
// The most characters in a line.
constexpr int MaxEquationLength = 500;
// The most digits in one typed number, both sides of its separator counted.
constexpr int MaxNumberDigits = 30;
// The highest power of an expression without the unknown; one with the unknown may be raised
// only as far as MaxPolynomialDegree allows.
constexpr int MaxNumberExponent = 20;
// The most brackets open at once.
constexpr int MaxBracketDepth = 50;
// The degree of every result along the way is at most MaxPolynomialDegree, and its numbers take
// at most MaxCoefficientBits bits (polynomial.h).

// Why a line was refused.
struct EquationError {
    enum class Kind {
        UnexpectedCharacter,  // a character that cannot stand where it is
        UnexpectedEnd,        // the line ends where a number, the unknown or '(' should follow
        MissingBracket,       // a '(' without its ')'
        NumberAfterFactor,    // a number right after the unknown, a ')' or another number: "x2"
        UnknownInDenominator, // a division by an expression with the unknown
        DivisionByZero,
        TwoUnknowns, // a second letter
        MoreThanOneEquals,
        MissingEquals,    // no '=' in the line
        EmptySide,        // nothing on one side of '='
        DegreeTooHigh,    // a result of degree above MaxPolynomialDegree
        ExponentTooLarge, // a power above MaxNumberExponent of an expression without the unknown
        ZeroToPowerZero,
        NumberTooLong,   // more than MaxNumberDigits digits
        NumbersTooLarge, // a result with numbers above MaxCoefficientBits bits
        NestingTooDeep,  // more than MaxBracketDepth brackets open
        InputTooLong,    // more than MaxEquationLength characters
    };

    Kind kind = Kind::UnexpectedCharacter;
    // Where: the 1-based index of the offending character, counted in Unicode characters (a
    // character outside the Basic Multilingual Plane, two QChars, counts once), or the length
    // + 1 for the end of the line.
    int position = 1;
    // The character at that position, empty at the end of the line.
    QString character;
    // For TwoUnknowns: the first letter (the second is `character`).
    QChar firstUnknown;

    bool operator==(const EquationError&) const = default;
};

// A line read: both sides as typed, and left − right, the polynomial of the standard form
// P(x) = 0 before it is normalised.
struct ParsedEquation {
    Polynomial left;
    Polynomial right;
    Polynomial difference;
    // The unknown's letter; x when the line names none ("2 = 3").
    QChar letter = u'x';
    // How the numbers were typed, for the worked solution to write its numbers alike. Exponents
    // and the unseen 1 of "x" are not typed numbers, nor are zeros (the 0 of "… = 0" reads the
    // same whichever way the others are written).
    bool anyDecimal = false;  // some number holds a separator: "0,5", "2.0"
    bool allDecimal = false;  // every typed number does, and there is at least one
    bool anyFraction = false; // a whole number divided by a whole number with '/': "1/2"
};

using EquationParse = std::variant<ParsedEquation, EquationError>;

// Reads an equation as a school book prints it, in one unknown: one Latin letter, case counting
// (x and X are two). The grammar, with spaces of any kind (no-break and thin ones too) allowed
// between its parts:
//   equation   = expression '=' expression
//   expression = ['+' | '-'] term {('+' | '-') term}
//   term       = power {(('·' | '*' | '×' | '/' | ':' | '÷') power) | implicit}
//   implicit   = a power that starts with the letter or '(': 2x, x(x + 1), (x + 1)(x − 2)
//   power      = primary ['^' digits | superscript digits ⁰¹²³⁴⁵⁶⁷⁸⁹]
//   primary    = number | letter | '(' expression ')'
//   number     = digits [(',' | '.') digits]
// '−' (U+2212) and '–' (U+2013) are minus signs too. Products and quotients go left to right, so
// "3/4x" is ¾·x, as polynomialText writes it. A divisor must be free of the unknown and not zero.
// Numbers have no exponent part, so "e" is a letter like any other. A number never follows
// another factor without an operator between: "x2" and "2 3" are refused.
EquationParse parseEquation(QStringView text);

// The error in English: "unexpected ')' at 7", "two unknowns: x and y".
QString equationErrorText(const EquationError& error);
// A refused character as a message names it: itself, or its code ("U+0007") for a control
// character or any other that shows nothing by itself.
QString shownCharacter(const QString& character);

} // namespace velmora
