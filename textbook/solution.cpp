#include "textbook/solution.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velmora::textbook {
namespace {

const QString Minus = QString(QChar(0x2212));

QString integerText(const mpz_class& value) {
    QString text = QString::fromStdString(mpz_class(abs(value)).get_str());
    return sgn(value) < 0 ? Minus + text : text;
}

// "−" and the terms of a sum, each "c√k", with ± for the last when asked.
Formula sumFormula(const std::vector<RootTerm>& terms, bool plusMinus) {
    Formula out = row({});
    if (terms.empty()) {
        append(out, math(QStringLiteral("0")));
        return out;
    }
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const RootTerm& term = terms[i];
        const bool negative = sgn(term.coefficient) < 0;
        const bool last = i + 1 == terms.size();
        if (plusMinus && last)
            append(out, math(i == 0 ? QStringLiteral("±") : QStringLiteral(" ± ")));
        else if (i == 0)
            append(out, math(negative ? Minus : QString()));
        else
            append(out, math(negative ? QStringLiteral(" − ") : QStringLiteral(" + ")));
        const mpz_class magnitude = abs(term.coefficient);
        if (term.radicand == 1) {
            append(out, math(QString::fromStdString(magnitude.get_str())));
            continue;
        }
        if (magnitude != 1)
            append(out, math(QString::fromStdString(magnitude.get_str())));
        append(out, root(math(QString::fromStdString(term.radicand.get_str()))));
    }
    return out;
}

Formula overDenominator(const std::vector<RootTerm>& terms, const mpz_class& denominator,
                        bool plusMinus) {
    if (denominator == 1)
        return sumFormula(terms, plusMinus);
    const mpz_class denominatorCopy = denominator;
    const Formula bottom = math(QString::fromStdString(denominatorCopy.get_str()));
    // A single negative term is written −√6/3, its sign before the bar, and so is ±√6/3.
    if (terms.size() == 1 && (sgn(terms[0].coefficient) < 0 || plusMinus)) {
        std::vector<RootTerm> positive = terms;
        positive[0].coefficient = abs(positive[0].coefficient);
        return row({math(plusMinus ? QStringLiteral("±") : Minus),
                    fraction(sumFormula(positive, false), bottom)});
    }
    return fraction(sumFormula(terms, plusMinus), bottom);
}

// The sign of p + q·√m, also when m is a square.
int surdSign(const mpq_class& p, const mpq_class& q, const mpq_class& m) {
    if (sgn(q) == 0 || isSquare(m))
        return sgn(mpq_class(p + q * squareRootOfSquare(m)));
    return velmora::signOf(Surd{p, q, m});
}

ExactForm negated(ExactForm form) {
    if (form.nested) {
        form.factor = -form.factor;
        return form;
    }
    for (RootTerm& term : form.terms)
        term.coefficient = -term.coefficient;
    return form;
}

Formula variable(const QString& name, int power = 1) {
    if (power == 1)
        return math(name);
    return sup(math(name), math(QString::number(power)));
}

Formula indexed(const QString& name, const QString& index) {
    return sub(math(name), math(index));
}

// A number in brackets when negative, as a factor or a base is written: (−5)², 4·1·(−7).
Formula bracketed(const mpq_class& value, QChar separator) {
    const QString text = numberText(value, separator);
    return math(sgn(value) < 0 ? u'(' + text + u')' : text);
}

class Writer {
public:
    Writer(const Problem& problem, const Words& words, QChar separator, int decimals,
           const FactoringBudget& budget)
        : m_problem(problem), m_words(words), m_separator(separator), m_decimals(decimals),
          m_budget(budget) {}

    Solution write();

private:
    const mpq_class& a() const { return m_problem.coefficients.a; }
    const mpq_class& b() const { return m_problem.coefficients.b; }
    const mpq_class& c() const { return m_problem.coefficients.c; }
    QString number(const mpq_class& value) const { return numberText(value, m_separator); }
    bool biquadratic() const { return m_problem.type == EquationType::Biquadratic; }

