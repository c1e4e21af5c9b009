// The whole solve as the equation page runs it: three coefficient texts of up to 6 characters
// (pasted exponent forms included), read, solved exactly and written out. The first byte chooses
// the type, the separator and the substitution letter; the rest holds the texts, one per line.
// Every outcome must be a refusal the page reports, or a solution whose every line is well
// formed (see checkLine) and whose written numbers agree with a plain double solve wherever that
// solve decides the same case and loses no digits to cancellation.

#include "fuzz/fuzzcheck.h"
#include "numbers/decimal.h"
#include "numbers/exactdecimal.h"
#include "numbers/numberformat.h"
#include "platform/base/failure.h"
#include "solver/equation.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

constexpr QStringView Letters = u"abcdefghijklmnopqrstuvwyz";
constexpr QChar Overline = QChar(0x0305);

// A line of the solution is well formed when it is not empty, holds no control character, no
// "inf" or "nan" and no stray separator of the other kind; its brackets pair up; the root sign's
// bar covers one general number, every character of it once; and every other run of number
// characters is one general number.
void checkLine(const QString& line, QChar separator) {
    const QChar other = separator == u',' ? u'.' : u',';
    check(!line.isEmpty(), "a line is not empty", line);
    check(!mentionsInfOrNan(line), "no inf or nan in a line", line);
    check(!line.contains(other), "no other separator in a line", line);
    int depth = 0;
    for (const QChar c : line) {
        check(c.unicode() >= 0x20, "no control character in a line", line);
        if (c == u'(')
            ++depth;
        else if (c == u')')
            check(--depth >= 0, "brackets pair up", line);
    }
    check(depth == 0, "brackets pair up", line);

    QString plain; // the line with the bar taken off
    for (qsizetype pos = 0; pos < line.size();) {
        if (line[pos] == u'√') {
            plain += line[pos++];
            QString number;
            while (pos + 1 < line.size() && line[pos] != Overline && line[pos + 1] == Overline) {
                number += line[pos];
                pos += 2;
            }
            check(isGeneralNumber(number, separator), "the bar covers one number", line);
            plain += number;
            continue;
        }
        check(line[pos] != Overline, "the bar covers only the number under the root", line);
        plain += line[pos++];
    }
    for (qsizetype pos = 0; pos < plain.size();) {
        const qsizetype length = numberRunLength(plain, pos, separator);
        if (length == 0) {
            ++pos;
            continue;
        }
        const bool signedNumber = pos > 0 && plain[pos - 1] == u'-' &&
                                  (pos == 1 || plain[pos - 2] == u'(' || plain[pos - 2] == u' ');
        const QStringView number =
            QStringView(plain).mid(pos - (signedNumber ? 1 : 0), length + (signedNumber ? 1 : 0));
        check(isGeneralNumber(number, separator), "every number in a line is well formed", line);
        pos += length;
    }
}

// The texts of the solve's numbers, for a report.
QString describe(const EquationNumbers& n, QChar separator) {
    QStringList parts;
    for (const ExactValue* v : {&n.a, &n.b, &n.c, &n.d, &n.x1, &n.x2})
        parts << formatGeneral(v->digits(), separator);
    return parts.join(u' ');
}

// The roots are what the solve's numbers give: the quadratic's own, or for the biquadratic ±√y
// of every y > 0 and 0 for y = 0, in the order of y₁, y₂.
void checkRoots(const EquationNumbers& n, QChar separator) {
    std::size_t expected = 0;
    if (n.type == EquationType::Quadratic) {
        expected = n.d.sign() > 0 ? 2 : n.d.sign() == 0 ? 1 : 0;
    } else if (n.d.sign() >= 0) {
        std::vector<int> ys{n.x1.sign()};
        if (n.d.sign() > 0)
            ys.push_back(n.x2.sign());
        const bool zeroRoot = std::count(ys.begin(), ys.end(), 0) > 0;
        expected = (zeroRoot ? 1 : 0) + 2 * std::count(ys.begin(), ys.end(), 1);
    }
    if (n.roots.size() != expected)
        fail("two roots for D > 0, one for D = 0; for the biquadratic, those of every y >= 0",
             describe(n, separator));
    if (n.type == EquationType::Quadratic)
        return;
    for (std::size_t i = 0; i + 1 < n.roots.size(); ++i) {
        if (n.roots[i].sign() > 0)
            check(n.roots[i + 1].sign() < 0 &&
                      formatGeneral(n.roots[i + 1].digits(), separator) ==
                          formatGeneral(n.roots[i].digits().negated(), separator),
                  "a positive root is followed by its negative", describe(n, separator));
    }
}

// The same solve in doubles, as the formulas read, with how much each result amplifies the
// rounding of its inputs (1 when nothing cancels).
struct DoubleSolve {
    double d = 0, x1 = 0, x2 = 0;
    double dAmplification = 1, x1Amplification = 1, x2Amplification = 1;
};

DoubleSolve solveInDoubles(double a, double b, double c) {
    DoubleSolve s;
    const double bSquared = b * b;
    const double fourAC = 4 * a * c;
    s.d = bSquared - fourAC;
    s.dAmplification = (bSquared + std::fabs(fourAC)) / std::fabs(s.d);
    if (s.d < 0)
        return s;
    const double r = std::sqrt(s.d);
    s.x1 = (-b + r) / (2 * a);
    s.x2 = (-b - r) / (2 * a);
    s.x1Amplification = s.dAmplification * (std::fabs(b) + r) / std::fabs(-b + r);
    s.x2Amplification = s.dAmplification * (std::fabs(b) + r) / std::fabs(-b - r);
    return s;
}

