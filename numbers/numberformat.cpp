#include "numbers/numberformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace velmora {

SignificantDigits significantDigits(double value) {
    SignificantDigits number;
    if (value == 0)
        return number;
    number.zero = false;
    number.negative = value < 0;

    // 18 significant digits: "d.ddddddddddddddddde[+-]x".
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), std::fabs(value),
                                      std::chars_format::scientific, 17);
    std::array<char, 18> expansion{};
    expansion[0] = text[0];
    for (std::size_t i = 1; i < expansion.size(); ++i)
        expansion[i] = text[i + 1];
    // text[19] is 'e', text[20] the exponent's sign (from_chars reads no '+').
    int exponent = 0;
    std::from_chars(text.data() + 21, result.ptr, exponent);
    number.exponent = (text[20] == '-' ? -exponent : exponent) + 1;

    // Half up on the 16th digit.
    std::copy_n(expansion.begin(), number.digits.size(), number.digits.begin());
    if (expansion[15] >= '5') {
        int i = 14;
        while (i >= 0 && number.digits[i] == '9')
            number.digits[i--] = '0';
        if (i >= 0) {
            ++number.digits[i];
        } else {
            number.digits[0] = '1';
            ++number.exponent;
        }
    }
    return number;
}

void appendGeneral(QString& out, const SignificantDigits& number, QChar separator) {
    if (number.zero) {
        out += QLatin1Char('0');
        return;
    }
    const std::array<char, 15>& digits = number.digits;
    const long exponent = number.exponent; // value = 0.d1d2... * 10^exponent
    int count = 15;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    // Written into a buffer with '.' for the separator, then appended at once.
    std::array<char, 48> text{};
    char* at = text.data();
    qsizetype separatorAt = -1;
    const auto mark = [&] {
        separatorAt = at - text.data();
        *at++ = '.';
    };
    if (number.negative)
        *at++ = '-';
    if (exponent >= -3 && exponent <= 15) {
        if (exponent <= 0) {
            *at++ = '0';
            mark();
            at = std::fill_n(at, -exponent, '0');
            at = std::copy_n(digits.data(), count, at);
        } else {
            for (long i = 0; i < exponent; ++i)
                *at++ = i < count ? digits[i] : '0';
            if (count > exponent) {
                mark();
                at = std::copy_n(digits.data() + exponent, count - exponent, at);
            }
        }
    } else {
        *at++ = digits[0];
        if (count > 1) {
            mark();
            at = std::copy_n(digits.data() + 1, count - 1, at);
        }
        *at++ = 'E';
        at = std::to_chars(at, text.data() + text.size(), exponent - 1).ptr;
    }
    const qsizetype start = out.size();
    out += QLatin1StringView(text.data(), at);
    if (separatorAt >= 0)
        out[start + separatorAt] = separator;
}

QString formatGeneral(const SignificantDigits& number, QChar separator) {
    QString out;
    out.reserve(24);
    appendGeneral(out, number, separator);
    return out;
}

void appendGeneral(QString& out, double value, QChar separator) {
    appendGeneral(out, significantDigits(value), separator);
}

QString formatGeneral(double value, QChar separator) {
    QString out;
    appendGeneral(out, value, separator);
    return out;
}

} // namespace velmora
