// The trigonometry page's evaluation: a text of up to 14 characters read, evaluated by one of
// the seven functions and written in the result format; or, with the top bit of the first byte,
// the result format alone on the ten bytes of a long double. The first byte also chooses the
// function and the separator. Every outcome must be one of the page's refusals, an exact answer,
// or a well-formed result within the format's rounding of a plain double-precision evaluation.

#include "fuzz/fuzzcheck.h"
#include "numbers/decimal.h"
#include "platform/base/failure.h"
#include "trig/trigcore.h"

#include <QStringList>

#include <cmath>
#include <cstring>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

constexpr TrigFunction Functions[] = {
    TrigFunction::Sin,    TrigFunction::Cos,    TrigFunction::Tg,    TrigFunction::Ctg,
    TrigFunction::Arcsin, TrigFunction::Arccos, TrigFunction::Arcctg};
constexpr double DegreesPerRadian = 57.29577951308232;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// "[-]d…d<sep>ddddd" with at most five significant digits, or "d[<sep>d…]E<x>" from 1E5 on,
// at most five significant digits with no trailing zero; zero only as "0<sep>00000".
bool isTrigResult(QStringView text, QChar separator) {
    const qsizetype e = text.indexOf(u'E');
    if (e >= 0) {
        const QStringView mantissa = text.left(e);
        const QStringView exponent = text.mid(e + 1);
        bool ok = false;
        const int power = exponent.toInt(&ok);
        if (!ok || power < 5 || exponent.startsWith(u'+') || exponent.startsWith(u'0'))
            return false;
        const QStringView digits = mantissa.startsWith(u'-') ? mantissa.mid(1) : mantissa;
        if (digits.isEmpty() || !isDigit(digits[0]) || digits[0] == u'0')
            return false;
        if (digits.size() == 1)
            return true;
        if (digits[1] != separator || digits.size() < 3 || digits.size() > 6 ||
            digits.endsWith(u'0'))
            return false;
        for (const QChar c : digits.mid(2)) {
            if (!isDigit(c))
                return false;
        }
        return true;
    }
    const bool negative = text.startsWith(u'-');
    const QStringView number = negative ? text.mid(1) : text;
    const qsizetype point = number.indexOf(separator);
    if (point < 1 || point > 5 || number.size() - point - 1 != 5 ||
        (point > 1 && number[0] == u'0'))
        return false;
    QString digits = number.left(point).toString();
    digits += number.mid(point + 1);
    for (const QChar c : digits) {
        if (!isDigit(c))
            return false;
    }
    // Leading and padding zeros aside, at most five significant digits; zero has no sign.
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return digits.size() <= 5 && !(digits.isEmpty() && negative);
}

// How far the format may round: half a unit in the fifth significant digit or the fifth
// decimal, whichever is coarser, plus a little for the reference's own error.
bool closeEnough(double shown, long double value) {
    const long double tolerance =
        std::max(5e-6L, 5e-5L * std::fabs(value)) * 1.0001L + 1e-12L * std::fabs(value);
    return std::fabs(shown - value) <= tolerance;
}

void checkFormat(long double value, QChar separator) {
    const QString text = formatTrigResult(value, separator);
    check(!mentionsInfOrNan(text), "no inf or nan in a result", text);
    check(isTrigResult(text, separator), "a result is well formed", text);
    if (std::fabs(value) > 1e300L)
        return; // beyond what the decimal conversion reads
    const std::optional<double> shown = parseDecimal(text, separator);
    check(shown.has_value(), "a result reads back", text);
    check(closeEnough(*shown, value), "a result is the value rounded", text);
    check((*shown == 0) == (std::fabs(value) < 5.0000001e-6L) ||
              std::fabs(std::fabs(value) - 5e-6L) < 1e-12L,
          "zero exactly when the value rounds to zero", text);
}

