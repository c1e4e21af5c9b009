// The textbook view's core: roots in simplest exact form, the written solution and its answer
// line in each language, its decimals, and the text, LaTeX and JSON it is copied as.

#include "numbers/exacttext.h"
#include "state/language.h"
#include "textbook/solution.h"
#include "textbook/textbookwords.h"
#include "textbook/typedsolution.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using velmora::EquationType;
namespace textbook = velmora::textbook;

Q_DECLARE_METATYPE(velmora::EquationType)
Q_DECLARE_METATYPE(velmora::textbook::Formula)

namespace {

textbook::Problem problem(const QString& a, const QString& b, const QString& c,
                          EquationType type = EquationType::Quadratic) {
    const velmora::CoefficientReading reading =
        textbook::readProblemCoefficients({a, b, c}, {u',', u',', u','});
    if (reading.outcome != velmora::CoefficientReading::Accepted)
        qFatal("bad coefficient text in a test row: %s %s %s", qPrintable(a), qPrintable(b),
               qPrintable(c));
    textbook::Problem problem;
    problem.coefficients = reading.coefficients;
    problem.type = type;
    problem.letter = u"t"_s;
    return problem;
}

// The solution's words as the English language file has them.
const textbook::Words& englishWords() {
    static const textbook::Words words = [] {
        qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
        velmora::loadLanguage(u"English"_s);
        return textbook::wordsOfLanguage();
    }();
    return words;
}

QString asciiRoots(const textbook::Solution& solution) {
    QStringList roots;
    for (const textbook::ExactForm& form : solution.roots)
        roots << textbook::asciiForm(form);
    return roots.join(u"; ");
}

// Every string of the ASCII grammar: integers, + - * / ( ), spaces and sqrt(...).
bool inAsciiGrammar(const QString& text) {
    static const QRegularExpression allowed(u"^(?:[0-9 +\\-*/()]|sqrt\\()*$"_s);
    int depth = 0;
    for (const QChar c : text) {
        depth += c == u'(' ? 1 : c == u')' ? -1 : 0;
        if (depth < 0)
            return false;
    }
    return depth == 0 && allowed.match(text).hasMatch();
}

} // namespace

class TestTextbook : public QObject {
    Q_OBJECT

private slots:
    void simplestRoots_data();
    void simplestRoots();
    void lines_data();
    void lines();
    void plainTextBrackets_data();
    void plainTextBrackets();
    void decimals_data();
    void decimals();
    void unsimplifiedBeyondTheBound();
    void bothRootsInOneForm();
    void pageAndViewAgree();
    void answerLine_data();
    void answerLine();
    void readsZeroA_data();
    void readsZeroA();
    void latexStructure();
    void json_data();
    void json();
    void typedEquations_data();
    void typedEquations();
    void typedRefusals();
    void typedJson_data();
    void typedJson();
};

