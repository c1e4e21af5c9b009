// The one exact number: its digits, decimals, sign, order and nearest double, each from the
// true value, and the bounded search for square factors. Every expected value here was worked
// out with an independent decimal calculator to 80 digits, not with the code under test.

#include "numbers/exacttext.h"
#include "numbers/exactvalue.h"
#include "numbers/squarefactors.h"
#include "platform/base/failure.h"

#include <QTest>

#include <cfloat>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;
using velmora::ExactValue;

Q_DECLARE_METATYPE(velmora::ExactValue)

namespace {

mpq_class rational(const char* text) {
    mpq_class value(text, 10);
    value.canonicalize();
    return value;
}

// p + q·√m from "n/d" texts.
ExactValue surd(const char* p, const char* q, const char* m) {
    return ExactValue::surd(rational(p), rational(q), rational(m));
}

// ±√(p + q·√m).
ExactValue root(int sign, const char* p, const char* q, const char* m) {
    const ExactValue positive = ExactValue::squareRoot(surd(p, q, m));
    return sign < 0 ? positive.negated() : positive;
}

QString general(const ExactValue& value) {
    return velmora::formatGeneral(value.digits(), u',');
}

} // namespace

class TestExactValue : public QObject {
    Q_OBJECT

private slots:
    void generalDigits_data();
    void generalDigits();
    void decimals_data();
    void decimals();
    void order_data();
    void order();
    void nearestDouble_data();
    void nearestDouble();
    void beyondDoubleRange();
    void approximations_data();
    void approximations();
    void intervalPreconditions();
    void squareFactors_data();
    void squareFactors();
    void oneRadicalFactoredOnce();
};

// The general format's 15 digits, rounded once from the true value: also where an 18-digit
// expansion rounded again would come out one too high, and beside a rounding tie.
void TestExactValue::generalDigits_data() {
    QTest::addColumn<ExactValue>("value");
    QTest::addColumn<QString>("expected");

    // √29,7 = 5,44977063737548|49977…: 18 digits would end …485, rounded again …549.
    QTest::newRow("root of 29,7") << surd("0", "1", "297/10") << u"5,44977063737548"_s;
    QTest::newRow("its negative") << surd("0", "-1", "297/10") << u"-5,44977063737548"_s;
    // A rational whose 18 digits end in 500 after a 4: once rounded it stays down.
    QTest::newRow("rational rounded once")
        << ExactValue(rational("1000000000000004995/1000000000000000000")) << u"1"_s;
    // 1,000000000000005 + √2·10⁻³⁰ lies just above the tie, so it rounds up; just below, down.
    QTest::newRow("just above a tie")
        << surd("1000000000000005/1000000000000000", "1/1000000000000000000000000000000", "2")
        << u"1,00000000000001"_s;
    QTest::newRow("just below a tie")
        << surd("1000000000000005/1000000000000000", "-1/1000000000000000000000000000000", "2")
        << u"1"_s;
    // (−999999 + √(999999² − 4·10⁻⁸))/(2·10⁻⁴), a root of 0,0001x² + 999999x + 0,0001:
    // almost all of it cancels.
    QTest::newRow("cancelling root")
        << surd("-4999995000", "5000", "24999950000024999999/25000000") << u"-1,000001000001E-10"_s;
    QTest::newRow("root of a surd") << root(1, "2", "1", "3") << u"1,93185165257814"_s;
    QTest::newRow("negative root of a surd") << root(-1, "2", "1", "3") << u"-1,93185165257814"_s;
    QTest::newRow("rounds up into a new digit")
        << ExactValue(rational("9999999999999999/10000000000000000")) << u"1"_s;
    QTest::newRow("zero") << ExactValue() << u"0"_s;
}

void TestExactValue::generalDigits() {
    QFETCH(ExactValue, value);
    QFETCH(QString, expected);
    QCOMPARE(general(value), expected);
}

