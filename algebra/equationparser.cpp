#include "algebra/equationparser.h"

#include "algebra/equationscanner.h"

#include <optional>

namespace velmora {
namespace {

using Kind = EquationError::Kind;
using Token = EquationToken;

struct Factor {
    Polynomial value;
    bool wholeNumber = false; // a whole number as typed, without a power: one side of "1/2"
};

// A recursive descent over tokens read one at a time, so the first fault from the left is the
// one reported. Each step gives nothing once an error is recorded.
class Parser {
public:
    explicit Parser(QStringView text) : m_scan(text) {}
    EquationParse run();

private:
    bool next();
    Token token() const { return m_scan.token(); }
    std::nullopt_t fail(Kind kind, const EquationMark& at);
    std::nullopt_t failHere(Kind kind) { return fail(kind, m_scan.mark()); }
    std::nullopt_t failUnexpected();

    std::optional<Polynomial> side();
    std::optional<Polynomial> expression();
    std::optional<Polynomial> term();
    std::optional<Factor> power();
    std::optional<Factor> primary();
    bool raise(Polynomial& base, unsigned exponent, const EquationMark& at);
    bool apply(const PolynomialOutcome& outcome, Polynomial& result, const EquationMark& at);

    EquationScanner m_scan;
    std::optional<EquationError> m_error;
    int m_depth = 0;
    int m_decimals = 0;
    int m_wholes = 0;
    bool m_fraction = false;
};

bool Parser::next() {
    if (m_scan.next())
        return true;
    m_error = m_scan.error();
    return false;
}

std::nullopt_t Parser::fail(Kind kind, const EquationMark& at) {
    m_error = EquationError{kind, at.position, at.character, {}};
    return std::nullopt;
}

std::nullopt_t Parser::failUnexpected() {
    return failHere(token() == Token::End ? Kind::UnexpectedEnd : Kind::UnexpectedCharacter);
}

EquationParse Parser::run() {
    if (const std::optional<EquationMark> beyond = EquationScanner::beyondLength(m_scan.text()))
        return EquationError{Kind::InputTooLong, beyond->position, beyond->character, {}};

    std::optional<Polynomial> left;
    std::optional<Polynomial> right;
    EquationMark equals;
    if (next() && (left = side())) {
        if (token() == Token::Equals) {
            equals = m_scan.mark();
            if (next())
                right = side();
        } else if (token() == Token::End) {
            failHere(Kind::MissingEquals);
        } else {
            failUnexpected();
        }
    }
    if (right && token() != Token::End)
        failHere(token() == Token::Equals ? Kind::MoreThanOneEquals : Kind::UnexpectedCharacter);
    if (m_error)
        return *m_error;

    ParsedEquation equation;
    equation.left = *left;
    equation.right = *right;
    equation.difference = *left - *right;
    if (equation.difference.coefficientBits() > MaxCoefficientBits)
        return EquationError{Kind::NumbersTooLarge, equals.position, equals.character, {}};
    equation.letter = m_scan.letter().value_or(u'x');
    equation.anyDecimal = m_decimals > 0;
    equation.allDecimal = m_decimals > 0 && m_wholes == 0;
    equation.anyFraction = m_fraction;
    return equation;
}

std::optional<Polynomial> Parser::side() {
    if (token() == Token::End || token() == Token::Equals)
        return failHere(Kind::EmptySide);
    return expression();
}

std::optional<Polynomial> Parser::expression() {
    const bool negative = token() == Token::Minus;
    if ((negative || token() == Token::Plus) && !next())
        return std::nullopt;
    std::optional<Polynomial> sum = term();
    if (!sum)
        return std::nullopt;
    if (negative)
        *sum = -*sum;
    while (token() == Token::Plus || token() == Token::Minus) {
        const bool minus = token() == Token::Minus;
        const EquationMark at = m_scan.mark();
        if (!next())
            return std::nullopt;
        const std::optional<Polynomial> addend = term();
        if (!addend)
            return std::nullopt;
        // Both terms are within the bound, so the sum is cheap to make; it is checked after.
        *sum = minus ? *sum - *addend : *sum + *addend;
        if (sum->coefficientBits() > MaxCoefficientBits)
            return fail(Kind::NumbersTooLarge, at);
    }
    return sum;
}

std::optional<Polynomial> Parser::term() {
    const std::optional<Factor> first = power();
    if (!first)
        return std::nullopt;
    Polynomial product = first->value;
    bool lastWhole = first->wholeNumber;
    for (;;) {
        const EquationMark at = m_scan.mark();
        if (token() == Token::Times || token() == Token::Divide) {
            const bool divide = token() == Token::Divide;
            const bool slash = m_scan.tokenText() == u"/";
            if (!next())
                return std::nullopt;
            const EquationMark divisorAt = m_scan.mark();
            const std::optional<Factor> factor = power();
            if (!factor)
                return std::nullopt;
            if (!divide) {
                if (!apply(product.times(factor->value), product, at))
                    return std::nullopt;
            } else {
                if (factor->value.degree() > 0)
                    return fail(Kind::UnknownInDenominator, divisorAt);
                if (factor->value.isZero())
                    return fail(Kind::DivisionByZero, divisorAt);
                if (slash && lastWhole && factor->wholeNumber)
                    m_fraction = true;
                const Polynomial inverse(1 / factor->value.coefficient(0));
                if (!apply(product.times(inverse), product, at))
                    return std::nullopt;
            }
            lastWhole = factor->wholeNumber;
        } else if (token() == Token::Letter || token() == Token::Open) {
            const std::optional<Factor> factor = power();
            if (!factor || !apply(product.times(factor->value), product, at))
                return std::nullopt;
            lastWhole = false;
        } else if (token() == Token::Number) {
            return failHere(Kind::NumberAfterFactor);
        } else {
            return product;
        }
    }
}

std::optional<Factor> Parser::power() {
    std::optional<Factor> base = primary();
    if (!base)
        return std::nullopt;
    if (token() == Token::Caret) {
        // Digits alone: "x^2.5" leaves ".5" to be refused, "x^(2)" the '('.
        EquationMark at;
        const std::optional<unsigned> exponent = m_scan.exponentDigits(at);
        if (!exponent)
            return fail(at.character.isEmpty() ? Kind::UnexpectedEnd : Kind::UnexpectedCharacter,
                        at);
        if (!raise(base->value, *exponent, at) || !next())
            return std::nullopt;
        base->wholeNumber = false;
    } else if (token() == Token::Superscript) {
        if (!raise(base->value, m_scan.superscript(), m_scan.mark()) || !next())
            return std::nullopt;
        base->wholeNumber = false;
    }
    return base;
}

bool Parser::raise(Polynomial& base, unsigned exponent, const EquationMark& at) {
    if (base.degree() <= 0 && exponent > MaxNumberExponent)
        return fail(Kind::ExponentTooLarge, at), false;
    if (base.isZero() && exponent == 0)
        return fail(Kind::ZeroToPowerZero, at), false;
    return apply(base.power(exponent), base, at);
}

// The result of a product or a power, or the error its refusal makes.
bool Parser::apply(const PolynomialOutcome& outcome, Polynomial& result, const EquationMark& at) {
    if (const auto* refusal = std::get_if<PolynomialRefusal>(&outcome)) {
        fail(*refusal == PolynomialRefusal::DegreeTooHigh ? Kind::DegreeTooHigh
                                                          : Kind::NumbersTooLarge,
             at);
        return false;
    }
    result = std::get<Polynomial>(outcome);
    return true;
}

std::optional<Factor> Parser::primary() {
    switch (token()) {
    case Token::Number: {
        const Factor factor{Polynomial(m_scan.number()), !m_scan.decimal()};
        if (sgn(m_scan.number()) != 0)
            ++(m_scan.decimal() ? m_decimals : m_wholes);
        if (!next())
            return std::nullopt;
        return factor;
    }
    case Token::Letter:
        if (!next())
            return std::nullopt;
        return Factor{Polynomial::unknown(), false};
    case Token::Open: {
        if (++m_depth > MaxBracketDepth)
            return failHere(Kind::NestingTooDeep);
        if (!next())
            return std::nullopt;
        const std::optional<Polynomial> inner = expression();
        if (!inner)
            return std::nullopt;
        if (token() != Token::Close) {
            const bool missing = token() == Token::End || token() == Token::Equals;
            return failHere(missing ? Kind::MissingBracket : Kind::UnexpectedCharacter);
        }
        --m_depth;
        if (!next())
            return std::nullopt;
        return Factor{*inner, false};
    }
    default:
        return failUnexpected();
    }
}

} // namespace

EquationParse parseEquation(QStringView text) {
    return Parser(text).run();
}

} // namespace velmora