void TestTextbook::simplestRoots_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<QString>("discriminant"); // "-" for none
    QTest::addColumn<QString>("roots");

    const auto q = EquationType::Quadratic;
    const auto bq = EquationType::Biquadratic;
    QTest::newRow("square factor out of the root") << "1"
                                                   << "0"
                                                   << "-8" << q << "32"
                                                   << "-2*sqrt(2); 2*sqrt(2)";
    QTest::newRow("root out of the denominator") << "3"
                                                 << "0"
                                                 << "-2" << q << "24"
                                                 << "-sqrt(6)/3; sqrt(6)/3";
    QTest::newRow("fraction reduced by the gcd of all") << "4"
                                                        << "-4"
                                                        << "-1" << q << "32"
                                                        << "(1 - sqrt(2))/2; (1 + sqrt(2))/2";
    QTest::newRow("square-free D") << "2"
                                   << "3"
                                   << "-7" << q << "65"
                                   << "(-3 - sqrt(65))/4; (-3 + sqrt(65))/4";
    QTest::newRow("rational roots") << "2"
                                    << "-1"
                                    << "-3" << q << "25"
                                    << "-1; 3/2";
    QTest::newRow("D = 0, one root") << "4"
                                     << "-4"
                                     << "1" << q << "0"
                                     << "1/2";
    QTest::newRow("D < 0, no roots") << "1"
                                     << "1"
                                     << "1" << q << "-3"
                                     << "";
    QTest::newRow("negative a, roots ascending") << "-1"
                                                 << "2"
                                                 << "1" << q << "8"
                                                 << "1 - sqrt(2); 1 + sqrt(2)";
    QTest::newRow("decimal 0,5 becomes 1/2") << "1"
                                             << "-0,5"
                                             << "0" << q << "1/4"
                                             << "0; 1/2";
    QTest::newRow("decimal a") << "0,5"
                               << "1"
                               << "-1" << q << "3"
                               << "-1 - sqrt(3); -1 + sqrt(3)";
    QTest::newRow("decimal D under the root") << "1"
                                              << "0"
                                              << "-0,5" << q << "2"
                                              << "-sqrt(2)/2; sqrt(2)/2";
    QTest::newRow("decimal coefficients, rational roots") << "0,1"
                                                          << "0,3"
                                                          << "0,2" << q << "1/100"
                                                          << "-2; -1";

    QTest::newRow("biquadratic: four rational roots") << "1"
                                                      << "-13"
                                                      << "36" << bq << "25"
                                                      << "-3; -2; 2; 3";
    QTest::newRow("biquadratic: negative a") << "-1"
                                             << "5"
                                             << "-4" << bq << "9"
                                             << "-2; -1; 1; 2";
    QTest::newRow("biquadratic: nested roots that do not denest")
        << "1"
        << "-5"
        << "3" << bq << "13"
        << "-sqrt((5 + sqrt(13))/2); -sqrt((5 - sqrt(13))/2); sqrt((5 - sqrt(13))/2); "
           "sqrt((5 + sqrt(13))/2)";
    QTest::newRow("biquadratic: sqrt(2 ± sqrt(3)) denested")
        << "1"
        << "-4"
        << "1" << bq << "12"
        << "-(sqrt(6) + sqrt(2))/2; (sqrt(2) - sqrt(6))/2; (sqrt(6) - sqrt(2))/2; "
           "(sqrt(6) + sqrt(2))/2";
    QTest::newRow("biquadratic: square taken out of a nested root")
        << "1"
        << "-40"
        << "192" << bq << "832"
        << "-2*sqrt(5 + sqrt(13)); -2*sqrt(5 - sqrt(13)); 2*sqrt(5 - sqrt(13)); "
           "2*sqrt(5 + sqrt(13))";
    QTest::newRow("biquadratic: fourth root") << "1"
                                              << "0"
                                              << "-2" << bq << "8"
                                              << "-sqrt(sqrt(2)); sqrt(sqrt(2))";
    QTest::newRow("biquadratic: t2 < 0 rejected") << "1"
                                                  << "2"
                                                  << "-3" << bq << "16"
                                                  << "-1; 1";
    QTest::newRow("biquadratic: t1 = 0, t2 > 0") << "1"
                                                 << "-4"
                                                 << "0" << bq << "16"
                                                 << "-2; 0; 2";
    QTest::newRow("biquadratic: t1 = 0, t2 < 0") << "1"
                                                 << "4"
                                                 << "0" << bq << "16"
                                                 << "0";
    QTest::newRow("biquadratic: both negative") << "1"
                                                << "5"
                                                << "6" << bq << "1"
                                                << "";
    QTest::newRow("biquadratic: D = 0, t > 0") << "1"
                                               << "-4"
                                               << "4" << bq << "0"
                                               << "-sqrt(2); sqrt(2)";
    QTest::newRow("biquadratic: D = 0, t < 0") << "1"
                                               << "4"
                                               << "4" << bq << "0"
                                               << "";
    QTest::newRow("biquadratic: D = 0, t = 0") << "1"
                                               << "0"
                                               << "0" << bq << "0"
                                               << "0";
    QTest::newRow("biquadratic: D < 0") << "1"
                                        << "1"
                                        << "1" << bq << "-3"
                                        << "";

    QTest::newRow("a = 0: linear, one root") << "0"
                                             << "3"
                                             << "-6" << q << "-"
                                             << "2";
    QTest::newRow("a = 0: linear, fraction root") << "0"
                                                  << "-4"
                                                  << "-6" << q << "-"
                                                  << "-3/2";
    QTest::newRow("a = 0: no solution") << "0"
                                        << "0"
                                        << "5" << q << "-"
                                        << "";
    QTest::newRow("a = 0: any number") << "0"
                                       << "0"
                                       << "0" << q << "-"
                                       << "";
    QTest::newRow("a = 0, biquadratic: x² = 2") << "0"
                                                << "1"
                                                << "-2" << bq << "-"
                                                << "-sqrt(2); sqrt(2)";
    QTest::newRow("a = 0, biquadratic: x² < 0") << "0"
                                                << "1"
                                                << "2" << bq << "-"
                                                << "";
}

void TestTextbook::simplestRoots() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(EquationType, type);
    QFETCH(QString, discriminant);
    QFETCH(QString, roots);

    const textbook::Solution solution =
        textbook::solve(problem(a, b, c, type), englishWords(), u',', 2);
    QCOMPARE(solution.discriminant ? textbook::rationalText(*solution.discriminant) : u"-"_s,
             discriminant);
    QCOMPARE(asciiRoots(solution), roots);
    QVERIFY(solution.simplified);
}

