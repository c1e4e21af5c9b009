#include "algebra/equationparser.h"

#include <QList>

namespace velmora {
namespace {

// A character as the English message quotes it: 'x', or U+0007 as it is.
QString quoted(const QString& character) {
    const QString shown = shownCharacter(character);
    return shown == character ? u'\'' + character + u'\'' : shown;
}

} // namespace

QString shownCharacter(const QString& character) {
    const char32_t code = character.toUcs4().value(0);
    if (QChar::isPrint(code) && !QChar::isSpace(code) &&
        QChar::category(code) != QChar::Mark_NonSpacing)
        return character;
    return QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QChar(u'0')).toUpper();
}

QString equationErrorText(const EquationError& error) {
    using Kind = EquationError::Kind;
    const QString at = QString::number(error.position);
    switch (error.kind) {
    case Kind::UnexpectedCharacter:
        return QStringLiteral("unexpected %1 at %2").arg(quoted(error.character), at);
    case Kind::UnexpectedEnd:
        return QStringLiteral("unexpected end at %1").arg(at);
    case Kind::MissingBracket:
        return QStringLiteral("missing ')' at %1").arg(at);
    case Kind::NumberAfterFactor:
        return QStringLiteral("number after a factor at %1").arg(at);
    case Kind::UnknownInDenominator:
        return QStringLiteral("unknown in a denominator at %1").arg(at);
    case Kind::DivisionByZero:
        return QStringLiteral("division by zero at %1").arg(at);
    case Kind::TwoUnknowns:
        return QStringLiteral("two unknowns: %1 and %2")
            .arg(QString(error.firstUnknown), error.character);
    case Kind::MoreThanOneEquals:
        return QStringLiteral("more than one '='");
    case Kind::MissingEquals:
        return QStringLiteral("expected '=' at end");
    case Kind::EmptySide:
        return QStringLiteral("empty side of '=' at %1").arg(at);
    case Kind::DegreeTooHigh:
        return QStringLiteral("degree above %1").arg(MaxPolynomialDegree);
    case Kind::ExponentTooLarge:
        return QStringLiteral("exponent too large at %1").arg(at);
    case Kind::ZeroToPowerZero:
        return QStringLiteral("0 to the power 0 at %1").arg(at);
    case Kind::NumberTooLong:
        return QStringLiteral("number too long at %1").arg(at);
    case Kind::NumbersTooLarge:
        return QStringLiteral("numbers too large at %1").arg(at);
    case Kind::NestingTooDeep:
        return QStringLiteral("brackets nested too deep at %1").arg(at);
    case Kind::InputTooLong:
        return QStringLiteral("longer than %1 characters").arg(MaxEquationLength);
    }
    return {};
}

} // namespace velmora
