#include "textbook/typedsolution.h"

#include "algebra/standardform.h"
#include "textbook/solutionwriter.h"

#include <QRegularExpression>

#include <algorithm>

namespace velmora::textbook {
namespace {

// c₄x⁴ + … + c₀ as a book writes it: "4x² − 4x + 1", "0" when there is no term.
Formula termsFormula(const std::vector<Term>& terms, const QString& letter, QChar separator) {
    Formula out = row({});
    if (terms.empty()) {
        append(out, math(QStringLiteral("0")));
        return out;
    }
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const Term& term = terms[i];
        const bool negative = sgn(term.coefficient) < 0;
        if (i == 0)
            append(out, math(negative ? minusSign() : QString()));
        else
            append(out, math(negative ? QStringLiteral(" − ") : QStringLiteral(" + ")));
        const mpq_class magnitude = abs(term.coefficient);
        if (term.power == 0 || magnitude != 1)
            append(out, math(numberText(magnitude, separator)));
        if (term.power > 0)
            append(out, variable(letter, term.power));
    }
    return out;
}

Formula equationFormula(const std::vector<Term>& left, const std::vector<Term>& right,
                        const QString& letter, QChar separator) {
    Formula out = termsFormula(left, letter, separator);
    append(out, math(QStringLiteral(" = ")));
    append(out, termsFormula(right, letter, separator));
    return out;
}

QString stepWords(const FormStep& step, const Words& words, QChar separator) {
    switch (step.kind) {
    case FormStep::Kind::OpenBrackets:
        return words.openBrackets;
    case FormStep::Kind::MultiplyBoth:
        return QString(words.multiplyBoth)
            .replace(QStringLiteral("%1"), numberText(step.factor, separator));
    case FormStep::Kind::MoveToLeft:
        return words.moveToLeft;
    case FormStep::Kind::CollectTerms:
        return words.collect;
    case FormStep::Kind::DivideBoth: {
        const QString number = numberText(step.factor, separator);
        return QString(words.divideBoth)
            .replace(QStringLiteral("%1"), sgn(step.factor) < 0 ? u'(' + number + u')' : number);
    }
    case FormStep::Kind::ChangeSigns:
        break;
    }
    return words.changeSigns;
}

Formula stepLine(const FormStep& step, const Words& words, const QString& letter, QChar separator) {
    Formula line = row({textbook::words(stepWords(step, words, separator) + u' ')});
    if (step.kind == FormStep::Kind::MoveToLeft)
        append(line, equationFormula(step.terms, {}, letter, separator));
    else
        append(line, equationFormula(termsOf(step.left), termsOf(step.right), letter, separator));
    return line;
}

// P divided by xᵏ.
Polynomial withoutPower(const Polynomial& p, int k) {
    Polynomial rest;
    for (int power = MaxPolynomialDegree; power >= k; --power) {
        if (sgn(p.coefficient(power)) == 0)
            continue;
        Polynomial term = Polynomial::unknown();
        Polynomial monomial(p.coefficient(power));
        for (int i = 0; i < power - k; ++i)
            monomial = std::get<Polynomial>(monomial.times(term));
        rest = rest + monomial;
    }
    return rest;
}

// The equation the page's solve takes for P = 0, when P is linear, quadratic or biquadratic.
std::optional<Problem> problemOf(const Polynomial& p, const QString& letter, QChar separator,
                                 bool decimalForms) {
    const auto c = [&p](int power) { return p.coefficient(power); };
    Problem problem;
    problem.decimalForms = decimalForms;
    problem.unknown = letter;
    problem.separator = separator;
    // The substitution's letter differs from the unknown.
    problem.letter = letter == QStringLiteral("y") ? QStringLiteral("t") : QStringLiteral("y");
    switch (p.degree()) {
    case 1:
    case 2:
        problem.coefficients = {c(2), c(1), c(0)};
        return problem;
    case 4:
        if (sgn(c(3)) != 0 || sgn(c(1)) != 0)
            return std::nullopt;
        problem.coefficients = {c(4), c(2), c(0)};
        problem.type = EquationType::Biquadratic;
        return problem;
    default:
        return std::nullopt;
    }
}

Solution solveProblem(const Problem& problem, const Words& words, QChar separator, int decimals) {
    Solution solution = solve(problem, words, separator, decimals);
    // A typed linear equation is no quadratic one with a = 0: that remark goes.
    if (sgn(problem.coefficients.a) == 0 && problem.type == EquationType::Quadratic &&
        solution.lines.size() > 1)
        solution.lines.erase(solution.lines.begin() + 1);
    return solution;
}

} // namespace

QString tidyEquation(QStringView text) {
    static const std::pair<QStringView, QStringView> signs[] = {
        {u"^2", u"²"}, {u"^3", u"³"},  {u"^4", u"⁴"},  {u"*", u"·"},   {u"-", u"−"},
        {u"–", u"−"},  {u"=", u" = "}, {u"+", u" + "}, {u"−", u" − "},
    };
    QString tidy = text.toString();
    for (const auto& [from, to] : signs)
        tidy.replace(from.toString(), to.toString());
    tidy = tidy.simplified();
    // A leading sign or one after "(" or "=" is no operation between two terms.
    tidy.replace(QStringLiteral("( − "), QStringLiteral("(−"));
    tidy.replace(QStringLiteral("= − "), QStringLiteral("= −"));
    if (tidy.startsWith(QStringLiteral("− ")))
        tidy.remove(1, 1);
    return tidy;
}

