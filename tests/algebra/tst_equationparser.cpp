// The equation line read into polynomials: what a school book prints reads as the polynomial
// written down by hand here (coefficients of left − right, highest power first), each refusal
// names its place, and what the polynomial printer writes reads back as the same polynomial.

#include "algebra/equationparser.h"
#include "tests/algebra/coefficients.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using velmora::EquationError;
using velmora::ParsedEquation;
using velmora::Polynomial;
using Kind = velmora::EquationError::Kind;

Q_DECLARE_METATYPE(velmora::EquationError::Kind)

namespace {

// The equation read, or a failure that names the error instead.
ParsedEquation parsed(const QString& text) {
    const velmora::EquationParse result = velmora::parseEquation(text);
    if (const auto* error = std::get_if<EquationError>(&result)) {
        QTest::qFail(qPrintable(u"refused: "_s + velmora::equationErrorText(*error)), __FILE__,
                     __LINE__);
        return {};
    }
    return std::get<ParsedEquation>(result);
}

} // namespace

class TestEquationParser : public QObject {
    Q_OBJECT

private slots:
    void equations_data();
    void equations();
    void sides_data();
    void sides();
    void numberStyle_data();
    void numberStyle();
    void errors_data();
    void errors();
    void roundTrip_data();
    void roundTrip();
};

