#include "textbook/exactform.h"

#include "numbers/rational.h"
#include "numbers/squarefactors.h"

#include <algorithm>
#include <map>

namespace velmora::textbook {
namespace {

// A rational coefficient for each radicand over their least common denominator. That fraction
// is already reduced: a prime of the denominator divides some coefficient's own denominator to
// the full power, so it cannot divide that coefficient's scaled numerator.
ExactForm fromTerms(const std::map<mpz_class, mpq_class>& coefficients, bool simplified) {
    ExactForm form;
    form.simplified = simplified;
    mpz_class denominator = 1;
    for (const auto& [radicand, coefficient] : coefficients) {
        if (sgn(coefficient) != 0)
            mpz_lcm(denominator.get_mpz_t(), denominator.get_mpz_t(), coefficient.get_den_mpz_t());
    }
    // std::map orders the radicands ascending, so the whole number (radicand 1) comes first.
    for (const auto& [radicand, coefficient] : coefficients) {
        if (sgn(coefficient) != 0)
            form.terms.push_back(
                {coefficient.get_num() * (denominator / coefficient.get_den()), radicand});
    }
    form.denominator = denominator;
    return form;
}

// √(P/Q) of a rational ≥ 0 as s/d·√k with k square-free when the split proves it:
// √(P/Q) = √(P·Q)/Q.
struct RootOfRational {
    mpq_class coefficient;
    mpz_class radicand;
    bool done = true;
};
RootOfRational rootFrom(const SquareSplit& split, const mpq_class& value) {
    mpq_class coefficient(split.outside, value.get_den());
    coefficient.canonicalize();
    return {coefficient, split.inside, split.squareFree};
}
RootOfRational rootOfRational(const mpq_class& value) {
    if (sgn(value) == 0)
        return {0, 1, true};
    return rootFrom(splitSquare(value.get_num() * value.get_den()), value);
}

ExactForm simplestRational(const mpq_class& value) {
    ExactForm form = fromTerms({{mpz_class(1), value}}, true);
    form.value = ExactValue(value);
    return form;
}

// p + q·√m in one fraction, the square factors of m taken out.
ExactForm simplestSurd(const ExactValue& value) {
    if (value.isRational())
        return simplestRational(value.p());
    const Radical& radical = *value.radical();
    const RootOfRational root = rootFrom(radical.squareSplit(), radical.radicand());
    std::map<mpz_class, mpq_class> terms{{mpz_class(1), value.p()}};
    terms[root.radicand] += value.q() * root.coefficient;
    ExactForm form = fromTerms(terms, root.done);
    form.value = value;
    return form;
}

// ±√(p + q·√m) of a positive p + q·√m, denested when it equals √u ± √v with rational u, v.
ExactForm simplestRoot(const ExactValue& value) {
    const int sign = value.sign();
    const ExactForm inner = simplestSurd(value.inner());
    if (inner.isRational()) {
        const RootOfRational root = rootOfRational(inner.rational());
        ExactForm form = fromTerms({{root.radicand, sign * root.coefficient}}, root.done);
        form.value = value;
        return form;
    }

    // inner = P + Q·√k. √(P + Q·√k) = √u ± √v when P² − Q²k = s² (s ≥ 0, P > 0), with
    // u, v = (P ± s)/2.
    mpq_class P = inner.terms.size() == 2 ? mpq_class(inner.terms[0].coefficient, inner.denominator)
                                          : mpq_class(0);
    mpq_class Q(inner.terms.back().coefficient, inner.denominator);
    P.canonicalize();
    Q.canonicalize();
    const mpz_class& k = inner.terms.back().radicand;
    const mpq_class difference = P * P - Q * Q * k;
    if (sgn(P) > 0 && isSquare(difference)) {
        const mpq_class s = squareRootOfSquare(difference);
        const RootOfRational u = rootOfRational((P + s) / 2);
        const RootOfRational v = rootOfRational((P - s) / 2);
        std::map<mpz_class, mpq_class> terms;
        terms[u.radicand] += sign * u.coefficient;
        terms[v.radicand] += sign * sgn(Q) * v.coefficient;
        ExactForm form = fromTerms(terms, u.done && v.done && inner.simplified);
        // √u before √v as they came, which puts the larger root first: (√6 + √2)/2.
        if (form.terms.size() == 2 && u.radicand > v.radicand && v.radicand != 1)
            std::swap(form.terms[0], form.terms[1]);
        form.value = value;
        return form;
    }

    // No denesting: take the squares out of the whole coefficients and the denominator.
    ExactForm form = inner;
    form.value = value;
    form.nested = true;
    mpz_class content = 0;
    for (const RootTerm& term : form.terms)
        mpz_gcd(content.get_mpz_t(), content.get_mpz_t(), term.coefficient.get_mpz_t());
    const SquareSplit contentSplit = splitSquare(content);
    const SquareSplit denominatorSplit = splitSquare(form.denominator);
    const mpz_class square = contentSplit.outside * contentSplit.outside;
    for (RootTerm& term : form.terms)
        term.coefficient /= square;
    form.denominator = denominatorSplit.inside;
    form.factor = mpq_class(sign * contentSplit.outside, denominatorSplit.outside);
    form.factor.canonicalize();
    form.simplified = inner.simplified && contentSplit.squareFree && denominatorSplit.squareFree;
    return form;
}

QString asciiSum(const std::vector<RootTerm>& terms) {
    if (terms.empty())
        return QStringLiteral("0");
    QString text;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const RootTerm& term = terms[i];
        const bool negative = sgn(term.coefficient) < 0;
        if (i == 0)
            text += negative ? QStringLiteral("-") : QString();
        else
            text += negative ? QStringLiteral(" - ") : QStringLiteral(" + ");
        const mpz_class magnitude = abs(term.coefficient);
        if (term.radicand == 1) {
            text += QString::fromStdString(magnitude.get_str());
            continue;
        }
        if (magnitude != 1)
            text += QString::fromStdString(magnitude.get_str()) + u'*';
        text += QStringLiteral("sqrt(%1)").arg(QString::fromStdString(term.radicand.get_str()));
    }
    return text;
}

} // namespace

