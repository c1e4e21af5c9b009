#include "textbook/exactform.h"

#include "numbers/interval.h"

#include <mpfr.h>

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

// √(value) of a rational ≥ 0 as s/d·√k with k square-free: √(P/Q) = √(P·Q)/Q.
bool rootOfRational(const mpq_class& value, mpq_class& coefficient, mpz_class& radicand,
                    const FactoringBudget& budget) {
    mpz_class outside;
    const bool done = splitSquare(value.get_num() * value.get_den(), outside, radicand, budget);
    coefficient = mpq_class(outside, value.get_den());
    coefficient.canonicalize();
    return done;
}

// Adds coefficient·√radicand to the bounds.
void addTerm(Interval& bounds, const RootTerm& term, mpfr_prec_t precision) {
    Interval t(precision);
    t.setInteger(term.radicand);
    t.squareRoot();
    t.multiply(term.coefficient);
    bounds.add(t);
}

void evaluate(const ExactForm& form, mpfr_prec_t precision, Interval& bounds) {
    for (const RootTerm& term : form.terms)
        addTerm(bounds, term, precision);
    bounds.divide(form.denominator);
    if (form.nested) {
        bounds.squareRoot();
        bounds.multiply(form.factor);
    }
}

mpfr_prec_t startingPrecision(const ExactForm& form) {
    std::size_t bits = mpz_sizeinbase(form.denominator.get_mpz_t(), 2);
    for (const RootTerm& term : form.terms)
        bits = std::max({bits, mpz_sizeinbase(term.coefficient.get_mpz_t(), 2),
                         mpz_sizeinbase(term.radicand.get_mpz_t(), 2)});
    return static_cast<mpfr_prec_t>(64 + 2 * bits);
}

// Whether an irrational value's bounds have both settled on one side of zero.
int settledSign(const Interval& bounds) {
    if (mpfr_sgn(bounds.lo) > 0)
        return 1;
    if (mpfr_sgn(bounds.hi) < 0)
        return -1;
    return 0;
}

constexpr mpfr_prec_t LastPrecision = mpfr_prec_t(1) << 24;

QString withDecimals(const mpz_class& scaled, bool negative, int decimals, QChar separator,
                     QChar minus) {
    QString digits = QString::fromStdString(scaled.get_str());
    if (digits.size() <= decimals)
        digits = QString(decimals + 1 - digits.size(), u'0') + digits;
    if (decimals > 0)
        digits.insert(digits.size() - decimals, separator);
    if (negative && scaled != 0)
        digits.prepend(minus);
    return digits;
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

bool splitSquare(const mpz_class& n, mpz_class& outside, mpz_class& inside,
                 const FactoringBudget& budget) {
    outside = 1;
    inside = 1;
    mpz_class rest = n;
    mpz_class power;
    bool done = true;
    // Trial division up to the cube root of what is left: a rest with no smaller factor is
    // then a prime, a product of two primes or the square of one.
    for (unsigned long d = 2;; d += d == 2 ? 1 : 2) {
        if (d % 1024 == 1 && budget.exhausted()) {
            done = false;
            break;
        }
        mpz_class cube = mpz_class(d) * d * d;
        if (cube > rest)
            break;
        if (!mpz_divisible_ui_p(rest.get_mpz_t(), d))
            continue;
        mpz_class factor(d);
        const mp_bitcnt_t count =
            mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), factor.get_mpz_t());
        mpz_pow_ui(power.get_mpz_t(), factor.get_mpz_t(), count / 2);
        outside *= power;
        if (count % 2 == 1)
            inside *= d;
    }
    if (mpz_perfect_square_p(rest.get_mpz_t())) {
        mpz_sqrt(power.get_mpz_t(), rest.get_mpz_t());
        outside *= power;
        return true; // whatever the time, a square rest leaves the inside square-free
    }
    inside *= rest;
    return done;
}

ExactForm simplestRational(const mpq_class& value) {
    return fromTerms({{mpz_class(1), value}}, true);
}

ExactForm simplestSurd(const mpq_class& p, const mpq_class& q, const mpq_class& m,
                       const FactoringBudget& budget) {
    if (sgn(q) == 0)
        return simplestRational(p);
    mpq_class coefficient;
    mpz_class radicand;
    const bool done = rootOfRational(m, coefficient, radicand, budget);
    std::map<mpz_class, mpq_class> terms{{mpz_class(1), p}};
    terms[radicand] += q * coefficient;
    return fromTerms(terms, done);
}

