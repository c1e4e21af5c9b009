#include "numbers/rational.h"

#include <mpfr.h>

#include <algorithm>
#include <array>
#include <cfloat>

namespace velmora {

const mpz_class& powerOfTen(unsigned long exponent) {
    static const std::array<mpz_class, 64> table = [] {
        std::array<mpz_class, 64> powers;
        for (unsigned long k = 0; k < powers.size(); ++k)
            mpz_ui_pow_ui(powers[k].get_mpz_t(), 10, k);
        return powers;
    }();
    if (exponent < table.size())
        return table[exponent];
    static thread_local mpz_class larger;
    mpz_ui_pow_ui(larger.get_mpz_t(), 10, exponent);
    return larger;
}

mpz_class scaledHalfUp(const mpq_class& value, long shift) {
    // ⌊(2·|n|·10^shift + d) / (2·d)⌋, or with 10^−shift on the denominator's side.
    const mpz_class numerator = abs(value.get_num());
    mpz_class top;
    mpz_class bottom;
    if (shift >= 0) {
        top = 2 * numerator * powerOfTen(static_cast<unsigned long>(shift)) + value.get_den();
        bottom = 2 * value.get_den();
    } else {
        const mpz_class& power = powerOfTen(static_cast<unsigned long>(-shift));
        top = 2 * numerator + value.get_den() * power;
        bottom = 2 * value.get_den() * power;
    }
    mpz_class scaled;
    mpz_fdiv_q(scaled.get_mpz_t(), top.get_mpz_t(), bottom.get_mpz_t());
    return scaled;
}

std::optional<unsigned long> decimalPlaces(const mpq_class& value) {
    mpz_class rest = value.get_den();
    const mp_bitcnt_t twos =
        mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), mpz_class(2).get_mpz_t());
    const mp_bitcnt_t fives =
        mpz_remove(rest.get_mpz_t(), rest.get_mpz_t(), mpz_class(5).get_mpz_t());
    if (rest != 1)
        return std::nullopt;
    return std::max(twos, fives);
}

bool isSquare(const mpq_class& value) {
    return sgn(value) >= 0 && mpz_perfect_square_p(value.get_num_mpz_t()) &&
           mpz_perfect_square_p(value.get_den_mpz_t());
}

mpq_class squareRootOfSquare(const mpq_class& value) {
    mpq_class root;
    mpz_sqrt(root.get_num_mpz_t(), value.get_num_mpz_t());
    mpz_sqrt(root.get_den_mpz_t(), value.get_den_mpz_t());
    return root;
}

double nearestDouble(const mpq_class& value) {
    mpfr_t nearest;
    mpfr_init2(nearest, 53);
    mpfr_set_q(nearest, value.get_mpq_t(), MPFR_RNDN);
    const double result = mpfr_get_d(nearest, MPFR_RNDN);
    mpfr_clear(nearest);
    return result;
}

const mpq_class& largestDouble() {
    static const mpq_class largest(DBL_MAX);
    return largest;
}

std::size_t bitSize(const mpq_class& value) {
    return std::max(mpz_sizeinbase(value.get_num_mpz_t(), 2),
                    mpz_sizeinbase(value.get_den_mpz_t(), 2));
}

} // namespace velmora