void TestExactValue::decimals_data() {
    QTest::addColumn<ExactValue>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("twelve decimals of (−3 + √65)/4")
        << surd("-3/4", "1/4", "65") << 12 << u"1,265564437075"_s;
    QTest::newRow("half rounds away from zero") << ExactValue(rational("1/8")) << 2 << u"0,13"_s;
    QTest::newRow("negative half") << ExactValue(rational("-1/8")) << 2 << u"−0,13"_s;
    QTest::newRow("rounds to zero, no sign") << ExactValue(rational("-1/1000")) << 2 << u"0,00"_s;
    QTest::newRow("none") << surd("0", "1", "2") << 0 << u"1"_s;
}

void TestExactValue::decimals() {
    QFETCH(ExactValue, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(velmora::fixedText(value, decimals, u','), expected);
}

// Exact order, also between values written in different radicals and between a root and a
// surd that are the same number.
void TestExactValue::order_data() {
    QTest::addColumn<ExactValue>("one");
    QTest::addColumn<ExactValue>("other");
    QTest::addColumn<int>("expected");

    QTest::newRow("√8 = 2√2") << surd("0", "1", "8") << surd("0", "2", "2") << 0;
    QTest::newRow("√(3 + 2√2) = 1 + √2") << root(1, "3", "2", "2") << surd("1", "1", "2") << 0;
    QTest::newRow("√2 < √3") << surd("0", "1", "2") << surd("0", "1", "3") << -1;
    QTest::newRow("1 + √2 > 2,414")
        << surd("1", "1", "2") << ExactValue(rational("2414/1000")) << 1;
    QTest::newRow("1 + √2 < 2,4143")
        << surd("1", "1", "2") << ExactValue(rational("24143/10000")) << -1;
    QTest::newRow("negative roots turn the order")
        << root(-1, "2", "1", "3") << root(-1, "2", "-1", "3") << -1;
    QTest::newRow("a root against a rational")
        << root(1, "2", "1", "3") << ExactValue(rational("193/100")) << 1;
    QTest::newRow("signs decide") << surd("-1", "1", "2") << ExactValue(rational("-1/1000")) << 1;
}

void TestExactValue::order() {
    QFETCH(ExactValue, one);
    QFETCH(ExactValue, other);
    QFETCH(int, expected);
    QCOMPARE(one.compare(other), expected);
    QCOMPARE(other.compare(one), -expected);
}

void TestExactValue::nearestDouble_data() {
    QTest::addColumn<ExactValue>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("√2") << surd("0", "1", "2") << 1.4142135623730951;
    QTest::newRow("a third") << ExactValue(rational("1/3")) << 1.0 / 3;
    const std::string tiny = "2/1" + std::string(80, '0');
    QTest::newRow("root of 2E-80") << surd("0", "1", tiny.c_str()) << 1.4142135623730951e-40;
    QTest::newRow("cancelling root")
        << surd("-4999995000", "5000", "24999950000024999999/25000000") << -1.000001000001e-10;
}

void TestExactValue::nearestDouble() {
    QFETCH(ExactValue, value);
    QFETCH(double, expected);
    QCOMPARE(value.nearestDouble(), expected);
}

void TestExactValue::beyondDoubleRange() {
    const mpq_class largest(DBL_MAX);
    QVERIFY(!ExactValue(largest).exceedsDoubleRange());
    // The largest double and a little more, irrational: beyond it.
    QVERIFY(ExactValue::surd(largest, rational("1/100000"), 2).exceedsDoubleRange());
    QVERIFY(!ExactValue::surd(largest, rational("-1/100000"), 2).exceedsDoubleRange());
    QVERIFY(ExactValue::surd(-largest, rational("-1/100000"), 2).exceedsDoubleRange());
    QVERIFY(!surd("0", "-1", "2").exceedsDoubleRange());
}

// What a label or an "≈" writes: fixed decimals, or the scientific form where they would show
// no digit of a value that is not zero, or too many before the separator.
void TestExactValue::approximations_data() {
    QTest::addColumn<ExactValue>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("expected");

    QTest::newRow("fixed") << surd("-3/4", "-1/4", "65") << 2 << u"−2,77"_s;
    QTest::newRow("tiny, not zero")
        << surd("-4999995000", "5000", "24999950000024999999/25000000") << 2 << u"−1,00·10⁻¹⁰"_s;
    QTest::newRow("huge") << surd("0", "600011", "100000000010480000000037407") << 2
                          << u"6,00·10¹⁸"_s;
    QTest::newRow("zero stays fixed") << ExactValue() << 2 << u"0,00"_s;
}

void TestExactValue::approximations() {
    QFETCH(ExactValue, value);
    QFETCH(int, decimals);
    QFETCH(QString, expected);
    QCOMPARE(velmora::approximateText(value, decimals, u','), expected);
}

// A broken precondition is a fault in the caller, said at once rather than computed into a
// wrong digit.
void TestExactValue::intervalPreconditions() {
    velmora::Interval negative(64);
    negative.setRational(-2);
    QVERIFY_THROWS_EXCEPTION(std::domain_error, negative.squareRoot());
    velmora::Interval any(64);
    any.setRational(1);
    QVERIFY_THROWS_EXCEPTION(std::domain_error, any.divide(mpz_class(0)));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, any.divideSmall(0));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, any.divide(mpz_class(-3)));
    velmora::Interval unsettled(64);
    unsettled.setRational(0);
    QVERIFY_THROWS_EXCEPTION(std::domain_error, unsettled.absolute());
    QVERIFY_THROWS_EXCEPTION(std::domain_error, ExactValue::squareRoot(ExactValue(-1)));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, velmora::Radical::of(4));
}

