#include "algebra/standardform.h"

#include <algorithm>
#include <limits>

namespace velmora {
namespace {

bool allWhole(const Polynomial& p) {
    for (int power = 0; power <= MaxPolynomialDegree; ++power) {
        if (p.coefficient(power).get_den() != 1)
            return false;
    }
    return true;
}

// The least common multiple of every coefficient's denominator on both sides.
mpz_class commonDenominator(const Polynomial& left, const Polynomial& right) {
    mpz_class common = 1;
    for (const Polynomial* side : {&left, &right}) {
        for (int power = 0; power <= MaxPolynomialDegree; ++power)
            mpz_lcm(common.get_mpz_t(), common.get_mpz_t(),
                    side->coefficient(power).get_den_mpz_t());
    }
    return common;
}

Polynomial scaled(const Polynomial& p, const mpq_class& factor) {
    // Multiplying by a number never passes the degree bound, and the factors here are no larger
    // than the numbers the line already holds.
    return std::get<Polynomial>(
        p.times(Polynomial(factor), MaxPolynomialDegree, std::numeric_limits<std::size_t>::max()));
}

} // namespace

std::vector<Term> termsOf(const Polynomial& polynomial) {
    std::vector<Term> terms;
    for (int power = MaxPolynomialDegree; power >= 0; --power) {
        if (sgn(polynomial.coefficient(power)) != 0)
            terms.push_back({polynomial.coefficient(power), power});
    }
    return terms;
}

StandardForm standardForm(const ParsedEquation& parsed, bool bracketsTyped) {
    StandardForm form;
    Polynomial left = parsed.left;
    Polynomial right = parsed.right;
    if (bracketsTyped)
        form.steps.push_back({FormStep::Kind::OpenBrackets, 0, left, right, {}});

    if (!parsed.allDecimal && (!allWhole(left) || !allWhole(right))) {
        const mpq_class lcd(commonDenominator(left, right));
        left = scaled(left, lcd);
        right = scaled(right, lcd);
        form.steps.push_back({FormStep::Kind::MultiplyBoth, lcd, left, right, {}});
    }

    Polynomial p = left - right;
    if (!right.isZero()) {
        std::vector<Term> terms = termsOf(left);
        for (Term term : termsOf(right)) {
            term.coefficient = -term.coefficient;
            terms.push_back(term);
        }
        form.steps.push_back({FormStep::Kind::MoveToLeft, 0, left, right, terms});
        // Collected only when two terms share a power, or a side had none to move.
        std::vector<int> powers;
        for (const Term& term : terms)
            powers.push_back(term.power);
        std::sort(powers.begin(), powers.end());
        if (std::adjacent_find(powers.begin(), powers.end()) != powers.end() || terms.empty())
            form.steps.push_back({FormStep::Kind::CollectTerms, 0, p, Polynomial(), {}});
    }

    if (p.isZero()) {
        form.outcome = StandardForm::Outcome::Identity;
        form.polynomial = p;
        return form;
    }
    if (p.degree() == 0) {
        form.outcome = StandardForm::Outcome::Contradiction;
        form.polynomial = p;
        return form;
    }

    const bool negative = sgn(p.coefficient(p.degree())) < 0;
    mpz_class common = 0;
    if (allWhole(p)) {
        for (int power = 0; power <= MaxPolynomialDegree; ++power)
            mpz_gcd(common.get_mpz_t(), common.get_mpz_t(), p.coefficient(power).get_num_mpz_t());
    }
    if (common > 1) {
        const mpq_class divisor(negative ? mpz_class(-common) : common);
        p = scaled(p, 1 / divisor);
        form.steps.push_back({FormStep::Kind::DivideBoth, divisor, p, Polynomial(), {}});
    } else if (negative) {
        p = -p;
        form.steps.push_back({FormStep::Kind::ChangeSigns, -1, p, Polynomial(), {}});
    }
    form.polynomial = p;
    while (sgn(p.coefficient(form.lowestPower)) == 0)
        ++form.lowestPower;
    return form;
}

} // namespace velmora