TypedOutcome solveTyped(QStringView text, const Words& words, QChar separator, int decimals,
                        const QString& method) {
    EquationParse parse = parseEquation(text);
    if (const EquationError* error = std::get_if<EquationError>(&parse))
        return *error;
    const ParsedEquation& parsed = std::get<ParsedEquation>(parse);
    const QString letter(parsed.letter);
    // Decimals typed (and no fraction): exact results that are finite decimals stay decimals.
    const bool decimalForms = parsed.anyDecimal && !parsed.anyFraction;
    const StandardForm form = standardForm(parsed, text.contains(u'('));

    TypedSolution typed;
    Solution& solution = typed.solution;
    for (int power = std::max(form.polynomial.degree(), 0); power >= 0; --power)
        solution.coefficients.push_back(form.polynomial.coefficient(power));
    // The typed line with the separator the solution writes its numbers with.
    QString typedLine = tidyEquation(text);
    typedLine.replace(QRegularExpression(QStringLiteral("(?<=\\d)[.,](?=\\d)")),
                      QString(separator));
    solution.equation = math(typedLine);
    std::vector<Formula> lines{solution.equation};
    for (const FormStep& step : form.steps)
        lines.push_back(stepLine(step, words, letter, separator));

    if (form.outcome != StandardForm::Outcome::Equation) {
        const bool identity = form.outcome == StandardForm::Outcome::Identity;
        lines.push_back(row({textbook::words(identity ? words.identity : words.contradiction)}));
        solution.linear = identity ? Solution::Linear::AnyNumber : Solution::Linear::NoSolution;
        solution.method = QStringLiteral("linear");
        solution.lines = std::move(lines);
        solution.lines.push_back(answerLine(solution, letter, words));
        typed.solved = false;
        return typed;
    }

    // a·xᵏ = 0 is solved as it stands where the page's kinds reach it (x² = 0, x⁴ = 0).
    int k = form.lowestPower;
    if (k > 0 && withoutPower(form.polynomial, k).degree() == 0 &&
        problemOf(form.polynomial, letter, separator, decimalForms))
        k = 0;
    const Polynomial rest = k > 0 ? withoutPower(form.polynomial, k) : form.polynomial;
    const std::optional<Problem> problem =
        rest.degree() > 0 ? problemOf(rest, letter, separator, decimalForms) : std::nullopt;
    if (!problem && rest.degree() > 0)
        return UnsolvedDegree{form.polynomial.degree()};
    if (k > 0 && rest.degree() == 0) {
        // xᵏ = 0 of a degree the page's kinds do not reach (x³ = 0).
        lines.push_back(
            row({variable(letter, k), math(QStringLiteral(" = 0 ⇒ %1 = 0").arg(letter))}));
    } else if (k > 0) {
        // x·(x² − 5x + 6) = 0, then x = 0; x² − 5x + 6 = 0.
        Formula factored = row({textbook::words(words.factorOut + u' '), variable(letter, k)});
        if (rest.degree() > 0) {
            append(factored, math(QStringLiteral("(")));
            append(factored, termsFormula(termsOf(rest), letter, separator));
            append(factored, math(QStringLiteral(")")));
        }
        append(factored, math(QStringLiteral(" = 0")));
        lines.push_back(factored);
        Formula zero =
            row({textbook::words(words.zeroProduct + u' '), math(letter + QStringLiteral(" = 0"))});
        if (rest.degree() > 0) {
            append(zero, math(QStringLiteral("; ")));
            append(zero, termsFormula(termsOf(rest), letter, separator));
            append(zero, math(QStringLiteral(" = 0")));
        }
        lines.push_back(zero);
    }
    if (!problem) {
        // xᵏ = 0 alone: the root 0.
        solution.roots = {simplest(ExactValue())};
        solution.method = QStringLiteral("factor");
        solution.lines = std::move(lines);
        solution.lines.push_back(answerLine(solution, letter, words));
        typed.problem.unknown = letter;
        typed.problem.coefficients = {1, 0, 0};
        return typed;
    }

    Problem asked = *problem;
    asked.method = method;
    Solution sub = solveProblem(asked, words, separator, decimals);
    // The standard form (or what is left after xᵏ) is already shown by the last step or the
    // zero product's line, unless the line was typed in it.
    const bool firstLineShown = !form.steps.empty() || k > 0;
    if (form.steps.empty() && k == 0)
        lines.clear();
    const std::size_t answerAt = sub.lines.size() - (sub.simplified ? 1 : 2);
    for (std::size_t i = firstLineShown ? 1 : 0; i < sub.lines.size(); ++i) {
        if (i != answerAt)
            lines.push_back(sub.lines[i]);
    }
    solution.discriminant = sub.discriminant;
    solution.method = k > 0 ? QStringLiteral("factor") : sub.method;
    solution.formulaRoots = sub.formulaRoots;
    solution.linear = sub.linear;
    solution.simplified = sub.simplified;
    solution.roots = sub.roots;
    if (k > 0) {
        const bool hasZero = std::any_of(solution.roots.begin(), solution.roots.end(),
                                         [](const ExactForm& r) { return r.value.sign() == 0; });
        if (!hasZero)
            solution.roots.push_back(simplest(ExactValue()));
        sortAscending(solution.roots);
        if (solution.linear == Solution::Linear::NoSolution)
            solution.linear = Solution::Linear::No;
    }
    solution.lines = std::move(lines);
    // The answer, before the note on simplest forms when there is one.
    const Formula answer = answerLine(solution, letter, words);
    solution.lines.insert(solution.lines.end() - (sub.simplified ? 0 : 1), answer);
    if (solution.equation.parts.empty() || form.steps.empty())
        solution.equation = solution.lines.front();
    typed.problem = *problem;
    return typed;
}

} // namespace velmora::textbook