void TestEquationParser::equations_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("difference");
    QTest::addColumn<QChar>("letter");

    const QChar x = u'x';
    QTest::newRow("square of a binomial") << u"(2x − 1)² = 9"_s << u"4 -4 -8"_s << x;
    QTest::newRow("unknown times a bracket") << u"x(x - 3) = 4"_s << u"1 -3 -4"_s << x;
    QTest::newRow("no linear term") << u"3x² = 12"_s << u"3 0 -12"_s << x;
    QTest::newRow("fractions") << u"x²/3 − x + 1/2 = 0"_s << u"1/3 -1 1/2"_s << x;
    QTest::newRow("unknown on both sides") << u"(x + 1)(x − 2) = x + 7"_s << u"1 -2 -9"_s << x;
    QTest::newRow("cubic") << u"x³ − 5x² + 6x = 0"_s << u"1 -5 6 0"_s << x;
    QTest::newRow("biquadratic") << u"x⁴ − 5x² + 4 = 0"_s << u"1 0 -5 0 4"_s << x;
    QTest::newRow("fourth power of a bracket") << u"((x + 1)^2)^2 = 0"_s << u"1 4 6 4 1"_s << x;

    QTest::newRow("decimal comma and point") << u"0,5x² − 1.5 = 0"_s << u"1/2 0 -3/2"_s << x;
    QTest::newRow("decimal with three places") << u"0,125x = 1"_s << u"1/8 -1"_s << x;
    QTest::newRow("leading zeros") << u"007x = 0"_s << u"7 0"_s << x;
    QTest::newRow("30 digits") << u"x = 123456789012345678901234567890"_s
                               << u"1 -123456789012345678901234567890"_s << x;

    QTest::newRow("ASCII minus") << u"x^2 - 4 = 0"_s << u"1 0 -4"_s << x;
    QTest::newRow("en dash as minus") << u"x² – 4 = 0"_s << u"1 0 -4"_s << x;
    QTest::newRow("leading plus") << u"+x = 1"_s << u"1 -1"_s << x;
    QTest::newRow("minus before a power") << u"-x^2 = -4"_s << u"-1 0 4"_s << x;
    QTest::newRow("minus before a number's power") << u"−2² = x"_s << u"-1 -4"_s << x;
    QTest::newRow("minus inside a bracket") << u"(−x + 1)² = 0"_s << u"1 -2 1"_s << x;

    QTest::newRow("middle dot") << u"2·x·x = 8"_s << u"2 0 -8"_s << x;
    QTest::newRow("asterisk") << u"2*x^2 = 8"_s << u"2 0 -8"_s << x;
    QTest::newRow("times sign") << u"2 × x² = 8"_s << u"2 0 -8"_s << x;
    QTest::newRow("division sign") << u"x² ÷ 4 = 1"_s << u"1/4 0 -1"_s << x;
    QTest::newRow("colon") << u"x² : 4 = 1"_s << u"1/4 0 -1"_s << x;
    QTest::newRow("bracket over a number") << u"(x² − 1)/2 = 0"_s << u"1/2 0 -1/2"_s << x;
    QTest::newRow("divisor without the unknown") << u"x/(1 + 1) = 1"_s << u"1/2 -1"_s << x;
    QTest::newRow("divisor where the unknown cancels")
        << u"1/(x − x + 2) = x"_s << u"-1 1/2"_s << x;
    // Products and quotients go left to right: 6 : 2 · x is 3x, 1/2x is ½x.
    QTest::newRow("quotient then product") << u"6 : 2 · x = 3"_s << u"3 -3"_s << x;
    QTest::newRow("fraction before the unknown") << u"1/2x = 3"_s << u"1/2 -3"_s << x;

    QTest::newRow("caret with spaces") << u"x ^ 2 = 2"_s << u"1 0 -2"_s << x;
    QTest::newRow("number to a superscript") << u"2³x = 16"_s << u"8 -16"_s << x;
    QTest::newRow("two-digit superscript") << u"2¹⁰x = 1"_s << u"1024 -1"_s << x;
    QTest::newRow("number to the 20th") << u"2^20 = x"_s << u"-1 1048576"_s << x;
    QTest::newRow("fraction in brackets squared") << u"(1/2)^2 x = 1"_s << u"1/4 -1"_s << x;
    QTest::newRow("zeroth power of the unknown") << u"x⁰ + x = 2"_s << u"1 -1"_s << x;

    QTest::newRow("brackets side by side") << u"(x + 1)(x + 1) = 0"_s << u"1 2 1"_s << x;
    QTest::newRow("number before a bracket") << u"2(x + 1) = x"_s << u"1 2"_s << x;
    QTest::newRow("bracket before the unknown") << u"(x + 1)x = 0"_s << u"1 1 0"_s << x;
    QTest::newRow("unknown after its square") << u"x²x = 8"_s << u"1 0 0 -8"_s << x;
    QTest::newRow("letter twice with a space") << u"x x = 1"_s << u"1 0 -1"_s << x;
    QTest::newRow("unknown only on the right") << u"0 = x² − 1"_s << u"-1 0 1"_s << x;

    QTest::newRow("another letter") << u"t² − 4 = 0"_s << u"1 0 -4"_s << QChar(u't');
    QTest::newRow("capital letter") << u"X^2 = X"_s << u"1 -1 0"_s << QChar(u'X');
    QTest::newRow("e is a letter") << u"e² = 1"_s << u"1 0 -1"_s << QChar(u'e');
    QTest::newRow("identity") << u"x + 1 = x + 1"_s << u"0"_s << x;
    QTest::newRow("contradiction") << u"x = x + 1"_s << u"-1"_s << x;
    QTest::newRow("no unknown") << u"2 = 3"_s << u"-1"_s << x;

    QTest::newRow("no-break and thin spaces") << u"x\u00A0+\u20091 = 0"_s << u"1 1"_s << x;
    QTest::newRow("500 characters") << u"x = 1"_s + QString(495, u' ') << u"1 -1"_s << x;
    QTest::newRow("50 brackets deep")
        << QString(50, u'(') + u'x' + QString(50, u')') + u" = 1"_s << u"1 -1"_s << x;
}

void TestEquationParser::equations() {
    QFETCH(QString, text);
    QFETCH(QString, difference);
    QFETCH(QChar, letter);
    const ParsedEquation equation = parsed(text);
    QCOMPARE(equation.difference, polynomialOf(difference));
    QCOMPARE(equation.letter, letter);
}

void TestEquationParser::sides_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");

    QTest::newRow("products on the left")
        << u"(x + 1)(x − 2) = x + 7"_s << u"1 -1 -2"_s << u"1 7"_s;
    QTest::newRow("numbers on the left") << u"6 = x(x − 1)"_s << u"6"_s << u"1 -1 0"_s;
    QTest::newRow("both sides alike") << u"x² = x²"_s << u"1 0 0"_s << u"1 0 0"_s;
}

void TestEquationParser::sides() {
    QFETCH(QString, text);
    QFETCH(QString, left);
    QFETCH(QString, right);
    const ParsedEquation equation = parsed(text);
    QCOMPARE(equation.left, polynomialOf(left));
    QCOMPARE(equation.right, polynomialOf(right));
}

