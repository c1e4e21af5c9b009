// Polynomials with exact rational coefficients: the arithmetic, the bounds a product or a power
// is refused by before it is worked out, and the text they are written back in. Expected
// coefficients are worked out by hand, highest power first.

#include "algebra/polynomial.h"
#include "tests/algebra/coefficients.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using velmora::Polynomial;
using velmora::PolynomialOutcome;
using velmora::PolynomialRefusal;

Q_DECLARE_METATYPE(velmora::PolynomialRefusal)

class TestPolynomial : public QObject {
    Q_OBJECT

private slots:
    void degree_data();
    void degree();
    void arithmetic_data();
    void arithmetic();
    void power_data();
    void power();
    void powerAtSizeBound();
    void refusals_data();
    void refusals();
    void text_data();
    void text();
};

void TestPolynomial::degree_data() {
    QTest::addColumn<QString>("coefficients");
    QTest::addColumn<int>("degree");

    QTest::newRow("zero") << u"0"_s << -1;
    QTest::newRow("constant") << u"-3/2"_s << 0;
    QTest::newRow("quartic") << u"1 0 0 0 0"_s << 4;
    QTest::newRow("zero top coefficients") << u"0 0 2 1"_s << 1;
}

void TestPolynomial::degree() {
    QFETCH(QString, coefficients);
    QFETCH(int, degree);
    const Polynomial p = polynomialOf(coefficients);
    QCOMPARE(p.degree(), degree);
    QCOMPARE(p.isZero(), degree < 0);
}

void TestPolynomial::arithmetic_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected");

    QTest::newRow("sum: the top cancels") << u"+"_s << u"1 1 0"_s << u"-1 0 1"_s << u"1 1"_s;
    QTest::newRow("sum to zero") << u"+"_s << u"1/2 -1"_s << u"-1/2 1"_s << u"0"_s;
    QTest::newRow("difference of fractions")
        << u"-"_s << u"1/2 1/3"_s << u"1/3 -1/6"_s << u"1/6 1/2"_s;
    QTest::newRow("negation") << u"neg"_s << u"1 0 -3/4"_s << u"0"_s << u"-1 0 3/4"_s;
    QTest::newRow("product of binomials") << u"*"_s << u"1 1"_s << u"1 -2"_s << u"1 -1 -2"_s;
    QTest::newRow("product with fractions")
        << u"*"_s << u"1/2 -1/3"_s << u"6 3"_s << u"3 -1/2 -1"_s;
    QTest::newRow("product of degree 4") << u"*"_s << u"1 0 1"_s << u"1 0 -1"_s << u"1 0 0 0 -1"_s;
    QTest::newRow("cube times the unknown")
        << u"*"_s << u"1 -1 0 2"_s << u"2 0"_s << u"2 -2 0 4 0"_s;
    QTest::newRow("quartic times zero") << u"*"_s << u"1 0 0 0 0"_s << u"0"_s << u"0"_s;
    QTest::newRow("product by a constant") << u"*"_s << u"3 -6"_s << u"-1/3"_s << u"-1 2"_s;
}

void TestPolynomial::arithmetic() {
    QFETCH(QString, operation);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, expected);
    const Polynomial p = polynomialOf(a);
    const Polynomial q = polynomialOf(b);
    Polynomial result;
    if (operation == u"+")
        result = p + q;
    else if (operation == u"-")
        result = p - q;
    else if (operation == u"neg")
        result = -p;
    else
        result = std::get<Polynomial>(p.times(q));
    QCOMPARE(result, polynomialOf(expected));
}

void TestPolynomial::power_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<uint>("exponent");
    QTest::addColumn<QString>("expected");

    QTest::newRow("square of a binomial") << u"1 -1"_s << 2u << u"1 -2 1"_s;
    QTest::newRow("fourth power") << u"1 1"_s << 4u << u"1 4 6 4 1"_s;
    QTest::newRow("cube with a fraction") << u"1/2 -1"_s << 3u << u"1/8 -3/4 3/2 -1"_s;
    QTest::newRow("square of a quadratic") << u"1 1 0"_s << 2u << u"1 2 1 0 0"_s;
    QTest::newRow("first power") << u"3 0"_s << 1u << u"3 0"_s;
    QTest::newRow("zeroth power") << u"1 -1"_s << 0u << u"1"_s;
    QTest::newRow("zeroth power of zero") << u"0"_s << 0u << u"1"_s;
    QTest::newRow("power of zero") << u"0"_s << 3u << u"0"_s;
    QTest::newRow("fraction cubed") << u"2/3"_s << 3u << u"8/27"_s;
    QTest::newRow("odd power of a negative") << u"-2"_s << 5u << u"-32"_s;
    // One bit each way: no size bound stops them, however high the power.
    QTest::newRow("one to a million") << u"1"_s << 1000000u << u"1"_s;
    QTest::newRow("minus one to an odd power") << u"-1"_s << 1000001u << u"-1"_s;
}

