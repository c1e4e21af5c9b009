#include "numbers/exactnarrowing.h"
#include "numbers/rational.h"

#include <mpfr.h>

#include <stdexcept>

namespace velmora {
namespace {

// The sign of p + q·√m (m > 0), exactly.
int signOfSurd(const mpq_class& p, const mpq_class& q, const mpq_class& m) {
    const int ps = sgn(p);
    const int qs = sgn(q);
    if (qs == 0 || ps == qs)
        return ps != 0 ? ps : qs;
    if (ps == 0)
        return qs;
    // Opposite signs: the larger of p² and q²·m wins.
    return cmp(p * p, q * q * m) > 0 ? ps : qs;
}

} // namespace

std::shared_ptr<const Radical> Radical::of(const mpq_class& m) {
    if (sgn(m) <= 0 || isSquare(m))
        throw std::domain_error("a radical of a number that is not a positive non-square");
    return std::make_shared<const Radical>(m);
}

Interval Radical::bounds(mpfr_prec_t precision) const {
    const std::lock_guard lock(m_mutex);
    if (!m_bounds || m_bounds->precision() < precision) {
        Interval root(precision);
        root.setRational(m_radicand);
        root.squareRoot();
        m_bounds = root;
    }
    return *m_bounds;
}

const SquareSplit& Radical::squareSplit() const {
    const std::lock_guard lock(m_mutex);
    if (!m_split)
        m_split = splitSquare(m_radicand.get_num() * m_radicand.get_den());
    return *m_split;
}

ExactValue ExactValue::surd(const mpq_class& p, const mpq_class& q, const mpq_class& m) {
    if (sgn(q) == 0)
        return ExactValue(p);
    if (isSquare(m))
        return ExactValue(p + q * squareRootOfSquare(m));
    return surd(p, q, Radical::of(m));
}

ExactValue ExactValue::surd(const mpq_class& p, const mpq_class& q,
                            std::shared_ptr<const Radical> radical) {
    if (sgn(q) == 0)
        return ExactValue(p);
    ExactValue value;
    value.m_p = p;
    value.m_sign = signOfSurd(p, q, radical->radicand());
    value.m_irrational = std::make_shared<const Irrational>(q, std::move(radical), false, false);
    return value;
}

ExactValue ExactValue::squareRoot(const ExactValue& v) {
    if (v.sign() < 0 || v.shape() == Shape::Root)
        throw std::domain_error("square root of a negative value or of a root");
    if (v.sign() == 0)
        return {};
    if (v.isRational()) {
        if (isSquare(v.p()))
            return ExactValue(squareRootOfSquare(v.p()));
        return surd(0, 1, Radical::of(v.p()));
    }
    ExactValue root;
    root.m_p = v.m_p;
    root.m_sign = 1;
    root.m_irrational =
        std::make_shared<const Irrational>(v.m_irrational->q, v.m_irrational->radical, true, false);
    return root;
}

ExactValue ExactValue::negated() const {
    ExactValue n = *this;
    n.m_sign = -m_sign;
    if (!m_irrational) {
        n.m_p = -m_p;
        return n;
    }
    const Irrational& r = *m_irrational;
    if (!r.root)
        n.m_p = -m_p;
    n.m_irrational = std::make_shared<const Irrational>(r.root ? r.q : mpq_class(-r.q), r.radical,
                                                        r.root, r.root && !r.negative,
                                                        r.original ? r.original : m_irrational);
    return n;
}

ExactValue::Shape ExactValue::shape() const {
    if (!m_irrational)
        return Shape::Rational;
    return m_irrational->root ? Shape::Root : Shape::Surd;
}

mpq_class ExactValue::q() const {
    return m_irrational ? m_irrational->q : mpq_class(0);
}

const std::shared_ptr<const Radical>& ExactValue::radical() const {
    static const std::shared_ptr<const Radical> none;
    return m_irrational ? m_irrational->radical : none;
}

ExactValue ExactValue::inner() const {
    if (shape() != Shape::Root)
        throw std::domain_error("the inner value of a value that is no root");
    return surd(m_p, m_irrational->q, m_irrational->radical);
}

int ExactValue::compare(const ExactValue& other) const {
    if (m_sign != other.m_sign)
        return m_sign < other.m_sign ? -1 : 1;
    const Shape mine = shape();
    const Shape theirs = other.shape();
    if (mine == Shape::Rational && theirs == Shape::Rational)
        return cmp(m_p, other.m_p) < 0 ? -1 : cmp(m_p, other.m_p) > 0 ? 1 : 0;
    if (mine == Shape::Root || theirs == Shape::Root) {
        // Both of one sign s ≠ 0 (zero is rational): compare the squares, turned for s < 0.
        const auto square = [](const ExactValue& v) {
            if (v.shape() == Shape::Root)
                return v.inner();
            if (v.isRational())
                return ExactValue(v.m_p * v.m_p);
            const mpq_class& m = v.radical()->radicand();
            return surd(v.m_p * v.m_p + v.q() * v.q() * m, 2 * v.m_p * v.q(), v.radical());
        };
        return m_sign * square(*this).compare(square(other));
    }
    // Two surds, or a surd and a rational: their difference (p₁ − p₂) + q₁√m₁ − q₂√m₂ is a
    // surd in one radical when m₁/m₂ is a square.
    const std::shared_ptr<const Radical>& radical =
        mine == Shape::Surd ? this->radical() : other.radical();
    const mpq_class& m = radical->radicand();
    mpq_class theirQ = other.q();
    mpq_class myQ = q();
    bool oneRadical = true;
    if (mine == Shape::Surd && theirs == Shape::Surd && this->radical() != other.radical() &&
        this->radical()->radicand() != other.radical()->radicand()) {
        const mpq_class ratio = other.radical()->radicand() / m;
        oneRadical = isSquare(ratio);
        if (oneRadical)
            theirQ *= squareRootOfSquare(ratio);
    }
    if (oneRadical)
        return signOfSurd(m_p - other.m_p, myQ - theirQ, m);
    // √m₁ and √m₂ independent: the values differ, and narrow bounds on both tell which is
    // larger.
    return narrowed([&other](const Interval& mine) -> std::optional<int> {
        Interval difference = other.bounds(mine.precision());
        difference.negate();
        difference.add(mine);
        if (const int sign = difference.settledSign())
            return sign;
        return std::nullopt;
    });
}

Interval ExactValue::bounds(mpfr_prec_t precision) const {
    if (!m_irrational) {
        Interval value(precision);
        value.setRational(m_p);
        return value;
    }
    const Irrational& r = *m_irrational;
    Interval value = r.radical->bounds(precision);
    // (√m·qn·pd + pn·qd)/(qd·pd) in word-sized steps, with no allocation, where the products fit
    // a word; else in GMP's numbers.
    const auto word = [](const mpz_class& n, long& out) {
        if (!mpz_fits_slong_p(n.get_mpz_t()))
            return false;
        out = mpz_get_si(n.get_mpz_t());
        return true;
    };
    long qn = 0, qd = 0, pn = 0, pd = 0, factor = 0, term = 0, divisor = 0;
    if (word(r.q.get_num(), qn) && word(r.q.get_den(), qd) && word(m_p.get_num(), pn) &&
        word(m_p.get_den(), pd) && !__builtin_mul_overflow(qn, pd, &factor) &&
        !__builtin_mul_overflow(pn, qd, &term) && !__builtin_mul_overflow(qd, pd, &divisor)) {
        if (factor != 1)
            value.multiplySmall(factor);
        if (term != 0)
            value.addSmall(term);
        if (divisor != 1)
            value.divideSmall(static_cast<unsigned long>(divisor));
    } else {
        value.multiply(r.q);
        value.add(m_p);
    }
    if (r.root) {
        value.squareRoot();
        if (r.negative)
            value.negate();
    }
    return value;
}

mpfr_prec_t ExactValue::startingPrecision() const {
    std::size_t bits = bitSize(m_p);
    if (m_irrational)
        bits =
            std::max({bits, bitSize(m_irrational->q), bitSize(m_irrational->radical->radicand())});
    return static_cast<mpfr_prec_t>(64 + 2 * bits);
}

} // namespace velmora
