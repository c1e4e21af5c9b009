// The whole solve as the equation page runs it: three coefficient texts of up to 6 characters,
// read, solved and written out. The first byte chooses the type, the separator and the
// substitution letter; the rest holds the texts, one per line. Every outcome must be a refusal
// the page reports, or a solution whose every line is well formed (see checkLine).

#include "fuzz/fuzzcheck.h"
#include "numbers/decimal.h"
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

// The solve's numbers, for a report.
QString describe(const EquationNumbers& n) {
    return QStringLiteral("a=%1 b=%2 c=%3 D=%4 x1=%5 x2=%6")
        .arg(n.a, 0, 'g', 17)
        .arg(n.b, 0, 'g', 17)
        .arg(n.c, 0, 'g', 17)
        .arg(n.d, 0, 'g', 17)
        .arg(n.x1, 0, 'g', 17)
        .arg(n.x2, 0, 'g', 17);
}

// The roots are what the solve's numbers give: the quadratic's own, or for the biquadratic
// ±√y of every distinct y >= 0, with y = 0 giving the single root 0.
void checkRoots(const EquationNumbers& n) {
    std::size_t expected = 0;
    std::vector<double> ys;
    if (n.type == EquationType::Quadratic) {
        expected = n.d > 0 ? 2 : n.d == 0 ? 1 : 0;
    } else {
        if (n.d >= 0)
            ys.push_back(n.x1);
        if (n.d > 0 && n.x2 != n.x1)
            ys.push_back(n.x2);
        for (const double y : ys)
            expected += y > 0 ? 2 : y == 0 ? 1 : 0;
    }
    if (n.roots.size() != expected)
        fail("two roots for D > 0, one for D = 0; for the biquadratic, those of every y >= 0",
             describe(n));
    if (n.type == EquationType::Quadratic)
        return;
    for (const double root : n.roots) {
        const bool fromSomeY = std::any_of(ys.begin(), ys.end(), [root](double y) {
            return (y == 0 && root == 0) || (y > 0 && std::fabs(root) == std::sqrt(y));
        });
        if (!fromSomeY)
            fail("every root is ±√y of some y >= 0", describe(n));
    }
}

void solveAndCheck(const QStringList& fields, EquationType type, const QString& letter,
                   QChar separator) {
    // As the page reads them: a is required and non-zero, b and c default to zero.
    if (fields[0].isEmpty())
        return;
    const std::optional<double> a = parseDecimal(fields[0], separator);
    if (!a || *a == 0)
        return;
    double bc[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        if (fields[i + 1].isEmpty())
            continue;
        const std::optional<double> value = parseDecimal(fields[i + 1], separator);
        if (!value)
            return;
        bc[i] = *value;
    }

    EquationNumbers numbers;
    try {
        numbers = solveEquation(*a, bc[0], bc[1], type);
    } catch (const Failure& failure) {
        check(failure.message() == u"Floating point overflow", "the only refusal is overflow",
              failure.message());
        return;
    }
    checkRoots(numbers);
    const QString d = formatGeneral(numbers.d, separator);
    check(isGeneralNumber(d, separator), "D is a general number", d);

    const EquationText text = describeEquation(numbers, letter, separator);
    const QString all = text.lines.empty()
                            ? QString()
                            : QStringList(text.lines.begin(), text.lines.end()).join(u'\n');
    check(text.lines.size() >= 3, "an equation, D and an answer at least", all);
    for (const QString& line : text.lines)
        checkLine(line, separator);
    check(text.lines.front().endsWith(u" = 0"), "the first line is the equation", all);
    check(text.lines.back().startsWith(u"Ответ: "), "the last line is the answer", all);
    check(text.noRealRoots == (numbers.d < 0), "no real roots exactly when D < 0", all);

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