    Formula equationLine(const Formula& square, const Formula& single) const;
    void note(const ExactForm& form) {
        if (!form.simplified)
            m_solution.simplified = false;
    }
    // " ≈ 1,27", or " = 1,50" for a rational with that many decimals; nothing for an integer.
    Formula approximately(const ExactForm& form, const QString& sign = {}) const;
    void writeQuadratic(const QString& v);
    void writeLinear();
    // x² = value with the value ≥ 0 kept, its roots added; written as one line.
    void writeSquareEquals(const mpq_class& p, const mpq_class& q, const mpq_class& m,
                           const Formula& valueFormula, std::vector<ExactForm>& negatives,
                           std::vector<ExactForm>& positives, bool& zero);
    void writeFactoredAndCheck(const QString& v, const std::vector<ExactForm>& roots);
    void writeAnswer();

    const Problem& m_problem;
    const Words& m_words;
    QChar m_separator;
    int m_decimals;
    const FactoringBudget& m_budget;
    Solution m_solution;
    // The roots of the equation in v (x or the letter), in the order x₁, x₂.
    struct VRoot {
        mpq_class p, q, m; // p + q·√m
        ExactForm form;
    };
    std::vector<VRoot> m_vRoots;
};

Formula Writer::equationLine(const Formula& square, const Formula& single) const {
    Formula line = row({});
    bool first = true;
    const auto term = [&](const mpq_class& k, const Formula* unknown) {
        if (sgn(k) == 0)
            return;
        const bool negative = sgn(k) < 0;
        if (first)
            append(line, math(negative ? Minus : QString()));
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
    if (form.isRational()) {
        mpq_class scaled = form.rational();
        for (int i = 0; i < m_decimals; ++i)
            scaled *= 10;
        if (scaled.get_den() == 1 && form.rational().get_den() == 1)
            return row({});
        const QChar relation = scaled.get_den() == 1 ? u'=' : QChar(0x2248);
        return math(QStringLiteral(" %1 %2%3")
                        .arg(relation)
                        .arg(sign, roundedDecimals(form, m_decimals, m_separator)));
    }
    return math(QStringLiteral(" ≈ ") + sign + roundedDecimals(form, m_decimals, m_separator));
}

Solution Writer::write() {
    const QString x = QStringLiteral("x");
    const QString v = biquadratic() ? m_problem.letter : x;
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
    }
    writeAnswer();
    if (!m_solution.simplified)
        m_solution.lines.push_back(words(m_words.unsimplified));
    return std::move(m_solution);
}