void TestTextbook::lines_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("two irrational roots")
        << "2"
        << "3"
        << "-7" << EquationType::Quadratic
        << u"2x² + 3x − 7 = 0\n"
           "D = b² − 4ac = 3² − 4·2·(−7) = 65\n"
           "x₁,₂ = (−b ± √D)/(2a) = (−3 ± √65)/(2·2) = (−3 ± √65)/4\n"
           "x₁ = (−3 + √65)/4 ≈ 1,27\n"
           "x₂ = (−3 − √65)/4 ≈ −2,77\n"
           "Factored form: 2x² + 3x − 7 = 2(x + (3 + √65)/4)(x − (−3 + √65)/4)\n"
           "Check by Vieta's formulas: x₁ + x₂ = −3/2 = −b/a; x₁·x₂ = −7/2 = c/a\n"
           "Answer: x = (−3 − √65)/4 or x = (−3 + √65)/4.\n"_s;
    QTest::newRow("normalised equation, negatives in brackets, rational roots")
        << "1"
        << "-5"
        << "6" << EquationType::Quadratic
        << u"x² − 5x + 6 = 0\n"
           "D = b² − 4ac = (−5)² − 4·1·6 = 1\n"
           "x₁,₂ = (−b ± √D)/(2a) = (5 ± 1)/(2·1)\n"
           "x₁ = (5 + 1)/2 = 3\n"
           "x₂ = (5 − 1)/2 = 2\n"
           "Factored form: x² − 5x + 6 = (x − 2)(x − 3)\n"
           "Check by Vieta's formulas: x₁ + x₂ = 5 = −b/a; x₁·x₂ = 6 = c/a\n"
           "Answer: x = 2 or x = 3.\n"_s;
    QTest::newRow("D = 0, the square in the factored form")
        << "4"
        << "-4"
        << "1" << EquationType::Quadratic
        << u"4x² − 4x + 1 = 0\n"
           "D = b² − 4ac = (−4)² − 4·4·1 = 0\n"
           "D = 0 ⇒ one root\n"
           "x = −b/(2a) = 4/(2·4) = 1/2 = 0,5\n"
           "Factored form: 4x² − 4x + 1 = 4(x − 1/2)²\n"
           "Check by Vieta's formulas: x₁ + x₂ = 1 = −b/a; x₁·x₂ = 1/4 = c/a\n"
           "Answer: x = 1/2.\n"_s;
    QTest::newRow("b = c = 0: no D, no factored form beside the equation")
        << "-1"
        << "0"
        << "0" << EquationType::Quadratic
        << u"−x² = 0\n"
           "x² = 0 ⇒ x = 0\n"
           "Check by Vieta's formulas: x₁ + x₂ = 0 = −b/a; x₁·x₂ = 0 = c/a\n"
           "Answer: x = 0.\n"_s;
    QTest::newRow("biquadratic x⁴ = 0")
        << "2"
        << "0"
        << "0" << EquationType::Biquadratic
        << u"2x⁴ = 0\n"
           "Let x² = t, t ≥ 0\n"
           "2t² = 0\n"
           "t² = 0 ⇒ t = 0\n"
           "x² = 0 ⇒ x = 0\n"
           "Check by Vieta's formulas: t₁ + t₂ = 0 = −b/a; t₁·t₂ = 0 = c/a\n"
           "Answer: x = 0.\n"_s;
    QTest::newRow("c = 0: the unknown taken out, no D")
        << "2"
        << "3"
        << "0" << EquationType::Quadratic
        << u"2x² + 3x = 0\n"
           "Take out the common factor: x(2x + 3) = 0\n"
           "A product is zero when a factor is zero: x = 0; 2x + 3 = 0\n"
           "x₁ = 0; x₂ = −3/2 = −1,5\n"
           "Factored form: 2x² + 3x = 2x(x + 3/2)\n"
           "Check by Vieta's formulas: x₁ + x₂ = −3/2 = −b/a; x₁·x₂ = 0 = c/a\n"
           "Answer: x = −3/2 or x = 0.\n"_s;
    QTest::newRow("huge exact values as powers of ten")
        << "1"
        << "0"
        << "-1E300" << EquationType::Quadratic
        << u"x² − 10³⁰⁰ = 0\n"
           "x² = 10³⁰⁰ ⇒ x = ±√10³⁰⁰ = ±10¹⁵⁰\n"
           "Factored form: x² − 10³⁰⁰ = (x + 10¹⁵⁰)(x − 10¹⁵⁰)\n"
           "Check by Vieta's formulas: x₁ + x₂ = 0 = −b/a; x₁·x₂ = −10³⁰⁰ = c/a\n"
           "Answer: x = −10¹⁵⁰ or x = 10¹⁵⁰.\n"_s;
    QTest::newRow("D < 0 in words") << "1"
                                    << "1"
                                    << "1" << EquationType::Quadratic
                                    << u"x² + x + 1 = 0\n"
                                       "D = b² − 4ac = 1² − 4·1·1 = −3\n"
                                       "D < 0 ⇒ no real roots\n"
                                       "Answer: no real roots.\n"_s;
    QTest::newRow("biquadratic: substitution, rejection, ± roots")
        << "1"
        << "2"
        << "-3" << EquationType::Biquadratic
        << u"x⁴ + 2x² − 3 = 0\n"
           "Let x² = t, t ≥ 0\n"
           "t² + 2t − 3 = 0\n"
           "D = b² − 4ac = 2² − 4·1·(−3) = 16\n"
           "t₁,₂ = (−b ± √D)/(2a) = (−2 ± 4)/(2·1)\n"
           "t₁ = (−2 + 4)/2 = 1\n"
           "t₂ = (−2 − 4)/2 = −3\n"
           "x² = 1 ⇒ x = ±√1 = ±1\n"
           "t₂ = −3 < 0: rejected, since t ≥ 0\n"
           "Factored form: x⁴ + 2x² − 3 = (x − 1)(x + 1)(x² + 3)\n"
           "Check by Vieta's formulas: t₁ + t₂ = −2 = −b/a; t₁·t₂ = −3 = c/a\n"
           "Answer: x = −1 or x = 1.\n"_s;
    QTest::newRow("biquadratic: denested roots with decimals")
        << "1"
        << "-4"
        << "1" << EquationType::Biquadratic
        << u"x⁴ − 4x² + 1 = 0\n"
           "Let x² = t, t ≥ 0\n"
           "t² − 4t + 1 = 0\n"
           "D = b² − 4ac = (−4)² − 4·1·1 = 12\n"
           "t₁,₂ = (−b ± √D)/(2a) = (4 ± √12)/(2·1) = 2 ± √3\n"
           "t₁ = 2 + √3 ≈ 3,73\n"
           "t₂ = 2 − √3 ≈ 0,27\n"
           "x² = 2 + √3 ⇒ x = ±√(2 + √3) = ±(√6 + √2)/2 ≈ ±1,93\n"
           "x² = 2 − √3 ⇒ x = ±√(2 − √3) = ±(√6 − √2)/2 ≈ ±0,52\n"
           "Factored form: x⁴ − 4x² + 1 = (x − (√6 + √2)/2)(x + (√6 + √2)/2)(x − (√6 − √2)/2)"
           "(x + (√6 − √2)/2)\n"
           "Check by Vieta's formulas: t₁ + t₂ = 4 = −b/a; t₁·t₂ = 1 = c/a\n"
           "Answer: x = −(√6 + √2)/2 or x = (√2 − √6)/2 or x = (√6 − √2)/2 or "
           "x = (√6 + √2)/2.\n"_s;
    QTest::newRow("a = 0: linear") << "0"
                                   << "-4"
                                   << "-6" << EquationType::Quadratic
                                   << u"−4x − 6 = 0\n"
                                      "a = 0: the equation is linear\n"
                                      "x = −c/b = 6/(−4) = −3/2 = −1,5\n"
                                      "Answer: x = −3/2.\n"_s;
    QTest::newRow("a = 0: no solution") << "0"
                                        << "0"
                                        << "5" << EquationType::Quadratic
                                        << u"5 = 0\n"
                                           "a = 0: the equation is linear\n"
                                           "0·x = −5 ⇒ no solution\n"
                                           "Answer: no solution.\n"_s;
    QTest::newRow("a = 0: any number") << "0"
                                       << ""
                                       << "" << EquationType::Quadratic
                                       << u"0 = 0\n"
                                          "a = 0: the equation is linear\n"
                                          "0·x = 0 ⇒ x is any number\n"
                                          "Answer: x is any number.\n"_s;
}

