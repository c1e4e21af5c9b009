#include "algebra/polynomial.h"

#include "numbers/rational.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

// At least the bits of |n|^exponent, and at most two more: |n| = d·2^k with ½ ≤ |d| < 1 takes
// ⌊exponent·log₂|n|⌋ + 1 bits to that power; the margin covers the rounding of the logarithm.
std::size_t powerBits(const mpz_class& n, unsigned exponent) {
    if (mpz_cmpabs_ui(n.get_mpz_t(), 1) <= 0)
        return 1;
    long k = 0;
    const double d = mpz_get_d_2exp(&k, n.get_mpz_t());
    const double log2 = static_cast<double>(k) + std::log2(std::fabs(d));
    return static_cast<std::size_t>(std::ceil(exponent * log2)) + 1;
}

} // namespace

Polynomial::Polynomial(const mpq_class& constant) {
    m_coefficients[0] = constant;
}

Polynomial Polynomial::fromCoefficients(std::initializer_list<mpq_class> lowestFirst) {
    Q_ASSERT(lowestFirst.size() <= MaxPolynomialDegree + 1);
    Polynomial result;
    std::copy_n(lowestFirst.begin(),
                std::min<std::size_t>(lowestFirst.size(), MaxPolynomialDegree + 1),
                result.m_coefficients.begin());
    return result;
}

Polynomial Polynomial::unknown() {
    Polynomial result;
    result.m_coefficients[1] = 1;
    return result;
}

int Polynomial::degree() const {
    for (int power = MaxPolynomialDegree; power >= 0; --power) {
        if (sgn(m_coefficients[power]) != 0)
            return power;
    }
    return -1;
}

const mpq_class& Polynomial::coefficient(int power) const {
    Q_ASSERT(power >= 0 && power <= MaxPolynomialDegree);
    return m_coefficients[power];
}

std::size_t Polynomial::coefficientBits() const {
    std::size_t bits = 0;
    for (const mpq_class& c : m_coefficients)
        bits = std::max(bits, bitSize(c));
    return bits;
}

Polynomial Polynomial::operator-() const {
    Polynomial result;
    for (int power = 0; power <= MaxPolynomialDegree; ++power)
        result.m_coefficients[power] = -m_coefficients[power];
    return result;
}

Polynomial Polynomial::operator+(const Polynomial& other) const {
    Polynomial result;
    for (int power = 0; power <= MaxPolynomialDegree; ++power)
        result.m_coefficients[power] = m_coefficients[power] + other.m_coefficients[power];
    return result;
}

Polynomial Polynomial::operator-(const Polynomial& other) const {
    Polynomial result;
    for (int power = 0; power <= MaxPolynomialDegree; ++power)
        result.m_coefficients[power] = m_coefficients[power] - other.m_coefficients[power];
    return result;
}

bool Polynomial::operator==(const Polynomial& other) const {
    return std::equal(m_coefficients.begin(), m_coefficients.end(), other.m_coefficients.begin());
}

PolynomialOutcome Polynomial::times(const Polynomial& other, int maxDegree,
                                    std::size_t maxBits) const {
    const int mine = degree();
    const int theirs = other.degree();
    if (mine < 0 || theirs < 0)
        return Polynomial();
    if (mine + theirs > std::min(maxDegree, MaxPolynomialDegree))
        return PolynomialRefusal::DegreeTooHigh;

    // A product of two fractions takes at most the sum of their bits; a sum of m fractions n/d,
    // over the product of the d, at most the sum of its terms' bits and ⌈log₂ m⌉ (m ≤ 5 here).
    for (int k = 0; k <= mine + theirs; ++k) {
        std::size_t bits = 0;
        int terms = 0;
        for (int i = std::max(0, k - theirs); i <= std::min(k, mine); ++i) {
            const mpq_class& a = m_coefficients[i];
            const mpq_class& b = other.m_coefficients[k - i];
            if (sgn(a) != 0 && sgn(b) != 0) {
                bits += bitSize(a) + bitSize(b);
                ++terms;
            }
        }
        if (terms > 1)
            bits += 3;
        if (bits > maxBits)
            return PolynomialRefusal::TooLarge;
    }

    Polynomial result;
    for (int i = 0; i <= mine; ++i) {
        for (int j = 0; j <= theirs; ++j)
            result.m_coefficients[i + j] += m_coefficients[i] * other.m_coefficients[j];
    }
    return result;
}

PolynomialOutcome Polynomial::power(unsigned exponent, int maxDegree, std::size_t maxBits) const {
    if (exponent == 0)
        return Polynomial(1);
    if (exponent == 1)
        return *this;
    const int d = degree();
    if (d < 0)
        return Polynomial();
    if (static_cast<unsigned long long>(d) * exponent >
        static_cast<unsigned long long>(std::min(maxDegree, MaxPolynomialDegree)))
        return PolynomialRefusal::DegreeTooHigh;

    if (d == 0) {
        const mpq_class& c = m_coefficients[0];
        if (std::max(powerBits(c.get_num(), exponent), powerBits(c.get_den(), exponent)) > maxBits)
            return PolynomialRefusal::TooLarge;
        mpq_class result;
        mpz_pow_ui(result.get_num_mpz_t(), c.get_num_mpz_t(), exponent);
        mpz_pow_ui(result.get_den_mpz_t(), c.get_den_mpz_t(), exponent);
        return Polynomial(result);
    }

    // The degree bound leaves at most three products, each checked before it is made.
    Polynomial result = *this;
    for (unsigned k = 1; k < exponent; ++k) {
        PolynomialOutcome next = result.times(*this, maxDegree, maxBits);
        if (std::holds_alternative<PolynomialRefusal>(next))
            return next;
        result = std::get<Polynomial>(std::move(next));
    }
    return result;
}

QString polynomialText(const Polynomial& polynomial, QChar letter) {
    const int top = polynomial.degree();
    if (top < 0)
        return QStringLiteral("0");
    QString text;
    for (int power = top; power >= 0; --power) {
        const mpq_class& c = polynomial.coefficient(power);
        if (sgn(c) == 0)
            continue;
        if (power == top)
            text += sgn(c) < 0 ? u"-" : u"";
        else
            text += sgn(c) < 0 ? u" - " : u" + ";
        const mpq_class magnitude = abs(c);
        if (power == 0 || magnitude != 1)
            text += QString::fromStdString(magnitude.get_str());
        if (power > 0)
            text += letter;
        if (power > 1)
            text += u'^' + QString::number(power);
    }
    return text;
}

} // namespace velmora