void Writer::writeQuadratic(const QString& v) {
    const mpq_class d = b() * b() - 4 * a() * c();
    m_solution.discriminant = d;
    m_solution.lines.push_back(
        row({math(QStringLiteral("D = ")), variable(QStringLiteral("b"), 2),
             math(QStringLiteral(" − 4ac = ")),
             sup(bracketed(b(), m_separator), math(QStringLiteral("2"))),
             math(QStringLiteral(" − 4·")), bracketed(a(), m_separator), math(QStringLiteral("·")),
             bracketed(c(), m_separator), math(QStringLiteral(" = ") + number(d))}));
    if (sgn(d) < 0) {
        m_solution.lines.push_back(
            row({math(QStringLiteral("D < 0 ⇒ ")), words(m_words.noRealRoots)}));
        return;
    }

    const mpq_class vertexTop = -b();
    const Formula general = fraction(math(QStringLiteral("−b")), math(QStringLiteral("2a")));
    const Formula twoA = row({math(QStringLiteral("2·")), bracketed(a(), m_separator)});
    if (sgn(d) == 0) {
        m_solution.lines.push_back(row({math(QStringLiteral("D = 0 ⇒ ")), words(m_words.oneRoot)}));
        const ExactForm form = simplestRational(vertexTop / (2 * a()));
        m_vRoots.push_back({vertexTop / (2 * a()), 0, 1, form});
        m_solution.lines.push_back(
            row({math(v + QStringLiteral(" = ")), general, math(QStringLiteral(" = ")),
                 fraction(math(number(vertexTop)), twoA), math(QStringLiteral(" = ")),
                 formulaOf(form), approximately(form)}));
    } else {
        const mpq_class vertex = vertexTop / (2 * a());
        const mpq_class half = 1 / (2 * a());
        for (const int sign : {1, -1}) {
            const mpq_class q = sign * half;
            const ExactForm form = simplestSurd(vertex, q, d, m_budget);
            note(form);
            m_vRoots.push_back({vertex, q, d, form});
        }
        const Formula header =
            row({indexed(v, QStringLiteral("1,2")), math(QStringLiteral(" = ")),
                 fraction(row({math(QStringLiteral("−b ± ")), root(math(QStringLiteral("D")))}),
                          math(QStringLiteral("2a"))),
                 math(QStringLiteral(" = "))});
        if (isSquare(d)) {
            const QString rootOfD = number(squareRootOfSquare(d));
            Formula line = header;
            append(line, fraction(math(number(vertexTop) + QStringLiteral(" ± ") + rootOfD), twoA));
            m_solution.lines.push_back(line);
            for (std::size_t i = 0; i < 2; ++i) {
                const QString sign = i == 0 ? QStringLiteral(" + ") : QStringLiteral(" − ");
                m_solution.lines.push_back(
                    row({indexed(v, QString::number(i + 1)), math(QStringLiteral(" = ")),
                         fraction(math(number(vertexTop) + sign + rootOfD), math(number(2 * a()))),
                         math(QStringLiteral(" = ")), formulaOf(m_vRoots[i].form),
                         approximately(m_vRoots[i].form)}));
            }
        } else {
            Formula line = header;
            append(line, fraction(row({math(number(vertexTop) + QStringLiteral(" ± ")),
                                       root(math(number(d)))}),
                                  twoA));
            append(line, math(QStringLiteral(" = ")));
            // x₁'s form with the sign of its root term as ±: x₂ is its conjugate.
            ExactForm both = m_vRoots[0].form;
            both.terms.back().coefficient = abs(both.terms.back().coefficient);
            append(line, formulaOf(both, true));
            m_solution.lines.push_back(line);
            for (std::size_t i = 0; i < 2; ++i)
                m_solution.lines.push_back(
                    row({indexed(v, QString::number(i + 1)), math(QStringLiteral(" = ")),
                         formulaOf(m_vRoots[i].form), approximately(m_vRoots[i].form)}));
        }
    }

    std::vector<ExactForm> ascending;
    if (!biquadratic()) {
        for (const VRoot& r : m_vRoots)
            ascending.push_back(r.form);
        // x₁ has +√D/2a: the larger root when a > 0.
        if (ascending.size() == 2 && sgn(a()) > 0)
            std::swap(ascending[0], ascending[1]);
        m_solution.roots = ascending;
    } else {
        std::vector<ExactForm> negatives, positives;
        bool zero = false;
        for (std::size_t i = 0; i < m_vRoots.size(); ++i) {
            const VRoot& r = m_vRoots[i];
            const QString name = m_vRoots.size() == 1 ? v : v + QChar(0x2080 + int(i) + 1);
            const int sign = surdSign(r.p, r.q, r.m);
            if (sign < 0) {
                m_solution.lines.push_back(
                    row({math(name + QStringLiteral(" = ")), formulaOf(r.form),
                         math(QStringLiteral(" < 0: ")), words(m_words.rejected + u' '),
                         math(v + QStringLiteral(" ≥ 0"))}));
                continue;
            }
            writeSquareEquals(r.p, r.q, r.m, formulaOf(r.form), negatives, positives, zero);
        }
        // Both kept values of the letter in the order x₁, x₂; make the positive roots ascend.
        if (positives.size() == 2 && sgn(a()) > 0) {
            std::swap(positives[0], positives[1]);
            std::swap(negatives[0], negatives[1]);
        }
        for (auto it = positives.rbegin(); it != positives.rend(); ++it)
            m_solution.roots.push_back(negated(*it));
        if (zero)
            m_solution.roots.push_back(ExactForm{});
        for (const ExactForm& form : positives)
            m_solution.roots.push_back(form);
        for (const VRoot& r : m_vRoots)
            ascending.push_back(r.form);
    }
    writeFactoredAndCheck(v, ascending);
}

