// The solve with its short answer and detailed solution, from the typed coefficients to every
// text the window shows, and the stop when a number leaves the double range.

#include "numbers/decimal.h"
#include "numbers/numberformat.h"
#include "platform/failure.h"
#include "solver/equation.h"

#include <QTest>

#include <cmath>

using namespace Qt::Literals::StringLiterals;
using velmora::EquationType;

Q_DECLARE_METATYPE(velmora::EquationType)

namespace {

const QChar comma = u',';

double typed(const QString& text) {
    const std::optional<double> value = velmora::parseDecimal(text, comma);
    if (!value)
        qFatal("bad coefficient text in a test row: %s", qPrintable(text));
    return *value;
}

} // namespace

class TestEquation : public QObject {
    Q_OBJECT

private slots:
    void solve_data();
    void solve();
    void overflow_data();
    void overflow();
};

// Coefficients are typed texts read with the window's conversion, so 1,4 is the double the
// user gets; an empty b or c is passed as 0, as the window does.
void TestEquation::solve_data() {
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("discriminant");
    QTest::addColumn<QStringList>("rootFields");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("noRealRoots");

    QTest::newRow("quadratic, two roots (worked example)")
        << EquationType::Quadratic << u"1"_s << u"-3"_s << u"2"_s << u"y"_s << u"1"_s
        << QStringList{u"2"_s, u"1"_s, u""_s, u""_s}
        << QStringList{
               u"x² - 3x + 2 = 0"_s,
               u"D = -3² - 4 • 1 • 2 = 9 - 8 = 1"_s,
               u"x₁ = - (-3) + √1̅ / 2 • 1 = 3 + 1 / 2 = 2"_s,
               u"x₂ = - (-3) - √1̅ / 2 • 1 = 3 - 1 / 2 = 1"_s,
               u"Ответ: x₁ = 2; x₂ = 1"_s,
           }
        << false;

    QTest::newRow("quadratic, irrational roots")
        << EquationType::Quadratic << u"3"_s << u"1"_s << u"-1"_s << u"y"_s << u"13"_s
        << QStringList{u"0,434258545910665"_s, u"-0,767591879243998"_s, u""_s, u""_s}
        << QStringList{
               u"3x² + x - 1 = 0"_s,
               u"D = 1² - 4 • 3 • (-1) = 1 - (-12) = 13"_s,
               u"x₁ = -1 + √1̅3̅ / 2 • 3 = -1 + 3,60555127546399 / 6 = 0,434258545910665"_s,
               u"x₂ = -1 - √1̅3̅ / 2 • 3 = -1 - 3,60555127546399 / 6 = -0,767591879243998"_s,
               u"Ответ: x₁ = 0,434258545910665; x₂ = -0,767591879243998"_s,
           }
        << false;

    QTest::newRow("quadratic, a = 0,5")
        << EquationType::Quadratic << u"0,5"_s << u"-1,5"_s << u"1"_s << u"y"_s << u"0,25"_s
        << QStringList{u"2"_s, u"1"_s, u""_s, u""_s}
        << QStringList{
               u"0,5x² - 1,5x + 1 = 0"_s,
               u"D = -1,5² - 4 • 0,5 • 1 = 2,25 - 2 = 0,25"_s,
               u"x₁ = - (-1,5) + √0̅,̅2̅5̅ / 2 • 0,5 = 1,5 + 0,5 / 1 = 2"_s,
               u"x₂ = - (-1,5) - √0̅,̅2̅5̅ / 2 • 0,5 = 1,5 - 0,5 / 1 = 1"_s,
               u"Ответ: x₁ = 2; x₂ = 1"_s,
           }
        << false;

    QTest::newRow("quadratic, a < 0 gives the smaller root first")
        << EquationType::Quadratic << u"-1"_s << u"0"_s << u"4"_s << u"y"_s << u"16"_s
        << QStringList{u"-2"_s, u"2"_s, u""_s, u""_s}
        << QStringList{
               u"-x² + 4 = 0"_s,
               u"D = 0² - 4 • (-1) • 4 = 0 - (-16) = 16"_s,
               u"x₁ = 0 + √1̅6̅ / 2 • (-1) = 0 + 4 / -2 = -2"_s,
               u"x₂ = 0 - √1̅6̅ / 2 • (-1) = 0 - 4 / -2 = 2"_s,
               u"Ответ: x₁ = -2; x₂ = 2"_s,
           }
        << false;

    QTest::newRow("quadratic, b = -1 and a other than 1")
        << EquationType::Quadratic << u"2"_s << u"-1"_s << u"-1"_s << u"y"_s << u"9"_s
        << QStringList{u"1"_s, u"-0,5"_s, u""_s, u""_s}
        << QStringList{
               u"2x² - x - 1 = 0"_s,
               u"D = -1² - 4 • 2 • (-1) = 1 - (-8) = 9"_s,
               u"x₁ = - (-1) + √9̅ / 2 • 2 = 1 + 3 / 4 = 1"_s,
               u"x₂ = - (-1) - √9̅ / 2 • 2 = 1 - 3 / 4 = -0,5"_s,
               u"Ответ: x₁ = 1; x₂ = -0,5"_s,
           }
        << false;

    QTest::newRow("quadratic, D = 0")
        << EquationType::Quadratic << u"1"_s << u"2"_s << u"1"_s << u"y"_s << u"0"_s
        << QStringList{u"-1"_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x² + 2x + 1 = 0"_s,
               u"D = 2² - 4 • 1 • 1 = 4 - 4 = 0"_s,
               u"x = -2 ± 0 / 2 • 1 = -2 / 2 = -1"_s,
               u"Ответ: x = -1"_s,
           }
        << false;

    QTest::newRow("quadratic, D = 0 with a < 0")
        << EquationType::Quadratic << u"-1"_s << u"2"_s << u"-1"_s << u"y"_s << u"0"_s
        << QStringList{u"1"_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"-x² + 2x - 1 = 0"_s,
               u"D = 2² - 4 • (-1) • (-1) = 4 - 4 = 0"_s,
               u"x = -2 ± 0 / 2 • (-1) = -2 / -2 = 1"_s,
               u"Ответ: x = 1"_s,
           }
        << false;

    QTest::newRow("quadratic, D < 0")
        << EquationType::Quadratic << u"1"_s << u"0"_s << u"1"_s << u"y"_s << u"-4"_s
        << QStringList{u""_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x² + 1 = 0"_s,
               u"D = 0² - 4 • 1 • 1 = 0 - 4 = -4"_s,
               u"Ответ: нет корней"_s,
           }
        << true;

    QTest::newRow("quadratic, D a tiny negative from rounding")
        << EquationType::Quadratic << u"1"_s << u"1,4"_s << u"0,49"_s << u"y"_s << u"-2,22044604925031E-16"_s
        << QStringList{u""_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x² + 1,4x + 0,49 = 0"_s,
               u"D = 1,4² - 4 • 1 • 0,49 = 1,96 - 1,96 = -2,22044604925031E-16"_s,
               u"Ответ: нет корней"_s,
           }
        << true;

    QTest::newRow("quadratic, D a tiny positive in exponent form")
        << EquationType::Quadratic << u"1"_s << u"0,2"_s << u"0,01"_s << u"y"_s << u"6,93889390390723E-18"_s
        << QStringList{u"-0,099999998682911"_s, u"-0,100000001317089"_s, u""_s, u""_s}
        << QStringList{
               u"x² + 0,2x + 0,01 = 0"_s,
               u"D = 0,2² - 4 • 1 • 0,01 = 0,04 - 0,04 = 6,93889390390723E-18"_s,
               u"x₁ = -0,2 + √6̅,̅9̅3̅8̅8̅9̅3̅9̅0̅3̅9̅0̅7̅2̅3̅E̅-̅1̅8̅ / 2 • 1 = -0,2 + 2,63417803193088E-9 / 2 = -0,099999998682911"_s,
               u"x₂ = -0,2 - √6̅,̅9̅3̅8̅8̅9̅3̅9̅0̅3̅9̅0̅7̅2̅3̅E̅-̅1̅8̅ / 2 • 1 = -0,2 - 2,63417803193088E-9 / 2 = -0,100000001317089"_s,
               u"Ответ: x₁ = -0,099999998682911; x₂ = -0,100000001317089"_s,
           }
        << false;

    QTest::newRow("biquadratic case 7 (worked example)")
        << EquationType::Biquadratic << u"1"_s << u"-5"_s << u"4"_s << u"y"_s << u"9"_s
        << QStringList{u"2"_s, u"-2"_s, u"1"_s, u"-1"_s}
        << QStringList{
               u"x⁴ - 5x² + 4 = 0"_s,
               u"x² = y"_s,
               u"y² - 5y + 4 = 0"_s,
               u"D = -5² - 4 • 1 • 4 = 25 - 16 = 9"_s,
               u"y₁ = - (-5) + √9̅ / 2 • 1 = 5 + 3 / 2 = 4"_s,
               u"y₂ = - (-5) - √9̅ / 2 • 1 = 5 - 3 / 2 = 1"_s,
               u"x² = 4; x² = 1"_s,
               u"Ответ: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"_s,
           }
        << false;

    QTest::newRow("biquadratic case 1: y1 = 0, y2 < 0")
        << EquationType::Biquadratic << u"1"_s << u"3"_s << u"0"_s << u"y"_s << u"9"_s
        << QStringList{u"0"_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x⁴ + 3x² = 0"_s,
               u"x² = y"_s,
               u"y² + 3y = 0"_s,
               u"D = 3² - 4 • 1 • 0 = 9 - 0 = 9"_s,
               u"y₁ = -3 + √9̅ / 2 • 1 = -3 + 3 / 2 = 0"_s,
               u"y₂ = -3 - √9̅ / 2 • 1 = -3 - 3 / 2 = -3"_s,
               u"x² = 0; x² = -3"_s,
               u"Ответ: x = 0"_s,
           }
        << false;

    QTest::newRow("biquadratic case 2: y1 = 0, y2 > 0")
        << EquationType::Biquadratic << u"-1"_s << u"4"_s << u"0"_s << u"y"_s << u"16"_s
        << QStringList{u"0"_s, u"2"_s, u"-2"_s, u""_s}
        << QStringList{
               u"-x⁴ + 4x² = 0"_s,
               u"x² = y"_s,
               u"-y² + 4y = 0"_s,
               u"D = 4² - 4 • (-1) • 0 = 16 - 0 = 16"_s,
               u"y₁ = -4 + √1̅6̅ / 2 • (-1) = -4 + 4 / -2 = 0"_s,
               u"y₂ = -4 - √1̅6̅ / 2 • (-1) = -4 - 4 / -2 = 4"_s,
               u"x² = 0; x² = 4"_s,
               u"Ответ: x₁ = 0; x₂ = 2; x₃ = -2"_s,
           }
        << false;

    QTest::newRow("biquadratic case 3: y1 > 0, y2 = 0")
        << EquationType::Biquadratic << u"1"_s << u"-4"_s << u"0"_s << u"y"_s << u"16"_s
        << QStringList{u"0"_s, u"2"_s, u"-2"_s, u""_s}
        << QStringList{
               u"x⁴ - 4x² = 0"_s,
               u"x² = y"_s,
               u"y² - 4y = 0"_s,
               u"D = -4² - 4 • 1 • 0 = 16 - 0 = 16"_s,
               u"y₁ = - (-4) + √1̅6̅ / 2 • 1 = 4 + 4 / 2 = 4"_s,
               u"y₂ = - (-4) - √1̅6̅ / 2 • 1 = 4 - 4 / 2 = 0"_s,
               u"x² = 4; x² = 0"_s,
               u"Ответ: x₁ = 0; x₂ = 2; x₃ = -2"_s,
           }
        << false;

    QTest::newRow("biquadratic case 4: y1 > 0, y2 < 0")
        << EquationType::Biquadratic << u"1"_s << u"0"_s << u"-16"_s << u"y"_s << u"64"_s
        << QStringList{u"2"_s, u"-2"_s, u""_s, u""_s}
        << QStringList{
               u"x⁴ - 16 = 0"_s,
               u"x² = y"_s,
               u"y² - 16 = 0"_s,
               u"D = 0² - 4 • 1 • (-16) = 0 - (-64) = 64"_s,
               u"y₁ = 0 + √6̅4̅ / 2 • 1 = 0 + 8 / 2 = 4"_s,
               u"y₂ = 0 - √6̅4̅ / 2 • 1 = 0 - 8 / 2 = -4"_s,
               u"x² = 4; x² = -4"_s,
               u"Ответ: x₁ = 2; x₂ = -2"_s,
           }
        << false;

    QTest::newRow("biquadratic case 5: y1 < 0, y2 > 0")
        << EquationType::Biquadratic << u"-1"_s << u"0"_s << u"9"_s << u"y"_s << u"36"_s
        << QStringList{u"1,73205080756888"_s, u"-1,73205080756888"_s, u""_s, u""_s}
        << QStringList{
               u"-x⁴ + 9 = 0"_s,
               u"x² = y"_s,
               u"-y² + 9 = 0"_s,
               u"D = 0² - 4 • (-1) • 9 = 0 - (-36) = 36"_s,
               u"y₁ = 0 + √3̅6̅ / 2 • (-1) = 0 + 6 / -2 = -3"_s,
               u"y₂ = 0 - √3̅6̅ / 2 • (-1) = 0 - 6 / -2 = 3"_s,
               u"x² = -3; x² = 3"_s,
               u"Ответ: x₁ = 1,73205080756888; x₂ = -1,73205080756888"_s,
           }
        << false;

    QTest::newRow("biquadratic case 6: y1 < 0, y2 < 0")
        << EquationType::Biquadratic << u"1"_s << u"5"_s << u"6"_s << u"y"_s << u"1"_s
        << QStringList{u""_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x⁴ + 5x² + 6 = 0"_s,
               u"x² = y"_s,
               u"y² + 5y + 6 = 0"_s,
               u"D = 5² - 4 • 1 • 6 = 25 - 24 = 1"_s,
               u"y₁ = -5 + √1̅ / 2 • 1 = -5 + 1 / 2 = -2"_s,
               u"y₂ = -5 - √1̅ / 2 • 1 = -5 - 1 / 2 = -3"_s,
               u"x² = -2; x² = -3"_s,
               u"Ответ: нет корней"_s,
           }
        << false;

    QTest::newRow("biquadratic case 8: y1 < 0, y2 = 0")
        << EquationType::Biquadratic << u"-1"_s << u"-1"_s << u"0"_s << u"y"_s << u"1"_s
        << QStringList{u"0"_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"-x⁴ - x² = 0"_s,
               u"x² = y"_s,
               u"-y² - y = 0"_s,
               u"D = -1² - 4 • (-1) • 0 = 1 - 0 = 1"_s,
               u"y₁ = - (-1) + √1̅ / 2 • (-1) = 1 + 1 / -2 = -1"_s,
               u"y₂ = - (-1) - √1̅ / 2 • (-1) = 1 - 1 / -2 = 0"_s,
               u"x² = -1; x² = 0"_s,
               u"Ответ: x = 0"_s,
           }
        << false;

    // Pasted exponent forms: y₂ underflows to -0 beside y₁ = 0, and x = 0 is still the root.
    QTest::newRow("biquadratic, both substitution roots zero")
        << EquationType::Biquadratic << u"1E300"_s << u"1E-30"_s << u"0"_s << u"y"_s << u"1E-60"_s
        << QStringList{u"0"_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"1E300x⁴ + 1E-30x² = 0"_s,
               u"x² = y"_s,
               u"1E300y² + 1E-30y = 0"_s,
               u"D = 1E-30² - 4 • 1E300 • 0 = 1E-60 - 0 = 1E-60"_s,
               u"y₁ = -1E-30 + √1̅E̅-̅6̅0̅ / 2 • 1E300 = -1E-30 + 1E-30 / 2E300 = 0"_s,
               u"y₂ = -1E-30 - √1̅E̅-̅6̅0̅ / 2 • 1E300 = -1E-30 - 1E-30 / 2E300 = 0"_s,
               u"x² = 0; x² = 0"_s,
               u"Ответ: x = 0"_s,
           }
        << false;

    QTest::newRow("biquadratic, D = 0, y > 0")
        << EquationType::Biquadratic << u"1"_s << u"-2"_s << u"1"_s << u"y"_s << u"0"_s
        << QStringList{u"1"_s, u"-1"_s, u""_s, u""_s}
        << QStringList{
               u"x⁴ - 2x² + 1 = 0"_s,
               u"x² = y"_s,
               u"y² - 2y + 1 = 0"_s,
               u"D = -2² - 4 • 1 • 1 = 4 - 4 = 0"_s,
               u"y = - (-2) ± 0 / 2 • 1 = 2 / 2 = 1"_s,
               u"Ответ: x₁ = 1; x₂ = -1"_s,
           }
        << false;

    QTest::newRow("biquadratic, D = 0, y = 0")
        << EquationType::Biquadratic << u"1"_s << u"0"_s << u"0"_s << u"y"_s << u"0"_s
        << QStringList{u"0"_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x⁴ = 0"_s,
               u"x² = y"_s,
               u"y² = 0"_s,
               u"D = 0² - 4 • 1 • 0 = 0 - 0 = 0"_s,
               u"y = 0 ± 0 / 2 • 1 = 0 / 2 = 0"_s,
               u"Ответ: x = 0"_s,
           }
        << false;

    QTest::newRow("biquadratic, D = 0, y < 0")
        << EquationType::Biquadratic << u"1"_s << u"2"_s << u"1"_s << u"y"_s << u"0"_s
        << QStringList{u""_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x⁴ + 2x² + 1 = 0"_s,
               u"x² = y"_s,
               u"y² + 2y + 1 = 0"_s,
               u"D = 2² - 4 • 1 • 1 = 4 - 4 = 0"_s,
               u"y = -2 ± 0 / 2 • 1 = -2 / 2 = -1"_s,
               u"Ответ: нет корней"_s,
           }
        << false;

    QTest::newRow("biquadratic, D < 0")
        << EquationType::Biquadratic << u"1"_s << u"1"_s << u"1"_s << u"y"_s << u"-3"_s
        << QStringList{u""_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"x⁴ + x² + 1 = 0"_s,
               u"x² = y"_s,
               u"y² + y + 1 = 0"_s,
               u"D = 1² - 4 • 1 • 1 = 1 - 4 = -3"_s,
               u"Ответ: нет корней"_s,
           }
        << true;

    QTest::newRow("biquadratic, empty letter")
        << EquationType::Biquadratic << u"1"_s << u"-5"_s << u"4"_s << u""_s << u"9"_s
        << QStringList{u"2"_s, u"-2"_s, u"1"_s, u"-1"_s}
        << QStringList{
               u"x⁴ - 5x² + 4 = 0"_s,
               u"x² = "_s,
               u"² - 5 + 4 = 0"_s,
               u"D = -5² - 4 • 1 • 4 = 25 - 16 = 9"_s,
               u"₁ = - (-5) + √9̅ / 2 • 1 = 5 + 3 / 2 = 4"_s,
               u"₂ = - (-5) - √9̅ / 2 • 1 = 5 - 3 / 2 = 1"_s,
               u"x² = 4; x² = 1"_s,
               u"Ответ: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"_s,
           }
        << false;

    QTest::newRow("biquadratic, two-character letter")
        << EquationType::Biquadratic << u"-1"_s << u"-1"_s << u"0"_s << u"ty"_s << u"1"_s
        << QStringList{u"0"_s, u""_s, u""_s, u""_s}
        << QStringList{
               u"-x⁴ - x² = 0"_s,
               u"x² = ty"_s,
               u"-ty² - ty = 0"_s,
               u"D = -1² - 4 • (-1) • 0 = 1 - 0 = 1"_s,
               u"ty₁ = - (-1) + √1̅ / 2 • (-1) = 1 + 1 / -2 = -1"_s,
               u"ty₂ = - (-1) - √1̅ / 2 • (-1) = 1 - 1 / -2 = 0"_s,
               u"x² = -1; x² = 0"_s,
               u"Ответ: x = 0"_s,
           }
        << false;
}

