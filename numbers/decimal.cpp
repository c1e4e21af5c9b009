#include "numbers/decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace velmora {
namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSign(QChar c) {
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// strtod follows the process locale, which the toolkit sets from the user's; read in "C" always.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

// Exponents beyond this are held at it: every such number is far outside any range we accept,
// and the sums below cannot overflow.
constexpr std::int64_t ExponentLimit = 1'000'000'000'000'000;

} // namespace

std::optional<DecimalText> scanDecimal(QStringView text, QChar separator) {
    qsizetype pos = 0;
    qsizetype end = text.size();
    while (pos < end && text[pos] == QLatin1Char(' '))
        ++pos;
    while (end > pos && text[end - 1] == QLatin1Char(' '))
        --end;

    DecimalText number;
    if (pos < end && isSign(text[pos]))
        number.negative = text[pos++] == QLatin1Char('-');

    bool sawSeparator = false;
    for (; pos < end; ++pos) {
        const QChar c = text[pos];
        if (isDigit(c)) {
            number.digits += static_cast<char>(c.unicode());
            if (sawSeparator)
                --number.scale;
        } else if (c == separator && !sawSeparator) {
            sawSeparator = true;
        } else {
            break;
        }
    }
    if (number.digits.empty() && !sawSeparator)
        return std::nullopt;
    if (number.digits.empty())
        number.digits.push_back('0'); // a lone separator reads as zero

    if (pos < end && (text[pos] == QLatin1Char('E') || text[pos] == QLatin1Char('e'))) {
        ++pos;
        bool negativeExponent = false;
        if (pos < end && isSign(text[pos]))
            negativeExponent = text[pos++] == QLatin1Char('-');
        std::int64_t exponent = 0; // an exponent without digits counts as 0
        for (; pos < end && isDigit(text[pos]); ++pos)
            exponent = std::min(exponent * 10 + (text[pos].unicode() - '0'), ExponentLimit);
        number.scale += negativeExponent ? -exponent : exponent;
    }
    if (pos != end)
        return std::nullopt;
    return number;
}

std::optional<double> parseDecimal(QStringView text, QChar separator) {
    const std::optional<DecimalText> number = scanDecimal(text, separator);
    if (!number)
        return std::nullopt;
    // Rebuilt as "C" text from the checked parts, so no other form strtod would accept (hex,
    // "inf", "nan", a point as separator) can slip through.
    std::array<char, 24> exponent{};
    char* exponentEnd =
        std::to_chars(exponent.data(), exponent.data() + exponent.size(), number->scale).ptr;
    std::string c;
    c.reserve(number->digits.size() + exponent.size() + 2);
    if (number->negative)
        c.push_back('-');
    c.append(number->digits);
    c.push_back('e');
    c.append(exponent.data(), static_cast<std::size_t>(exponentEnd - exponent.data()));
    const double value = strtod_l(c.c_str(), nullptr, cLocale());
    // Overflow fails; underflow gives zero or a subnormal and is not a failure.
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace velmora
