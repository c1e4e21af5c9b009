#pragma once

#include "algebra/equationparser.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <gmpxx.h>

#include <optional>

namespace velmora {

// The tokens of an equation line, read one at a time by parseEquation.
enum class EquationToken {
    End,
    Number,
    Letter,
    Plus,
    Minus,
    Times,
    Divide,
    Caret,
    Superscript, // a run of superscript digits: an exponent
    Open,
    Close,
    Equals,
    Other,
};

// A place in the line for an error: where, and the character there (none at the end).
struct EquationMark {
    int position = 1;
    QString character;
};

class EquationScanner {
public:
    explicit EquationScanner(QStringView text) : m_text(text) {}
    QStringView text() const { return m_text; }

    // Where the line passes MaxEquationLength characters, found without reading further.
    static std::optional<EquationMark> beyondLength(QStringView text);

    // Reads the next token; false when it is refused (a number too long, a second letter),
    // with the reason in error().
    bool next();
    // The digits of an exponent right after '^' (spaces skipped), without reading a token:
    // none when no digit follows. Large ones read as a value above every bound. `at` is set to
    // where the digits start, or to what stands there instead.
    std::optional<unsigned> exponentDigits(EquationMark& at);

    EquationToken token() const { return m_token; }
    QStringView tokenText() const { return m_tokenText; }
    EquationMark mark() const { return {m_tokenPosition, m_tokenText.toString()}; }
    // The character after the current token.
    EquationMark markAtNext() const;

    const mpq_class& number() const { return m_number; }
    bool decimal() const { return m_decimal; }
    unsigned superscript() const { return m_superscript; }
    std::optional<QChar> letter() const { return m_letter; }
    const EquationError& error() const { return m_error; }

private:
    void step();
    void skipSpaces();
    void readNumber(qsizetype start);
    bool refuse(EquationError::Kind kind);

    QStringView m_text;
    qsizetype m_next = 0;   // the next character to read, in QChars
    int m_nextPosition = 1; // the same, in Unicode characters from 1

    EquationToken m_token = EquationToken::End;
    QStringView m_tokenText; // its first character
    int m_tokenPosition = 1;
    mpq_class m_number;         // of a Number
    bool m_decimal = false;     // a Number with a separator
    int m_digits = 0;           // of a Number
    unsigned m_superscript = 0; // of a Superscript
    std::optional<QChar> m_letter;
    EquationError m_error;
};

} // namespace velmora