void TestEquation::solve() {
    QFETCH(EquationType, type);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(QString, letter);
    QFETCH(QString, discriminant);
    QFETCH(QStringList, rootFields);
    QFETCH(QStringList, lines);
    QFETCH(bool, noRealRoots);

    const velmora::EquationNumbers numbers =
        velmora::solveEquation(typed(a), typed(b), typed(c), type);
    const velmora::EquationText text = velmora::describeEquation(numbers, letter, comma);

    QCOMPARE(velmora::formatGeneral(numbers.d, comma), discriminant);
    QCOMPARE(QStringList(text.rootFields.begin(), text.rootFields.end()), rootFields);
    QCOMPARE(QStringList(text.lines.begin(), text.lines.end()), lines);
    QCOMPARE(text.noRealRoots, noRealRoots);
}

// Coefficients that reach the window only by pasting exponent notation. A row that must not
// overflow sits next to each limit, so a check that refuses large but valid values shows up.
void TestEquation::overflow_data() {
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("b*b") << EquationType::Quadratic << 1.0 << 1e200 << 0.0 << true;
    QTest::newRow("b*b at the top of the range")
        << EquationType::Quadratic << 1.0 << 1e154 << 0.0 << false;
    QTest::newRow("(4*a)*c") << EquationType::Quadratic << 1e300 << 0.0 << 1e10 << true;
    QTest::newRow("2*a and 4*a") << EquationType::Quadratic << 1e308 << 1.0 << 0.0 << true;
    QTest::newRow("D from two finite terms")
        << EquationType::Quadratic << 1.0 << 1e154 << -2.5e307 << true;
    QTest::newRow("root") << EquationType::Quadratic << 1e-300 << 1e10 << 0.0 << true;
    QTest::newRow("root just inside") << EquationType::Quadratic << 1e-300 << 1e5 << 0.0 << false;
    QTest::newRow("substitution root")
        << EquationType::Biquadratic << 1e-300 << 1e10 << 0.0 << true;
    // b*b == (4*a)*c == 2^-60 exactly, so D = 0 and the single root is -2^1031.
    QTest::newRow("single root") << EquationType::Quadratic << std::ldexp(1.0, -1062)
                                 << std::ldexp(1.0, -30) << std::ldexp(1.0, 1000) << true;
}

void TestEquation::overflow() {
    QFETCH(EquationType, type);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    QFETCH(bool, overflows);

    QString message;
    try {
        velmora::solveEquation(a, b, c, type);
    } catch (const velmora::Failure& failure) {
        message = failure.message();
    }
    QCOMPARE(message, overflows ? u"Floating point overflow"_s : QString());
}

QTEST_APPLESS_MAIN(TestEquation)
#include "tst_equation.moc"
