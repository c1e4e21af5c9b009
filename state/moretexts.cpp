#include "state/moretexts.h"

#include "platform/base/failure.h"
#include "state/global.h"
#include "state/tablelines.h"

#include <optional>

namespace velmora {
namespace {

// The program's own words for each line, shown when the loaded file has none: English.lng's
// text, but for the answer words. No default, so a line added without words here does not
// compile; a number that names no line has none.
QString fallback(MoreText line) {
    switch (line) {
    // The equation page's answer words stay in its default language, Russian, so the solution of
    // an older file reads as before.
    case MoreText::AnswerWord:
        return QStringLiteral("Ответ:");
    case MoreText::NoRoots:
        return QStringLiteral("нет корней");
    case MoreText::StoreDamaged:
        return QStringLiteral("The settings file was damaged and has been kept as %1; Velmora "
                              "starts with default settings.");
    case MoreText::DownloadFailed:
        return QStringLiteral("The installer could not be downloaded.");
    case MoreText::NotVerified:
        return QStringLiteral("The installer could not be verified, so nothing was started and no "
                              "file was kept.");
    case MoreText::StartFailed:
        return QStringLiteral(
            "The installer could not be started. It has been kept as %1; start it yourself.");
    case MoreText::NoUpdateServer:
        return QStringLiteral("Updates of this installation come with the system's packages.");
    case MoreText::UnusableInstaller:
        return QStringLiteral("The offered installer is of a kind this system cannot use. "
                              "Nothing was downloaded.");
    case MoreText::StoreUnusable:
        return QStringLiteral("The settings file %1 cannot be used. Velmora runs with default "
                              "settings; changes to them will not be kept.");
    case MoreText::TextbookCaption:
        return QStringLiteral("Textbook view");
    case MoreText::TextbookEmpty:
        return QStringLiteral("Type an equation in the line above, or solve one on the equation "
                              "page: its solution appears here, written as in a textbook.");
    case MoreText::TextbookLet:
        return QStringLiteral("Let");
    case MoreText::TextbookOneRoot:
        return QStringLiteral("one root");
    case MoreText::TextbookNoRealRoots:
        return QStringLiteral("no real roots");
    case MoreText::TextbookRejected:
        return QStringLiteral("rejected, since");
    case MoreText::TextbookLinear:
        return QStringLiteral("the equation is linear");
    case MoreText::TextbookNoSolution:
        return QStringLiteral("no solution");
    case MoreText::TextbookAnyNumber:
        return QStringLiteral(" is any number");
    case MoreText::TextbookFactored:
        return QStringLiteral("Factored form:");
    case MoreText::TextbookCheck:
        return QStringLiteral("Check by Vieta's formulas:");
    case MoreText::TextbookAnswer:
        return QStringLiteral("Answer: %1.");
    case MoreText::TextbookAnswerEach:
        return QStringLiteral("x = %1");
    case MoreText::TextbookAnswerJoin:
        return QStringLiteral(" or ");
    case MoreText::TextbookNoRoots:
        return QStringLiteral("no real roots");
    case MoreText::TextbookUnsimplified:
        return QStringLiteral("Some roots may not be in simplest form: a number under a root "
                              "keeps a part too large to search for square factors. The roots "
                              "are exact.");
    case MoreText::TextbookCopyText:
        return QStringLiteral("Copy as text");
    case MoreText::TextbookCopyLatex:
        return QStringLiteral("Copy as LaTeX");
    case MoreText::TextbookPrint:
        return QStringLiteral("Print…");
    case MoreText::TextbookSavePdf:
        return QStringLiteral("Save as PDF…");
    case MoreText::TextbookZoomIn:
        return QStringLiteral("Zoom in");
    case MoreText::TextbookZoomOut:
        return QStringLiteral("Zoom out");
    case MoreText::TextbookZoomReset:
        return QStringLiteral("Actual size");
    case MoreText::TextbookDecimals:
        return QStringLiteral("Decimals:");
    case MoreText::TextbookClose:
        return QStringLiteral("Close");
    case MoreText::TextbookPdfFilter:
        return QStringLiteral("PDF files (*.pdf)");
    case MoreText::GraphName:
        return QStringLiteral("Graph of the equation");
    case MoreText::GraphParabolaUp:
        return QStringLiteral("Parabola opening upwards");
    case MoreText::GraphParabolaDown:
        return QStringLiteral("Parabola opening downwards");
    case MoreText::GraphQuarticUp:
        return QStringLiteral("Curve of the fourth degree opening upwards");
    case MoreText::GraphQuarticDown:
        return QStringLiteral("Curve of the fourth degree opening downwards");
    case MoreText::GraphLine:
        return QStringLiteral("Straight line");
    case MoreText::GraphPoint:
        return QStringLiteral("(%1; %2)");
    case MoreText::GraphVertex:
        return QStringLiteral("vertex %1");
    case MoreText::GraphMinimum:
        return QStringLiteral("minimum at %1");
    case MoreText::GraphMaximum:
        return QStringLiteral("maximum at %1");
    case MoreText::GraphCrossesX:
        return QStringLiteral("crosses the x-axis at %1");
    case MoreText::GraphTouchesX:
        return QStringLiteral("touches the x-axis at %1");
    case MoreText::GraphNoCrossing:
        return QStringLiteral("does not reach the x-axis");
    case MoreText::GraphCrossesY:
        return QStringLiteral("crosses the y-axis at %1");
    case MoreText::GraphJoin:
        return QStringLiteral(" and ");
    case MoreText::GraphTooClose:
        return QStringLiteral(
            "%1 and %2 are too close together to tell apart at this scale; zoom in to see them");
    case MoreText::GraphTooLarge:
        return QStringLiteral("the numbers are too large to draw");
    case MoreText::GraphSave:
        return QStringLiteral("Save graph…");
    case MoreText::GraphFileFilter:
        return QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg)");
    case MoreText::ManifestRefused:
        return QStringLiteral("The update's description could not be verified, so nothing was "
                              "downloaded.");
    case MoreText::AddressRefused:
        return QStringLiteral("The offered installer's address cannot be used, so no request was "
                              "made.");
    case MoreText::ErrorCaption:
        return QStringLiteral("Velmora");
    case MoreText::InvalidOperation:
        return englishFailureText(FailureKind::InvalidOperation);
    case MoreText::DivisionByZero:
        return englishFailureText(FailureKind::DivisionByZero);
    case MoreText::Overflow:
        return englishFailureText(FailureKind::Overflow);
    case MoreText::NotAFloat:
        return englishFailureText(FailureKind::NotAFloat);
    case MoreText::NotAnInteger:
        return englishFailureText(FailureKind::NotAnInteger);
    case MoreText::StoreInvalidType:
        return englishFailureText(FailureKind::StoreInvalidType);
    case MoreText::StoreReadFailed:
        return englishFailureText(FailureKind::StoreReadFailed);
    case MoreText::StoreWriteFailed:
        return englishFailureText(FailureKind::StoreWriteFailed);
    case MoreText::FormOpenBrackets:
        return QStringLiteral("Open the brackets:");
    case MoreText::FormMultiplyBoth:
        return QStringLiteral("Multiply both sides by %1:");
    case MoreText::FormMoveToLeft:
        return QStringLiteral("Move every term to the left:");
    case MoreText::FormCollect:
        return QStringLiteral("Collect like terms:");
    case MoreText::FormDivideBoth:
        return QStringLiteral("Divide both sides by %1:");
    case MoreText::FormChangeSigns:
        return QStringLiteral("Multiply both sides by −1:");
    case MoreText::FormIdentity:
        return QStringLiteral("The equality holds for every number.");
    case MoreText::FormContradiction:
        return QStringLiteral("The equality holds for no number.");
    case MoreText::FormFactorOut:
        return QStringLiteral("Take out the common factor:");
    case MoreText::FormZeroProduct:
        return QStringLiteral("A product is zero when a factor is zero:");
    case MoreText::FormNotSolved:
        return QStringLiteral("Only linear, quadratic and biquadratic equations are solved here; "
                              "this one is of degree %1.");
    case MoreText::TextbookEquationLabel:
        return QStringLiteral("&Equation:");
    case MoreText::TextbookTypeEquation:
        return QStringLiteral("Type an equation…");
    case MoreText::EquationUnexpectedCharacter:
        return QStringLiteral("Unexpected character '%2' at position %1");
    case MoreText::EquationUnexpectedEnd:
        return QStringLiteral("The equation breaks off at position %1");
    case MoreText::EquationMissingBracket:
        return QStringLiteral("Missing ')' at position %1");
    case MoreText::EquationNumberAfterFactor:
        return QStringLiteral("A number right after a factor at position %1");
    case MoreText::EquationUnknownInDenominator:
        return QStringLiteral("The unknown in a denominator at position %1");
    case MoreText::EquationDivisionByZero:
        return QStringLiteral("Division by zero at position %1");
    case MoreText::EquationTwoUnknowns:
        return QStringLiteral("Two unknowns, %3 and %2, at position %1");
    case MoreText::EquationMoreThanOneEquals:
        return QStringLiteral("More than one '=' at position %1");
    case MoreText::EquationMissingEquals:
        return QStringLiteral("No '=' in the equation");
    case MoreText::EquationEmptySide:
        return QStringLiteral("Nothing on one side of '=' at position %1");
    case MoreText::EquationDegreeTooHigh:
        return QStringLiteral("Degree above %3 at position %1");
    case MoreText::EquationExponentTooLarge:
        return QStringLiteral("Exponent above %3 at position %1");
    case MoreText::EquationZeroToPowerZero:
        return QStringLiteral("0 to the power 0 at position %1");
    case MoreText::EquationNumberTooLong:
        return QStringLiteral("A number longer than %3 digits at position %1");
    case MoreText::EquationNumbersTooLarge:
        return QStringLiteral("Numbers too large at position %1");
    case MoreText::EquationNestingTooDeep:
        return QStringLiteral("Brackets nested deeper than %3 at position %1");
    case MoreText::EquationInputTooLong:
        return QStringLiteral("The equation is longer than %3 characters");
    }
    return {};
}

// The line that words a failure of a known kind.
std::optional<MoreText> lineOf(FailureKind kind) {
    switch (kind) {
    case FailureKind::Other:
        break;
    case FailureKind::InvalidOperation:
        return MoreText::InvalidOperation;
    case FailureKind::DivisionByZero:
        return MoreText::DivisionByZero;
    case FailureKind::Overflow:
        return MoreText::Overflow;
    case FailureKind::NotAFloat:
        return MoreText::NotAFloat;
    case FailureKind::NotAnInteger:
        return MoreText::NotAnInteger;
    case FailureKind::StoreInvalidType:
        return MoreText::StoreInvalidType;
    case FailureKind::StoreReadFailed:
        return MoreText::StoreReadFailed;
    case FailureKind::StoreWriteFailed:
        return MoreText::StoreWriteFailed;
    }
    return std::nullopt;
}

} // namespace

QString moreText(MoreText line) {
    const QString text = Global::text(TextTable::More, static_cast<int>(line));
    return text.isEmpty() ? fallback(line) : text;
}

QString errorReportCaption() {
    return moreText(MoreText::ErrorCaption);
}

QString failureText(const Failure& failure) {
    const std::optional<MoreText> line = lineOf(failure.kind());
    if (!line)
        return failure.message();
    // The subject is put in as it is: a "%2" in a typed text stays "%2".
    return moreText(*line).replace(QLatin1String("%1"), failure.subject());
}

QString storeNoticeText(const QString& keptCopy) {
    return moreText(MoreText::StoreDamaged).arg(keptCopy);
}

QString unusableStoreNoticeText(const QString& storePath) {
    return moreText(MoreText::StoreUnusable).arg(storePath);
}

QString storeNoticeCaption() {
    const QString caption = text(MessageLine::Information);
    return caption.isEmpty() ? QStringLiteral("Information") : caption;
}

} // namespace velmora
