#include "tests/support/workedexamples.h"

using namespace Qt::Literals::StringLiterals;

namespace velmora::test {

const QList<SolveExample>& solveExamples() {
    static const QList<SolveExample> examples = {
        {"quadratic, two roots (worked example)", EquationType::Quadratic, u"1"_s, u"-3"_s, u"2"_s,
         u"y"_s, u"1"_s, QStringList{u"2"_s, u"1"_s, u""_s, u""_s},
         QStringList{
             u"x² - 3x + 2 = 0"_s,
             u"D = -3² - 4 • 1 • 2 = 9 - 8 = 1"_s,
             u"x₁ = - (-3) + √1̅ / 2 • 1 = 3 + 1 / 2 = 2"_s,
             u"x₂ = - (-3) - √1̅ / 2 • 1 = 3 - 1 / 2 = 1"_s,
             u"Ответ: x₁ = 2; x₂ = 1"_s,
         },
         false},
        {"quadratic, irrational roots", EquationType::Quadratic, u"3"_s, u"1"_s, u"-1"_s, u"y"_s,
         u"13"_s, QStringList{u"0,434258545910665"_s, u"-0,767591879243998"_s, u""_s, u""_s},
         QStringList{
             u"3x² + x - 1 = 0"_s,
             u"D = 1² - 4 • 3 • (-1) = 1 - (-12) = 13"_s,
             u"x₁ = -1 + √1̅3̅ / 2 • 3 = -1 + 3,60555127546399 / 6 = 0,434258545910665"_s,
             u"x₂ = -1 - √1̅3̅ / 2 • 3 = -1 - 3,60555127546399 / 6 = -0,767591879243998"_s,
             u"Ответ: x₁ = 0,434258545910665; x₂ = -0,767591879243998"_s,
         },
         false},
        {"quadratic, a = 0,5", EquationType::Quadratic, u"0,5"_s, u"-1,5"_s, u"1"_s, u"y"_s,
         u"0,25"_s, QStringList{u"2"_s, u"1"_s, u""_s, u""_s},
         QStringList{
             u"0,5x² - 1,5x + 1 = 0"_s,
             u"D = -1,5² - 4 • 0,5 • 1 = 2,25 - 2 = 0,25"_s,
             u"x₁ = - (-1,5) + √0̅,̅2̅5̅ / 2 • 0,5 = 1,5 + 0,5 / 1 = 2"_s,
             u"x₂ = - (-1,5) - √0̅,̅2̅5̅ / 2 • 0,5 = 1,5 - 0,5 / 1 = 1"_s,
             u"Ответ: x₁ = 2; x₂ = 1"_s,
         },
         false},
        {"quadratic, a < 0 gives the smaller root first", EquationType::Quadratic, u"-1"_s, u"0"_s,
         u"4"_s, u"y"_s, u"16"_s, QStringList{u"-2"_s, u"2"_s, u""_s, u""_s},
         QStringList{
             u"-x² + 4 = 0"_s,
             u"D = 0² - 4 • (-1) • 4 = 0 - (-16) = 16"_s,
             u"x₁ = 0 + √1̅6̅ / 2 • (-1) = 0 + 4 / -2 = -2"_s,
             u"x₂ = 0 - √1̅6̅ / 2 • (-1) = 0 - 4 / -2 = 2"_s,
             u"Ответ: x₁ = -2; x₂ = 2"_s,
         },
         false},
        {"quadratic, b = -1 and a other than 1", EquationType::Quadratic, u"2"_s, u"-1"_s, u"-1"_s,
         u"y"_s, u"9"_s, QStringList{u"1"_s, u"-0,5"_s, u""_s, u""_s},
         QStringList{
             u"2x² - x - 1 = 0"_s,
             u"D = -1² - 4 • 2 • (-1) = 1 - (-8) = 9"_s,
             u"x₁ = - (-1) + √9̅ / 2 • 2 = 1 + 3 / 4 = 1"_s,
             u"x₂ = - (-1) - √9̅ / 2 • 2 = 1 - 3 / 4 = -0,5"_s,
             u"Ответ: x₁ = 1; x₂ = -0,5"_s,
         },
         false},
        {"quadratic, D = 0", EquationType::Quadratic, u"1"_s, u"2"_s, u"1"_s, u"y"_s, u"0"_s,
         QStringList{u"-1"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x² + 2x + 1 = 0"_s,
             u"D = 2² - 4 • 1 • 1 = 4 - 4 = 0"_s,
             u"x = -2 ± 0 / 2 • 1 = -2 / 2 = -1"_s,
             u"Ответ: x = -1"_s,
         },
         false},
        {"quadratic, D = 0 with a < 0", EquationType::Quadratic, u"-1"_s, u"2"_s, u"-1"_s, u"y"_s,
         u"0"_s, QStringList{u"1"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"-x² + 2x - 1 = 0"_s,
             u"D = 2² - 4 • (-1) • (-1) = 4 - 4 = 0"_s,
             u"x = -2 ± 0 / 2 • (-1) = -2 / -2 = 1"_s,
             u"Ответ: x = 1"_s,
         },
         false},
        {"quadratic, D < 0", EquationType::Quadratic, u"1"_s, u"0"_s, u"1"_s, u"y"_s, u"-4"_s,
         QStringList{u""_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x² + 1 = 0"_s,
             u"D = 0² - 4 • 1 • 1 = 0 - 4 = -4"_s,
             u"Ответ: нет корней"_s,
         },
         true},
        {"quadratic, (x + 0,7)² has the one root -0,7", EquationType::Quadratic, u"1"_s, u"1,4"_s,
         u"0,49"_s, u"y"_s, u"0"_s, QStringList{u"-0,7"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x² + 1,4x + 0,49 = 0"_s,
             u"D = 1,4² - 4 • 1 • 0,49 = 1,96 - 1,96 = 0"_s,
             u"x = -1,4 ± 0 / 2 • 1 = -1,4 / 2 = -0,7"_s,
             u"Ответ: x = -0,7"_s,
         },
         false},
        {"quadratic, (x - 0,1)² has the one root 0,1", EquationType::Quadratic, u"1"_s, u"-0,2"_s,
         u"0,01"_s, u"y"_s, u"0"_s, QStringList{u"0,1"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x² - 0,2x + 0,01 = 0"_s,
             u"D = -0,2² - 4 • 1 • 0,01 = 0,04 - 0,04 = 0"_s,
             u"x = - (-0,2) ± 0 / 2 • 1 = 0,2 / 2 = 0,1"_s,
             u"Ответ: x = 0,1"_s,
         },
         false},
        {"quadratic, (x + 0,1)² has the one root -0,1", EquationType::Quadratic, u"1"_s, u"0,2"_s,
         u"0,01"_s, u"y"_s, u"0"_s, QStringList{u"-0,1"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x² + 0,2x + 0,01 = 0"_s,
             u"D = 0,2² - 4 • 1 • 0,01 = 0,04 - 0,04 = 0"_s,
             u"x = -0,2 ± 0 / 2 • 1 = -0,2 / 2 = -0,1"_s,
             u"Ответ: x = -0,1"_s,
         },
         false},
        {"quadratic, (x + 2,35)² with two decimals", EquationType::Quadratic, u"1"_s, u"4,7"_s,
         u"5,5225"_s, u"y"_s, u"0"_s, QStringList{u"-2,35"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x² + 4,7x + 5,5225 = 0"_s,
             u"D = 4,7² - 4 • 1 • 5,5225 = 22,09 - 22,09 = 0"_s,
             u"x = -4,7 ± 0 / 2 • 1 = -4,7 / 2 = -2,35"_s,
             u"Ответ: x = -2,35"_s,
         },
         false},
        {"quadratic, (x - 12,3)²", EquationType::Quadratic, u"1"_s, u"-24,6"_s, u"151,29"_s, u"y"_s,
         u"0"_s, QStringList{u"12,3"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x² - 24,6x + 151,29 = 0"_s,
             u"D = -24,6² - 4 • 1 • 151,29 = 605,16 - 605,16 = 0"_s,
             u"x = - (-24,6) ± 0 / 2 • 1 = 24,6 / 2 = 12,3"_s,
             u"Ответ: x = 12,3"_s,
         },
         false},
        {"quadratic, negative a, -(x - 0,7)²", EquationType::Quadratic, u"-1"_s, u"1,4"_s,
         u"-0,49"_s, u"y"_s, u"0"_s, QStringList{u"0,7"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"-x² + 1,4x - 0,49 = 0"_s,
             u"D = 1,4² - 4 • (-1) • (-0,49) = 1,96 - 1,96 = 0"_s,
             u"x = -1,4 ± 0 / 2 • (-1) = -1,4 / -2 = 0,7"_s,
             u"Ответ: x = 0,7"_s,
         },
         false},
        {"quadratic, negative a, irrational roots", EquationType::Quadratic, u"-0,3"_s, u"0,7"_s,
         u"1,9"_s, u"y"_s, u"2,77"_s,
         QStringList{u"-1,60721949618221"_s, u"3,94055282951554"_s, u""_s, u""_s},
         QStringList{
             u"-0,3x² + 0,7x + 1,9 = 0"_s,
             u"D = 0,7² - 4 • (-0,3) • 1,9 = 0,49 - (-2,28) = 2,77"_s,
             u"x₁ = -0,7 + √2̅,̅7̅7̅ / 2 • (-0,3) = -0,7 + 1,66433169770932 / -0,6 = -1,60721949618221"_s,
             u"x₂ = -0,7 - √2̅,̅7̅7̅ / 2 • (-0,3) = -0,7 - 1,66433169770932 / -0,6 = 3,94055282951554"_s,
             u"Ответ: x₁ = -1,60721949618221; x₂ = 3,94055282951554"_s,
         },
         false},
        {"quadratic, a root lost to cancellation in -b + √D", EquationType::Quadratic, u"0,0001"_s,
         u"999999"_s, u"0,0001"_s, u"y"_s, u"999998000001"_s,
         QStringList{u"-1,000001000001E-10"_s, u"-9999990000"_s, u""_s, u""_s},
         QStringList{
             u"0,0001x² + 999999x + 0,0001 = 0"_s,
             u"D = 999999² - 4 • 0,0001 • 0,0001 = 999998000001 - 4E-8 = 999998000001"_s,
             u"x₁ = -999999 + √9̅9̅9̅9̅9̅8̅0̅0̅0̅0̅0̅1̅ / 2 • 0,0001 = -999999 + 999999 / 0,0002 = -1,000001000001E-10"_s,
             u"x₂ = -999999 - √9̅9̅9̅9̅9̅8̅0̅0̅0̅0̅0̅1̅ / 2 • 0,0001 = -999999 - 999999 / 0,0002 = -9999990000"_s,
             u"Ответ: x₁ = -1,000001000001E-10; x₂ = -9999990000"_s,
         },
         false},
        // √29,7 = 5,44977063737548|49…: rounded once from the true value; its 18 digits rounded
        // again would end in …549.
        {"quadratic, the 15th digit rounded once", EquationType::Quadratic, u"1"_s, u""_s,
         u"-29,7"_s, u"y"_s, u"118,8"_s,
         QStringList{u"5,44977063737548"_s, u"-5,44977063737548"_s, u""_s, u""_s},
         QStringList{
             u"x² - 29,7 = 0"_s,
             u"D = 0² - 4 • 1 • (-29,7) = 0 - (-118,8) = 118,8"_s,
             u"x₁ = 0 + √1̅1̅8̅,̅8̅ / 2 • 1 = 0 + 10,899541274751 / 2 = 5,44977063737548"_s,
             u"x₂ = 0 - √1̅1̅8̅,̅8̅ / 2 • 1 = 0 - 10,899541274751 / 2 = -5,44977063737548"_s,
             u"Ответ: x₁ = 5,44977063737548; x₂ = -5,44977063737548"_s,
         },
         false},
        {"quadratic, tiny a: the root near -1 is not lost", EquationType::Quadratic, u"1E-200"_s,
         u"1"_s, u"1"_s, u"y"_s, u"1"_s, QStringList{u"-1"_s, u"-1E200"_s, u""_s, u""_s},
         QStringList{
             u"1E-200x² + x + 1 = 0"_s,
             u"D = 1² - 4 • 1E-200 • 1 = 1 - 4E-200 = 1"_s,
             u"x₁ = -1 + √1̅ / 2 • 1E-200 = -1 + 1 / 2E-200 = -1"_s,
             u"x₂ = -1 - √1̅ / 2 • 1E-200 = -1 - 1 / 2E-200 = -1E200"_s,
             u"Ответ: x₁ = -1; x₂ = -1E200"_s,
         },
         false},
        {"quadratic, numbers below the double range are written", EquationType::Quadratic, u"1"_s,
         u"1E-200"_s, u""_s, u"y"_s, u"1E-400"_s, QStringList{u"0"_s, u"-1E-200"_s, u""_s, u""_s},
         QStringList{
             u"x² + 1E-200x = 0"_s,
             u"D = 1E-200² - 4 • 1 • 0 = 1E-400 - 0 = 1E-400"_s,
             u"x₁ = -1E-200 + √1̅E̅-̅4̅0̅0̅ / 2 • 1 = -1E-200 + 1E-200 / 2 = 0"_s,
             u"x₂ = -1E-200 - √1̅E̅-̅4̅0̅0̅ / 2 • 1 = -1E-200 - 1E-200 / 2 = -1E-200"_s,
             u"Ответ: x₁ = 0; x₂ = -1E-200"_s,
         },
         false},
        {"biquadratic case 7 (worked example)", EquationType::Biquadratic, u"1"_s, u"-5"_s, u"4"_s,
         u"y"_s, u"9"_s, QStringList{u"2"_s, u"-2"_s, u"1"_s, u"-1"_s},
         QStringList{
             u"x⁴ - 5x² + 4 = 0"_s,
             u"x² = y"_s,
             u"y² - 5y + 4 = 0"_s,
             u"D = -5² - 4 • 1 • 4 = 25 - 16 = 9"_s,
             u"y₁ = - (-5) + √9̅ / 2 • 1 = 5 + 3 / 2 = 4"_s,
             u"y₂ = - (-5) - √9̅ / 2 • 1 = 5 - 3 / 2 = 1"_s,
             u"x² = 4; x² = 1"_s,
             u"Ответ: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"_s,
         },
         false},
        {"biquadratic case 1: y1 = 0, y2 < 0", EquationType::Biquadratic, u"1"_s, u"3"_s, u"0"_s,
         u"y"_s, u"9"_s, QStringList{u"0"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x⁴ + 3x² = 0"_s,
             u"x² = y"_s,
             u"y² + 3y = 0"_s,
             u"D = 3² - 4 • 1 • 0 = 9 - 0 = 9"_s,
             u"y₁ = -3 + √9̅ / 2 • 1 = -3 + 3 / 2 = 0"_s,
             u"y₂ = -3 - √9̅ / 2 • 1 = -3 - 3 / 2 = -3"_s,
             u"x² = 0; x² = -3"_s,
             u"Ответ: x = 0"_s,
         },
         false},
        {"biquadratic case 2: y1 = 0, y2 > 0", EquationType::Biquadratic, u"-1"_s, u"4"_s, u"0"_s,
         u"y"_s, u"16"_s, QStringList{u"0"_s, u"2"_s, u"-2"_s, u""_s},
         QStringList{
             u"-x⁴ + 4x² = 0"_s,
             u"x² = y"_s,
             u"-y² + 4y = 0"_s,
             u"D = 4² - 4 • (-1) • 0 = 16 - 0 = 16"_s,
             u"y₁ = -4 + √1̅6̅ / 2 • (-1) = -4 + 4 / -2 = 0"_s,
             u"y₂ = -4 - √1̅6̅ / 2 • (-1) = -4 - 4 / -2 = 4"_s,
             u"x² = 0; x² = 4"_s,
             u"Ответ: x₁ = 0; x₂ = 2; x₃ = -2"_s,
         },
         false},
        {"biquadratic case 3: y1 > 0, y2 = 0", EquationType::Biquadratic, u"1"_s, u"-4"_s, u"0"_s,
         u"y"_s, u"16"_s, QStringList{u"0"_s, u"2"_s, u"-2"_s, u""_s},
         QStringList{
             u"x⁴ - 4x² = 0"_s,
             u"x² = y"_s,
             u"y² - 4y = 0"_s,
             u"D = -4² - 4 • 1 • 0 = 16 - 0 = 16"_s,
             u"y₁ = - (-4) + √1̅6̅ / 2 • 1 = 4 + 4 / 2 = 4"_s,
             u"y₂ = - (-4) - √1̅6̅ / 2 • 1 = 4 - 4 / 2 = 0"_s,
             u"x² = 4; x² = 0"_s,
             u"Ответ: x₁ = 0; x₂ = 2; x₃ = -2"_s,
         },
         false},
        {"biquadratic case 4: y1 > 0, y2 < 0", EquationType::Biquadratic, u"1"_s, u"0"_s, u"-16"_s,
         u"y"_s, u"64"_s, QStringList{u"2"_s, u"-2"_s, u""_s, u""_s},
         QStringList{
             u"x⁴ - 16 = 0"_s,
             u"x² = y"_s,
             u"y² - 16 = 0"_s,
             u"D = 0² - 4 • 1 • (-16) = 0 - (-64) = 64"_s,
             u"y₁ = 0 + √6̅4̅ / 2 • 1 = 0 + 8 / 2 = 4"_s,
             u"y₂ = 0 - √6̅4̅ / 2 • 1 = 0 - 8 / 2 = -4"_s,
             u"x² = 4; x² = -4"_s,
             u"Ответ: x₁ = 2; x₂ = -2"_s,
         },
         false},
        {"biquadratic case 5: y1 < 0, y2 > 0", EquationType::Biquadratic, u"-1"_s, u"0"_s, u"9"_s,
         u"y"_s, u"36"_s, QStringList{u"1,73205080756888"_s, u"-1,73205080756888"_s, u""_s, u""_s},
         QStringList{
             u"-x⁴ + 9 = 0"_s,
             u"x² = y"_s,
             u"-y² + 9 = 0"_s,
             u"D = 0² - 4 • (-1) • 9 = 0 - (-36) = 36"_s,
             u"y₁ = 0 + √3̅6̅ / 2 • (-1) = 0 + 6 / -2 = -3"_s,
             u"y₂ = 0 - √3̅6̅ / 2 • (-1) = 0 - 6 / -2 = 3"_s,
             u"x² = -3; x² = 3"_s,
             u"Ответ: x₁ = 1,73205080756888; x₂ = -1,73205080756888"_s,
         },
         false},
        {"biquadratic case 6: y1 < 0, y2 < 0", EquationType::Biquadratic, u"1"_s, u"5"_s, u"6"_s,
         u"y"_s, u"1"_s, QStringList{u""_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x⁴ + 5x² + 6 = 0"_s,
             u"x² = y"_s,
             u"y² + 5y + 6 = 0"_s,
             u"D = 5² - 4 • 1 • 6 = 25 - 24 = 1"_s,
             u"y₁ = -5 + √1̅ / 2 • 1 = -5 + 1 / 2 = -2"_s,
             u"y₂ = -5 - √1̅ / 2 • 1 = -5 - 1 / 2 = -3"_s,
             u"x² = -2; x² = -3"_s,
             u"Ответ: нет корней"_s,
         },
         false},
        {"biquadratic case 8: y1 < 0, y2 = 0", EquationType::Biquadratic, u"-1"_s, u"-1"_s, u"0"_s,
         u"y"_s, u"1"_s, QStringList{u"0"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"-x⁴ - x² = 0"_s,
             u"x² = y"_s,
             u"-y² - y = 0"_s,
             u"D = -1² - 4 • (-1) • 0 = 1 - 0 = 1"_s,
             u"y₁ = - (-1) + √1̅ / 2 • (-1) = 1 + 1 / -2 = -1"_s,
             u"y₂ = - (-1) - √1̅ / 2 • (-1) = 1 - 1 / -2 = 0"_s,
             u"x² = -1; x² = 0"_s,
             u"Ответ: x = 0"_s,
         },
         false},
        // Pasted exponent forms: y₂ = -1E-330 is below the double range and written as it is.
        {"biquadratic, y1 = 0 beside a y2 below the double range", EquationType::Biquadratic,
         u"1E300"_s, u"1E-30"_s, u"0"_s, u"y"_s, u"1E-60"_s,
         QStringList{u"0"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"1E300x⁴ + 1E-30x² = 0"_s,
             u"x² = y"_s,
             u"1E300y² + 1E-30y = 0"_s,
             u"D = 1E-30² - 4 • 1E300 • 0 = 1E-60 - 0 = 1E-60"_s,
             u"y₁ = -1E-30 + √1̅E̅-̅6̅0̅ / 2 • 1E300 = -1E-30 + 1E-30 / 2E300 = 0"_s,
             u"y₂ = -1E-30 - √1̅E̅-̅6̅0̅ / 2 • 1E300 = -1E-30 - 1E-30 / 2E300 = -1E-330"_s,
             u"x² = 0; x² = -1E-330"_s,
             u"Ответ: x = 0"_s,
         },
         false},
        {"biquadratic, (x² + 0,7)²: y = -0,7, no roots", EquationType::Biquadratic, u"1"_s,
         u"1,4"_s, u"0,49"_s, u"y"_s, u"0"_s, QStringList{u""_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x⁴ + 1,4x² + 0,49 = 0"_s,
             u"x² = y"_s,
             u"y² + 1,4y + 0,49 = 0"_s,
             u"D = 1,4² - 4 • 1 • 0,49 = 1,96 - 1,96 = 0"_s,
             u"y = -1,4 ± 0 / 2 • 1 = -1,4 / 2 = -0,7"_s,
             u"Ответ: нет корней"_s,
         },
         false},
        {"biquadratic, (x² - 0,1)²: x = ±√0,1", EquationType::Biquadratic, u"1"_s, u"-0,2"_s,
         u"0,01"_s, u"y"_s, u"0"_s,
         QStringList{u"0,316227766016838"_s, u"-0,316227766016838"_s, u""_s, u""_s},
         QStringList{
             u"x⁴ - 0,2x² + 0,01 = 0"_s,
             u"x² = y"_s,
             u"y² - 0,2y + 0,01 = 0"_s,
             u"D = -0,2² - 4 • 1 • 0,01 = 0,04 - 0,04 = 0"_s,
             u"y = - (-0,2) ± 0 / 2 • 1 = 0,2 / 2 = 0,1"_s,
             u"Ответ: x₁ = 0,316227766016838; x₂ = -0,316227766016838"_s,
         },
         false},
        {"biquadratic, D = 0, y > 0", EquationType::Biquadratic, u"1"_s, u"-2"_s, u"1"_s, u"y"_s,
         u"0"_s, QStringList{u"1"_s, u"-1"_s, u""_s, u""_s},
         QStringList{
             u"x⁴ - 2x² + 1 = 0"_s,
             u"x² = y"_s,
             u"y² - 2y + 1 = 0"_s,
             u"D = -2² - 4 • 1 • 1 = 4 - 4 = 0"_s,
             u"y = - (-2) ± 0 / 2 • 1 = 2 / 2 = 1"_s,
             u"Ответ: x₁ = 1; x₂ = -1"_s,
         },
         false},
        {"biquadratic, D = 0, y = 0", EquationType::Biquadratic, u"1"_s, u"0"_s, u"0"_s, u"y"_s,
         u"0"_s, QStringList{u"0"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x⁴ = 0"_s,
             u"x² = y"_s,
             u"y² = 0"_s,
             u"D = 0² - 4 • 1 • 0 = 0 - 0 = 0"_s,
             u"y = 0 ± 0 / 2 • 1 = 0 / 2 = 0"_s,
             u"Ответ: x = 0"_s,
         },
         false},
        {"biquadratic, D = 0, y < 0", EquationType::Biquadratic, u"1"_s, u"2"_s, u"1"_s, u"y"_s,
         u"0"_s, QStringList{u""_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x⁴ + 2x² + 1 = 0"_s,
             u"x² = y"_s,
             u"y² + 2y + 1 = 0"_s,
             u"D = 2² - 4 • 1 • 1 = 4 - 4 = 0"_s,
             u"y = -2 ± 0 / 2 • 1 = -2 / 2 = -1"_s,
             u"Ответ: нет корней"_s,
         },
         false},
        {"biquadratic, D < 0", EquationType::Biquadratic, u"1"_s, u"1"_s, u"1"_s, u"y"_s, u"-3"_s,
         QStringList{u""_s, u""_s, u""_s, u""_s},
         QStringList{
             u"x⁴ + x² + 1 = 0"_s,
             u"x² = y"_s,
             u"y² + y + 1 = 0"_s,
             u"D = 1² - 4 • 1 • 1 = 1 - 4 = -3"_s,
             u"Ответ: нет корней"_s,
         },
         true},
        {"biquadratic, empty letter", EquationType::Biquadratic, u"1"_s, u"-5"_s, u"4"_s, u""_s,
         u"9"_s, QStringList{u"2"_s, u"-2"_s, u"1"_s, u"-1"_s},
         QStringList{
             u"x⁴ - 5x² + 4 = 0"_s,
             u"x² = "_s,
             u"² - 5 + 4 = 0"_s,
             u"D = -5² - 4 • 1 • 4 = 25 - 16 = 9"_s,
             u"₁ = - (-5) + √9̅ / 2 • 1 = 5 + 3 / 2 = 4"_s,
             u"₂ = - (-5) - √9̅ / 2 • 1 = 5 - 3 / 2 = 1"_s,
             u"x² = 4; x² = 1"_s,
             u"Ответ: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"_s,
         },
         false},
        {"biquadratic, two-character letter", EquationType::Biquadratic, u"-1"_s, u"-1"_s, u"0"_s,
         u"ty"_s, u"1"_s, QStringList{u"0"_s, u""_s, u""_s, u""_s},
         QStringList{
             u"-x⁴ - x² = 0"_s,
             u"x² = ty"_s,
             u"-ty² - ty = 0"_s,
             u"D = -1² - 4 • (-1) • 0 = 1 - 0 = 1"_s,
             u"ty₁ = - (-1) + √1̅ / 2 • (-1) = 1 + 1 / -2 = -1"_s,
             u"ty₂ = - (-1) - √1̅ / 2 • (-1) = 1 - 1 / -2 = 0"_s,
             u"x² = -1; x² = 0"_s,
             u"Ответ: x = 0"_s,
         },
         false},
    };
    return examples;
}

namespace {

const QString kDash = QStringLiteral("\u2014");
const QString kInvalid = QStringLiteral("Invalid floating point operation");
const QString kDivByZero = QStringLiteral("Floating point division by zero");

QString notANumber(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1String("' is not a valid floating point value");
}

QList<TrigExample> makeTrigExamples() {
    QList<TrigExample> examples;
    const auto answers = [&](const char* tag, TrigFunction f, const QString& input,
                             const QString& answer, QChar separator = QLatin1Char(',')) {
        examples.append({tag, f, separator, input, answer, QString()});
    };
    const auto fails = [&](const char* tag, TrigFunction f, const QString& input,
                           const QString& error, QChar separator = QLatin1Char(',')) {
        examples.append({tag, f, separator, input, QString(), error});
    };

    using F = TrigFunction;

    // sin: keys by text, everything else computed from the angle in degrees.
    answers("sin 30", F::Sin, "30", "0,50000");
    answers("sin 45", F::Sin, "45", "0,70711");
    answers("sin 1", F::Sin, "1", "0,01745");
    answers("sin -90 is no key", F::Sin, "-90", "-1,00000");
    answers("sin 90 key", F::Sin, "90", "1");
    answers("sin 270 key", F::Sin, "270", "-1");
    answers("sin 0 key", F::Sin, "0", "0");
    answers("sin 180 key", F::Sin, "180", "0");
    answers("sin 360 key", F::Sin, "360", "0");
    answers("sin 90,0 is no key", F::Sin, "90,0", "1,00000");
    answers("sin 090 is no key", F::Sin, "090", "1,00000");
    answers("sin 450 is not reduced to a key", F::Sin, "450", "1,00000");
    answers("sin ' 90' is not trimmed to a key", F::Sin, " 90", "1,00000");
    answers("sin 720 tiny negative loses its sign", F::Sin, "720", "0,00000");
    answers("sin 180,0 tiny positive", F::Sin, "180,0", "0,00000");
    answers("sin -0 is no key", F::Sin, "-0", "0,00000");
    answers("sin lone separator reads as zero", F::Sin, ",", "0,00000");
    answers("sin separator after minus reads as zero", F::Sin, "-,", "0,00000");
    fails("sin 1,2,3", F::Sin, "1,2,3", notANumber("1,2,3"));
    fails("sin 1-", F::Sin, "1-", notANumber("1-"));
    fails("sin --5", F::Sin, "--5", notANumber("--5"));
    fails("sin lone minus", F::Sin, "-", notANumber("-"));
    fails("sin empty", F::Sin, "", notANumber(""));

    // cos
    answers("cos 120", F::Cos, "120", "-0,50000");
    answers("cos -180 is no key", F::Cos, "-180", "-1,00000");
    answers("cos 180 key", F::Cos, "180", "-1");
    answers("cos 0 key", F::Cos, "0", "1");
    answers("cos 360 key", F::Cos, "360", "1");
    answers("cos 90 key", F::Cos, "90", "0");
    answers("cos 270 key", F::Cos, "270", "0");
    answers("cos 60", F::Cos, "60", "0,50000");
    answers("cos 90,0 tiny", F::Cos, "90,0", "0,00000");
    answers("cos -0", F::Cos, "-0", "1,00000");
    fails("cos bad text", F::Cos, "1,2,3", notANumber("1,2,3"));

    // tg: poles are undefined only at the key texts; elsewhere the number grows large.
    answers("tg 60 padded to five decimals", F::Tg, "60", "1,73210");
    answers("tg 89", F::Tg, "89", "57,29000");
    answers("tg 89,99", F::Tg, "89,99", "5729,60000");
    answers("tg 89,9999 scientific", F::Tg, "89,9999", "5,7296E5");
    answers("tg -45", F::Tg, "-45", "-1,00000");
    answers("tg 135", F::Tg, "135", "-1,00000");
    answers("tg 45 key", F::Tg, "45", "1");
    answers("tg 45,0 is no key", F::Tg, "45,0", "1,00000");
    answers("tg 0 key", F::Tg, "0", "0");
    answers("tg 180 key", F::Tg, "180", "0");
    answers("tg 360 key", F::Tg, "360", "0");
    answers("tg 90 key undefined", F::Tg, "90", kDash);
    answers("tg 270 key undefined", F::Tg, "270", kDash);
    answers("tg 90,0 near the pole", F::Tg, "90,0", "1,6331E16");
    answers("tg -90 near the pole", F::Tg, "-90", "-1,6331E16");
    answers("tg -0", F::Tg, "-0", "0,00000");

    // ctg is 1 / tan: a zero angle that is not the key "0" divides by zero.
    answers("ctg 1", F::Ctg, "1", "57,29000");
    answers("ctg 30", F::Ctg, "30", "1,73210");
    answers("ctg 45 key", F::Ctg, "45", "1");
    answers("ctg 0 key undefined", F::Ctg, "0", kDash);
    answers("ctg 180 key undefined", F::Ctg, "180", kDash);
    answers("ctg 360 key undefined", F::Ctg, "360", kDash);
    answers("ctg 90 key", F::Ctg, "90", "0");
    answers("ctg 270 key", F::Ctg, "270", "0");
    answers("ctg -90 tiny", F::Ctg, "-90", "0,00000");
    answers("ctg 180,0 near the pole", F::Ctg, "180,0", "-8,1656E15");
    fails("ctg 0,0 divides by zero", F::Ctg, "0,0", kDivByZero);
    fails("ctg 00 divides by zero", F::Ctg, "00", kDivByZero);
    fails("ctg -0 divides by zero", F::Ctg, "-0", kDivByZero);
    fails("ctg lone separator divides by zero", F::Ctg, ",", kDivByZero);

    // arcsin, arccos: degrees from a value; outside -1..1 the square root is invalid.
    answers("arcsin 0,5", F::Arcsin, "0,5", "30,00000");
    answers("arcsin -0,5", F::Arcsin, "-0,5", "-30,00000");
    answers("arcsin 1 key", F::Arcsin, "1", "90");
    answers("arcsin 1,0 is no key", F::Arcsin, "1,0", "90,00000");
    answers("arcsin -1 key", F::Arcsin, "-1", "-90");
    answers("arcsin -1,0 is no key", F::Arcsin, "-1,0", "-90,00000");
    answers("arcsin 0 key", F::Arcsin, "0", "0");
    answers("arcsin 0,0 is no key", F::Arcsin, "0,0", "0,00000");
    fails("arcsin 2", F::Arcsin, "2", kInvalid);
    fails("arcsin -2", F::Arcsin, "-2", kInvalid);
    fails("arcsin just above 1", F::Arcsin, "1,0000001", kInvalid);
    fails("arcsin bad text", F::Arcsin, "--5", notANumber("--5"));

    answers("arccos 0,5", F::Arccos, "0,5", "60,00000");
    answers("arccos -0,5", F::Arccos, "-0,5", "120,00000");
    answers("arccos -1 key", F::Arccos, "-1", "180");
    answers("arccos -1,0 is no key", F::Arccos, "-1,0", "180,00000");
    answers("arccos 1 key", F::Arccos, "1", "0");
    answers("arccos 1,0 is no key", F::Arccos, "1,0", "0,00000");
    answers("arccos 0 key", F::Arccos, "0", "90");
    answers("arccos 0,0 is no key", F::Arccos, "0,0", "90,00000");
    fails("arccos 2", F::Arccos, "2", kInvalid);
    fails("arccos -1,5", F::Arccos, "-1,5", kInvalid);

    // arcctg answers in -90..90; |x| <= 1e-16 gives 90 whatever the sign.
    answers("arcctg 2", F::Arcctg, "2", "26,56500");
    answers("arcctg 0,5", F::Arcctg, "0,5", "63,43500");
    answers("arcctg -0,5 stays below zero", F::Arcctg, "-0,5", "-63,43500");
    answers("arcctg -1 is no key", F::Arcctg, "-1", "-45,00000");
    answers("arcctg 1 key", F::Arcctg, "1", "45");
    answers("arcctg 1,0 is no key", F::Arcctg, "1,0", "45,00000");
    answers("arcctg 0 key", F::Arcctg, "0", "90");
    answers("arcctg 0,0 is no key", F::Arcctg, "0,0", "90,00000");
    answers("arcctg -1E-16 at the threshold", F::Arcctg, "-1E-16", "90,00000");
    answers("arcctg -2E-16 beyond the threshold", F::Arcctg, "-2E-16", "-90,00000");
    answers("arcctg 1000000 small result", F::Arcctg, "1000000", "0,00006");

    // The separator is an argument, for reading and for writing.
    answers("point: sin 30", F::Sin, "30", "0.50000", QLatin1Char('.'));
    answers("point: sin 90.0 is no key", F::Sin, "90.0", "1.00000", QLatin1Char('.'));
    answers("point: tg 89.9999", F::Tg, "89.9999", "5.7296E5", QLatin1Char('.'));
    answers("point: sin 720", F::Sin, "720", "0.00000", QLatin1Char('.'));
    fails("point: comma is not a number", F::Sin, "90,0", notANumber("90,0"), QLatin1Char('.'));

    return examples;
}

} // namespace

const QList<TrigExample>& trigExamples() {
    static const QList<TrigExample> examples = makeTrigExamples();
    return examples;
}

} // namespace velmora::test
