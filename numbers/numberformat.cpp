#include "numbers/numberformat.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velmora {

void appendGeneral(QString& out, double value, QChar separator) {
    if (value == 0) {
        out += QLatin1Char('0');
        return;
    }

    // 18 significant digits: "d.ddddddddddddddddde[+-]x".
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), std::fabs(value),
                                      std::chars_format::scientific, 17);
    std::array<char, 18> digits{};
    digits[0] = text[0];
    for (std::size_t i = 1; i < digits.size(); ++i)
        digits[i] = text[i + 1];
    // text[19] is 'e', text[20] the exponent's sign (from_chars reads no '+').
    int exponent = 0; // value = 0.d1d2... * 10^exponent
    std::from_chars(text.data() + 21, result.ptr, exponent);
    if (text[20] == '-')
        exponent = -exponent;
    ++exponent;

    // Round to 15 digits, half up on the 16th.
    int count = 15;
    if (digits[15] >= '5') {
        int i = 14;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            ++exponent;
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

    if (value < 0)
        out += QLatin1Char('-');
    if (exponent >= -3 && exponent <= 15) {
        if (exponent <= 0) {
            out += QLatin1Char('0');
            out += separator;
            for (int i = 0; i < -exponent; ++i)
                out += QLatin1Char('0');
            out += QLatin1StringView(digits.data(), count);
        } else {
            for (int i = 0; i < exponent; ++i)
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
    const int shown = exponent - 1;
    std::array<char, 8> exponentText{};
    const auto end =
        std::to_chars(exponentText.data(), exponentText.data() + exponentText.size(), shown).ptr;
    out += QLatin1StringView(exponentText.data(), end);
}

QString formatGeneral(double value, QChar separator) {
    QString out;
    appendGeneral(out, value, separator);
    return out;
}

} // namespace velmora
