#include "textbook/solutionwriter.h"

#include "numbers/exacttext.h"

#include <QRegularExpression>

namespace velmora::textbook {

Formula variable(const QString& name, int power) {
    if (power == 1)
        return math(name);
    return sup(math(name), math(QString::number(power)));
}

Formula indexed(const QString& name, const QString& index) {
    return sub(math(name), math(index));
}

Formula bracketed(const mpq_class& value, QChar separator) {
    const QString text = numberText(value, separator);
    return math(sgn(value) < 0 ? u'(' + text + u')' : text);
}

Formula Writer::equationLine(const Formula& square, const Formula& single) const {
    Formula line = row({});
    bool first = true;
    const auto term = [&](const mpq_class& k, const Formula* unknown) {
        if (sgn(k) == 0)
            return;
        const bool negative = sgn(k) < 0;
        if (first)
            append(line, math(negative ? minusSign() : QString()));
        else
            append(line, math(negative ? QStringLiteral(" − ") : QStringLiteral(" + ")));
        first = false;
        const mpq_class magnitude = abs(k);
        if (!unknown || magnitude != 1)
            append(line, math(number(magnitude)));
        if (unknown)
            append(line, *unknown);
    };
    term(a(), &square);
    term(b(), &single);
    term(c(), nullptr);
    if (first)
        append(line, math(QStringLiteral("0")));
    append(line, math(QStringLiteral(" = 0")));
    return line;
}

Formula Writer::approximately(const ExactForm& form, const QString& sign) const {
    const ExactValue& value = form.value;
    if ((value.isRational() && value.p().get_den() == 1) || writtenAsDecimal(form))
        return row({});
    if (writtenExactly(value, m_decimals))
        return math(QStringLiteral(" = ") + sign + numberText(value.p(), m_separator));
    return math(QStringLiteral(" ≈ ") + sign + approximateText(value, m_decimals, m_separator));
}

Solution Writer::write() {
    const QString& x = m_problem.unknown;
    const QString v = biquadratic() ? m_problem.letter : x;
    m_solution.coefficients = biquadratic() ? std::vector<mpq_class>{a(), 0, b(), 0, c()}
                                            : std::vector<mpq_class>{a(), b(), c()};
    while (m_solution.coefficients.size() > 1 && sgn(m_solution.coefficients.front()) == 0)
        m_solution.coefficients.erase(m_solution.coefficients.begin());
    m_solution.equation = biquadratic() ? equationLine(variable(x, 4), variable(x, 2))
                                        : equationLine(variable(x, 2), variable(x));
    m_solution.lines.push_back(m_solution.equation);
    if (sgn(a()) == 0) {
        writeLinear();
    } else {
        if (biquadratic()) {
            m_solution.lines.push_back(row({words(m_words.let + u' '), variable(x, 2),
                                            math(QStringLiteral(" = %1, %1 ≥ 0").arg(v))}));
            m_solution.lines.push_back(equationLine(variable(v, 2), variable(v)));
        }
        writeQuadratic(v);
        if (biquadratic())
            m_solution.method = QStringLiteral("substitution");
    }
    sortAscending(m_solution.roots);
    writeAnswer();
    if (!m_solution.simplified)
        m_solution.lines.push_back(words(m_words.unsimplified));
    return std::move(m_solution);
}

void Writer::writeLinear() {
    const QString& x = m_problem.unknown;
    m_solution.method =
        biquadratic() && sgn(b()) != 0 ? QStringLiteral("square-root") : QStringLiteral("linear");
    if (biquadratic() && sgn(b()) != 0) {
        // b·x² + c = 0: x² = −c/b.
        const mpq_class value = -c() / b();
        Formula line = row({variable(x, 2), math(QStringLiteral(" = ")),
                            fraction(math(number(-c())), math(number(b()))),
                            math(QStringLiteral(" = ")), formulaOf(formOf(ExactValue(value)))});
        m_solution.lines.push_back(line);
        if (sgn(value) < 0) {
            m_solution.lines.push_back(
                row({variable(x, 2), math(QStringLiteral(" < 0 ⇒ ")), words(m_words.noRealRoots)}));
            return;
        }
        writeSquareEquals(ExactValue(value), formulaOf(formOf(ExactValue(value))));
        m_solution.linear = Solution::Linear::OneRoot;
        return;
    }
    if (!biquadratic())
        m_solution.lines.push_back(row({math(QStringLiteral("a = 0: ")), words(m_words.linear)}));
    if (sgn(b()) != 0) {
        const ExactForm form = formOf(ExactValue(mpq_class(-c() / b())));
        Formula line = row({math(x + QStringLiteral(" = ")), math(QStringLiteral("−")),
                            fraction(math(QStringLiteral("c")), math(QStringLiteral("b"))),
                            math(QStringLiteral(" = "))});
        // −c/b with its numbers, unless that is a division by 1 or the form itself.
        const Formula quotient = fraction(math(number(-c())), math(number(b())));
        if (b() != 1 && plainText(quotient) != plainText(formulaOf(form))) {
            append(line, quotient);
            append(line, math(QStringLiteral(" = ")));
        }
        append(line, formulaOf(form));
        append(line, approximately(form));
        m_solution.lines.push_back(line);
        m_solution.roots = {form};
        m_solution.linear = Solution::Linear::OneRoot;
        return;
    }
    const Formula zeroTimes = row({math(QStringLiteral("0·")), variable(x, biquadratic() ? 2 : 1),
                                   math(QStringLiteral(" = ") + number(-c()))});
    if (sgn(c()) != 0) {
        m_solution.lines.push_back(
            row({zeroTimes, math(QStringLiteral(" ⇒ ")), words(m_words.noSolution)}));
        m_solution.linear = Solution::Linear::NoSolution;
    } else {
        m_solution.lines.push_back(
            row({zeroTimes, math(QStringLiteral(" ⇒ x")), words(m_words.anyNumber)}));
        m_solution.linear = Solution::Linear::AnyNumber;
    }
}

void Writer::writeAnswer() {
    m_solution.lines.push_back(answerLine(m_solution, m_problem.unknown, m_words));
}

Formula answerLine(const Solution& solution, const QString& unknown, const Words& words) {
    const qsizetype at = words.answer.indexOf(QStringLiteral("%1"));
    const QString before = at < 0 ? words.answer + u' ' : words.answer.left(at);
    const QString after = at < 0 ? QString() : words.answer.mid(at + 2);
    Formula line = row({textbook::words(before)});
    if (solution.linear == Solution::Linear::NoSolution) {
        append(line, textbook::words(words.noSolution));
    } else if (solution.linear == Solution::Linear::AnyNumber) {
        append(line, math(unknown));
        append(line, textbook::words(words.anyNumber));
    } else if (solution.roots.empty()) {
        append(line, textbook::words(words.noRoots));
    } else {
        // "x = %1" names the unknown as x; another unknown takes its place.
        QString each = words.answerEach;
        each.replace(QRegularExpression(QStringLiteral("\\bx\\b")), unknown);
        const qsizetype place = each.indexOf(QStringLiteral("%1"));
        const QString eachBefore = place < 0 ? QString() : each.left(place);
        const QString eachAfter = place < 0 ? QString() : each.mid(place + 2);
        for (std::size_t i = 0; i < solution.roots.size(); ++i) {
            // A joining word (" or ") is prose; a joining sign ("; ") belongs to the formula.
            if (i > 0)
                append(line, words.answerJoin.trimmed().size() > 1
                                 ? textbook::words(words.answerJoin)
                                 : math(words.answerJoin));
            if (!eachBefore.isEmpty())
                append(line, math(eachBefore));
            append(line, formulaOf(solution.roots[i]));
            if (!eachAfter.isEmpty())
                append(line, math(eachAfter));
        }
    }
    append(line, textbook::words(after));
    return line;
}

CoefficientReading readProblemCoefficients(const std::array<QString, 3>& texts,
                                           const std::array<QChar, 3>& separators) {
    return readCoefficients(texts, separators, ZeroAIs::Allowed);
}

QStringList methodsFor(const Problem& problem) {
    const Coefficients& k = problem.coefficients;
    if (sgn(k.a) == 0)
        return {QStringLiteral("linear")};
    QStringList methods;
    if (sgn(k.c) == 0 && sgn(k.b) != 0)
        methods << QStringLiteral("factor");
    if (sgn(k.b) == 0)
        methods << QStringLiteral("square-root");
    methods << QStringLiteral("discriminant");
    return methods;
}

Solution solve(const Problem& problem, const Words& words, QChar separator, int decimals) {
    return Writer(problem, words, separator, decimals).write();
}

} // namespace velmora::textbook