void TestTextbook::lines() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(EquationType, type);
    QFETCH(QString, text);
    const textbook::Solution solution =
        textbook::solve(problem(a, b, c, type), englishWords(), u',', 2);
    QCOMPARE(textbook::solutionText(solution), text);
}

// Where the one-line text needs brackets to mean what the drawn formula shows.
void TestTextbook::plainTextBrackets_data() {
    using namespace textbook;
    QTest::addColumn<Formula>("formula");
    QTest::addColumn<QString>("text");

    const Formula sumWithRoot = row({math(u"5 + "_s), root(math(u"13"_s))}); // 5 + √13
    QTest::newRow("root of a number") << root(math(u"65"_s)) << u"√65"_s;
    QTest::newRow("root of a root") << root(root(math(u"2"_s))) << u"√(√2)"_s;
    QTest::newRow("root of a product")
        << root(row({math(u"30"_s), root(math(u"10"_s))})) << u"√(30√10)"_s;
    QTest::newRow("root of a fraction")
        << root(fraction(sumWithRoot, math(u"2"_s))) << u"√((5 + √13)/2)"_s;
    QTest::newRow("sum over a number") << fraction(sumWithRoot, math(u"4"_s)) << u"(5 + √13)/4"_s;
    QTest::newRow("a root over a number needs none")
        << fraction(row({math(u"3"_s), root(sumWithRoot)}), math(u"5"_s)) << u"3√(5 + √13)/5"_s;
    QTest::newRow("product below the bar")
        << fraction(math(u"−b"_s), math(u"2a"_s)) << u"−b/(2a)"_s;
    QTest::newRow("scripts") << row({sub(math(u"x"_s), math(u"1,2"_s)), math(u" = "_s),
                                     sup(math(u"x"_s), math(u"4"_s)),
                                     sup(math(u"y"_s), math(u"k"_s))})
                             << u"x₁,₂ = x⁴y^(k)"_s;
}

void TestTextbook::plainTextBrackets() {
    QFETCH(textbook::Formula, formula);
    QFETCH(QString, text);
    QCOMPARE(textbook::plainText(formula), text);
}