void Writer::writeSquareEquals(const mpq_class& p, const mpq_class& q, const mpq_class& m,
                               const Formula& valueFormula, std::vector<ExactForm>& negatives,
                               std::vector<ExactForm>& positives, bool& zero) {
    const QString x = QStringLiteral("x");
    Formula line = row({variable(x, 2), math(QStringLiteral(" = ")), valueFormula});
    const int sign = surdSign(p, q, m);
    if (sign == 0) {
        append(line, math(QStringLiteral(" ⇒ x = 0")));
        zero = true;
    } else {
        const ExactForm positive = simplestRoot(1, p, q, m, m_budget);
        note(positive);
        append(line, math(QStringLiteral(" ⇒ x = ±")));
        const Formula rootFormula = root(valueFormula);
        const Formula simple = formulaOf(positive);
        append(line, rootFormula);
        if (plainText(simple) != plainText(rootFormula)) {
            append(line, math(QStringLiteral(" = ±")));
            append(line, simple);
        }
        append(line, approximately(positive, QStringLiteral("±")));
        positives.push_back(positive);
        negatives.push_back(negated(positive));
    }
    m_solution.lines.push_back(line);
}

void Writer::writeFactoredAndCheck(const QString& v, const std::vector<ExactForm>& roots) {
    if (roots.empty())
        return;
    const QString x = QStringLiteral("x");
    // a(x − x₁)(x − x₂), with x² in place of x for the biquadratic equation.
    const Formula unknown = biquadratic() ? variable(x, 2) : variable(x);
    Formula line = row({words(m_words.factored + u' ')});
    append(line, equationLine(biquadratic() ? variable(x, 4) : variable(x, 2),
                              biquadratic() ? variable(x, 2) : variable(x)));
    line.parts.back().parts.pop_back(); // " = 0"
    append(line, math(QStringLiteral(" = ")));
    if (a() == -1)
        append(line, math(Minus));
    else if (a() != 1)
        append(line, math(number(a())));
    const auto factor = [&](const ExactForm& r) {
        Formula f = row({math(QStringLiteral("(")), unknown});
        const int sign = signOf(r);
        if (sign == 0) {
            return unknown;
        }
        if (r.isRational() || (r.terms.size() == 1 && !r.nested)) {
            append(f, math(sign < 0 ? QStringLiteral(" + ") : QStringLiteral(" − ")));
            append(f, formulaOf(sign < 0 ? negated(r) : r));
        } else {
            append(f, math(QStringLiteral(" − ")));
            Formula value = formulaOf(r);
            if (r.denominator == 1 && r.terms.size() > 1)
                value = row({math(QStringLiteral("(")), value, math(QStringLiteral(")"))});
            append(f, value);
        }
        append(f, math(QStringLiteral(")")));
        return f;
    };
    if (roots.size() == 1) {
        // a·x² (a·x⁴) = 0 is already its own factored form.
        if (signOf(roots[0]) != 0) {
            append(line, sup(factor(roots[0]), math(QStringLiteral("2"))));
            m_solution.lines.push_back(line);
        }
    } else {
        for (const ExactForm& r : roots)
            append(line, factor(r));
        m_solution.lines.push_back(line);
    }

    // Vieta: the sum and the product of the roots in v, worked out from their exact values.
    // x₁,₂ = p ± q√m (q = 0 for the double root): x₁ + x₂ = 2p, x₁·x₂ = p² − q²m.
    const mpq_class sum = 2 * m_vRoots[0].p;
    const mpq_class product =
        m_vRoots[0].p * m_vRoots[0].p - m_vRoots[0].q * m_vRoots[0].q * m_vRoots[0].m;
    const Formula v1 = indexed(v, QStringLiteral("1"));
    const Formula v2 = indexed(v, QStringLiteral("2"));
    m_solution.lines.push_back(row(
        {words(m_words.check + u' '), v1, math(QStringLiteral(" + ")), v2,
         math(QStringLiteral(" = ")), formulaOf(simplestRational(sum)), math(QStringLiteral(" = ")),
         math(QStringLiteral("−")), fraction(math(QStringLiteral("b")), math(QStringLiteral("a"))),
         math(QStringLiteral("; ")), v1, math(QStringLiteral("·")), v2, math(QStringLiteral(" = ")),
         formulaOf(simplestRational(product)), math(QStringLiteral(" = ")),
         fraction(math(QStringLiteral("c")), math(QStringLiteral("a")))}));
}

