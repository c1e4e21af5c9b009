#pragma once

#include <QChar>
#include <QString>

#include <gmpxx.h>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <variant>

namespace velmora {

// The highest degree a polynomial holds: the equations solved are at most biquadratic.
constexpr int MaxPolynomialDegree = 4;

// The most bits a coefficient's numerator or denominator may take (4096 bits, about 1233
// decimal digits). A product or power that could pass it is refused before it is worked out.
constexpr std::size_t MaxCoefficientBits = 4096;

// Why a product or a power was refused, before any of its work was done.
enum class PolynomialRefusal {
    DegreeTooHigh, // the result's degree would pass the bound asked for
    TooLarge,      // a coefficient of the result could pass the bits asked for
};

class Polynomial;
using PolynomialOutcome = std::variant<Polynomial, PolynomialRefusal>;

// A polynomial in one unknown with exact rational coefficients, of degree at most
// MaxPolynomialDegree. A value type; the unknown's letter is the caller's.
class Polynomial {
public:
    Polynomial() = default; // zero
    explicit Polynomial(const mpq_class& constant);
    // Coefficients from the constant term up, at most MaxPolynomialDegree + 1 of them.
    static Polynomial fromCoefficients(std::initializer_list<mpq_class> lowestFirst);
    // The unknown itself: 1·x.
    static Polynomial unknown();

    // The highest power with a non-zero coefficient; −1 for the zero polynomial.
    int degree() const;
    bool isZero() const { return degree() < 0; }
    // The coefficient of x^power, 0 ≤ power ≤ MaxPolynomialDegree.
    const mpq_class& coefficient(int power) const;
    // The bits of the largest numerator or denominator among the coefficients.
    std::size_t coefficientBits() const;

    Polynomial operator-() const;
    Polynomial operator+(const Polynomial& other) const;
    Polynomial operator-(const Polynomial& other) const;
    bool operator==(const Polynomial& other) const;

    // The product, refused when its degree would pass maxDegree (at most MaxPolynomialDegree) or
    // a coefficient could take more than maxBits bits; both are told from the factors' degrees and
    // sizes before multiplying.
    PolynomialOutcome times(const Polynomial& other, int maxDegree = MaxPolynomialDegree,
                            std::size_t maxBits = MaxCoefficientBits) const;
    // This polynomial to a whole power (p⁰ is 1, also for p = 0), refused as times() refuses.
    PolynomialOutcome power(unsigned exponent, int maxDegree = MaxPolynomialDegree,
                            std::size_t maxBits = MaxCoefficientBits) const;

private:
    std::array<mpq_class, MaxPolynomialDegree + 1> m_coefficients; // lowest power first
};

// The polynomial as parseEquation reads it back, in ASCII, highest power first, with the
// unknown's letter: "2x^2 - 3/4x + 1/2", "-x^4 + 1", "0".
QString polynomialText(const Polynomial& polynomial, QChar letter);

} // namespace velmora
