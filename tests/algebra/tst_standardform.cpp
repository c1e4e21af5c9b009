// From a typed equation to P(x) = 0 as a class goes: which steps, by what numbers, and what is
// left; identities and contradictions; the power of x that divides P.

#include "algebra/standardform.h"
#include "tests/algebra/coefficients.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using velmora::FormStep;
using velmora::StandardForm;

namespace {

// "brackets ×6 move collect ÷4 −1" for the steps' kinds and numbers.
QString stepsOf(const StandardForm& form) {
    QStringList steps;
    for (const FormStep& step : form.steps) {
        switch (step.kind) {
        case FormStep::Kind::OpenBrackets:
            steps << u"brackets"_s;
            break;
        case FormStep::Kind::MultiplyBoth:
            steps << u"×"_s + QString::fromStdString(step.factor.get_str());
            break;
        case FormStep::Kind::MoveToLeft:
            steps << u"move"_s;
            break;
        case FormStep::Kind::CollectTerms:
            steps << u"collect"_s;
            break;
        case FormStep::Kind::DivideBoth:
            steps << u"÷"_s + QString::fromStdString(step.factor.get_str());
            break;
        case FormStep::Kind::ChangeSigns:
            steps << u"−1"_s;
            break;
        }
    }
    return steps.join(u' ');
}

} // namespace

class TestStandardForm : public QObject {
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void movedTermsAsTheyStand();
};

void TestStandardForm::steps_data() {
    QTest::addColumn<QString>("equation");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("polynomial"); // highest power first
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("lowestPower");

    const int equation = int(StandardForm::Outcome::Equation);
    QTest::newRow("square of a binomial")
        << u"(2x − 1)² = 9"_s << u"brackets move collect ÷4"_s << u"1 -1 -2"_s << equation << 0;
    QTest::newRow("a product with the unknown")
        << u"x(x − 3) = 4"_s << u"brackets move"_s << u"1 -3 -4"_s << equation << 0;
    QTest::newRow("a common factor")
        << u"3x² = 12"_s << u"move ÷3"_s << u"1 0 -4"_s << equation << 0;
    QTest::newRow("fractions cleared by the least common denominator")
        << u"x²/3 − x + 1/2 = 0"_s << u"×6"_s << u"2 -6 3"_s << equation << 0;
    QTest::newRow("x on both sides") << u"(x + 1)(x − 2) = x + 7"_s << u"brackets move collect"_s
                                     << u"1 -2 -9"_s << equation << 0;
    QTest::newRow("a negative leading coefficient with a common factor")
        << u"-2x^2 + 4x + 6 = 0"_s << u"÷-2"_s << u"1 -2 -3"_s << equation << 0;
    QTest::newRow("a negative leading coefficient alone")
        << u"-x^2 + 3x + 1 = 0"_s << u"−1"_s << u"1 -3 -1"_s << equation << 0;
    QTest::newRow("decimals stay decimals")
        << u"0,5x² − 1,5 = 0"_s << u""_s << u"1/2 0 -3/2"_s << equation << 0;
    QTest::newRow("a decimal beside whole numbers is cleared")
        << u"-0.5x^2 + 2 = 0"_s << u"×2 −1"_s << u"1 0 -4"_s << equation << 0;
    QTest::newRow("a negative leading decimal among decimals")
        << u"-0,5x^2 + 2,0 = 0"_s << u"−1"_s << u"1/2 0 -2"_s << equation << 0;
    QTest::newRow("a power of x divides")
        << u"x³ − 5x² + 6x = 0"_s << u""_s << u"1 -5 6 0"_s << equation << 1;
    QTest::newRow("another letter")
        << u"t⁴ = 5t² − 4"_s << u"move"_s << u"1 0 -5 0 4"_s << equation << 0;
    QTest::newRow("an identity") << u"x + 1 = x + 1"_s << u"move collect"_s << u"0"_s
                                 << int(StandardForm::Outcome::Identity) << 0;
    QTest::newRow("a contradiction") << u"x = x + 1"_s << u"move collect"_s << u"-1"_s
                                     << int(StandardForm::Outcome::Contradiction) << 0;
    QTest::newRow("the standard form typed")
        << u"x^2 - 5x + 6 = 0"_s << u""_s << u"1 -5 6"_s << equation << 0;
}

void TestStandardForm::steps() {
    QFETCH(QString, equation);
    QFETCH(QString, steps);
    QFETCH(QString, polynomial);
    QFETCH(int, outcome);
    QFETCH(int, lowestPower);
    const velmora::EquationParse parse = velmora::parseEquation(equation);
    QVERIFY(std::holds_alternative<velmora::ParsedEquation>(parse));
    const StandardForm form =
        velmora::standardForm(std::get<velmora::ParsedEquation>(parse), equation.contains(u'('));
    QCOMPARE(stepsOf(form), steps);
    QCOMPARE(form.polynomial, polynomialOf(polynomial));
    QCOMPARE(int(form.outcome), outcome);
    QCOMPARE(form.lowestPower, lowestPower);
}

// The moved line shows every term as it stands, the right side's with their signs turned.
void TestStandardForm::movedTermsAsTheyStand() {
    const velmora::EquationParse parse = velmora::parseEquation(u"(x + 1)(x − 2) = x + 7");
    const StandardForm form = velmora::standardForm(std::get<velmora::ParsedEquation>(parse), true);
    const FormStep& moved = form.steps.at(1);
    QCOMPARE(int(moved.kind), int(FormStep::Kind::MoveToLeft));
    QStringList terms;
    for (const velmora::Term& term : moved.terms)
        terms
            << u"%1x^%2"_s.arg(QString::fromStdString(term.coefficient.get_str())).arg(term.power);
    QCOMPARE(terms, (QStringList{u"1x^2"_s, u"-1x^1"_s, u"-2x^0"_s, u"-1x^1"_s, u"-7x^0"_s}));
}

QTEST_APPLESS_MAIN(TestStandardForm)
#include "tst_standardform.moc"