// n = outside²·inside with every prime below the bound tried: a square factor exactly at the
// bound is found, one past it is not, and only then is the inside left unproven.
void TestExactValue::squareFactors_data() {
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("outside");
    QTest::addColumn<QString>("inside");
    QTest::addColumn<bool>("squareFree");

    QTest::newRow("small") << u"72"_s << u"6"_s << u"2"_s << true;
    // 999983 is the largest prime below the bound of one million; the prime 2⁶¹ − 1 beside its
    // square keeps the rest above the bound cubed until 999983 is tried.
    QTest::newRow("square of the last prime tried")
        << u"2305764611217769315068423551839"_s << u"999983"_s << u"2305843009213693951"_s << true;
    QTest::newRow("a square below the cube rule")
        << u"1999932000578"_s << u"999983"_s << u"2"_s << true;
    // 1000003² · 1000033 is beyond 999983³, so no cube rule decides it.
    QTest::newRow("square of a prime past the bound")
        << u"1000039000207000297"_s << u"1"_s << u"1000039000207000297"_s << false;
    QTest::newRow("a square left over") << u"1000006000009"_s << u"1000003"_s << u"1"_s << true;
    QTest::newRow("two primes past the bound, below its cube")
        << u"1000036000099"_s << u"1"_s << u"1000036000099"_s << true;
    QTest::newRow("three primes past the bound: not decided")
        << u"1000073001431003663"_s << u"1"_s << u"1000073001431003663"_s << false;
    QTest::newRow("a large prime is simplest")
        << u"618970019642690137449562111"_s << u"1"_s << u"618970019642690137449562111"_s << true;
    QTest::newRow("a square factor below the bound, two large primes left")
        << u"36001320015872938337281547013776926247"_s << u"600011"_s
        << u"100000000010480000000037407"_s << false;
}

void TestExactValue::squareFactors() {
    QFETCH(QString, n);
    QFETCH(QString, outside);
    QFETCH(QString, inside);
    QFETCH(bool, squareFree);
    const velmora::SquareSplit split = velmora::splitSquare(mpz_class(n.toStdString()));
    QCOMPARE(QString::fromStdString(split.outside.get_str()), outside);
    QCOMPARE(QString::fromStdString(split.inside.get_str()), inside);
    QCOMPARE(split.squareFree, squareFree);
}

// The roots of one equation hold one radical, so its square factors are one search's.
void TestExactValue::oneRadicalFactoredOnce() {
    const std::shared_ptr<const velmora::Radical> d = velmora::Radical::of(rational("72"));
    const ExactValue x1 = ExactValue::surd(1, 1, d);
    const ExactValue x2 = ExactValue::surd(1, -1, d);
    QCOMPARE(x1.radical().get(), x2.radical().get());
    QCOMPARE(&x1.radical()->squareSplit(), &x2.radical()->squareSplit());
    QCOMPARE(x1.radical()->squareSplit().outside, mpz_class(6));
}

QTEST_APPLESS_MAIN(TestExactValue)
#include "tst_exactvalue.moc"