void TestTextbook::decimals_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("approximations");

    QTest::newRow("two decimals") << "2"
                                  << "3"
                                  << "-7" << 2 << "-2.77; 1.27";
    QTest::newRow("none") << "2"
                          << "3"
                          << "-7" << 0 << "-3; 1";
    // (−3 + √65)/4 = 1.2655644370746…
    QTest::newRow("twelve decimals") << "2"
                                     << "3"
                                     << "-7" << 12 << "-2.765564437075; 1.265564437075";
    QTest::newRow("a half rounds away from zero") << "8"
                                                  << "-1"
                                                  << "0" << 2 << "0.00; 0.13";
    QTest::newRow("negative half") << "8"
                                   << "1"
                                   << "0" << 2 << "-0.13; 0.00";
    QTest::newRow("a third") << "3"
                             << "-1"
                             << "0" << 4 << "0.0000; 0.3333";
    // √2 = 1.41421356237309504880…: the 20th decimal decides.
    QTest::newRow("twenty decimals of sqrt(2)")
        << "1"
        << "0"
        << "-2" << 20 << "-1.41421356237309504880; 1.41421356237309504880";
    // 1 − √(1 − 10⁻²⁰) ≈ 5·10⁻²¹: cancels in any double.
    QTest::newRow("tiny root beside a large one")
        << "1"
        << "-2"
        << "1E-20" << 22 << "0.0000000000000000000050; 1.9999999999999999999950";
}

void TestTextbook::decimals() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(int, decimals);
    QFETCH(QString, approximations);
    const textbook::Solution solution =
        textbook::solve(problem(a, b, c), englishWords(), u',', decimals);
    QStringList written;
    for (const textbook::ExactForm& form : solution.roots)
        written << velmora::fixedText(form.value, decimals, u'.', u'-');
    QCOMPARE(written.join(u"; "), approximations);
}

// A radicand with two large prime factors is beyond the bounded search for square factors: the
// root stays exact, unsimplified, the solution says so, and every run writes the same form.
void TestTextbook::unsimplifiedBeyondTheBound() {
    // (10³⁰ + 7)·(10³⁰ + 50…): no prime factor below the bound, not a square, not a prime.
    const QString c = u"-1000000000000000000000000000057000000000000000000000000000049"_s;
    const textbook::Solution solution =
        textbook::solve(problem(u"1"_s, u"0"_s, c), englishWords(), u',', 2);
    QVERIFY(!solution.simplified);
    QCOMPARE(solution.lines.size(), 6u);
    QCOMPARE(textbook::plainText(solution.lines.back()), englishWords().unsimplified);
    QCOMPARE(textbook::asciiForm(solution.roots[1]), u"sqrt(%1)"_s.arg(c.mid(1)));
    const textbook::Solution again =
        textbook::solve(problem(u"1"_s, u"0"_s, c), englishWords(), u',', 2);
    QCOMPARE(textbook::solutionText(again), textbook::solutionText(solution));
}

// A square factor the search finds, with the rest proven square-free or not: both roots of one
// answer in the same form, from one factoring of D.
void TestTextbook::bothRootsInOneForm() {
    // c = −600011²·10000000000037·10000000001011.
    const textbook::Solution solution =
        textbook::solve(problem(u"1"_s, u"0"_s, u"-36001320015872938337281547013776926247"_s),
                        englishWords(), u',', 2);
    QCOMPARE(asciiRoots(solution), u"-600011*sqrt(100000000010480000000037407); "
                                   "600011*sqrt(100000000010480000000037407)"_s);
    QVERIFY(!solution.simplified);
}

// The page and the textbook view give the same roots, to the page's 15 digits, for random
// equations of both kinds with integer and short decimal coefficients.
void TestTextbook::pageAndViewAgree() {
    QRandomGenerator random(20261211);
    const auto coefficient = [&random](bool nonZero) {
        for (;;) {
            const int whole = random.bounded(-40, 41);
            const int tenths = random.bounded(0, 3) == 0 ? random.bounded(0, 10) : 0;
            const QString text =
                tenths ? u"%1,%2"_s.arg(whole).arg(tenths) : QString::number(whole);
            if (!nonZero || whole != 0 || tenths != 0)
                return text;
        }
    };
    for (int i = 0; i < 400; ++i) {
        const EquationType type = i % 2 ? EquationType::Biquadratic : EquationType::Quadratic;
        const textbook::Problem equation =
            problem(coefficient(true), coefficient(false), coefficient(false), type);
        std::vector<velmora::ExactValue> page =
            velmora::solveEquation(equation.coefficients, type).roots;
        std::sort(page.begin(), page.end(),
                  [](const auto& one, const auto& other) { return one.compare(other) < 0; });
        QStringList pageRoots, viewRoots;
        for (const velmora::ExactValue& root : page)
            pageRoots << velmora::formatGeneral(root.digits(), u',');
        for (const textbook::ExactForm& form :
             textbook::solve(equation, englishWords(), u',', 2).roots)
            viewRoots << velmora::formatGeneral(form.value.digits(), u',');
        QCOMPARE(viewRoots, pageRoots);
    }
}

void TestTextbook::answerLine_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("answer");

    QTest::newRow("Russian") << "Russian"
                             << "1"
                             << "-13"
                             << "36" << u"Ответ: −3; −2; 2; 3."_s;
    QTest::newRow("Ukrainian") << "Ukrainian"
                               << "1"
                               << "-13"
                               << "36" << u"Відповідь: −3; −2; 2; 3."_s;
    QTest::newRow("English") << "English"
                             << "1"
                             << "-13"
                             << "36" << u"Answer: x = −3 or x = −2 or x = 2 or x = 3."_s;
    QTest::newRow("Russian, no roots") << "Russian"
                                       << "1"
                                       << "5"
                                       << "6" << u"Ответ: нет корней."_s;
    QTest::newRow("Ukrainian, any number") << "Ukrainian"
                                           << "0"
                                           << "0"
                                           << "0" << u"Відповідь: x — будь-яке число."_s;
    QTest::newRow("Russian, decimal coefficients, fractions and zero")
        << "Russian"
        << "0,4"
        << "-0,3"
        << "0" << u"Ответ: −√3/2; 0; √3/2."_s;
}