void TestEquationParser::numberStyle_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("anyDecimal");
    QTest::addColumn<bool>("allDecimal");
    QTest::addColumn<bool>("anyFraction");

    QTest::newRow("decimals only") << u"0,5x² − 1.5 = 0"_s << true << true << false;
    QTest::newRow("whole numbers as decimals") << u"2,0x = 4.0"_s << true << true << false;
    QTest::newRow("decimal and whole") << u"0,5x² − 1 = 0"_s << true << false << false;
    QTest::newRow("decimal and fraction") << u"0,5x = 1/2"_s << true << false << true;
    QTest::newRow("fraction of wholes") << u"x²/3 − x + 1/2 = 0"_s << false << false << true;
    QTest::newRow("quotient of the unknown") << u"x² / 3 = 0"_s << false << false << false;
    QTest::newRow("quotient of a product") << u"2x/3 = 1"_s << false << false << false;
    QTest::newRow("decimal over a whole") << u"1,5/3 = x"_s << true << false << false;
    QTest::newRow("colon is no fraction bar") << u"6 : 2 = x"_s << false << false << false;
    QTest::newRow("power over a whole") << u"2^2/3 = x"_s << false << false << false;
    QTest::newRow("exponents are not numbers") << u"x^2 = 0,25"_s << true << true << false;
    QTest::newRow("zero does not count") << u"0,5x = 0"_s << true << true << false;
    QTest::newRow("only zero") << u"x = 0"_s << false << false << false;
    QTest::newRow("no numbers") << u"x = x"_s << false << false << false;
}

void TestEquationParser::numberStyle() {
    QFETCH(QString, text);
    QFETCH(bool, anyDecimal);
    QFETCH(bool, allDecimal);
    QFETCH(bool, anyFraction);
    const ParsedEquation equation = parsed(text);
    QCOMPARE(equation.anyDecimal, anyDecimal);
    QCOMPARE(equation.allDecimal, allDecimal);
    QCOMPARE(equation.anyFraction, anyFraction);
}

