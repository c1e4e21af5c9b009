#include "numbers/decimal.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

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

} // namespace

std::optional<double> parseDecimal(QStringView text, QChar separator) {
    qsizetype pos = 0;
    qsizetype end = text.size();
    while (pos < end && text[pos] == QLatin1Char(' '))
        ++pos;
    while (end > pos && text[end - 1] == QLatin1Char(' '))
        --end;

    // Check the grammar here and rebuild the number as "C" text, so no other form strtod
    // would accept (hex, "inf", "nan", a point as separator) can slip through.
    std::string number;
    number.reserve(static_cast<std::size_t>(end - pos) + 2);
    if (pos < end && isSign(text[pos]))
        number += static_cast<char>(text[pos++].unicode());

    bool sawDigit = false;
    bool sawSeparator = false;
    for (; pos < end; ++pos) {
        const QChar c = text[pos];
        if (isDigit(c)) {
            sawDigit = true;
            number += static_cast<char>(c.unicode());
        } else if (c == separator && !sawSeparator) {
            sawSeparator = true;
            number += '.';
        } else {
            break;
        }
    }
    if (!sawDigit && !sawSeparator)
        return std::nullopt;
    if (!sawDigit)
        number += '0'; // a lone separator reads as zero

    if (pos < end && (text[pos] == QLatin1Char('E') || text[pos] == QLatin1Char('e'))) {
        ++pos;
        std::string exponent = "e";
        if (pos < end && isSign(text[pos]))
            exponent += static_cast<char>(text[pos++].unicode());
        bool exponentDigits = false;
        for (; pos < end && isDigit(text[pos]); ++pos) {
            exponentDigits = true;
            exponent += static_cast<char>(text[pos].unicode());
        }
        if (exponentDigits) // an exponent without digits counts as 0
            number += exponent;
    }
    if (pos != end)
        return std::nullopt;

    const double value = strtod_l(number.c_str(), nullptr, cLocale());
    // Overflow fails; underflow gives zero or a subnormal and is not a failure.
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace velmora