void TestTextbook::answerLine() {
    QFETCH(QString, language);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(QString, answer);
    qputenv("VELMORA_DATA_DIR", QByteArray(VELMORA_SOURCE_DIR));
    velmora::loadLanguage(language);
    const textbook::Solution solution = textbook::solve(problem(a, b, c, EquationType::Biquadratic),
                                                        textbook::wordsOfLanguage(), u',', 2);
    QCOMPARE(textbook::plainText(solution.lines.back()), answer);
}

void TestTextbook::readsZeroA_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<char>("letter");
    QTest::newRow("a = 0 accepted") << "0"
                                    << "2"
                                    << "" << int(velmora::CoefficientReading::Accepted) << '\0';
    QTest::newRow("a = 0, b refused") << "0,0"
                                      << "2x"
                                      << "1" << int(velmora::CoefficientReading::NotANumber) << 'b';
    QTest::newRow("a = 0, c refused")
        << "-0"
        << ""
        << "1,2,3" << int(velmora::CoefficientReading::NotANumber) << 'c';
    QTest::newRow("a missing") << ""
                               << "1"
                               << "1" << int(velmora::CoefficientReading::MissingA) << '\0';
    QTest::newRow("a refused") << "a"
                               << "1"
                               << "1" << int(velmora::CoefficientReading::NotANumber) << 'a';
}

void TestTextbook::readsZeroA() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(int, outcome);
    QFETCH(char, letter);
    const velmora::CoefficientReading reading =
        textbook::readProblemCoefficients({a, b, c}, {u',', u',', u','});
    QCOMPARE(int(reading.outcome), outcome);
    QCOMPARE(reading.refusedLetter, letter);
    if (outcome == velmora::CoefficientReading::Accepted)
        QCOMPARE(reading.coefficients.b, mpq_class(2));
}

// No LaTeX engine is packaged for the tests, so the structure is checked: one align* with a
// line per step, balanced braces, only amsmath commands, no Unicode mathematics left.
void TestTextbook::latexStructure() {
    const textbook::Solution solution = textbook::solve(
        problem(u"1"_s, u"-5"_s, u"3"_s, EquationType::Biquadratic), englishWords(), u',', 2);
    const QString tex = textbook::solutionLatex(solution);
    QVERIFY(tex.startsWith(u"\\begin{align*}\n"_s));
    QVERIFY(tex.endsWith(u"\\end{align*}\n"_s));
    QCOMPARE(tex.count(u"\\\\\n"_s), qsizetype(solution.lines.size() - 1));
    int depth = 0;
    for (const QChar ch : tex) {
        depth += ch == u'{' ? 1 : ch == u'}' ? -1 : 0;
        QVERIFY(depth >= 0);
    }
    QCOMPARE(depth, 0);
    const QRegularExpression command(u"\\\\([A-Za-z]+)"_s);
    QSet<QString> used;
    for (const QRegularExpressionMatch& m : command.globalMatch(tex))
        used.insert(m.captured(1));
    const QSet<QString> known{u"begin"_s, u"end"_s,    u"frac"_s, u"sqrt"_s,       u"pm"_s,
                              u"cdot"_s,  u"approx"_s, u"geq"_s,  u"Rightarrow"_s, u"text"_s};
    QVERIFY2(known.contains(used), qPrintable(QStringList(used.values()).join(u' ')));
    for (const QChar ch : u"−±√·≈≥⇒²₁"_s)
        QVERIFY2(!tex.contains(ch), qPrintable(QString(ch)));
    QVERIFY(tex.contains(u"\\frac{5 \\pm  \\sqrt{13}}{2}"_s));
    QVERIFY(tex.contains(u"x = -\\sqrt{\\frac{5 + \\sqrt{13}}{2}}"_s));
    QVERIFY(tex.contains(u"\\approx  4{,}30"_s));
    QVERIFY(tex.contains(u"\\text{Let }{x}^{2} = t"_s));
}

void TestTextbook::json_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<QJsonValue>("discriminant");
    QTest::addColumn<QStringList>("approximations");

    QTest::newRow("quadratic") << "2"
                               << "3"
                               << "-7" << EquationType::Quadratic << QJsonValue(u"65"_s)
                               << QStringList{u"-2.77"_s, u"1.27"_s};
    QTest::newRow("fraction D") << "1"
                                << "-0,5"
                                << "0" << EquationType::Quadratic << QJsonValue(u"1/4"_s)
                                << QStringList{u"0.00"_s, u"0.50"_s};
    QTest::newRow("biquadratic, D of the equation in t")
        << "1"
        << "-5"
        << "3" << EquationType::Biquadratic << QJsonValue(u"13"_s)
        << QStringList{u"-2.07"_s, u"-0.83"_s, u"0.83"_s, u"2.07"_s};
    QTest::newRow("a = 0: no discriminant")
        << "0"
        << "2"
        << "1" << EquationType::Quadratic << QJsonValue(QJsonValue::Null)
        << QStringList{u"-0.50"_s};
}