// A plain double-precision value of the function, where it is well conditioned; NaN elsewhere.
double reference(TrigFunction f, double x) {
    switch (f) {
    case TrigFunction::Sin:
        return std::fabs(x) <= 1e9 ? std::sin(x / DegreesPerRadian) : NAN;
    case TrigFunction::Cos:
        return std::fabs(x) <= 1e9 ? std::cos(x / DegreesPerRadian) : NAN;
    case TrigFunction::Tg:
    case TrigFunction::Ctg:
        return NAN; // poles: a last-bit difference in the angle moves the value without bound
    case TrigFunction::Arcsin:
        return std::fabs(x) <= 1 ? std::asin(x) * DegreesPerRadian : NAN;
    case TrigFunction::Arccos:
        return std::fabs(x) <= 1 ? std::acos(x) * DegreesPerRadian : NAN;
    case TrigFunction::Arcctg:
        return std::fabs(x) <= 1e-16 ? 90 : std::atan(1 / x) * DegreesPerRadian;
    }
    return NAN;
}

void evaluateAndCheck(TrigFunction f, const QString& text, QChar separator) {
    double x = 0;
    try {
        x = readTrigInput(text, separator);
    } catch (const Failure& failure) {
        check(failure.message() ==
                  u'\'' + text + QStringLiteral("' is not a valid floating point value"),
              "an unreadable text is named in the refusal", failure.message());
        return;
    }
    check(std::isfinite(x), "a read input is finite", text);

    QString answer;
    try {
        answer = trigAnswer(f, text, x, separator);
    } catch (const Failure& failure) {
        const QString& message = failure.message();
        const bool arc = f == TrigFunction::Arcsin || f == TrigFunction::Arccos;
        check((arc && message == u"Invalid floating point operation" && std::fabs(x) > 1) ||
                  (f == TrigFunction::Ctg && message == u"Floating point division by zero"),
              "only arcsin/arccos outside -1..1 and ctg of zero are refused", message);
        return;
    }
    check(!answer.isEmpty(), "an answer is not empty", text);
    check(!mentionsInfOrNan(answer), "no inf or nan in an answer", answer);

    const std::optional<QString> exact = exactTrigValue(f, text);
    if (exact) {
        check(answer == *exact, "a key gives its fixed answer", answer);
        if (*exact == u"\u2014")
            return;
    } else {
        check(isTrigResult(answer, separator), "a computed answer is well formed", answer);
    }
    const std::optional<double> shown = parseDecimal(answer, separator);
    if (!shown) {
        check(answer.contains(u'E'), "an answer reads back", answer);
        return;
    }
    const double expected = reference(f, x);
    if (!std::isnan(expected))
        check(closeEnough(*shown, expected), "an answer agrees with a plain evaluation", answer);
    switch (f) {
    case TrigFunction::Sin:
    case TrigFunction::Cos:
        check(std::fabs(*shown) <= 1, "sin and cos lie in -1..1", answer);
        break;
    case TrigFunction::Arcsin:
    case TrigFunction::Arcctg:
        check(std::fabs(*shown) <= 90, "arcsin and arcctg lie in -90..90", answer);
        break;
    case TrigFunction::Arccos:
        check(*shown >= 0 && *shown <= 180, "arccos lies in 0..180", answer);
        break;
    case TrigFunction::Tg:
    case TrigFunction::Ctg:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const QChar separator = (data[0] & 1) ? u'.' : u',';
    if (data[0] & 0x80) {
        long double value = 0;
        if (size < 1 + 10)
            return -1;
        std::memcpy(&value, data + 1, 10);
        value = value * 1.0L; // an encoding the FPU does not accept turns into NaN here
        if (std::isfinite(value))
            checkFormat(value, separator);
        return 0;
    }
    const TrigFunction f = Functions[(data[0] >> 1) % std::size(Functions)];
    const QString text = textOf(data + 1, size - 1);
    if (text.size() > 14)
        return -1;
    evaluateAndCheck(f, text, separator);
    return 0;
}