ExactForm simplestRoot(int sign, const mpq_class& p, const mpq_class& q, const mpq_class& m,
                       const FactoringBudget& budget) {
    const ExactForm inner = simplestSurd(p, q, m, budget);
    if (sign == 0 || inner.terms.empty())
        return {};
    if (inner.isRational()) {
        mpq_class coefficient;
        mpz_class radicand;
        const bool done = rootOfRational(inner.rational(), coefficient, radicand, budget);
        return fromTerms({{radicand, sign * coefficient}}, done);
    }

    // inner = P + Q·√k. √(P + Q·√k) = √u ± √v when P² − Q²k = s² (s ≥ 0, P > 0), with
    // u, v = (P ± s)/2.
    const mpq_class P = inner.terms.size() == 2
                            ? mpq_class(inner.terms[0].coefficient, inner.denominator)
                            : mpq_class(0);
    mpq_class Q(inner.terms.back().coefficient, inner.denominator);
    mpq_class Pc = P;
    Pc.canonicalize();
    Q.canonicalize();
    const mpz_class& k = inner.terms.back().radicand;
    const mpq_class difference = Pc * Pc - Q * Q * k;
    if (sgn(Pc) > 0 && isSquare(difference)) {
        const mpq_class s = squareRootOfSquare(difference);
        const mpq_class u = (Pc + s) / 2;
        const mpq_class v = (Pc - s) / 2;
        mpq_class cu, cv;
        mpz_class ku, kv;
        bool done = rootOfRational(u, cu, ku, budget) && inner.simplified;
        done = rootOfRational(v, cv, kv, budget) && done;
        std::map<mpz_class, mpq_class> terms;
        terms[ku] += sign * cu;
        terms[kv] += sign * sgn(Q) * cv;
        ExactForm form = fromTerms(terms, done);
        // √u before √v as they came, which puts the larger root first: (√6 + √2)/2.
        if (form.terms.size() == 2 && ku > kv && kv != 1)
            std::swap(form.terms[0], form.terms[1]);
        return form;
    }

    // No denesting: take the squares out of the whole coefficients and the denominator.
    ExactForm form = inner;
    form.nested = true;
    mpz_class content = 0;
    for (const RootTerm& term : form.terms)
        mpz_gcd(content.get_mpz_t(), content.get_mpz_t(), term.coefficient.get_mpz_t());
    mpz_class contentOut, contentIn, denominatorOut, denominatorIn;
    bool done = splitSquare(content, contentOut, contentIn, budget) && inner.simplified;
    done = splitSquare(form.denominator, denominatorOut, denominatorIn, budget) && done;
    const mpz_class square = contentOut * contentOut;
    for (RootTerm& term : form.terms)
        term.coefficient /= square;
    form.denominator = denominatorIn;
    form.factor = mpq_class(sign * contentOut, denominatorOut);
    form.factor.canonicalize();
    form.simplified = done;
    return form;
}

int signOf(const ExactForm& form) {
    if (form.terms.empty())
        return 0;
    if (form.isRational())
        return sgn(form.terms[0].coefficient);
    if (form.nested)
        return sgn(form.factor);
    for (mpfr_prec_t precision = startingPrecision(form); precision <= LastPrecision;
         precision *= 2) {
        Interval bounds(precision);
        evaluate(form, precision, bounds);
        if (const int sign = settledSign(bounds))
            return sign;
    }
    return 0; // an irrational sum is never zero; not reached within the precision bound
}

QString roundedDecimals(const ExactForm& form, int decimals, QChar separator, QChar minus) {
    mpz_class power;
    mpz_ui_pow_ui(power.get_mpz_t(), 10, static_cast<unsigned long>(decimals));
    if (form.isRational()) {
        const mpq_class value = form.rational();
        // ⌊|v|·10ⁿ + ½⌋ = ⌊(2·|num|·10ⁿ + den) / (2·den)⌋
        mpz_class scaled;
        const mpz_class top = 2 * abs(value.get_num()) * power + value.get_den();
        const mpz_class bottom = 2 * value.get_den();
        mpz_fdiv_q(scaled.get_mpz_t(), top.get_mpz_t(), bottom.get_mpz_t());
        return withDecimals(scaled, sgn(value) < 0, decimals, separator, minus);
    }
    // An irrational value is never half-way between two roundings, so narrow enough bounds
    // round alike.
    mpz_class low, high;
    for (mpfr_prec_t precision = startingPrecision(form) + 4 * decimals; precision <= LastPrecision;
         precision *= 2) {
        Interval bounds(precision);
        evaluate(form, precision, bounds);
        const int sign = settledSign(bounds);
        if (sign == 0)
            continue;
        if (sign < 0) {
            mpfr_swap(bounds.lo, bounds.hi);
            mpfr_neg(bounds.lo, bounds.lo, MPFR_RNDD);
            mpfr_neg(bounds.hi, bounds.hi, MPFR_RNDU);
        }
        mpfr_mul_z(bounds.lo, bounds.lo, power.get_mpz_t(), MPFR_RNDD);
        mpfr_mul_z(bounds.hi, bounds.hi, power.get_mpz_t(), MPFR_RNDU);
        mpfr_add_d(bounds.lo, bounds.lo, 0.5, MPFR_RNDD);
        mpfr_add_d(bounds.hi, bounds.hi, 0.5, MPFR_RNDU);
        mpfr_get_z(low.get_mpz_t(), bounds.lo, MPFR_RNDD);
        mpfr_get_z(high.get_mpz_t(), bounds.hi, MPFR_RNDD);
        if (low == high)
            return withDecimals(low, sign < 0, decimals, separator, minus);
    }
    return withDecimals(low, signOf(form) < 0, decimals, separator, minus);
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
