#include "textbook/solutionwriter.h"

#include "numbers/rational.h"

#include <algorithm>

namespace velmora::textbook {
namespace {

// x₁ + x₂ and x₁·x₂ of the roots of one quadratic, worked out from their exact values: both
// rational, one double root, or conjugates p ± q√m.
std::pair<mpq_class, mpq_class> sumAndProduct(const std::vector<ExactForm>& roots) {
    const ExactValue& x1 = roots.front().value;
    const ExactValue& x2 = roots.back().value;
    if (x1.isRational())
        return {x1.p() + x2.p(), x1.p() * x2.p()};
    const mpq_class& m = x1.radical()->radicand();
    return {2 * x1.p(), x1.p() * x1.p() - x1.q() * x1.q() * m};
}

} // namespace

void Writer::writeQuadratic(const QString& v) {
    const QuadraticRoots found = quadraticRoots(m_problem.coefficients);
    m_solution.discriminant = found.d;
    // An incomplete equation is solved as the class does, without D: c = 0 by taking v out,
    // b = 0 through v² = −c/a.
    const bool throughD = m_problem.method == QLatin1String("discriminant");
    if (!throughD && sgn(c()) == 0 && sgn(b()) != 0) {
        writeFactorUnknown(v);
    } else if (!throughD && sgn(b()) == 0) {
        if (!writeSquareRootOf(v))
            return;
    } else {
        m_solution.method = QStringLiteral("discriminant");
        m_solution.lines.push_back(row(
            {math(QStringLiteral("D = ")), variable(QStringLiteral("b"), 2),
             math(QStringLiteral(" − 4ac = ")),
             sup(bracketed(b(), m_separator), math(QStringLiteral("2"))),
             math(QStringLiteral(" − 4·")), bracketed(a(), m_separator), math(QStringLiteral("·")),
             bracketed(c(), m_separator), math(QStringLiteral(" = ") + number(found.d))}));
        if (sgn(found.d) < 0) {
            m_solution.lines.push_back(
                row({math(QStringLiteral("D < 0 ⇒ ")), words(m_words.noRealRoots)}));
            return;
        }
        // The roots share one radical: √D is split into its square factors once for both.
        for (const ExactValue& root : found.roots)
            m_vRoots.push_back(formOf(root));
        if (sgn(found.d) == 0)
            writeOneRoot(v);
        else
            writeTwoRoots(v, found.d);
    }
    for (const ExactForm& form : m_vRoots)
        m_solution.formulaRoots.push_back(form.value);

    if (biquadratic())
        writeBackSubstitution(v);
    else
        m_solution.roots = m_vRoots;
    writeFactoredAndCheck(v);
}

void Writer::writeFactorUnknown(const QString& v) {
    // a·v² + b·v = 0 ⇒ v(a·v + b) = 0 ⇒ v = 0 or v = −b/a.
    m_solution.method = QStringLiteral("factor");
    Formula factor = row({words(m_words.factorOut + u' '), math(v + QStringLiteral("("))});
    Formula linear = row({});
    const auto term = [&](const mpq_class& k, const Formula* unknown) {
        const bool negative = sgn(k) < 0;
        if (linear.parts.empty())
            append(linear, math(negative ? minusSign() : QString()));
        else
            append(linear, math(negative ? QStringLiteral(" − ") : QStringLiteral(" + ")));
        const mpq_class magnitude = abs(k);
        if (!unknown || magnitude != 1)
            append(linear, math(number(magnitude)));
        if (unknown)
            append(linear, *unknown);
    };
    const Formula unknown = variable(v);
    term(a(), &unknown);
    term(b(), nullptr);
    append(factor, linear);
    append(factor, math(QStringLiteral(") = 0")));
    m_solution.lines.push_back(factor);
    Formula zero = row({words(m_words.zeroProduct + u' '), math(v + QStringLiteral(" = 0; "))});
    append(zero, linear);
    append(zero, math(QStringLiteral(" = 0")));
    m_solution.lines.push_back(zero);
    const ExactForm second = formOf(ExactValue(mpq_class(-b() / a())));
    m_vRoots = {formOf(ExactValue()), second};
    Formula roots = row({indexed(v, QStringLiteral("1")), math(QStringLiteral(" = 0; ")),
                         indexed(v, QStringLiteral("2")), math(QStringLiteral(" = "))});
    // −b/a with its numbers, unless that is a division by 1 or the form itself.
    const Formula quotient = fraction(math(number(-b())), bracketed(a(), m_separator));
    if (a() != 1 && plainText(quotient) != plainText(formulaOf(second))) {
        append(roots, quotient);
        append(roots, math(QStringLiteral(" = ")));
    }
    append(roots, formulaOf(second));
    append(roots, approximately(second));
    m_solution.lines.push_back(roots);
}

bool Writer::writeSquareRootOf(const QString& v) {
    // a·v² + c = 0 ⇒ v² = −c/a ⇒ v = ±√(−c/a).
    m_solution.method = QStringLiteral("square-root");
    const mpq_class square = -c() / a();
    Formula line = row({variable(v, 2), math(QStringLiteral(" = "))});
    // −c/a with its numbers, unless that is a division by 1 or the number itself.
    const Formula value = formulaOf(formOf(ExactValue(square)));
    const Formula quotient = fraction(math(number(-c())), bracketed(a(), m_separator));
    if (a() != 1 && sgn(c()) != 0 && plainText(quotient) != plainText(value)) {
        append(line, quotient);
        append(line, math(QStringLiteral(" = ")));
    }
    append(line, value);
    if (sgn(square) < 0) {
        append(line, math(QStringLiteral(" < 0 ⇒ ")));
        append(line, words(m_words.noRealRoots));
        m_solution.lines.push_back(line);
        return false;
    }
    if (sgn(square) == 0) {
        append(line, math(QStringLiteral(" ⇒ %1 = 0").arg(v)));
        m_solution.lines.push_back(line);
        m_vRoots = {formOf(ExactValue())};
        return true;
    }
    const ExactForm positive = formOf(ExactValue::squareRoot(ExactValue(square)));
    append(line, math(QStringLiteral(" ⇒ %1 = ±").arg(v)));
    const Formula rootFormula = root(value);
    append(line, rootFormula);
    const Formula simple = formulaOf(positive);
    if (plainText(simple) != plainText(rootFormula)) {
        append(line, math(QStringLiteral(" = ±")));
        append(line, simple);
    }
    append(line, approximately(positive, QStringLiteral("±")));
    m_solution.lines.push_back(line);
    m_vRoots = {positive, negated(positive)};
    return true;
}

void Writer::writeOneRoot(const QString& v) {
    const Formula general = fraction(math(QStringLiteral("−b")), math(QStringLiteral("2a")));
    const Formula twoA = row({math(QStringLiteral("2·")), bracketed(a(), m_separator)});
    m_solution.lines.push_back(row({math(QStringLiteral("D = 0 ⇒ ")), words(m_words.oneRoot)}));
    m_solution.lines.push_back(
        row({math(v + QStringLiteral(" = ")), general, math(QStringLiteral(" = ")),
             fraction(math(number(-b())), twoA), math(QStringLiteral(" = ")),
             formulaOf(m_vRoots[0]), approximately(m_vRoots[0])}));
}

void Writer::writeTwoRoots(const QString& v, const mpq_class& d) {
    const mpq_class vertexTop = -b();
    const Formula twoA = row({math(QStringLiteral("2·")), bracketed(a(), m_separator)});
    Formula line =
        row({indexed(v, QStringLiteral("1,2")), math(QStringLiteral(" = ")),
             fraction(row({math(QStringLiteral("−b ± ")), root(math(QStringLiteral("D")))}),
                      math(QStringLiteral("2a"))),
             math(QStringLiteral(" = "))});
    if (isSquare(d)) {
        // (5 ± 1)/(2·1), then each root with its sign worked out.
        const QString rootOfD = number(squareRootOfSquare(d));
        append(line, fraction(math(number(vertexTop) + QStringLiteral(" ± ") + rootOfD), twoA));
        m_solution.lines.push_back(line);
        for (std::size_t i = 0; i < 2; ++i) {
            const QString sign = i == 0 ? QStringLiteral(" + ") : QStringLiteral(" − ");
            m_solution.lines.push_back(row(
                {indexed(v, QString::number(i + 1)), math(QStringLiteral(" = ")),
                 fraction(math(number(vertexTop) + sign + rootOfD), math(number(2 * a()))),
                 math(QStringLiteral(" = ")), formulaOf(m_vRoots[i]), approximately(m_vRoots[i])}));
        }
        return;
    }
    append(line,
           fraction(row({math(number(vertexTop) + QStringLiteral(" ± ")), root(math(number(d)))}),
                    twoA));
    append(line, math(QStringLiteral(" = ")));
    // x₁'s form with the sign of its root term as ±: x₂ is its conjugate.
    ExactForm both = m_vRoots[0];
    both.terms.back().coefficient = abs(both.terms.back().coefficient);
    append(line, formulaOf(both, true));
    m_solution.lines.push_back(line);
    for (std::size_t i = 0; i < 2; ++i)
        m_solution.lines.push_back(
            row({indexed(v, QString::number(i + 1)), math(QStringLiteral(" = ")),
                 formulaOf(m_vRoots[i]), approximately(m_vRoots[i])}));
}

void Writer::writeBackSubstitution(const QString& v) {
    for (std::size_t i = 0; i < m_vRoots.size(); ++i) {
        const ExactForm& y = m_vRoots[i];
        const QString name = m_vRoots.size() == 1 ? v : v + QChar(0x2080 + int(i) + 1);
        if (y.value.sign() < 0) {
            m_solution.lines.push_back(row(
                {math(name + QStringLiteral(" = ")), formulaOf(y), math(QStringLiteral(" < 0: ")),
                 words(m_words.rejected + u' '), math(v + QStringLiteral(" ≥ 0"))}));
            continue;
        }
        writeSquareEquals(y.value, formulaOf(y));
    }
}

void Writer::writeSquareEquals(const ExactValue& y, const Formula& yFormula) {
    const QString& x = m_problem.unknown;
    Formula line = row({variable(x, 2), math(QStringLiteral(" = ")), yFormula});
    if (y.sign() == 0) {
        append(line, math(QStringLiteral(" ⇒ %1 = 0").arg(x)));
        m_solution.roots.push_back(simplest(ExactValue()));
    } else {
        const ExactForm positive = formOf(ExactValue::squareRoot(y));
        append(line, math(QStringLiteral(" ⇒ %1 = ±").arg(x)));
        const Formula rootFormula = root(yFormula);
        const Formula simple = formulaOf(positive);
        append(line, rootFormula);
        if (plainText(simple) != plainText(rootFormula)) {
            append(line, math(QStringLiteral(" = ±")));
            append(line, simple);
        }
        append(line, approximately(positive, QStringLiteral("±")));
        m_solution.roots.push_back(negated(positive));
        m_solution.roots.push_back(positive);
    }
    m_solution.lines.push_back(line);
}

void Writer::writeFactoredAndCheck(const QString& v) {
    if (m_vRoots.empty())
        return;
    // The roots of x in ascending order; the biquadratic's values of the letter as they came.
    std::vector<ExactForm> ascending = m_vRoots;
    if (!biquadratic())
        sortAscending(ascending);
    const QString& x = m_problem.unknown;
    // a(x − x₁)(x − x₂), with x² in place of x for the biquadratic equation.
    const Formula unknown = biquadratic() ? variable(x, 2) : variable(x);
    Formula line = row({words(m_words.factored + u' ')});
    append(line, equationLine(biquadratic() ? variable(x, 4) : variable(x, 2),
                              biquadratic() ? variable(x, 2) : variable(x)));
    line.parts.back().parts.pop_back(); // " = 0"
    append(line, math(QStringLiteral(" = ")));
    if (a() == -1)
        append(line, math(minusSign()));
    else if (a() != 1)
        append(line, math(number(a())));
    // (v − r), or v for the root 0, with v the unknown x or x².
    const auto factor = [&](const ExactForm& r, const Formula& v) {
        Formula f = row({math(QStringLiteral("(")), v});
        const int sign = r.value.sign();
        if (sign == 0)
            return v;
        // v − r as v + |r| for a negative r: (x + (3 + √65)/4), never "− −".
        const ExactForm magnitude = sign < 0 ? negated(r) : r;
        append(f, math(sign < 0 ? QStringLiteral(" + ") : QStringLiteral(" − ")));
        Formula value = formulaOf(magnitude);
        if (!magnitude.nested && magnitude.denominator == 1 && magnitude.terms.size() > 1)
            value = row({math(QStringLiteral("(")), value, math(QStringLiteral(")"))});
        append(f, value);
        append(f, math(QStringLiteral(")")));
        return f;
    };
    // Fully over the reals: x² − y with y > 0 is (x − √y)(x + √y); x² + |y| stays.
    const auto factors = [&](const ExactForm& r, int power) {
        Formula f = row({});
        const auto raised = [&](Formula one) {
            return power == 1 ? one : sup(one, math(QString::number(power)));
        };
        if (!biquadratic() || r.value.sign() <= 0) {
            append(f, raised(factor(r, unknown)));
            return f;
        }
        const ExactForm s = formOf(ExactValue::squareRoot(r.value));
        append(f, raised(factor(s, variable(x))));
        append(f, raised(factor(negated(s), variable(x))));
        return f;
    };
    if (ascending.size() == 1) {
        // a·x² (a·x⁴) = 0 is already its own factored form.
        if (ascending[0].value.sign() != 0) {
            append(line, factors(ascending[0], 2));
            m_solution.lines.push_back(line);
        }
    } else {
        // The factor x² of a root 0 first: −x²(x² + 1).
        std::stable_partition(ascending.begin(), ascending.end(),
                              [](const ExactForm& r) { return r.value.sign() == 0; });
        for (const ExactForm& r : ascending)
            append(line, factors(r, 1));
        m_solution.lines.push_back(line);
    }

    const auto [sum, product] = sumAndProduct(m_vRoots);
    const Formula v1 = indexed(v, QStringLiteral("1"));
    const Formula v2 = indexed(v, QStringLiteral("2"));
    m_solution.lines.push_back(row(
        {words(m_words.check + u' '), v1, math(QStringLiteral(" + ")), v2,
         math(QStringLiteral(" = ")), formulaOf(formOf(ExactValue(sum))),
         math(QStringLiteral(" = ")), math(QStringLiteral("−")),
         fraction(math(QStringLiteral("b")), math(QStringLiteral("a"))), math(QStringLiteral("; ")),
         v1, math(QStringLiteral("·")), v2, math(QStringLiteral(" = ")),
         formulaOf(formOf(ExactValue(product))), math(QStringLiteral(" = ")),
         fraction(math(QStringLiteral("c")), math(QStringLiteral("a")))}));
}

} // namespace velmora::textbook