void TestPolynomial::power() {
    QFETCH(QString, base);
    QFETCH(uint, exponent);
    QFETCH(QString, expected);
    const PolynomialOutcome outcome = polynomialOf(base).power(exponent);
    QVERIFY(std::holds_alternative<Polynomial>(outcome));
    QCOMPARE(std::get<Polynomial>(outcome), polynomialOf(expected));
}

// 2⁴⁰⁹⁵ takes 4096 bits, as many as a coefficient may: made, not refused.
void TestPolynomial::powerAtSizeBound() {
    mpz_class expected;
    mpz_setbit(expected.get_mpz_t(), 4095);
    const PolynomialOutcome outcome = Polynomial(2).power(4095);
    QVERIFY(std::holds_alternative<Polynomial>(outcome));
    QVERIFY(std::get<Polynomial>(outcome) == Polynomial(mpq_class(expected)));
}

// Each refusal is told from the degrees and sizes alone: a power of 100000 would otherwise take
// a long while, and a product of degree 5 has no place to be stored.
void TestPolynomial::refusals_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b"); // empty: a to the power
    QTest::addColumn<uint>("exponent");
    QTest::addColumn<int>("maxDegree");
    QTest::addColumn<qulonglong>("maxBits");
    QTest::addColumn<PolynomialRefusal>("refusal");

    const qulonglong bits = velmora::MaxCoefficientBits;
    const auto degree = PolynomialRefusal::DegreeTooHigh;
    const auto size = PolynomialRefusal::TooLarge;
    QTest::newRow("product of degree 5") << u"1 0 0 0"_s << u"1 0 1"_s << 0u << 4 << bits << degree;
    QTest::newRow("below a lower bound") << u"1 0"_s << u"1 1"_s << 0u << 1 << bits << degree;
    QTest::newRow("fifth power") << u"1 1"_s << QString() << 5u << 4 << bits << degree;
    QTest::newRow("huge power") << u"1 1"_s << QString() << 100000u << 4 << bits << degree;
    QTest::newRow("cube of a square") << u"1 0 0"_s << QString() << 3u << 4 << bits << degree;
    // 2⁴⁰⁹⁶ takes 4097 bits, one too many (2⁴⁰⁹⁵ is in the power table).
    QTest::newRow("power of two too large") << u"2"_s << QString() << 4096u << 4 << bits << size;
    QTest::newRow("power of a half too large")
        << u"-1/2"_s << QString() << 4096u << 4 << bits << size;
    QTest::newRow("coefficients too large")
        << u"18446744073709551616 1"_s << u"18446744073709551616 1"_s << 0u << 4 << qulonglong(100)
        << size;
    QTest::newRow("denominators too large")
        << u"1/18446744073709551616"_s << u"1 1/3"_s << 0u << 4 << qulonglong(64) << size;
}

void TestPolynomial::refusals() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(uint, exponent);
    QFETCH(int, maxDegree);
    QFETCH(qulonglong, maxBits);
    QFETCH(PolynomialRefusal, refusal);
    const Polynomial p = polynomialOf(a);
    const PolynomialOutcome outcome = b.isEmpty() ? p.power(exponent, maxDegree, maxBits)
                                                  : p.times(polynomialOf(b), maxDegree, maxBits);
    QVERIFY(std::holds_alternative<PolynomialRefusal>(outcome));
    QCOMPARE(std::get<PolynomialRefusal>(outcome), refusal);
}

void TestPolynomial::text_data() {
    QTest::addColumn<QString>("coefficients");
    QTest::addColumn<QChar>("letter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fractions") << u"2 -3/4 1/2"_s << QChar(u'x') << u"2x^2 - 3/4x + 1/2"_s;
    QTest::newRow("minus one on top") << u"-1 0 0 0 1"_s << QChar(u'x') << u"-x^4 + 1"_s;
    QTest::newRow("zero") << u"0"_s << QChar(u'x') << u"0"_s;
    QTest::newRow("negative constant") << u"-5"_s << QChar(u'x') << u"-5"_s;
    QTest::newRow("the unknown alone") << u"1 0"_s << QChar(u't') << u"t"_s;
    QTest::newRow("both negative") << u"-1 -1"_s << QChar(u'y') << u"-y - 1"_s;
    QTest::newRow("no linear term") << u"1/3 0 -2"_s << QChar(u'x') << u"1/3x^2 - 2"_s;
    QTest::newRow("negative fraction, no constant") << u"-7/2 0"_s << QChar(u'x') << u"-7/2x"_s;
    QTest::newRow("cube and square") << u"3 1 0 0"_s << QChar(u'X') << u"3X^3 + X^2"_s;
}

void TestPolynomial::text() {
    QFETCH(QString, coefficients);
    QFETCH(QChar, letter);
    QFETCH(QString, expected);
    QCOMPARE(velmora::polynomialText(polynomialOf(coefficients), letter), expected);
}

QTEST_GUILESS_MAIN(TestPolynomial)
#include "tst_polynomial.moc"
