#include "trig/trigcore.h"

#include "numbers/decimal.h"
#include "platform/base/failure.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmora {
namespace {

// Every digit this core prints comes from x87 extended precision. Where long double is another
// format (a 113-bit quad on arm64 Linux, a plain double with MSVC or on Apple arm64) answers
// would differ in their last places, so such a build stops here instead.
static_assert(std::numeric_limits<long double>::digits == 64,
              "the trigonometry core needs long double with a 64-bit mantissa");

// π with the 64-bit mantissa of long double; the literal rounds to 3.14159265358979323851.
constexpr long double kPi = 3.14159265358979323846264338327950288L;

struct ExactValue {
    QStringView key;
    QStringView answer;
};

constexpr QStringView kUndefined = u"\u2014"; // em dash: the function has no value there

constexpr ExactValue kSinValues[] = {
    {u"0", u"0"}, {u"180", u"0"}, {u"360", u"0"}, {u"90", u"1"}, {u"270", u"-1"}};
constexpr ExactValue kCosValues[] = {
    {u"0", u"1"}, {u"360", u"1"}, {u"90", u"0"}, {u"270", u"0"}, {u"180", u"-1"}};
constexpr ExactValue kTgValues[] = {{u"0", u"0"},        {u"180", u"0"},       {u"360", u"0"},
                                    {u"90", kUndefined}, {u"270", kUndefined}, {u"45", u"1"}};
constexpr ExactValue kCtgValues[] = {{u"0", kUndefined}, {u"180", kUndefined}, {u"360", kUndefined},
                                     {u"90", u"0"},      {u"270", u"0"},       {u"45", u"1"}};
constexpr ExactValue kArcsinValues[] = {{u"0", u"0"}, {u"1", u"90"}, {u"-1", u"-90"}};
constexpr ExactValue kArccosValues[] = {{u"0", u"90"}, {u"1", u"0"}, {u"-1", u"180"}};
constexpr ExactValue kArcctgValues[] = {{u"0", u"90"}, {u"1", u"45"}};

template <std::size_t N>
std::optional<QString> lookUp(const ExactValue (&table)[N], QStringView text) {
    for (const ExactValue& entry : table) {
        if (entry.key == text) // plain text comparison: no trimming, no numeric reading
            return QString::fromRawData(entry.answer.data(), entry.answer.size());
    }
    return std::nullopt;
}

[[noreturn]] void throwInvalidOperation() {
    throw Failure(FailureKind::InvalidOperation);
}

long double toDegrees(long double radians) {
    return radians * 180.0L / kPi;
}

// arcsin and arccos share the square root of (1 + x)(1 - x), which is negative for |x| > 1.
long double cosineOf(long double x) {
    const long double radicand = (1.0L + x) * (1.0L - x);
    if (radicand < 0.0L)
        throwInvalidOperation();
    return std::sqrt(radicand);
}

long double compute(TrigFunction f, double x) {
    const long double v = x;
    switch (f) {
    case TrigFunction::Sin:
    case TrigFunction::Cos:
    case TrigFunction::Tg:
    case TrigFunction::Ctg: {
        // The angle in radians is formed in extended precision and then held as a double.
        const long double r = static_cast<double>((v * kPi) / 180.0L);
        if (f == TrigFunction::Sin)
            return std::sin(r);
        if (f == TrigFunction::Cos)
            return std::cos(r);
        const long double t = std::tan(r);
        if (f == TrigFunction::Tg)
            return t;
        if (t == 0.0L)
            throw Failure(FailureKind::DivisionByZero);
        return 1.0L / t;
    }
    case TrigFunction::Arcsin:
        return toDegrees(std::atan2(v, cosineOf(v)));
    case TrigFunction::Arccos:
        return toDegrees(std::atan2(cosineOf(v), v));
    case TrigFunction::Arcctg:
        if (std::fabs(v) <= 1e-16L)
            return 90.0L;
        return toDegrees(std::atan(1.0L / v));
    }
    throwInvalidOperation();
}

} // namespace

bool isDirect(TrigFunction f) {
    return f == TrigFunction::Sin || f == TrigFunction::Cos || f == TrigFunction::Tg ||
           f == TrigFunction::Ctg;
}

