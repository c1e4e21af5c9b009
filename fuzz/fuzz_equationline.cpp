// The equation line: any bytes, read as UTF-8 text. A refusal names a place in the line (from 1
// to its length + 1, in Unicode characters), the character there, and a text. A line read gives
// polynomials within the degree and size bounds whose difference is left − right, and that
// difference written by polynomialText with " = 0" after it reads back as the same polynomial
// in the same letter, unless the written text passes a bound of the line itself (a number of
// more than 30 digits, more than 500 characters), which is then the reason it is refused.

#include "algebra/equationparser.h"
#include "fuzz/fuzzcheck.h"

#include <QList>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

// The longest run of ASCII digits, a separator between digits belonging to the run.
qsizetype longestNumber(QStringView text) {
    qsizetype longest = 0;
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9')
            longest = std::max(longest, ++run);
        else if (c != u',' && c != u'.')
            run = 0;
    }
    return longest;
}

void checkError(const EquationError& error, QStringView text) {
    const QList<uint> characters = text.toUcs4();
    const qsizetype length = characters.size();
    check(error.position >= 1 && error.position <= length + 1, "the place is within the line",
          text);
    const QString there =
        error.position <= length
            ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&characters[error.position - 1]),
                                1)
            : QString();
    check(error.character == there, "the character named is the one at that place", text);
    check(!equationErrorText(error).isEmpty(), "a refusal has a text", text);
}

void checkWrittenBack(const ParsedEquation& equation, QStringView text) {
    const QString written =
        polynomialText(equation.difference, equation.letter) + QStringLiteral(" = 0");
    const EquationParse again = parseEquation(written);
    if (const auto* error = std::get_if<EquationError>(&again)) {
        const bool tooLong =
            error->kind == EquationError::Kind::InputTooLong && written.size() > MaxEquationLength;
        const bool numberTooLong = error->kind == EquationError::Kind::NumberTooLong &&
                                   longestNumber(written) > MaxNumberDigits;
        check(tooLong || numberTooLong, "the written difference reads back", written);
        return;
    }
    const ParsedEquation& back = std::get<ParsedEquation>(again);
    check(back.difference == equation.difference, "the written difference reads back the same",
          text);
    check(equation.difference.degree() <= 0 || back.letter == equation.letter,
          "the written difference keeps its letter", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = textOf(data, size);
    const EquationParse result = parseEquation(text);
    if (const auto* error = std::get_if<EquationError>(&result)) {
        checkError(*error, text);
        return 0;
    }
    const ParsedEquation& equation = std::get<ParsedEquation>(result);
    for (const Polynomial* p : {&equation.left, &equation.right, &equation.difference}) {
        check(p->degree() <= MaxPolynomialDegree, "the degree is within the bound", text);
        check(p->coefficientBits() <= MaxCoefficientBits, "the numbers are within the bound", text);
    }
    check(equation.difference == equation.left - equation.right, "the difference is left − right",
          text);
    check(equation.allDecimal <= equation.anyDecimal, "all decimals means some decimals", text);
    checkWrittenBack(equation, text);
    return 0;
}
