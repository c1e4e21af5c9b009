// The exact value against a plain reference: values p + q·√m and ±√(p + q·√m) made from small
// whole numbers in the input are worked out at 4096 bits with MPFR directly, and their general
// digits, fixed decimals and order must agree with the exact value's. At that precision the
// reference is right for every value these sizes can make: none lies within 2⁻⁴⁰⁰⁰ of a
// rounding tie it does not sit on.

#include "fuzz/fuzzcheck.h"
#include "numbers/exactvalue.h"
#include "numbers/numberformat.h"

#include <mpfr.h>

#include <algorithm>
#include <cstdlib>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

constexpr mpfr_prec_t ReferenceBits = 4096;

// A reading of the input: signed whole numbers of 1 to 4 bytes.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    long next(int bytes) {
        long value = 0;
        for (int i = 0; i < bytes && m_at < m_size; ++i)
            value = value * 256 + m_data[m_at++];
        return value;
    }
    long signedNext(int bytes) {
        const long value = next(bytes);
        return (value & 1) ? -(value >> 1) : (value >> 1);
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

struct Made {
    ExactValue value;
    mpq_class p, q, m;
    int shape = 0; // 0 surd, 1 root, 2 negative root
};

Made make(Reader& in) {
    Made made;
    made.p = mpq_class(in.signedNext(3), in.next(2) % 1000 + 1);
    made.q = mpq_class(in.signedNext(2), in.next(1) % 100 + 1);
    made.m = mpq_class(in.next(3) % 100000 + 1, in.next(1) % 100 + 1);
    made.p.canonicalize();
    made.q.canonicalize();
    made.m.canonicalize();
    made.shape = static_cast<int>(in.next(1) % 3);
    made.value = ExactValue::surd(made.p, made.q, made.m);
    if (made.shape > 0) {
        if (made.value.sign() < 0)
            made.value = made.value.negated();
        // |p + q√m| written back, so the reference takes the root of the same number.
        if (made.value.isRational()) {
            made.p = made.value.p();
            made.q = 0;
        } else {
            made.p = made.value.p();
            made.q = made.value.q();
        }
        made.value = ExactValue::squareRoot(made.value);
        if (made.shape == 2)
            made.value = made.value.negated();
    }
    return made;
}

void reference(const Made& made, mpfr_t out) {
    mpfr_t t;
    mpfr_init2(t, ReferenceBits);
    mpfr_set_q(t, made.m.get_mpq_t(), MPFR_RNDN);
    mpfr_sqrt(t, t, MPFR_RNDN);
    mpfr_mul_q(t, t, made.q.get_mpq_t(), MPFR_RNDN);
    mpfr_add_q(out, t, made.p.get_mpq_t(), MPFR_RNDN);
    if (made.shape > 0) {
        mpfr_sqrt(out, out, MPFR_RNDN);
        if (made.shape == 2)
            mpfr_neg(out, out, MPFR_RNDN);
    }
    mpfr_clear(t);
}

// ⌊|x|·10^decimals + ½⌋ of the reference, as text.
QString scaledText(mpfr_srcptr x, int decimals) {
    mpfr_t t;
    mpfr_init2(t, ReferenceBits);
    mpfr_abs(t, x, MPFR_RNDN);
    for (int i = 0; i < decimals; ++i)
        mpfr_mul_ui(t, t, 10, MPFR_RNDN);
    mpfr_add_d(t, t, 0.5, MPFR_RNDN);
    mpz_class scaled;
    mpfr_get_z(scaled.get_mpz_t(), t, MPFR_RNDD);
    mpfr_clear(t);
    return QString::fromStdString(scaled.get_str());
}

QString describe(const Made& made) {
    return QStringLiteral("%1 %2 %3 shape %4")
        .arg(QString::fromStdString(made.p.get_str()), QString::fromStdString(made.q.get_str()),
             QString::fromStdString(made.m.get_str()))
        .arg(made.shape);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const Made one = make(in);
    const Made other = make(in);
    const int decimals = static_cast<int>(in.next(1) % 25);

    mpfr_t x, y;
    mpfr_init2(x, ReferenceBits);
    mpfr_init2(y, ReferenceBits);
    reference(one, x);
    reference(other, y);

    // The general digits: the reference printed to 15 digits, rounded half up from 4096 bits.
    if (one.value.sign() != 0) {
        const SignificantDigits digits = one.value.digits();
        const long exponent = digits.exponent;
        mpfr_t scaled;
        mpfr_init2(scaled, ReferenceBits);
        mpfr_abs(scaled, x, MPFR_RNDN);
        // |x|·10^(15 − exponent), then ½ up.
        mpfr_t power;
        mpfr_init2(power, ReferenceBits);
        mpfr_ui_pow_ui(power, 10, static_cast<unsigned long>(std::labs(15 - exponent)), MPFR_RNDN);
        if (15 - exponent >= 0)
            mpfr_mul(scaled, scaled, power, MPFR_RNDN);
        else
            mpfr_div(scaled, scaled, power, MPFR_RNDN);
        mpfr_add_d(scaled, scaled, 0.5, MPFR_RNDN);
        mpz_class expected;
        mpfr_get_z(expected.get_mpz_t(), scaled, MPFR_RNDD);
        mpfr_clear(scaled);
        mpfr_clear(power);
        const QString written = QString::fromLatin1(digits.digits.data(), 15);
        check(written == QString::fromStdString(expected.get_str()),
              "the general digits are the true value's, rounded once", describe(one));
        check(digits.negative == (one.value.sign() < 0), "the digits carry the sign",
              describe(one));
    }
    check(QString::fromStdString(one.value.scaled(decimals).get_str()) == scaledText(x, decimals),
          "fixed decimals are the true value's, rounded half up", describe(one));

    // The order, against the reference's (two made values are equal only when their references
    // are, far below the last bit).
    mpfr_t difference;
    mpfr_init2(difference, ReferenceBits);
    mpfr_sub(difference, x, y, MPFR_RNDN);
    const bool tiny = mpfr_zero_p(difference) ||
                      mpfr_get_exp(difference) < std::max(mpfr_get_exp(x), mpfr_get_exp(y)) - 4000;
    const int expected = tiny ? 0 : mpfr_sgn(difference);
    check(one.value.compare(other.value) == expected, "the order is the true values'",
          describe(one) + QStringLiteral(" | ") + describe(other));
    check(one.value.compare(one.value.negated()) == one.value.sign(),
          "a value is above its negation exactly when it is positive", describe(one));
    mpfr_clear(difference);
    mpfr_clear(x);
    mpfr_clear(y);
    return 0;
}