void Writer::writeLinear() {
    const QString x = QStringLiteral("x");
    if (biquadratic() && sgn(b()) != 0) {
        // b·x² + c = 0: x² = −c/b.
        const mpq_class value = -c() / b();
        Formula line = row({variable(x, 2), math(QStringLiteral(" = ")),
                            fraction(math(number(-c())), math(number(b()))),
                            math(QStringLiteral(" = ")), formulaOf(simplestRational(value))});
        m_solution.lines.push_back(line);
        if (sgn(value) < 0) {
            m_solution.lines.push_back(
                row({variable(x, 2), math(QStringLiteral(" < 0 ⇒ ")), words(m_words.noRealRoots)}));
            return;
        }
        std::vector<ExactForm> negatives, positives;
        bool zero = false;
        writeSquareEquals(value, 0, 1, formulaOf(simplestRational(value)), negatives, positives,
                          zero);
        if (zero)
            m_solution.roots.push_back(ExactForm{});
        if (!positives.empty())
            m_solution.roots = {negatives[0], positives[0]};
        m_solution.linear = Solution::Linear::OneRoot;
        return;
    }
    if (!biquadratic())
        m_solution.lines.push_back(row({math(QStringLiteral("a = 0: ")), words(m_words.linear)}));
    if (sgn(b()) != 0) {
        const ExactForm form = simplestRational(-c() / b());
        m_solution.lines.push_back(
            row({math(QStringLiteral("x = ")), math(QStringLiteral("−")),
                 fraction(math(QStringLiteral("c")), math(QStringLiteral("b"))),
                 math(QStringLiteral(" = ")), fraction(math(number(-c())), math(number(b()))),
                 math(QStringLiteral(" = ")), formulaOf(form), approximately(form)}));
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
    const qsizetype at = m_words.answer.indexOf(QStringLiteral("%1"));
    const QString before = at < 0 ? m_words.answer + u' ' : m_words.answer.left(at);
    const QString after = at < 0 ? QString() : m_words.answer.mid(at + 2);
    Formula line = row({words(before)});
    if (m_solution.linear == Solution::Linear::NoSolution) {
        append(line, words(m_words.noSolution));
    } else if (m_solution.linear == Solution::Linear::AnyNumber) {
        append(line, math(QStringLiteral("x")));
        append(line, words(m_words.anyNumber));
    } else if (m_solution.roots.empty()) {
        append(line, words(m_words.noRoots));
    } else {
        const qsizetype each = m_words.answerEach.indexOf(QStringLiteral("%1"));
        const QString eachBefore = each < 0 ? QString() : m_words.answerEach.left(each);
        const QString eachAfter = each < 0 ? QString() : m_words.answerEach.mid(each + 2);
        for (std::size_t i = 0; i < m_solution.roots.size(); ++i) {
            // A joining word (" or ") is prose; a joining sign ("; ") belongs to the formula.
            if (i > 0)
                append(line, m_words.answerJoin.trimmed().size() > 1 ? words(m_words.answerJoin)
                                                                     : math(m_words.answerJoin));
            if (!eachBefore.isEmpty())
                append(line, math(eachBefore));
            append(line, formulaOf(m_solution.roots[i]));
            if (!eachAfter.isEmpty())
                append(line, math(eachAfter));
        }
    }
    append(line, words(after));
    m_solution.lines.push_back(line);
}

QString decimalText(const mpq_class& value, QChar separator, bool& finite) {
    // A finite decimal has a denominator 2^i·5^j; its digits are value·10^k for k = max(i, j).
    mpz_class rest = value.get_den();
    const mp_bitcnt_t twos =
        mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), mpz_class(2).get_mpz_t());
    const mp_bitcnt_t fives =
        mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), mpz_class(5).get_mpz_t());
    finite = rest == 1;
    if (!finite)
        return {};
    const unsigned long places = std::max(twos, fives);
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, places);
    const mpz_class scaled = abs(value.get_num()) * (power / value.get_den());
    QString digits = QString::fromStdString(scaled.get_str());
    if (places > 0) {
        if (digits.size() <= qsizetype(places))
            digits = QString(qsizetype(places) + 1 - digits.size(), u'0') + digits;
        digits.insert(digits.size() - qsizetype(places), separator);
    }
    return sgn(value) < 0 ? Minus + digits : digits;
}

} // namespace

