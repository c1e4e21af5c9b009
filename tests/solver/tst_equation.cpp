// The solve with its short answer and detailed solution, from the typed coefficients to every
// text the window shows, the checks of the typed texts, and the stop when a number leaves the
// double range.

#include "platform/base/failure.h"
#include "solver/equation.h"
#include "tests/support/workedexamples.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using velmora::EquationType;

Q_DECLARE_METATYPE(velmora::EquationType)

namespace {

const QChar comma = u',';

velmora::Coefficients typed(const QString& a, const QString& b, const QString& c) {
    const velmora::CoefficientReading reading =
        velmora::readCoefficients({a, b, c}, {comma, comma, comma});
    if (reading.outcome != velmora::CoefficientReading::Accepted)
        qFatal("bad coefficient text in a test row: %s %s %s", qPrintable(a), qPrintable(b),
               qPrintable(c));
    return reading.coefficients;
}

} // namespace

class TestEquation : public QObject {
    Q_OBJECT

private slots:
    void solve_data();
    void solve();
    void answerWords_data();
    void answerWords();
    void overflow_data();
    void overflow();
    void coefficientChecks_data();
    void coefficientChecks();
};

// Coefficients are typed texts, read as the exact numbers they name; an empty b or c is 0.
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

    for (const velmora::test::SolveExample& row : velmora::test::solveExamples())
        QTest::newRow(row.tag) << row.type << row.a << row.b << row.c << row.letter
                               << row.discriminant << row.rootFields << row.lines
                               << row.noRealRoots;
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

    const velmora::EquationNumbers numbers = velmora::solveEquation(typed(a, b, c), type);
    const velmora::EquationText text = velmora::describeEquation(numbers, letter, comma);

    QCOMPARE(text.discriminant, discriminant);
    QCOMPARE(QStringList(text.rootFields.begin(), text.rootFields.end()), rootFields);
    QCOMPARE(QStringList(text.lines.begin(), text.lines.end()), lines);
    QCOMPARE(text.noRealRoots, noRealRoots);
}

// The answer line in the words given, every other line as in Russian.
void TestEquation::answerWords_data() {
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<QString>("answer");

    QTest::newRow("two roots") << EquationType::Quadratic << u"1"_s << u"-3"_s << u"2"_s
                               << u"Answer: x₁ = 2; x₂ = 1"_s;
    QTest::newRow("one root") << EquationType::Quadratic << u"1"_s << u"2"_s << u"1"_s
                              << u"Answer: x = -1"_s;
    QTest::newRow("D < 0") << EquationType::Quadratic << u"1"_s << u""_s << u"1"_s
                           << u"Answer: no roots"_s;
    QTest::newRow("biquadratic, four roots")
        << EquationType::Biquadratic << u"1"_s << u"-5"_s << u"4"_s
        << u"Answer: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"_s;
    QTest::newRow("biquadratic, both substitution roots negative")
        << EquationType::Biquadratic << u"1"_s << u"5"_s << u"4"_s << u"Answer: no roots"_s;
    QTest::newRow("biquadratic, D = 0 and y < 0")
        << EquationType::Biquadratic << u"1"_s << u"2"_s << u"1"_s << u"Answer: no roots"_s;
    QTest::newRow("biquadratic, x = 0")
        << EquationType::Biquadratic << u"-1"_s << u"-1"_s << u""_s << u"Answer: x = 0"_s;
}

void TestEquation::answerWords() {
    QFETCH(EquationType, type);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(QString, answer);

    const velmora::EquationNumbers numbers = velmora::solveEquation(typed(a, b, c), type);
    const velmora::EquationText russian = velmora::describeEquation(numbers, u"y"_s, comma);
    const velmora::EquationText english =
        velmora::describeEquation(numbers, u"y"_s, comma, {u"Answer:"_s, u"no roots"_s});

    QCOMPARE(english.lines.back(), answer);
    QCOMPARE(QStringList(english.lines.begin(), english.lines.end() - 1),
             QStringList(russian.lines.begin(), russian.lines.end() - 1));
    QCOMPARE(QStringList(english.rootFields.begin(), english.rootFields.end()),
             QStringList(russian.rootFields.begin(), russian.rootFields.end()));
}

