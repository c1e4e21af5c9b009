#include "algebra/equationscanner.h"

#include "numbers/exactdecimal.h"

#include <algorithm>

namespace velmora {
namespace {

// Exponents are read up to this value; anything larger is refused all the same.
constexpr unsigned ExponentCeiling = 1'000'000;

constexpr QStringView SuperscriptDigits = u"⁰¹²³⁴⁵⁶⁷⁸⁹";

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

unsigned withDigit(unsigned value, qsizetype digit) {
    return std::min(value * 10 + static_cast<unsigned>(digit), ExponentCeiling);
}

EquationToken operatorToken(QChar c) {
    switch (c.unicode()) {
    case u'+':
        return EquationToken::Plus;
    case u'-':
    case u'−':
    case u'–':
        return EquationToken::Minus;
    case u'*':
    case u'·':
    case u'×':
        return EquationToken::Times;
    case u'/':
    case u':':
    case u'÷':
        return EquationToken::Divide;
    case u'^':
        return EquationToken::Caret;
    case u'(':
        return EquationToken::Open;
    case u')':
        return EquationToken::Close;
    case u'=':
        return EquationToken::Equals;
    default:
        return EquationToken::Other;
    }
}

} // namespace

std::optional<EquationMark> EquationScanner::beyondLength(QStringView text) {
    EquationScanner counter(text);
    while (counter.m_next < text.size() && counter.m_nextPosition <= MaxEquationLength)
        counter.step();
    if (counter.m_next == text.size())
        return std::nullopt;
    return counter.markAtNext();
}

void EquationScanner::step() {
    if (m_text[m_next].isHighSurrogate() && m_next + 1 < m_text.size() &&
        m_text[m_next + 1].isLowSurrogate())
        ++m_next;
    ++m_next;
    ++m_nextPosition;
}

void EquationScanner::skipSpaces() {
    while (m_next < m_text.size() && m_text[m_next].isSpace())
        step();
}

EquationMark EquationScanner::markAtNext() const {
    EquationScanner probe = *this;
    if (m_next < m_text.size())
        probe.step();
    return {m_nextPosition, m_text.sliced(m_next, probe.m_next - m_next).toString()};
}

bool EquationScanner::refuse(EquationError::Kind kind) {
    m_error = EquationError();
    m_error.kind = kind;
    m_error.position = m_tokenPosition;
    m_error.character = m_tokenText.toString();
    return false;
}

bool EquationScanner::next() {
    skipSpaces();
    const qsizetype start = m_next;
    m_tokenPosition = m_nextPosition;
    if (start == m_text.size()) {
        m_token = EquationToken::End;
        m_tokenText = {};
        return true;
    }
    const QChar c = m_text[start];
    step();
    m_tokenText = m_text.sliced(start, m_next - start);

    if (isDigit(c)) {
        readNumber(start);
        return m_digits <= MaxNumberDigits || refuse(EquationError::Kind::NumberTooLong);
    }
    if (SuperscriptDigits.contains(c)) {
        m_token = EquationToken::Superscript;
        m_superscript = static_cast<unsigned>(SuperscriptDigits.indexOf(c));
        while (m_next < m_text.size() && SuperscriptDigits.contains(m_text[m_next])) {
            m_superscript = withDigit(m_superscript, SuperscriptDigits.indexOf(m_text[m_next]));
            step();
        }
        return true;
    }
    if (isLetter(c)) {
        m_token = EquationToken::Letter;
        if (m_letter && *m_letter != c) {
            refuse(EquationError::Kind::TwoUnknowns);
            m_error.firstUnknown = *m_letter;
            return false;
        }
        m_letter = c;
        return true;
    }
    m_token = operatorToken(c);
    return true;
}

// Digits, and a separator with digits after it: "5," is the number 5 and a ','.
void EquationScanner::readNumber(qsizetype start) {
    m_token = EquationToken::Number;
    m_digits = 1;
    while (m_next < m_text.size() && isDigit(m_text[m_next])) {
        step();
        ++m_digits;
    }
    QChar separator = u'.';
    m_decimal = m_next + 1 < m_text.size() && (m_text[m_next] == u',' || m_text[m_next] == u'.') &&
                isDigit(m_text[m_next + 1]);
    if (m_decimal) {
        separator = m_text[m_next];
        step();
        while (m_next < m_text.size() && isDigit(m_text[m_next])) {
            step();
            ++m_digits;
        }
    }
    if (m_digits <= MaxNumberDigits)
        m_number = *parseExactDecimal(m_text.sliced(start, m_next - start), separator);
}

std::optional<unsigned> EquationScanner::exponentDigits(EquationMark& at) {
    skipSpaces();
    at = markAtNext();
    if (m_next == m_text.size() || !isDigit(m_text[m_next]))
        return std::nullopt;
    unsigned exponent = 0;
    while (m_next < m_text.size() && isDigit(m_text[m_next])) {
        exponent = withDigit(exponent, m_text[m_next].unicode() - u'0');
        step();
    }
    return exponent;
}

} // namespace velmora
