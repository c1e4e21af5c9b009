#include "numbers/exacttext.h"

#include "numbers/rational.h"

#include <algorithm>

namespace velmora {
namespace {} // namespace

QString superscriptNumber(long number) {
    static const QChar digits[] = {u'⁰', u'¹', u'²', u'³', u'⁴', u'⁵', u'⁶', u'⁷', u'⁸', u'⁹'};
    QString text;
    for (const char c : std::to_string(number))
        text += c == '-' ? QChar(u'⁻') : digits[c - '0'];
    return text;
}

namespace {

QString withDecimals(const mpz_class& scaled, int sign, int decimals, QChar separator,
                     QChar minus) {
    QString digits = QString::fromStdString(scaled.get_str());
    if (digits.size() <= decimals)
        digits = QString(decimals + 1 - digits.size(), u'0') + digits;
    if (decimals > 0)
        digits.insert(digits.size() - decimals, separator);
    if (sign < 0 && scaled != 0)
        digits.prepend(minus);
    return digits;
}

} // namespace

QString fixedText(const ExactValue& value, int decimals, QChar separator, QChar minus) {
    return withDecimals(value.scaled(decimals), value.sign(), decimals, separator, minus);
}

QString scientificText(const ExactValue& value, int significant, QChar separator, QChar minus) {
    const std::optional<ExactValue::Significant> found =
        value.significant(std::max(1, significant));
    if (!found)
        return QStringLiteral("0");
    QString digits = QString::fromStdString(found->digits.get_str());
    QString text = value.sign() < 0 ? QString(minus) : QString();
    text += digits.front();
    if (digits.size() > 1)
        text += separator + digits.mid(1);
    // 0.d₁d₂… × 10^e is d₁,d₂… × 10^(e − 1).
    if (found->exponent != 1)
        text += QStringLiteral("·10") + superscriptNumber(found->exponent - 1);
    return text;
}

bool writtenExactly(const ExactValue& value, int decimals) {
    if (!value.isRational())
        return false;
    mpq_class scaled = value.p() * powerOfTen(static_cast<unsigned long>(decimals));
    scaled.canonicalize();
    return scaled.get_den() == 1;
}

namespace {

// Whether fixed decimals would show no digit of a value that is not zero, or too many before the
// separator, so that an approximation is written in scientific form.
bool needsScientific(const ExactValue& value, const mpz_class& scaled, int decimals) {
    constexpr unsigned long LongestWhole = 15;
    return (value.sign() != 0 && scaled == 0) ||
           scaled >= powerOfTen(LongestWhole + static_cast<unsigned long>(decimals));
}

} // namespace

QString approximateText(const ExactValue& value, int decimals, QChar separator, QChar minus) {
    const mpz_class scaled = value.scaled(decimals);
    if (needsScientific(value, scaled, decimals))
        return scientificText(value, decimals + 1, separator, minus);
    return withDecimals(scaled, value.sign(), decimals, separator, minus);
}

QString labelText(const ExactValue& value, int decimals, QChar separator, QChar minus) {
    constexpr unsigned long LongestWhole = 15;
    if (value.isRational() && abs(value.p()) < mpq_class(powerOfTen(LongestWhole))) {
        // A finite decimal with no more decimals than asked is written with its own.
        const std::optional<unsigned long> own = decimalPlaces(value.p());
        if (own && *own <= static_cast<unsigned long>(decimals))
            return fixedText(value, static_cast<int>(*own), separator, minus);
    }
    if (value.isRational() && needsScientific(value, value.scaled(decimals), decimals)) {
        const int count = decimals + 1;
        const std::optional<ExactValue::Significant> found = value.significant(count);
        const long shift = found->exponent - count;
        mpq_class written(found->digits);
        if (shift >= 0)
            written *= powerOfTen(static_cast<unsigned long>(shift));
        else
            written /= powerOfTen(static_cast<unsigned long>(-shift));
        if (written == abs(value.p())) {
            QString text = scientificText(value, count, separator, minus);
            // Trailing zeros of the digits mean nothing in an exact value: 1,00·10⁻⁸⁰ is 1·10⁻⁸⁰.
            const qsizetype times = text.indexOf(u'·');
            QString digits = times < 0 ? text : text.left(times);
            if (digits.contains(separator)) {
                while (digits.endsWith(u'0'))
                    digits.chop(1);
                if (digits.endsWith(separator))
                    digits.chop(1);
            }
            return times < 0 ? digits : digits + text.mid(times);
        }
    }
    return QStringLiteral("≈ ") + approximateText(value, decimals, separator, minus);
}

} // namespace velmora