// Coefficients that reach the window only by pasting exponent notation. A number the solution
// writes beyond the largest double stops the solve; a row that must not overflow sits next to
// each limit, so a check that refuses large but valid values shows up.
void TestEquation::overflow_data() {
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("b*b") << EquationType::Quadratic << u"1"_s << u"1E200"_s << u""_s << true;
    QTest::newRow("pasted 1E300") << EquationType::Quadratic << u"1"_s << u"1E300"_s << u"1"_s
                                  << true;
    QTest::newRow("b*b at the top of the range")
        << EquationType::Quadratic << u"1"_s << u"1E154"_s << u""_s << false;
    QTest::newRow("4*a*c") << EquationType::Quadratic << u"1E300"_s << u""_s << u"1E10"_s << true;
    QTest::newRow("2*a, written in the root lines")
        << EquationType::Quadratic << u"1E308"_s << u"1"_s << u""_s << true;
    // D < 0 writes no root line, so 2a is not written and cannot overflow.
    QTest::newRow("2*a when there are no roots")
        << EquationType::Quadratic << u"1E308"_s << u""_s << u"1E-300"_s << false;
    QTest::newRow("D from two finite terms")
        << EquationType::Quadratic << u"1"_s << u"1E154"_s << u"-2,5E307"_s << true;
    QTest::newRow("root") << EquationType::Quadratic << u"1E-300"_s << u"1E10"_s << u""_s << true;
    QTest::newRow("root just inside")
        << EquationType::Quadratic << u"1E-300"_s << u"1E5"_s << u""_s << false;
    QTest::newRow("substitution root")
        << EquationType::Biquadratic << u"1E-300"_s << u"1E10"_s << u""_s << true;
    // b² = 4ac = 0,04 exactly, so D = 0 and the single root is -1E309.
    QTest::newRow("single root") << EquationType::Quadratic << u"1E-310"_s << u"0,2"_s << u"1E308"_s
                                 << true;
    QTest::newRow("irrational root just past the largest double")
        << EquationType::Quadratic << u"1E-308"_s << u"-1,7977"_s << u"1"_s << true;
    QTest::newRow("irrational root just inside")
        << EquationType::Quadratic << u"1E-308"_s << u"-1,7976"_s << u"1"_s << false;
}

void TestEquation::overflow() {
    QFETCH(EquationType, type);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(bool, overflows);

    QString message;
    try {
        velmora::solveEquation(typed(a, b, c), type);
    } catch (const velmora::Failure& failure) {
        message = failure.message();
    }
    QCOMPARE(message, overflows ? u"Floating point overflow"_s : QString());
}

// The checks of the typed texts, in the window's order: only the first refusal counts.
void TestEquation::coefficientChecks_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("c");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QChar>("letter");

    using R = velmora::CoefficientReading;
    QTest::newRow("accepted") << u"1"_s << u"-3"_s << u"2"_s << int(R::Accepted) << QChar();
    QTest::newRow("empty b and c") << u"1"_s << u""_s << u""_s << int(R::Accepted) << QChar();
    QTest::newRow("empty a before all else")
        << u""_s << u"x"_s << u"x"_s << int(R::MissingA) << QChar();
    QTest::newRow("a not a number before zero checks")
        << u"1-2"_s << u"x"_s << u""_s << int(R::NotANumber) << QChar(u'a');
    QTest::newRow("zero a before b") << u"-0,0"_s << u"x"_s << u""_s << int(R::ZeroA) << QChar();
    QTest::newRow("lone separator is a zero a")
        << u","_s << u""_s << u""_s << int(R::ZeroA) << QChar();
    QTest::newRow("b before c") << u"1"_s << u"1,2,3"_s << u"--"_s << int(R::NotANumber)
                                << QChar(u'b');
    QTest::newRow("c") << u"1"_s << u"2"_s << u"1e2,5"_s << int(R::NotANumber) << QChar(u'c');
    QTest::newRow("beyond the double range")
        << u"1E309"_s << u""_s << u""_s << int(R::NotANumber) << QChar(u'a');
    // Below the double range a number is still the number typed: no silent zero.
    QTest::newRow("below the double range is not zero")
        << u"1E-400"_s << u""_s << u""_s << int(R::Accepted) << QChar();
    QTest::newRow("zero with an exponent")
        << u"0E-400"_s << u""_s << u""_s << int(R::ZeroA) << QChar();
    QTest::newRow("beyond the smallest input")
        << u"1"_s << u"1E-10000"_s << u""_s << int(R::NotANumber) << QChar(u'b');
}

void TestEquation::coefficientChecks() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, c);
    QFETCH(int, outcome);
    QFETCH(QChar, letter);

    const velmora::CoefficientReading reading =
        velmora::readCoefficients({a, b, c}, {comma, comma, comma});
    QCOMPARE(int(reading.outcome), outcome);
    if (outcome == velmora::CoefficientReading::NotANumber)
        QCOMPARE(QChar(QLatin1Char(reading.refusedLetter)), letter);
}

QTEST_APPLESS_MAIN(TestEquation)
#include "tst_equation.moc"
