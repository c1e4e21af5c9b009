#include "numbers/numberformat.h"

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

    if (number.negative)
        out += QLatin1Char('-');
    if (exponent >= -3 && exponent <= 15) {
        if (exponent <= 0) {
            out += QLatin1Char('0');
            out += separator;
            for (long i = 0; i < -exponent; ++i)
                out += QLatin1Char('0');
            out += QLatin1StringView(digits.data(), count);
        } else {
            for (long i = 0; i < exponent; ++i)
                out += QLatin1Char(i < count ? digits[i] : '0');
            if (count > exponent) {
                out += separator;
                out += QLatin1StringView(digits.data() + exponent, count - exponent);
            }
        }
        return;
    }

    out += QLatin1Char(digits[0]);
    if (count > 1) {
        out += separator;
        out += QLatin1StringView(digits.data() + 1, count - 1);
    }
    out += QLatin1Char('E');
    std::array<char, 24> exponentText{};
    const auto end =
        std::to_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent - 1)
            .ptr;
    out += QLatin1StringView(exponentText.data(), end);
}

QString formatGeneral(const SignificantDigits& number, QChar separator) {
    QString out;
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
