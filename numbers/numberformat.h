#pragma once

#include <QChar>
#include <QString>

#include <array>

namespace velmora {

// A non-zero number rounded to 18 significant decimal digits: 0.d₁d₂…d₁₈ × 10^exponent with
// d₁ ≠ 0. Every number the solver writes passes through this form, whether it came from a
// double or from exact arithmetic.
struct SignificantDigits {
    bool zero = true;
    bool negative = false;
    std::array<char, 18> digits{}; // '0'..'9'
    long exponent = 0;

    SignificantDigits negated() const {
        SignificantDigits n = *this;
        n.negative = !zero && !negative;
        return n;
    }
};

// The 18-digit expansion of a finite double, correctly rounded.
SignificantDigits significantDigits(double value);

// The general number format of every number the solver shows: 15 significant digits (rounded
// half up from the 18-digit expansion), trailing zeros dropped, fixed notation for
// 0.0001 <= |v| < 1e15 and "dE[-]x" otherwise; zero of either sign is "0".
void appendGeneral(QString& out, const SignificantDigits& number, QChar separator);

QString formatGeneral(const SignificantDigits& number, QChar separator);

// The same for a finite double.
QString formatGeneral(double value, QChar separator);
void appendGeneral(QString& out, double value, QChar separator);

} // namespace velmora