void TestEquationParser::errors_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing bracket before '='")
        << u"(x + 1 = 0"_s << Kind::MissingBracket << 8 << u"missing ')' at 8"_s;
    QTest::newRow("missing bracket at the end")
        << u"x = (x + 1"_s << Kind::MissingBracket << 11 << u"missing ')' at 11"_s;
    QTest::newRow("bracket instead of a term")
        << u"x + ) = 0"_s << Kind::UnexpectedCharacter << 5 << u"unexpected ')' at 5"_s;
    QTest::newRow("bracket too many")
        << u"x = (1))"_s << Kind::UnexpectedCharacter << 8 << u"unexpected ')' at 8"_s;
    QTest::newRow("empty brackets")
        << u"() = 1"_s << Kind::UnexpectedCharacter << 2 << u"unexpected ')' at 2"_s;
    QTest::newRow("sign after a plus")
        << u"x + -1 = 0"_s << Kind::UnexpectedCharacter << 5 << u"unexpected '-' at 5"_s;
    QTest::newRow("term missing before '='")
        << u"x + = 1"_s << Kind::UnexpectedCharacter << 5 << u"unexpected '=' at 5"_s;
    QTest::newRow("term missing at the end")
        << u"x = 1 +"_s << Kind::UnexpectedEnd << 8 << u"unexpected end at 8"_s;
    QTest::newRow("bracket exponent")
        << u"x^(2) = 1"_s << Kind::UnexpectedCharacter << 3 << u"unexpected '(' at 3"_s;
    QTest::newRow("no exponent") << u"x^ = 1"_s << Kind::UnexpectedCharacter << 4
                                 << u"unexpected '=' at 4"_s;
    QTest::newRow("decimal exponent")
        << u"x^2.5 = 1"_s << Kind::UnexpectedCharacter << 4 << u"unexpected '.' at 4"_s;
    QTest::newRow("separator first")
        << u".5x = 1"_s << Kind::UnexpectedCharacter << 1 << u"unexpected '.' at 1"_s;
    QTest::newRow("separator last")
        << u"5,x = 1"_s << Kind::UnexpectedCharacter << 2 << u"unexpected ',' at 2"_s;
    QTest::newRow("stray sign") << u"x = 2 # 3"_s << Kind::UnexpectedCharacter << 7
                                << u"unexpected '#' at 7"_s;
    QTest::newRow("Cyrillic letter")
        << u"х = 1"_s << Kind::UnexpectedCharacter << 1 << u"unexpected 'х' at 1"_s;
    QTest::newRow("character beyond 16 bits")
        << u"x = 1 😀"_s << Kind::UnexpectedCharacter << 7 << u"unexpected '😀' at 7"_s;
    QTest::newRow("control character")
        << u"x = 1\u0007"_s << Kind::UnexpectedCharacter << 6 << u"unexpected U+0007 at 6"_s;

    QTest::newRow("number after the unknown")
        << u"2x2 = 1"_s << Kind::NumberAfterFactor << 3 << u"number after a factor at 3"_s;
    QTest::newRow("number after a bracket")
        << u"(x + 1)2 = 0"_s << Kind::NumberAfterFactor << 8 << u"number after a factor at 8"_s;
    QTest::newRow("number after a number")
        << u"2 3 = x"_s << Kind::NumberAfterFactor << 3 << u"number after a factor at 3"_s;

    QTest::newRow("unknown in a denominator")
        << u"1/x = 2"_s << Kind::UnknownInDenominator << 3 << u"unknown in a denominator at 3"_s;
    QTest::newRow("bracket with the unknown in a denominator")
        << u"x = 2 : (x + 1)"_s << Kind::UnknownInDenominator << 9
        << u"unknown in a denominator at 9"_s;
    QTest::newRow("division by zero")
        << u"x/0 = 1"_s << Kind::DivisionByZero << 3 << u"division by zero at 3"_s;
    QTest::newRow("division by a bracket that is zero")
        << u"1 + x/(2 − 2) = 1"_s << Kind::DivisionByZero << 7 << u"division by zero at 7"_s;

    QTest::newRow("two unknowns") << u"x + y = 1"_s << Kind::TwoUnknowns << 5
                                  << u"two unknowns: x and y"_s;
    QTest::newRow("letters differ in case")
        << u"x = X"_s << Kind::TwoUnknowns << 5 << u"two unknowns: x and X"_s;
    QTest::newRow("more than one '='")
        << u"x = 1 = 2"_s << Kind::MoreThanOneEquals << 7 << u"more than one '='"_s;
    QTest::newRow("no '='") << u"x² + 1"_s << Kind::MissingEquals << 7 << u"expected '=' at end"_s;
    QTest::newRow("empty left side")
        << u"= 1"_s << Kind::EmptySide << 1 << u"empty side of '=' at 1"_s;
    QTest::newRow("empty right side")
        << u"x ="_s << Kind::EmptySide << 4 << u"empty side of '=' at 4"_s;
    QTest::newRow("empty line") << u""_s << Kind::EmptySide << 1 << u"empty side of '=' at 1"_s;

    QTest::newRow("fifth power") << u"x^5 = 1"_s << Kind::DegreeTooHigh << 3 << u"degree above 4"_s;
    QTest::newRow("product of degree 5")
        << u"x²·x³ = 1"_s << Kind::DegreeTooHigh << 3 << u"degree above 4"_s;
    QTest::newRow("fifth unknown in a row")
        << u"x x x x x = 0"_s << Kind::DegreeTooHigh << 9 << u"degree above 4"_s;
    QTest::newRow("huge power of a bracket")
        << u"(x + 1)^100000 = 0"_s << Kind::DegreeTooHigh << 9 << u"degree above 4"_s;
    QTest::newRow("21st power of a number")
        << u"2^21 = x"_s << Kind::ExponentTooLarge << 3 << u"exponent too large at 3"_s;
    QTest::newRow("superscript 21 on a number")
        << u"2²¹ = x"_s << Kind::ExponentTooLarge << 2 << u"exponent too large at 2"_s;
    QTest::newRow("zero to the power zero")
        << u"0^0 = x"_s << Kind::ZeroToPowerZero << 3 << u"0 to the power 0 at 3"_s;

    QTest::newRow("31 digits") << u"1234567890123456789012345678901 = x"_s << Kind::NumberTooLong
                               << 1 << u"number too long at 1"_s;
    QTest::newRow("31 digits with a separator")
        << u"x = 0,000000000000000000000000000001"_s << Kind::NumberTooLong << 5
        << u"number too long at 5"_s;
    QTest::newRow("501 characters") << u"x = 1"_s + QString(496, u' ') << Kind::InputTooLong << 501
                                    << u"longer than 500 characters"_s;
    // Each of them is two QChars, and counts once.
    QTest::newRow("501 characters beyond 16 bits")
        << QString(u"😀"_s).repeated(501) << Kind::InputTooLong << 501
        << u"longer than 500 characters"_s;
    QTest::newRow("51 brackets deep")
        << QString(51, u'(') + u'x' + QString(51, u')') + u" = 1"_s << Kind::NestingTooDeep << 51
        << u"brackets nested too deep at 51"_s;
    // 3⁻¹²⁰⁰ and 5⁻¹²⁰⁰ fit, but their sum's denominator takes 1902 + 2787 bits.
    QTest::newRow("sum too large")
        << u"((1/3)^20)^20((1/3)^20)^20((1/3)^20)^20 + ((1/5)^20)^20((1/5)^20)^20((1/5)^20)^20 = x"_s
        << Kind::NumbersTooLarge << 41 << u"numbers too large at 41"_s;
    QTest::newRow("difference of the sides too large")
        << u"((1/3)^20)^20((1/3)^20)^20((1/3)^20)^20 = ((1/5)^20)^20((1/5)^20)^20((1/5)^20)^20"_s
        << Kind::NumbersTooLarge << 41 << u"numbers too large at 41"_s;
    // 10⁴⁰⁰ takes 1329 bits, so the fourth factor would pass 4096.
    QTest::newRow("product too large")
        << u"(10^20)^20 · (10^20)^20 · (10^20)^20 · (10^20)^20 = x"_s << Kind::NumbersTooLarge << 38
        << u"numbers too large at 38"_s;
}