void TestTextbook::json() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(EquationType, type);
    QFETCH(QJsonValue, discriminant);
    QFETCH(QStringList, approximations);
    const textbook::Solution solution =
        textbook::solve(problem(a, b, c, type), englishWords(), u',', 2);
    QJsonParseError error;
    const QJsonObject object =
        QJsonDocument::fromJson(textbook::solutionJson(solution, 2).toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(object.value(u"discriminant"), discriminant);
    QStringList written;
    for (const QJsonValue& value : object.value(u"approximations").toArray())
        written << value.toString();
    QCOMPARE(written, approximations);
    const QJsonArray roots = object.value(u"roots").toArray();
    QCOMPARE(roots.size(), approximations.size());
    for (const QJsonValue& root : roots)
        QVERIFY2(inAsciiGrammar(root.toString()), qPrintable(root.toString()));
    QCOMPARE(object.value(u"lines").toArray().size(), qsizetype(solution.lines.size()));
}

// Equations typed as a book prints them: the steps to the standard form, each said, then the
// solution; the typed letter throughout; a common factor of x taken out.
void TestTextbook::typedEquations_data() {
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QString>("text");

    QTest::newRow("square of a binomial")
        << u"(2x - 1)^2 = 9"_s
        << u"(2x − 1)² = 9\n"
           "Open the brackets: 4x² − 4x + 1 = 9\n"
           "Move every term to the left: 4x² − 4x + 1 − 9 = 0\n"
           "Collect like terms: 4x² − 4x − 8 = 0\n"
           "Divide both sides by 4: x² − x − 2 = 0\n"
           "D = b² − 4ac = (−1)² − 4·1·(−2) = 9\n"
           "x₁,₂ = (−b ± √D)/(2a) = (1 ± 3)/(2·1)\n"
           "x₁ = (1 + 3)/2 = 2\n"
           "x₂ = (1 − 3)/2 = −1\n"
           "Factored form: x² − x − 2 = (x + 1)(x − 2)\n"
           "Check by Vieta's formulas: x₁ + x₂ = 1 = −b/a; x₁·x₂ = −2 = c/a\n"
           "Answer: x = −1 or x = 2.\n"_s;
    QTest::newRow("fractions cleared")
        << u"x²/3 − x + 1/2 = 0"_s
        << u"x²/3 − x + 1/2 = 0\n"
           "Multiply both sides by 6: 2x² − 6x + 3 = 0\n"
           "D = b² − 4ac = (−6)² − 4·2·3 = 12\n"
           "x₁,₂ = (−b ± √D)/(2a) = (6 ± √12)/(2·2) = (3 ± √3)/2\n"
           "x₁ = (3 + √3)/2 ≈ 2,37\n"
           "x₂ = (3 − √3)/2 ≈ 0,63\n"
           "Factored form: 2x² − 6x + 3 = 2(x − (3 − √3)/2)(x − (3 + √3)/2)\n"
           "Check by Vieta's formulas: x₁ + x₂ = 3 = −b/a; x₁·x₂ = 3/2 = c/a\n"
           "Answer: x = (3 − √3)/2 or x = (3 + √3)/2.\n"_s;
    QTest::newRow("a common factor of x")
        << u"x³ − 5x² + 6x = 0"_s
        << u"x³ − 5x² + 6x = 0\n"
           "Take out the common factor: x(x² − 5x + 6) = 0\n"
           "A product is zero when a factor is zero: x = 0; x² − 5x + 6 = 0\n"
           "D = b² − 4ac = (−5)² − 4·1·6 = 1\n"
           "x₁,₂ = (−b ± √D)/(2a) = (5 ± 1)/(2·1)\n"
           "x₁ = (5 + 1)/2 = 3\n"
           "x₂ = (5 − 1)/2 = 2\n"
           "Factored form: x² − 5x + 6 = (x − 2)(x − 3)\n"
           "Check by Vieta's formulas: x₁ + x₂ = 5 = −b/a; x₁·x₂ = 6 = c/a\n"
           "Answer: x = 0 or x = 2 or x = 3.\n"_s;
    // Every number typed a decimal: exact results that are finite decimals are decimals too.
    QTest::newRow("decimals typed, decimals written")
        << u"x² + 1.4x + 0,49 = 0"_s
        << u"x² + 1,4x + 0,49 = 0\n"
           "D = b² − 4ac = 1,4² − 4·1·0,49 = 0\n"
           "D = 0 ⇒ one root\n"
           "x = −b/(2a) = −1,4/(2·1) = −0,7\n"
           "Factored form: x² + 1,4x + 0,49 = (x + 0,7)²\n"
           "Check by Vieta's formulas: x₁ + x₂ = −1,4 = −b/a; x₁·x₂ = 0,49 = c/a\n"
           "Answer: x = −0,7.\n"_s;
    QTest::newRow("a fourth root, written as one")
        << u"-3x^4 + 6 = 0"_s
        << u"−3x⁴ + 6 = 0\n"
           "Divide both sides by (−3): x⁴ − 2 = 0\n"
           "Let x² = y, y ≥ 0\n"
           "y² − 2 = 0\n"
           "y² = 2 ⇒ y = ±√2 ≈ ±1,41\n"
           "x² = √2 ⇒ x = ±√(√2) = ±⁴√2 ≈ ±1,19\n"
           "y₂ = −√2 < 0: rejected, since y ≥ 0\n"
           "Factored form: x⁴ − 2 = (x − ⁴√2)(x + ⁴√2)(x² + √2)\n"
           "Check by Vieta's formulas: y₁ + y₂ = 0 = −b/a; y₁·y₂ = −2 = c/a\n"
           "Answer: x = −⁴√2 or x = ⁴√2.\n"_s;
    QTest::newRow("an identity") << u"x + 1 = x + 1"_s
                                 << u"x + 1 = x + 1\n"
                                    "Move every term to the left: x + 1 − x − 1 = 0\n"
                                    "Collect like terms: 0 = 0\n"
                                    "The equality holds for every number.\n"
                                    "Answer: x is any number.\n"_s;
    QTest::newRow("a linear equation in t") << u"3t + 1 = 7"_s
                                            << u"3t + 1 = 7\n"
                                               "Move every term to the left: 3t + 1 − 7 = 0\n"
                                               "Collect like terms: 3t − 6 = 0\n"
                                               "Divide both sides by 3: t − 2 = 0\n"
                                               "t = −c/b = 2\n"
                                               "Answer: t = 2.\n"_s;
}

