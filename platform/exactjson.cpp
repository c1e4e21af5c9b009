#include "platform/exactjson.h"

#include <QByteArrayView>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

// Longer names and numbers are cut short in the description.
constexpr qsizetype kShownLength = 40;
// A power of ten this far out is zero or out of range for a double whatever its digits.
constexpr qint64 kExponentCap = 1'000'000'000'000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isNumberChar(char c) {
    return isDigit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

QString shown(QString text) {
    if (text.size() > kShownLength)
        text = text.left(kShownLength) + QStringLiteral("…");
    return text;
}

// A number's exact decimal value: its sign, its significant digits without leading or trailing
// zeros, and the power of ten of the last one. Zero has no digits and no sign.
struct Decimal {
    bool negative = false;
    QByteArray digits;
    qint64 exponent = 0;

    bool operator==(const Decimal&) const = default;
};

Decimal decimalOf(QByteArrayView token) {
    Decimal value;
    qsizetype i = 0;
    if (i < token.size() && token[i] == '-') {
        value.negative = true;
        ++i;
    }
    qint64 fractionDigits = 0;
    bool inFraction = false;
    for (; i < token.size() && (isDigit(token[i]) || token[i] == '.'); ++i) {
        if (token[i] == '.') {
            inFraction = true;
            continue;
        }
        value.digits += token[i];
        if (inFraction)
            ++fractionDigits;
    }
    qint64 exponent = 0;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < token.size() && (token[i] == '+' || token[i] == '-'))
            negativeExponent = token[i++] == '-';
        for (; i < token.size() && isDigit(token[i]); ++i)
            exponent = std::min(exponent * 10 + (token[i] - '0'), kExponentCap);
        if (negativeExponent)
            exponent = -exponent;
    }

    const qsizetype leading =
        std::find_if(value.digits.cbegin(), value.digits.cend(), [](char c) { return c != '0'; }) -
        value.digits.cbegin();
    value.digits.remove(0, leading);
    qsizetype trailing = 0;
    while (trailing < value.digits.size() &&
           value.digits[value.digits.size() - 1 - trailing] == '0')
        ++trailing;
    value.digits.chop(trailing);
    if (value.digits.isEmpty())
        return {};
    value.exponent = exponent - fractionDigits + trailing;
    return value;
}

// The number as QJsonDocument writes it back after reading it; empty if it cannot read it.
QByteArray writtenBack(QByteArrayView token) {
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray("[") + token.toByteArray() + ']', &error);
    if (error.error != QJsonParseError::NoError)
        return {};
    const QByteArray written = document.toJson(QJsonDocument::Compact);
    return written.mid(1, written.size() - 2);
}

// Whole numbers of up to 18 digits fit the reader's 64-bit integers: no need to ask it.
bool isSmallInteger(QByteArrayView token) {
    const qsizetype digits = token.startsWith('-') ? token.size() - 1 : token.size();
    return digits > 0 && digits <= 18 &&
           std::all_of(token.end() - digits, token.end(), [](char c) { return isDigit(c); });
}

// Reads the string that starts at the quote at `i` as the reader does, escapes included, and
// leaves `i` after its closing quote.
QString readString(const QByteArray& json, qsizetype& i) {
    QString text;
    QByteArray raw; // UTF-8 bytes since the last escape
    ++i;
    while (i < json.size()) {
        const char c = json[i++];
        if (c == '"')
            break;
        if (c != '\\') {
            raw += c;
            continue;
        }
        text += QString::fromUtf8(raw);
        raw.clear();
        if (i >= json.size())
            break;
        const char escaped = json[i++];
        switch (escaped) {
        case 'b':
            text += QLatin1Char('\b');
            break;
        case 'f':
            text += QLatin1Char('\f');
            break;
        case 'n':
            text += QLatin1Char('\n');
            break;
        case 'r':
            text += QLatin1Char('\r');
            break;
        case 't':
            text += QLatin1Char('\t');
            break;
        case 'u': {
            bool ok = false;
            const ushort unit = json.mid(i, 4).toUShort(&ok, 16);
            text += QChar(unit);
            i += 4;
            break;
        }
        default: // the reader takes any other escaped character as itself
            text += QLatin1Char(escaped);
            break;
        }
    }
    return text + QString::fromUtf8(raw);
}

struct Container {
    bool object = false;
    bool expectName = false;
    QSet<QString> names;
};

} // namespace

QString whatWouldNotRoundTrip(const QByteArray& json, int maxDepth) {
    // The text is valid JSON (the reader took it), so a flat scan can follow its structure: no
    // recursion, and it stops at the first container too deep.
    std::vector<Container> open;
    qsizetype i = json.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < json.size()) {
        const char c = json[i];
        if (c == '{' || c == '[') {
            if (static_cast<int>(open.size()) >= maxDepth)
                return QStringLiteral("nested deeper than %1 levels").arg(maxDepth);
            open.push_back({c == '{', c == '{', {}});
            ++i;
        } else if (c == '}' || c == ']') {
            if (!open.empty())
                open.pop_back();
            ++i;
        } else if (c == '"') {
            const QString text = readString(json, i);
            if (!open.empty() && open.back().object && open.back().expectName) {
                Container& object = open.back();
                object.expectName = false;
                if (object.names.contains(text))
                    return QStringLiteral("the name \"%1\" twice in one object").arg(shown(text));
                object.names.insert(text);
            }
        } else if (c == ',') {
            if (!open.empty() && open.back().object)
                open.back().expectName = true;
            ++i;
        } else if (c == '-' || c == '.' || isDigit(c)) {
            const qsizetype start = i;
            while (i < json.size() && isNumberChar(json[i]))
                ++i;
            const QByteArrayView token(json.constData() + start, i - start);
            if (isSmallInteger(token))
                continue;
            const QByteArray written = writtenBack(token);
            if (written.isEmpty() || decimalOf(written) != decimalOf(token))
                return QStringLiteral("the number %1 read as %2")
                    .arg(shown(token.toByteArray()), QString::fromLatin1(written));
        } else {
            ++i; // white space, ':' and the letters of true, false and null
        }
    }
    return {};
}

} // namespace velmora
