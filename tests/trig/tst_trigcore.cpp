#include "platform/failure.h"
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

namespace {

const QString kDash = QStringLiteral("\u2014");
const QString kInvalid = QStringLiteral("Invalid floating point operation");
const QString kDivByZero = QStringLiteral("Floating point division by zero");

QString notANumber(const QString& text) {
    return QLatin1Char('\'') + text + QLatin1String("' is not a valid floating point value");
}

// One evaluation as the page runs it: read the input, then answer. A row expects either an
// answer or an error text; the other column stays empty.
void answers(const char* tag, TrigFunction f, const QString& input, const QString& answer,
             QChar separator = QLatin1Char(',')) {
    QTest::newRow(tag) << f << separator << input << answer << QString();
}

void fails(const char* tag, TrigFunction f, const QString& input, const QString& error,
           QChar separator = QLatin1Char(',')) {
    QTest::newRow(tag) << f << separator << input << QString() << error;
}

} // namespace

void TstTrigCore::evaluate_data() {
    QTest::addColumn<TrigFunction>("function");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("error");

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
