// The two number rules every solver text rests on: reading a typed number and writing a
// result in the general number format.

#include "numbers/decimal.h"
#include "numbers/exactdecimal.h"
#include "numbers/exactvalue.h"
#include "numbers/numberformat.h"

#include <QTest>

#include <cfloat>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

const QChar comma = u',';
const QChar point = u'.';

// Doubles are compared bit for bit (apart from the sign of zero): QCOMPARE's fuzzy compare
// would hide a conversion that is off in the last place.
QByteArray describe(double value) {
    return QByteArray::number(value, 'g', 17);
}

} // namespace

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void parseDecimal_data();
    void parseDecimal();
    void formatGeneral_data();
    void formatGeneral();
    void exactDigits_data();
    void exactDigits();
    void parseExactDecimal_data();
    void parseExactDecimal();
};

void TestNumbers::parseDecimal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("expected");

    QTest::newRow("trailing separator") << u"5,"_s << comma << true << 5.0;
    QTest::newRow("leading separator") << u",5"_s << comma << true << 0.5;
    QTest::newRow("lone separator is zero") << u","_s << comma << true << 0.0;
    QTest::newRow("signed lone separator is zero") << u"-,"_s << comma << true << 0.0;
    QTest::newRow("lone sign") << u"-"_s << comma << false << 0.0;
    QTest::newRow("sign inside") << u"1-2"_s << comma << false << 0.0;
    QTest::newRow("second separator") << u"1,2,3"_s << comma << false << 0.0;
    QTest::newRow("empty") << u""_s << comma << false << 0.0;
    QTest::newRow("only spaces") << u"   "_s << comma << false << 0.0;

    QTest::newRow("spaces around") << u"  -2,5  "_s << comma << true << -2.5;
    QTest::newRow("space inside") << u"1 2"_s << comma << false << 0.0;
    QTest::newRow("plus sign") << u"+5"_s << comma << true << 5.0;
    QTest::newRow("two signs") << u"+-5"_s << comma << false << 0.0;
    QTest::newRow("nearest double") << u"0,1"_s << comma << true << 0.1;

    QTest::newRow("exponent") << u"1e3"_s << comma << true << 1000.0;
    QTest::newRow("capital E, negative exponent") << u"1E-2"_s << comma << true << 0.01;
    QTest::newRow("fraction and signed exponent") << u"1,5e+2"_s << comma << true << 150.0;
    QTest::newRow("exponent without digits") << u"2e"_s << comma << true << 2.0;
    QTest::newRow("exponent with sign only") << u"2e-"_s << comma << true << 2.0;
    QTest::newRow("exponent without mantissa") << u"e5"_s << comma << false << 0.0;
    QTest::newRow("separator in exponent") << u"1e2,5"_s << comma << false << 0.0;
    QTest::newRow("largest double") << u"1,7976931348623157e308"_s << comma << true << DBL_MAX;
    // The largest double as the general format shows it rounds past the double range.
    QTest::newRow("largest double as shown") << u"1,79769313486232E308"_s << comma << false << 0.0;
    QTest::newRow("overflow") << u"1e400"_s << comma << false << 0.0;
    QTest::newRow("negative overflow") << u"-1e400"_s << comma << false << 0.0;
    QTest::newRow("underflow reads as zero") << u"1e-400"_s << comma << true << 0.0;

    QTest::newRow("point is not the separator") << u"1.5"_s << comma << false << 0.0;
    QTest::newRow("lone point") << u"."_s << comma << false << 0.0;
    QTest::newRow("inf") << u"inf"_s << comma << false << 0.0;
    QTest::newRow("nan") << u"nan"_s << comma << false << 0.0;
    QTest::newRow("hexadecimal") << u"0x10"_s << comma << false << 0.0;

    QTest::newRow("point separator") << u"1.5"_s << point << true << 1.5;
    QTest::newRow("comma under point separator") << u"1,5"_s << point << false << 0.0;
}

void TestNumbers::parseDecimal() {
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(bool, ok);
    QFETCH(double, expected);

    const std::optional<double> value = velmora::parseDecimal(text, separator);
    QCOMPARE(value.has_value(), ok);
    if (ok)
        QVERIFY2(*value == expected, describe(*value) + " != " + describe(expected));
}