void TestTextbook::typedEquations() {
    QFETCH(QString, equation);
    QFETCH(QString, text);
    const textbook::TypedOutcome outcome = textbook::solveTyped(equation, englishWords(), u',', 2);
    QVERIFY(std::holds_alternative<textbook::TypedSolution>(outcome));
    QCOMPARE(textbook::solutionText(std::get<textbook::TypedSolution>(outcome).solution), text);
}

// What the reader refuses comes back with its place; a degree not solved here says which.
void TestTextbook::typedRefusals() {
    const textbook::TypedOutcome inDenominator =
        textbook::solveTyped(u"1/x = 2", englishWords(), u',', 2);
    QVERIFY(std::holds_alternative<velmora::EquationError>(inDenominator));
    QCOMPARE(int(std::get<velmora::EquationError>(inDenominator).kind),
             int(velmora::EquationError::Kind::UnknownInDenominator));
    QCOMPARE(std::get<velmora::EquationError>(inDenominator).position, 3);
    const textbook::TypedOutcome cubic = textbook::solveTyped(u"x^3 = 1", englishWords(), u',', 2);
    QVERIFY(std::holds_alternative<textbook::UnsolvedDegree>(cubic));
    QCOMPARE(std::get<textbook::UnsolvedDegree>(cubic).degree, 3);
}

// The JSON of a typed equation names the standard form's coefficients and the method used.
void TestTextbook::typedJson_data() {
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QStringList>("coefficients");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("roots");

    QTest::newRow("c = 0: a factor taken out")
        << u"x^2 - 5x = 0"_s << QStringList{u"1"_s, u"-5"_s, u"0"_s} << u"factor"_s
        << QStringList{u"0"_s, u"5"_s};
    QTest::newRow("b = 0: a square root")
        << u"x^2 = 8"_s << QStringList{u"1"_s, u"0"_s, u"-8"_s} << u"square-root"_s
        << QStringList{u"-2*sqrt(2)"_s, u"2*sqrt(2)"_s};
    QTest::newRow("the discriminant")
        << u"(2x - 1)^2 = 9"_s << QStringList{u"1"_s, u"-1"_s, u"-2"_s} << u"discriminant"_s
        << QStringList{u"-1"_s, u"2"_s};
    QTest::newRow("a substitution")
        << u"x^4 = 13x^2 - 36"_s << QStringList{u"1"_s, u"0"_s, u"-13"_s, u"0"_s, u"36"_s}
        << u"substitution"_s << QStringList{u"-3"_s, u"-2"_s, u"2"_s, u"3"_s};
    QTest::newRow("a linear equation")
        << u"2x + 1 = 5"_s << QStringList{u"1"_s, u"-2"_s} << u"linear"_s << QStringList{u"2"_s};
}

void TestTextbook::typedJson() {
    QFETCH(QString, equation);
    QFETCH(QStringList, coefficients);
    QFETCH(QString, method);
    QFETCH(QStringList, roots);
    const textbook::TypedOutcome outcome = textbook::solveTyped(equation, englishWords(), u',', 2);
    QVERIFY(std::holds_alternative<textbook::TypedSolution>(outcome));
    const QJsonObject object =
        QJsonDocument::fromJson(
            textbook::solutionJson(std::get<textbook::TypedSolution>(outcome).solution, 2).toUtf8())
            .object();
    QStringList written;
    for (const QJsonValue& value : object.value(u"coefficients").toArray())
        written << value.toString();
    QCOMPARE(written, coefficients);
    QCOMPARE(object.value(u"method").toString(), method);
    written.clear();
    for (const QJsonValue& value : object.value(u"roots").toArray())
        written << value.toString();
    QCOMPARE(written, roots);
}

QTEST_APPLESS_MAIN(TestTextbook)
#include "tst_textbook.moc"
