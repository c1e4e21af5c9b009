#include "platform/exactjson.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QStringDecoder>
#include <QStringView>
#include <QtNumeric>

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <utility>
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

// The number as the writer puts it back after the reader took it: a double's shortest form. A
// whole number the reader keeps as an integer has the same value written either way.
QByteArray writtenBack(QByteArrayView token) {
    bool ok = false;
    const double value = token.toDouble(&ok);
    if (!ok || !qIsFinite(value))
        return {};
    return QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

// Whole numbers that fit 64 bits the reader keeps as integers, exactly.
bool isExactInteger(QByteArrayView token) {
    const bool wholeNumber = std::none_of(token.begin(), token.end(),
                                          [](char c) { return c == '.' || c == 'e' || c == 'E'; });
    bool fits = false;
    if (wholeNumber)
        static_cast<void>(token.toLongLong(&fits));
    return fits;
}

// UTF-8 as the reader decodes the bytes between two escapes: a byte order mark there is a
// character (QString::fromUtf8 would drop one at the start).
QString utf8Run(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// The text between a string's quotes with its escapes read as the reader reads them.
QString unescaped(QByteArrayView quoted) {
    QString text;
    qsizetype runStart = 0; // UTF-8 bytes since the last escape
    qsizetype i = 0;
    while (i < quoted.size()) {
        if (quoted[i] != '\\') {
            ++i;
            continue;
        }
        text += utf8Run(quoted.sliced(runStart, i - runStart));
        const char escaped = i + 1 < quoted.size() ? quoted[i + 1] : '\\';
        i += 2;
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
            const qsizetype from = std::min(i, quoted.size());
            const QByteArrayView hex =
                quoted.sliced(from, std::min<qsizetype>(4, quoted.size() - from));
            text += QChar(hex.toByteArray().toUShort(nullptr, 16));
            i += 4;
            break;
        }
        default: // the reader takes any other escaped character as itself
            text += QLatin1Char(escaped);
            break;
        }
        runStart = std::min(i, quoted.size());
    }
    return text + utf8Run(quoted.sliced(runStart));
}

// Whether the string's text starts with U+FEFF, raw or escaped: the reader drops it there, so the
// string would be written back without it.
bool startsWithByteOrderMark(QByteArrayView quoted, bool escapes) {
    if (quoted.startsWith("\xEF\xBB\xBF"))
        return true;
    return escapes && quoted.startsWith("\\u") &&
           unescaped(quoted.first(std::min<qsizetype>(6, quoted.size()))).startsWith(QChar(0xFEFF));
}

// Passes over the string whose opening quote is at `i`, leaving `i` after its closing quote, and
// returns the bytes between the quotes.
QByteArrayView passString(const QByteArray& json, qsizetype& i, bool& escapes) {
    const qsizetype start = ++i;
    escapes = false;
    while (i < json.size() && json[i] != '"') {
        if (json[i] == '\\') {
            escapes = true;
            ++i;
        }
        ++i;
    }
    const QByteArrayView quoted(json.constData() + start, std::min(i, json.size()) - start);
    ++i;
    return quoted;
}

// The member names of one object seen so far. A name is compared by its UTF-8 bytes, read in
// place when it has no escapes (a store of a million names is checked in well under a second);
// one with an unpaired surrogate, which has no UTF-8, by its text.
class NameSet {
public:
    // False when the name was there already.
    bool insert(QByteArrayView quoted, bool escapes) {
        if (!escapes)
            return insertBytes(quoted);
        const QString text = unescaped(quoted);
        if (!QStringView(text).isValidUtf16())
            return !std::exchange(m_unpaired[text], true);
        m_decoded.append(text.toUtf8());
        return insertBytes(m_decoded.constLast());
    }

private:
    bool insertBytes(QByteArrayView bytes) {
        return m_bytes.emplace(bytes.data(), bytes.size()).second;
    }

    std::unordered_set<std::string_view> m_bytes; // views into the document or into m_decoded
    QList<QByteArray> m_decoded;                  // names that had escapes, as UTF-8
    QHash<QString, bool> m_unpaired;
};

struct Container {
    bool object = false;
    bool expectName = false;
    NameSet names;
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
            bool escapes = false;
            const QByteArrayView quoted = passString(json, i, escapes);
            if (startsWithByteOrderMark(quoted, escapes))
                return QStringLiteral("the text \"%1\" starting with a byte order mark")
                    .arg(shown(escapes ? unescaped(quoted) : QString::fromUtf8(quoted)));
            if (!open.empty() && open.back().object && open.back().expectName) {
                Container& object = open.back();
                object.expectName = false;
                if (!object.names.insert(quoted, escapes))
                    return QStringLiteral("the name \"%1\" twice in one object")
                        .arg(shown(escapes ? unescaped(quoted) : QString::fromUtf8(quoted)));
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
            if (isExactInteger(token))
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