QString numberText(const mpq_class& value, QChar separator) {
    bool finite = false;
    const QString decimal = decimalText(value, separator, finite);
    if (finite)
        return decimal;
    return integerText(value.get_num()) + u'/' + QString::fromStdString(value.get_den().get_str());
}

Formula formulaOf(const ExactForm& form, bool plusMinus) {
    if (!form.nested) {
        // −(√6 + √2)/2 rather than (−√6 − √2)/2.
        if (!plusMinus && allRootsNegative(form)) {
            const ExactForm positive = negated(form);
            if (positive.denominator != 1)
                return row({math(Minus), formulaOf(positive)});
            return row({math(Minus + u'('), formulaOf(positive), math(QStringLiteral(")"))});
        }
        return overDenominator(form.terms, form.denominator, plusMinus);
    }
    Formula out = row({});
    const mpz_class& top = form.factor.get_num();
    Formula inner = root(overDenominator(form.terms, form.denominator, false));
    Formula factorAndRoot = row({});
    if (abs(top) != 1)
        append(factorAndRoot, math(QString::fromStdString(mpz_class(abs(top)).get_str())));
    append(factorAndRoot, inner);
    if (sgn(top) < 0)
        append(out, math(plusMinus ? QStringLiteral("±") : Minus));
    else if (plusMinus)
        append(out, math(QStringLiteral("±")));
    if (form.factor.get_den() != 1)
        append(out, fraction(factorAndRoot,
                             math(QString::fromStdString(form.factor.get_den().get_str()))));
    else
        append(out, factorAndRoot);
    return out;
}

CoefficientReading readProblemCoefficients(const std::array<QString, 3>& texts,
                                           const std::array<QChar, 3>& separators) {
    return readCoefficients(texts, separators, ZeroAIs::Allowed);
}

Solution solve(const Problem& problem, const Words& words, QChar separator, int decimals,
               const FactoringBudget& budget) {
    return Writer(problem, words, separator, decimals, budget).write();
}

QString solutionText(const Solution& solution) {
    QString text;
    for (const Formula& line : solution.lines)
        text += plainText(line) + u'\n';
    return text;
}

QString solutionLatex(const Solution& solution) {
    QString text = QStringLiteral("\\begin{align*}\n");
    for (std::size_t i = 0; i < solution.lines.size(); ++i) {
        text += u'&' + latex(solution.lines[i]);
        text += i + 1 < solution.lines.size() ? QStringLiteral(" \\\\\n") : QStringLiteral("\n");
    }
    return text + QStringLiteral("\\end{align*}\n");
}

QString solutionJson(const Solution& solution, int decimals) {
    QJsonObject object;
    object.insert(QStringLiteral("equation"), plainText(solution.equation));
    object.insert(QStringLiteral("discriminant"),
                  solution.discriminant ? QJsonValue(rationalText(*solution.discriminant))
                                        : QJsonValue(QJsonValue::Null));
    QJsonArray roots, approximations, lines;
    for (const ExactForm& form : solution.roots) {
        roots.append(asciiForm(form));
        approximations.append(roundedDecimals(form, decimals, u'.', u'-'));
    }
    for (const Formula& line : solution.lines)
        lines.append(plainText(line));
    object.insert(QStringLiteral("roots"), roots);
    object.insert(QStringLiteral("approximations"), approximations);
    object.insert(QStringLiteral("simplified"), solution.simplified);
    if (solution.linear == Solution::Linear::NoSolution)
        object.insert(QStringLiteral("solutions"), QStringLiteral("none"));
    else if (solution.linear == Solution::Linear::AnyNumber)
        object.insert(QStringLiteral("solutions"), QStringLiteral("all"));
    object.insert(QStringLiteral("lines"), lines);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}

} // namespace velmora::textbook