// Two written numbers differ at most by one unit of their last (15th) significant digit.
bool withinLastDigit(const QString& exact, double value, QChar separator) {
    const double written = *parseDecimal(exact, separator);
    const double largest = std::max(std::fabs(written), std::fabs(value));
    if (largest == 0)
        return true;
    const double unit = std::pow(10.0, std::floor(std::log10(largest)) + 1 - 15);
    const double shown = *parseDecimal(formatGeneral(value, separator), separator);
    // The two texts are whole units apart; half a unit more absorbs the reading's own rounding.
    return std::fabs(written - shown) <= unit * 1.5;
}

// Where the double solve is trustworthy (no cancellation worth a digit, no number near the ends
// of the double range) and decides the same case, the exact solve writes the same numbers but
// for the last digit.
void compareWithDoubles(const EquationNumbers& n, const std::array<double, 3>& k,
                        const EquationText& text, QChar separator) {
    // Rounding the typed decimals and each operation costs a few units of 2⁻⁵³; an amplification
    // of 2 keeps the double's error below one unit of the 15th digit.
    constexpr double Trusted = 2;
    const auto normal = [](double v) {
        return v == 0 || (std::fabs(v) > 1e-290 && std::fabs(v) < 1e290);
    };
    for (const double v : k) {
        if (!normal(v))
            return;
    }
    const DoubleSolve s = solveInDoubles(k[0], k[1], k[2]);
    if (!normal(s.d) || s.d == 0 || (s.d > 0) != (n.d.sign() > 0) || s.dAmplification > Trusted)
        return;
    const QString all = QStringList(text.lines.begin(), text.lines.end()).join(u'\n');
    check(withinLastDigit(text.discriminant, s.d, separator), "D agrees with the double solve",
          all);
    if (s.d < 0 || n.type != EquationType::Quadratic)
        return;
    const std::pair<double, double> roots[] = {{s.x1, s.x1Amplification},
                                               {s.x2, s.x2Amplification}};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto [root, amplification] = roots[i];
        if (normal(root) && amplification <= Trusted)
            check(withinLastDigit(text.rootFields[i], root, separator),
                  "a root agrees with the double solve", all);
    }
}

void solveAndCheck(const QStringList& fields, EquationType type, const QString& letter,
                   QChar separator) {
    const CoefficientReading reading =
        readCoefficients({fields[0], fields[1], fields[2]}, {separator, separator, separator});
    if (reading.outcome != CoefficientReading::Accepted) {
        // A refusal is what the double reading refuses, or an a that is exactly zero.
        check(reading.outcome != CoefficientReading::NotANumber ||
                  !parseDecimal(fields[reading.refusedLetter - 'a'], separator),
              "only texts that are not numbers are refused as such", fields.join(u'|'));
        return;
    }

    EquationNumbers numbers;
    try {
        numbers = solveEquation(reading.coefficients, type);
    } catch (const Failure& failure) {
        check(failure.message() == u"Floating point overflow", "the only refusal is overflow",
              failure.message());
        return;
    }
    checkRoots(numbers, separator);

    const EquationText text = describeEquation(numbers, letter, separator);
    const QString all = text.lines.empty()
                            ? QString()
                            : QStringList(text.lines.begin(), text.lines.end()).join(u'\n');
    check(isGeneralNumber(text.discriminant, separator), "D is a general number", all);
    check(text.lines.size() >= 3, "an equation, D and an answer at least", all);
    for (const QString& line : text.lines)
        checkLine(line, separator);
    check(text.lines.front().endsWith(u" = 0"), "the first line is the equation", all);
    check(text.lines.back().startsWith(u"Ответ: "), "the last line is the answer", all);
    check(text.noRealRoots == (numbers.d.sign() < 0), "no real roots exactly when D < 0", all);

    const std::size_t shown = std::count_if(text.rootFields.begin(), text.rootFields.end(),
                                            [](const QString& field) { return !field.isEmpty(); });
    check(shown == numbers.roots.size(), "one root field per root", all);
    for (std::size_t i = 0; i < shown; ++i) {
        const QString& field = text.rootFields[i];
        check(isGeneralNumber(field, separator), "a root field is a general number", field);
        check(text.lines.back().contains(field), "the answer names every root field", all);
    }
    for (std::size_t i = shown; i < text.rootFields.size(); ++i)
        check(text.rootFields[i].isEmpty(), "root fields fill from the first", all);

    std::array<double, 3> doubles{};
    for (std::size_t i = 0; i < 3; ++i)
        doubles[i] = fields[int(i)].isEmpty() ? 0 : *parseDecimal(fields[int(i)], separator);
    compareWithDoubles(numbers, doubles, text, separator);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const EquationType type = (data[0] & 1) ? EquationType::Biquadratic : EquationType::Quadratic;
    const QChar separator = (data[0] & 2) ? u'.' : u',';
    const QString letter = Letters[(data[0] >> 2) % Letters.size()];

    const QStringList fields = textOf(data + 1, size - 1).split(u'\n');
    if (fields.size() != 3)
        return -1;
    for (const QString& field : fields) {
        if (field.size() > 6)
            return -1;
    }
    solveAndCheck(fields, type, letter, separator);
    return 0;
}
