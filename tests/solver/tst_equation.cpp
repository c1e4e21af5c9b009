// The solve with its short answer and detailed solution, from the typed coefficients to every
// text the window shows, and the stop when a number leaves the double range.

#include "numbers/decimal.h"
#include "numbers/numberformat.h"
#include "platform/base/failure.h"
#include "solver/equation.h"
#include "tests/support/workedexamples.h"

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
    void answerWords_data();
    void answerWords();
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

    const velmora::EquationNumbers numbers =
        velmora::solveEquation(typed(a), typed(b), typed(c), type);
    const velmora::EquationText text = velmora::describeEquation(numbers, letter, comma);

    QCOMPARE(velmora::formatGeneral(numbers.d, comma), discriminant);
    QCOMPARE(QStringList(text.rootFields.begin(), text.rootFields.end()), rootFields);
    QCOMPARE(QStringList(text.lines.begin(), text.lines.end()), lines);
    QCOMPARE(text.noRealRoots, noRealRoots);
}

// The answer line in the words given, every other line as in Russian.
void TestEquation::answerWords_data() {
    QTest::addColumn<EquationType>("type");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("c");
    QTest::addColumn<QString>("answer");

    QTest::newRow("two roots") << EquationType::Quadratic << 1.0 << -3.0 << 2.0
                               << u"Answer: x₁ = 2; x₂ = 1"_s;
    QTest::newRow("one root") << EquationType::Quadratic << 1.0 << 2.0 << 1.0
                              << u"Answer: x = -1"_s;
    QTest::newRow("D < 0") << EquationType::Quadratic << 1.0 << 0.0 << 1.0 << u"Answer: no roots"_s;
    QTest::newRow("biquadratic, four roots") << EquationType::Biquadratic << 1.0 << -5.0 << 4.0
                                             << u"Answer: x₁ = 2; x₂ = -2; x₃ = 1; x₄ = -1"_s;
    QTest::newRow("biquadratic, both substitution roots negative")
        << EquationType::Biquadratic << 1.0 << 5.0 << 4.0 << u"Answer: no roots"_s;
    QTest::newRow("biquadratic, D = 0 and y < 0")
        << EquationType::Biquadratic << 1.0 << 2.0 << 1.0 << u"Answer: no roots"_s;
    QTest::newRow("biquadratic, x = 0")
        << EquationType::Biquadratic << -1.0 << -1.0 << 0.0 << u"Answer: x = 0"_s;
}

void TestEquation::answerWords() {
    QFETCH(EquationType, type);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, c);
    QFETCH(QString, answer);

    const velmora::EquationNumbers numbers = velmora::solveEquation(a, b, c, type);
    const velmora::EquationText russian = velmora::describeEquation(numbers, u"y"_s, comma);
    const velmora::EquationText english =
        velmora::describeEquation(numbers, u"y"_s, comma, {u"Answer:"_s, u"no roots"_s});

    QCOMPARE(english.lines.back(), answer);
    QCOMPARE(QStringList(english.lines.begin(), english.lines.end() - 1),
             QStringList(russian.lines.begin(), russian.lines.end() - 1));
    QCOMPARE(QStringList(english.rootFields.begin(), english.rootFields.end()),
             QStringList(russian.rootFields.begin(), russian.rootFields.end()));
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
