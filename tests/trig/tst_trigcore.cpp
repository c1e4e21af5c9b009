#include "platform/base/failure.h"
#include "tests/support/workedexamples.h"
#include "trig/trigcore.h"

#include <QTest>

#include <limits>

using velmora::TrigFunction;

Q_DECLARE_METATYPE(velmora::TrigFunction)
Q_DECLARE_METATYPE(long double)

class TstTrigCore : public QObject {
    Q_OBJECT

private slots:
    void evaluate_data();
    void evaluate();
    void format_data();
    void format();
};

void TstTrigCore::evaluate_data() {
    QTest::addColumn<TrigFunction>("function");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("error");

    for (const velmora::test::TrigExample& row : velmora::test::trigExamples())
        QTest::newRow(row.tag) << row.function << row.separator << row.input << row.answer
                               << row.error;
}

void TstTrigCore::evaluate() {
    QFETCH(TrigFunction, function);
    QFETCH(QChar, separator);
    QFETCH(QString, input);
    QFETCH(QString, answer);
    QFETCH(QString, error);

    QString gotAnswer;
    QString gotError;
    try {
        const double x = velmora::readTrigInput(input, separator);
        gotAnswer = velmora::trigAnswer(function, input, x, separator);
    } catch (const velmora::Failure& failure) {
        gotError = failure.message();
    }
    QCOMPARE(gotError, error);
    QCOMPARE(gotAnswer, answer);
}

void TstTrigCore::format_data() {
    QTest::addColumn<long double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const QChar comma = QLatin1Char(',');
    const QChar point = QLatin1Char('.');

    // Fixed-point: at most five significant digits, always five decimals.
    QTest::newRow("padded with zeros") << 1.7320508L << comma << "1,73210";
    QTest::newRow("two digits before the point") << 57.289962L << comma << "57,29000";
    QTest::newRow("leading zeros after the point") << 0.0174524L << comma << "0,01745";
    QTest::newRow("half") << 0.5L << comma << "0,50000";
    QTest::newRow("integer") << 3.0L << comma << "3,00000";
    QTest::newRow("five digits, zeros kept before the point") << 10000.0L << comma << "10000,00000";
    QTest::newRow("five digits rounded") << 12345.678L << comma << "12346,00000";
    QTest::newRow("just below the scientific threshold") << 99999.4L << comma << "99999,00000";
    QTest::newRow("negative") << -0.5L << comma << "-0,50000";
    QTest::newRow("negative large") << -1234.5678L << comma << "-1234,60000";

    // Rounding: half away from zero, with carries across digits and the point.
    QTest::newRow("carry into a new digit") << 9.999996L << comma << "10,00000";
    QTest::newRow("negative carry") << -9.999996L << comma << "-10,00000";
    QTest::newRow("carry across the point") << 0.999996L << comma << "1,00000";
    QTest::newRow("below the last decimal rounds up") << 0.000006L << comma << "0,00001";
    QTest::newRow("tie at the last decimal rounds up") << 0.000005L << comma << "0,00001";
    QTest::newRow("negative tie rounds away from zero") << -0.000005L << comma << "-0,00001";
    QTest::newRow("one kept digit rounds up") << 0.000015L << comma << "0,00002";
    QTest::newRow("one kept digit rounds down") << 0.0000149L << comma << "0,00001";
    QTest::newRow("three kept digits") << 0.00123456L << comma << "0,00123";
    // 0.123454999999999999993 is 0.123455000000000000 to 18 digits, which then rounds up.
    QTest::newRow("rounds from the 18-digit expansion")
        << 0.12345499999999999999L << comma << "0,12346";

    // Zero: "0,00000" without a sign.
    QTest::newRow("zero") << 0.0L << comma << "0,00000";
    QTest::newRow("negative zero") << -0.0L << comma << "0,00000";
    QTest::newRow("negative just below a tie loses its sign")
        << -0.0000049999L << comma << "0,00000";
    QTest::newRow("negative tiny loses its sign") << -1e-7L << comma << "0,00000";
    QTest::newRow("far below the last decimal") << 1e-30L << comma << "0,00000";
    QTest::newRow("smallest long double")
        << -std::numeric_limits<long double>::denorm_min() << comma << "0,00000";

    // Scientific from 99999.5 in magnitude: no plus sign, no leading zeros in the exponent.
    QTest::newRow("six digits") << 572957.8L << comma << "5,7296E5";
    QTest::newRow("rounds up to 1E5") << 99999.5L << comma << "1E5";
    QTest::newRow("exact power of ten") << 100000.0L << comma << "1E5";
    QTest::newRow("six digits rounded") << 123456.7L << comma << "1,2346E5";
    QTest::newRow("negative scientific") << -572957.8L << comma << "-5,7296E5";
    QTest::newRow("two-digit exponent") << 1e20L << comma << "1E20";
    QTest::newRow("three-digit exponent") << 1.5e300L << comma << "1,5E300";
    QTest::newRow("beyond the double range") << -2.5e4000L << comma << "-2,5E4000";

    QTest::newRow("point: fixed") << 1.7320508L << point << "1.73210";
    QTest::newRow("point: scientific") << 572957.8L << point << "5.7296E5";
    QTest::newRow("point: zero") << -1e-7L << point << "0.00000";
}

void TstTrigCore::format() {
    QFETCH(long double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);

    QCOMPARE(velmora::formatTrigResult(value, separator), expected);
}

QTEST_APPLESS_MAIN(TstTrigCore)
#include "tst_trigcore.moc"
