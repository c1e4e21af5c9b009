#include "textbook/textbookwords.h"

#include "state/moretexts.h"

#include <array>

namespace velmora::textbook {
namespace {

// The template with %1, %2 and %3 replaced in one pass, so a typed "%1" put in stays as it is;
// a number the template lacks is simply not shown.
QString filled(const QString& pattern, const std::array<QString, 3>& values) {
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        const int number = i + 1 < pattern.size() ? pattern[i + 1].digitValue() : -1;
        if (c == u'%' && number >= 1 && number <= 3) {
            out += values[static_cast<std::size_t>(number - 1)];
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

struct ErrorLine {
    MoreText line;
    QString third; // %3: the limit passed, or the first of two unknowns
};

ErrorLine errorLine(const EquationError& error) {
    using Kind = EquationError::Kind;
    switch (error.kind) {
    case Kind::UnexpectedCharacter:
        break;
    case Kind::UnexpectedEnd:
        return {MoreText::EquationUnexpectedEnd, {}};
    case Kind::MissingBracket:
        return {MoreText::EquationMissingBracket, {}};
    case Kind::NumberAfterFactor:
        return {MoreText::EquationNumberAfterFactor, {}};
    case Kind::UnknownInDenominator:
        return {MoreText::EquationUnknownInDenominator, {}};
    case Kind::DivisionByZero:
        return {MoreText::EquationDivisionByZero, {}};
    case Kind::TwoUnknowns:
        return {MoreText::EquationTwoUnknowns, QString(error.firstUnknown)};
    case Kind::MoreThanOneEquals:
        return {MoreText::EquationMoreThanOneEquals, {}};
    case Kind::MissingEquals:
        return {MoreText::EquationMissingEquals, {}};
    case Kind::EmptySide:
        return {MoreText::EquationEmptySide, {}};
    case Kind::DegreeTooHigh:
        return {MoreText::EquationDegreeTooHigh, QString::number(MaxPolynomialDegree)};
    case Kind::ExponentTooLarge:
        return {MoreText::EquationExponentTooLarge, QString::number(MaxNumberExponent)};
    case Kind::ZeroToPowerZero:
        return {MoreText::EquationZeroToPowerZero, {}};
    case Kind::NumberTooLong:
        return {MoreText::EquationNumberTooLong, QString::number(MaxNumberDigits)};
    case Kind::NumbersTooLarge:
        return {MoreText::EquationNumbersTooLarge, {}};
    case Kind::NestingTooDeep:
        return {MoreText::EquationNestingTooDeep, QString::number(MaxBracketDepth)};
    case Kind::InputTooLong:
        return {MoreText::EquationInputTooLong, QString::number(MaxEquationLength)};
    }
    return {MoreText::EquationUnexpectedCharacter, {}};
}

} // namespace

Words wordsOfLanguage() {
    Words words;
    const std::pair<MoreText, QString*> lines[] = {
        {MoreText::TextbookLet, &words.let},
        {MoreText::TextbookOneRoot, &words.oneRoot},
        {MoreText::TextbookNoRealRoots, &words.noRealRoots},
        {MoreText::TextbookRejected, &words.rejected},
        {MoreText::TextbookLinear, &words.linear},
        {MoreText::TextbookNoSolution, &words.noSolution},
        {MoreText::TextbookAnyNumber, &words.anyNumber},
        {MoreText::TextbookFactored, &words.factored},
        {MoreText::TextbookCheck, &words.check},
        {MoreText::TextbookAnswer, &words.answer},
        {MoreText::TextbookAnswerEach, &words.answerEach},
        {MoreText::TextbookAnswerJoin, &words.answerJoin},
        {MoreText::TextbookNoRoots, &words.noRoots},
        {MoreText::TextbookUnsimplified, &words.unsimplified},
        {MoreText::FormOpenBrackets, &words.openBrackets},
        {MoreText::FormMultiplyBoth, &words.multiplyBoth},
        {MoreText::FormMoveToLeft, &words.moveToLeft},
        {MoreText::FormCollect, &words.collect},
        {MoreText::FormDivideBoth, &words.divideBoth},
        {MoreText::FormChangeSigns, &words.changeSigns},
        {MoreText::FormIdentity, &words.identity},
        {MoreText::FormContradiction, &words.contradiction},
        {MoreText::FormFactorOut, &words.factorOut},
        {MoreText::FormZeroProduct, &words.zeroProduct},
    };
    for (const auto& [line, word] : lines) {
        const QString text = moreText(line);
        if (!text.isEmpty())
            *word = text;
    }
    return words;
}

graph::GraphTexts graphTextsOfLanguage() {
    graph::GraphTexts t;
    const std::pair<MoreText, QString*> lines[] = {
        {MoreText::GraphName, &t.name},
        {MoreText::GraphParabolaUp, &t.parabolaUp},
        {MoreText::GraphParabolaDown, &t.parabolaDown},
        {MoreText::GraphQuarticUp, &t.quarticUp},
        {MoreText::GraphQuarticDown, &t.quarticDown},
        {MoreText::GraphLine, &t.line},
        {MoreText::GraphPoint, &t.point},
        {MoreText::GraphVertex, &t.vertex},
        {MoreText::GraphMinimum, &t.minimum},
        {MoreText::GraphMaximum, &t.maximum},
        {MoreText::GraphCrossesX, &t.crossesX},
        {MoreText::GraphTouchesX, &t.touchesX},
        {MoreText::GraphNoCrossing, &t.noCrossing},
        {MoreText::GraphCrossesY, &t.crossesY},
        {MoreText::GraphJoin, &t.join},
        {MoreText::GraphTooClose, &t.tooClose},
        {MoreText::GraphTooLarge, &t.tooLarge},
    };
    for (const auto& [line, text] : lines)
        *text = moreText(line);
    return t;
}

QString equationErrorWords(const EquationError& error) {
    const ErrorLine line = errorLine(error);
    return filled(moreText(line.line),
                  {QString::number(error.position), shownCharacter(error.character), line.third});
}

QString refusalWords(const TypedOutcome& outcome) {
    if (const EquationError* error = std::get_if<EquationError>(&outcome))
        return equationErrorWords(*error);
    if (const UnsolvedDegree* unsolved = std::get_if<UnsolvedDegree>(&outcome))
        return moreText(MoreText::FormNotSolved).arg(unsolved->degree);
    return {};
}

} // namespace velmora::textbook
