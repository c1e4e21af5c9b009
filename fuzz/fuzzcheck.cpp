#include "fuzz/fuzzcheck.h"

#include <cstdio>
#include <cstdlib>

namespace velmora::fuzz {
namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Digits from `pos`; returns how many.
qsizetype digitsAt(QStringView text, qsizetype pos) {
    qsizetype n = 0;
    while (pos + n < text.size() && isDigit(text[pos + n]))
        ++n;
    return n;
}

} // namespace

void fail(const char* property, QStringView text) {
    std::fprintf(stderr, "\nproperty broken: %s\n  text: \"%s\"\n", property,
                 text.toUtf8().constData());
    std::abort();
}

QString textOf(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

bool mentionsInfOrNan(QStringView text) {
    return text.contains(u"inf", Qt::CaseInsensitive) || text.contains(u"nan", Qt::CaseInsensitive);
}

bool isGeneralNumber(QStringView text, QChar separator) {
    if (text == u"0")
        return true;
    qsizetype pos = text.startsWith(u'-') ? 1 : 0;
    const qsizetype whole = digitsAt(text, pos);
    if (whole == 0)
        return false;
    const QStringView integer = text.mid(pos, whole);
    pos += whole;
    QStringView fraction;
    if (pos < text.size() && text[pos] == separator) {
        const qsizetype n = digitsAt(text, pos + 1);
        if (n == 0)
            return false;
        fraction = text.mid(pos + 1, n);
        pos += 1 + n;
        if (fraction.endsWith(u'0'))
            return false;
    }

    if (pos == text.size()) { // fixed notation
        if (integer.size() > 1 && integer.startsWith(u'0'))
            return false;
        if (integer == u"0") {
            qsizetype zeros = 0;
            while (zeros < fraction.size() && fraction[zeros] == u'0')
                ++zeros;
            // Below 1 it needs a fraction, at most three zeros after the point (>= 0.0001).
            return !fraction.isEmpty() && zeros <= 3 && fraction.size() - zeros <= 15;
        }
        return integer.size() + fraction.size() <= 15;
    }

    // "d[.ddd]E[-]x" with the exponent outside the fixed range.
    if (integer.size() != 1 || integer == u"0" || 1 + fraction.size() > 15)
        return false;
    if (text[pos] != u'E')
        return false;
    ++pos;
    const bool negative = pos < text.size() && text[pos] == u'-';
    if (negative)
        ++pos;
    const qsizetype n = digitsAt(text, pos);
    if (n == 0 || pos + n != text.size() || (n > 1 && text[pos] == u'0'))
        return false;
    const int exponent = text.mid(pos, n).toInt() * (negative ? -1 : 1);
    return exponent >= 15 || exponent <= -5;
}

qsizetype numberRunLength(QStringView text, qsizetype from, QChar separator) {
    qsizetype pos = from;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (isDigit(c) || c == separator || c == u'E' ||
            (c == u'-' && pos > from && text[pos - 1] == u'E'))
            ++pos;
        else
            break;
    }
    return pos - from;
}

} // namespace velmora::fuzz