void TestNumbers::formatGeneral_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("integer") << 2.0 << comma << u"2"_s;
    QTest::newRow("negative fraction") << -0.5 << comma << u"-0,5"_s;
    QTest::newRow("one third") << 1.0 / 3 << comma << u"0,333333333333333"_s;
    QTest::newRow("root of two drops trailing zero")
        << std::sqrt(2.0) << comma << u"1,4142135623731"_s;
    QTest::newRow("no grouping") << -1234.5 << comma << u"-1234,5"_s;
    QTest::newRow("positive zero") << 0.0 << comma << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << comma << u"0"_s;
    QTest::newRow("binary noise dropped") << 0.1 + 0.2 << comma << u"0,3"_s;

    QTest::newRow("smallest fixed") << 0.0001 << comma << u"0,0001"_s;
    QTest::newRow("leading zeros after separator") << 0.00012345 << comma << u"0,00012345"_s;
    QTest::newRow("below fixed range") << 0.00001 << comma << u"1E-5"_s;
    QTest::newRow("rounds up into fixed range")
        << std::nextafter(0.0001, 0.0) << comma << u"0,0001"_s;
    QTest::newRow("fifteen digits") << 123456789012345.0 << comma << u"123456789012345"_s;
    QTest::newRow("padded with zeros") << 1e14 << comma << u"100000000000000"_s;
    QTest::newRow("largest fixed") << 999999999999999.4 << comma << u"999999999999999"_s;
    QTest::newRow("rounds up out of fixed range") << 999999999999999.9 << comma << u"1E15"_s;
    QTest::newRow("ten to the fifteenth") << 1e15 << comma << u"1E15"_s;

    QTest::newRow("carry through every digit") << std::nextafter(1.0, 0.0) << comma << u"1"_s;
    // 123456789012344.5 and 1000000000000005 are exact doubles: a tie on the 16th digit
    // rounds up, not to even.
    QTest::newRow("tie rounds up in fixed") << 123456789012344.5 << comma << u"123456789012345"_s;
    QTest::newRow("tie rounds up in exponent form")
        << 1000000000000005.0 << comma << u"1,00000000000001E15"_s;
    // The double is 1.56308045020871499986...: its 18-digit expansion ends in ...500, which
    // rounds up, where rounding the exact value straight to 15 digits would not.
    QTest::newRow("rounded from 18 digits") << 1.563080450208715 << comma << u"1,56308045020872"_s;

    QTest::newRow("small exponent form") << 3.6e-18 << comma << u"3,6E-18"_s;
    QTest::newRow("negative exponent form") << -3.6e-18 << comma << u"-3,6E-18"_s;
    QTest::newRow("large exponent form") << -1.5e20 << comma << u"-1,5E20"_s;
    QTest::newRow("largest double") << DBL_MAX << comma << u"1,79769313486232E308"_s;
    QTest::newRow("smallest subnormal")
        << std::nextafter(0.0, 1.0) << comma << u"4,94065645841247E-324"_s;

    QTest::newRow("point, fixed") << -0.5 << point << u"-0.5"_s;
    QTest::newRow("point, exponent form") << 3.6e-18 << point << u"3.6E-18"_s;
    QTest::newRow("point, integer") << 123456789012345.0 << point << u"123456789012345"_s;
}

void TestNumbers::formatGeneral() {
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    QCOMPARE(velmora::formatGeneral(value, separator), expected);
}

// The general format of exact rationals: the same rules applied to the true value, through
// 64-bit arithmetic where the numbers are small and GMP's where they are not.
void TestNumbers::exactDigits_data() {
    QTest::addColumn<QString>("rational"); // "n/d" in base 10
    QTest::addColumn<QString>("expected");

    QTest::newRow("one third") << u"1/3"_s << u"0,333333333333333"_s;
    QTest::newRow("negative, rounds up") << u"-2/3"_s << u"-0,666666666666667"_s;
    QTest::newRow("decimal") << u"49/100"_s << u"0,49"_s;
    QTest::newRow("integer") << u"999998000001/1"_s << u"999998000001"_s;
    // 1,000000000000004995 is rounded once, to 15 digits: down (18 digits, 1,00000000000000500,
    // rounded again would go up).
    QTest::newRow("rounded once to 15 digits")
        << u"1000000000000004995/1000000000000000000"_s << u"1"_s;
    QTest::newRow("carry into a new digit")
        << u"999999999999999999/1000000000000000000"_s << u"1"_s;
    QTest::newRow("numerator beyond 64 bits")
        << u"1180591620717411303425/3"_s << u"3,93530540239137E20"_s;
    QTest::newRow("large numerator over 10")
        << u"123456789012345678901234567/10"_s << u"1,23456789012346E25"_s;
    QTest::newRow("far below the double range")
        << (u"-1/7"_s + QString(400, u'0')) << u"-1,42857142857143E-401"_s;
    QTest::newRow("far beyond the double range")
        << (u"1"_s + QString(400, u'0') + u"/7"_s) << u"1,42857142857143E399"_s;
}

void TestNumbers::exactDigits() {
    QFETCH(QString, rational);
    QFETCH(QString, expected);

    const mpq_class value(rational.toStdString(), 10);
    QCOMPARE(velmora::formatGeneral(velmora::ExactValue(value).digits(), comma), expected);
}

// Typed texts read as exact rationals: the same texts as the double reading, but no rounding.
void TestNumbers::parseExactDecimal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected"); // "n/d", or empty for a refused text

    QTest::newRow("decimal fraction") << u"0,1"_s << comma << u"1/10"_s;
    QTest::newRow("negative with spaces") << u" -2,50 "_s << comma << u"-5/2"_s;
    QTest::newRow("lone separator") << u","_s << comma << u"0"_s;
    QTest::newRow("exponent") << u"1,5e+2"_s << comma << u"150"_s;
    QTest::newRow("below the double range")
        << u"1E-400"_s << comma << (u"1/1"_s + QString(400, u'0'));
    QTest::newRow("zero with a huge exponent") << u"0E-99999"_s << comma << u"0"_s;
    QTest::newRow("beyond the double range") << u"1e400"_s << comma << QString();
    // The largest double's text rounds to it; a step beyond rounds past the range, as in strtod.
    QTest::newRow("largest double as typed")
        << u"1,7976931348623157e308"_s << comma << u"17976931348623157"_s + QString(292, u'0');
    QTest::newRow("largest double as shown") << u"1,79769313486232E308"_s << comma << QString();
    QTest::newRow("below the smallest input") << u"1E-10000"_s << comma << QString();
    QTest::newRow("smallest input") << u"1E-9999"_s << comma << (u"1/1"_s + QString(9999, u'0'));
    QTest::newRow("not a number") << u"1,2,3"_s << comma << QString();
    QTest::newRow("point separator") << u"-0.25"_s << point << u"-1/4"_s;
}

void TestNumbers::parseExactDecimal() {
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    const std::optional<mpq_class> value = velmora::parseExactDecimal(text, separator);
    QCOMPARE(value.has_value(), !expected.isEmpty());
    if (value)
        QCOMPARE(QString::fromStdString(value->get_str()), expected);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