void TestEquationParser::errors() {
    QFETCH(QString, text);
    QFETCH(Kind, kind);
    QFETCH(int, position);
    QFETCH(QString, message);
    const velmora::EquationParse result = velmora::parseEquation(text);
    QVERIFY(std::holds_alternative<EquationError>(result));
    const EquationError& error = std::get<EquationError>(result);
    QCOMPARE(error.kind, kind);
    QCOMPARE(error.position, position);
    QCOMPARE(velmora::equationErrorText(error), message);
}

// The printer's text, "= 0" after it, reads back as the same polynomial in the same letter.
void TestEquationParser::roundTrip_data() {
    QTest::addColumn<QString>("coefficients");
    QTest::addColumn<QChar>("letter");

    QTest::newRow("fractions of every sign") << u"2 -3/4 1/2"_s << QChar(u'x');
    QTest::newRow("quartic, minus one on top") << u"-1 0 0 0 1"_s << QChar(u'x');
    QTest::newRow("all five coefficients") << u"-1/2 2/3 -3/4 5/6 -7/8"_s << QChar(u'y');
    QTest::newRow("negative fraction times the unknown") << u"-7/2 0"_s << QChar(u'x');
    QTest::newRow("fraction over a power of ten") << u"123456789/1000 0 1"_s << QChar(u'z');
    QTest::newRow("whole coefficients") << u"1 -5 6"_s << QChar(u't');
    QTest::newRow("the unknown to the fourth") << u"1 0 0 0 0"_s << QChar(u'X');
    QTest::newRow("constant") << u"-5"_s << QChar(u'x');
    QTest::newRow("zero") << u"0"_s << QChar(u'x');
}

void TestEquationParser::roundTrip() {
    QFETCH(QString, coefficients);
    QFETCH(QChar, letter);
    const Polynomial polynomial = polynomialOf(coefficients);
    const ParsedEquation equation = parsed(velmora::polynomialText(polynomial, letter) + u" = 0"_s);
    QCOMPARE(equation.difference, polynomial);
    QCOMPARE(equation.letter, letter);
}

QTEST_GUILESS_MAIN(TestEquationParser)
#include "tst_equationparser.moc"
