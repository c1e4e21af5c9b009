#pragma once

#include <QChar>
#include <QString>

#include <array>

namespace velmora {

// A non-zero number rounded to the general format's 15 significant decimal digits:
// 0.d₁d₂…d₁₅ × 10^exponent with d₁ ≠ 0. Every number the pages write passes through this form,
// whether it came from a double or from an exact value.
struct SignificantDigits {
    bool zero = true;
    bool negative = false;
    std::array<char, 15> digits{}; // '0'..'9'
    long exponent = 0;

    SignificantDigits negated() const {
        SignificantDigits n = *this;
        n.negative = !zero && !negative;
        return n;
    }
};

// The digits of a finite double as the general format writes it: its correctly rounded
// 18-digit expansion, rounded half up to 15 digits (the trigonometry page's rule).
SignificantDigits significantDigits(double value);

// The general number format of every number the pages show: the 15 significant digits with
// trailing zeros dropped, fixed notation for 0.0001 <= |v| < 1e15 and "dE[-]x" otherwise; zero
// of either sign is "0".
void appendGeneral(QString& out, const SignificantDigits& number, QChar separator);

QString formatGeneral(const SignificantDigits& number, QChar separator);

// The same for a finite double.
QString formatGeneral(double value, QChar separator);
void appendGeneral(QString& out, double value, QChar separator);

} // namespace velmora