mpq_class ExactForm::rational() const {
    if (terms.empty())
        return 0;
    mpq_class value(terms[0].coefficient, denominator);
    value.canonicalize();
    return value;
}

void putPositiveFirst(ExactForm& form) {
    if (form.nested || form.terms.size() < 2 || form.terms[0].radicand == 1 ||
        sgn(form.terms[0].coefficient) > 0)
        return;
    const auto positive = std::find_if(form.terms.begin(), form.terms.end(),
                                       [](const RootTerm& t) { return sgn(t.coefficient) > 0; });
    if (positive != form.terms.end())
        std::rotate(form.terms.begin(), positive, positive + 1);
}

ExactForm simplest(const ExactValue& value) {
    switch (value.shape()) {
    case ExactValue::Shape::Rational:
        return simplestRational(value.p());
    case ExactValue::Shape::Surd:
        return simplestSurd(value);
    case ExactValue::Shape::Root:
        break;
    }
    ExactForm form = simplestRoot(value);
    putPositiveFirst(form);
    return form;
}

bool writtenAsDecimal(const ExactForm& form) {
    if (!form.decimalSeparator || !form.isRational())
        return false;
    return decimalPlaces(form.rational()).has_value();
}

QString rationalText(const mpq_class& value) {
    return QString::fromStdString(value.get_str());
}

bool allRootsNegative(const ExactForm& form) {
    if (form.nested || form.terms.size() < 2 || form.terms[0].radicand == 1)
        return false;
    return std::all_of(form.terms.begin(), form.terms.end(),
                       [](const RootTerm& term) { return sgn(term.coefficient) < 0; });
}

QString asciiForm(const ExactForm& form) {
    if (allRootsNegative(form)) {
        ExactForm positive = form;
        for (RootTerm& term : positive.terms)
            term.coefficient = -term.coefficient;
        const QString over = positive.denominator == 1
                                 ? QString()
                                 : u'/' + QString::fromStdString(positive.denominator.get_str());
        return QStringLiteral("-(%1)").arg(asciiSum(positive.terms)) + over;
    }
    const QString sum = asciiSum(form.terms);
    const QString denominator = QString::fromStdString(form.denominator.get_str());
    QString over = sum;
    if (form.denominator != 1)
        over = (form.terms.size() > 1 ? u'(' + sum + u')' : sum) + u'/' + denominator;
    if (!form.nested)
        return over;
    QString text;
    const mpz_class& top = form.factor.get_num();
    if (top == -1)
        text += u'-';
    else if (top != 1)
        text += QString::fromStdString(top.get_str()) + u'*';
    text += QStringLiteral("sqrt(%1)").arg(over);
    if (form.factor.get_den() != 1)
        text += u'/' + QString::fromStdString(form.factor.get_den().get_str());
    return text;
}

} // namespace velmora::textbook