double readTrigInput(QStringView text, QChar separator) {
    if (const std::optional<double> value = parseDecimal(text, separator))
        return *value;
    throw Failure(FailureKind::NotAFloat, text.toString());
}

std::optional<QString> exactTrigValue(TrigFunction f, QStringView text) {
    switch (f) {
    case TrigFunction::Sin:
        return lookUp(kSinValues, text);
    case TrigFunction::Cos:
        return lookUp(kCosValues, text);
    case TrigFunction::Tg:
        return lookUp(kTgValues, text);
    case TrigFunction::Ctg:
        return lookUp(kCtgValues, text);
    case TrigFunction::Arcsin:
        return lookUp(kArcsinValues, text);
    case TrigFunction::Arccos:
        return lookUp(kArccosValues, text);
    case TrigFunction::Arcctg:
        return lookUp(kArcctgValues, text);
    }
    return std::nullopt;
}

QString trigAnswer(TrigFunction f, QStringView text, double x, QChar separator) {
    if (std::optional<QString> exact = exactTrigValue(f, text))
        return *std::move(exact);
    const long double value = compute(f, x);
    // No floating-point traps: a result outside the reals is caught here.
    if (std::isnan(value))
        throwInvalidOperation();
    if (std::isinf(value))
        throw Failure(FailureKind::Overflow);
    return formatTrigResult(value, separator);
}

QString formatTrigResult(long double value, QChar separator) {
    // The 18 significant digits d1.d2...d18 and the exponent of the value, as
    // "[-]d.ddddddddddddddddde[+-]x..."; the value reads 0.d1d2...d18 × 10^e with e = exponent + 1.
    char expansion[48];
    const std::to_chars_result written = std::to_chars(expansion, expansion + sizeof expansion,
                                                       value, std::chars_format::scientific, 17);
    const char* p = expansion;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[18];
    digits[0] = p[0];
    std::copy(p + 2, p + 19, digits + 1);
    int e = 0;
    std::from_chars(p + 20 + (p[20] == '+'), written.ptr, e);
    ++e;

    char16_t out[32];
    int length = 0;
    const auto zero = [&] {
        out[0] = u'0';
        out[1] = separator.unicode();
        std::fill(out + 2, out + 7, u'0');
        return QStringView(out, 7).toString();
    };
    if (digits[0] == '0')
        return zero();

    // Keep n = min(5, e + 5) digits: at most five significant and five after the point.
    const int n = std::min(5, e + 5);
    if (n < 0)
        return zero();
    char kept[6];
    std::copy(digits, digits + n, kept);
    int count = n;
    if (digits[n] >= '5') { // round half away from zero, carrying leftwards
        int i = n - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i >= 0) {
            ++kept[i];
        } else { // all nines (or nothing kept): the number becomes the next power of ten
            kept[0] = '1';
            count = 1;
            ++e;
        }
    }
    while (count > 0 && kept[count - 1] == '0')
        --count;
    if (count == 0)
        return zero();

    if (negative)
        out[length++] = u'-';
    if (e > 5) { // six or more digits before the point: scientific form
        out[length++] = static_cast<char16_t>(kept[0]);
        if (count > 1) {
            out[length++] = separator.unicode();
            for (int i = 1; i < count; ++i)
                out[length++] = static_cast<char16_t>(kept[i]);
        }
        out[length++] = u'E';
        char exponent[8];
        const std::to_chars_result end = std::to_chars(exponent, exponent + sizeof exponent, e - 1);
        for (const char* c = exponent; c != end.ptr; ++c)
            out[length++] = static_cast<char16_t>(*c);
    } else { // fixed-point with exactly five decimals
        if (e <= 0)
            out[length++] = u'0';
        for (int i = 0; i < e; ++i)
            out[length++] = i < count ? static_cast<char16_t>(kept[i]) : u'0';
        out[length++] = separator.unicode();
        for (int i = e; i < e + 5; ++i)
            out[length++] = i >= 0 && i < count ? static_cast<char16_t>(kept[i]) : u'0';
    }
    return QStringView(out, length).toString();
}

} // namespace velmora
